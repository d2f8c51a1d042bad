#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
# Reads one cell of a table over the accessibility bus, as a screen reader does: finds the program
# with the given process id on the desktop, in its tree the table with the given name, in it the
# column whose header has the given name and the row whose first cell has the given name, and
# prints that cell's name. Waits for the program's tree up to the given number of seconds.
# Exit status 0 with the cell printed, 1 when it was not found in time.
import sys
import time

import pyatspi


def find_table(node, name, depth=0):
    if depth > 40:
        return None
    try:
        if node.getRole() == pyatspi.ROLE_TABLE and node.name == name:
            return node
        for child in node:
            if child is not None:
                found = find_table(child, name, depth + 1)
                if found is not None:
                    return found
    except Exception:
        return None
    return None


def read_cell(pid, table_name, column_name, row_name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        table_node = find_table(app, table_name)
        if table_node is None:
            return None
        table = table_node.queryTable()
        columns = [table.getColumnHeader(c) for c in range(table.nColumns)]
        column = next((c for c, h in enumerate(columns) if h and h.name == column_name), None)
        if column is None:
            return None
        for row in range(table.nRows):
            if table.getAccessibleAt(row, 0).name == row_name:
                return table.getAccessibleAt(row, column).name
    return None


def main():
    pid = int(sys.argv[1])
    table_name, column_name, row_name = sys.argv[2:5]
    deadline = time.monotonic() + float(sys.argv[5])
    while time.monotonic() < deadline:
        value = read_cell(pid, table_name, column_name, row_name)
        if value is not None:
            print(value)
            return 0
        time.sleep(0.2)
    print("not found: %s / %s / %s" % (table_name, column_name, row_name), file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
