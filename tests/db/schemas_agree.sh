#!/bin/sh
# The SQLite and PostgreSQL schemas must describe the same tables and columns: apart from their
# comments the two files are the same text, so a change to one that is not made to the other fails.
set -eu
strip() { grep -v '^[[:space:]]*--' "$1" | grep -v '^[[:space:]]*$'; }
a=$(mktemp) b=$(mktemp)
trap 'rm -f "$a" "$b"' EXIT
strip "$1" >"$a"
strip "$2" >"$b"
diff -u "$a" "$b"
