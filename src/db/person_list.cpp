// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kSortColumns[kPersonListSortColumns] = {
    "NAMN",     "TESTLEDARE", "TESTDATE",     "OTHER",        "SEX",
    "BORNDATE", "UTBILDNING", "NATIONALITET", "HOMELANGUAGE", "ID"};

} // namespace

DbResult DoListPD(int sortColumn, int descending,
                  const std::function<void(const PersonListRow&)>& onRow) {
    if (sortColumn < 0 || sortColumn >= kPersonListSortColumns) {
        sortColumn = kPersonListSortColumns - 1;
    }
    std::string sql = "SELECT ID, NAMN, TESTLEDARE, TESTDATE, OTHER, SEX, BORNDATE, UTBILDNING, "
                      "NATIONALITET, HOMELANGUAGE FROM TESTPERSON ORDER BY ";
    sql += kSortColumns[sortColumn];
    sql += descending == 1 ? " DESC" : " ASC";

    Statement statement;
    statement.executeDirect(sql.c_str());
    PersonListRow row{};
    statement.bindColumnText(2, row.NAMN, kText50);
    statement.bindColumnText(3, row.TESTLEDARE, kText50);
    statement.bindColumnDate(4, &row.TESTDATE);
    statement.bindColumnText(5, row.OTHER, kText50);
    statement.bindColumnInt(6, &row.SEX);
    statement.bindColumnDate(7, &row.BORNDATE);
    statement.bindColumnText(8, row.UTBILDNING, kText50);
    statement.bindColumnText(9, row.NATIONALITET, kText50);
    statement.bindColumnText(10, row.HOMELANGUAGE, kText50);

    // A NULL column leaves its buffer alone, so the row is cleared after each person to keep
    // that person's values out of the next.
    SQLLEN idLength = 0;
    statement.bindColumnInt(1, &row.ID, &idLength);
    const DbResult result = statement.fetchEach([&] {
        row.idRead = idLength != SQL_NULL_DATA && (statement.unreadableColumns() & 1u) == 0;
        const char* stored = statement.storedText(1);
        std::snprintf(row.storedId, sizeof row.storedId, "%s", stored != nullptr ? stored : "");
        onRow(row);
        std::memset(&row, 0, sizeof row);
    });
    statement.closeCursor();
    statement.commit();
    return result;
}
