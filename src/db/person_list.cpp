#include "db.h"
#include "statement.h"

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
    statement.bindColumnInt(1, &row.ID);
    statement.bindColumnText(2, row.NAMN, kText50);
    statement.bindColumnText(3, row.TESTLEDARE, kText50);
    statement.bindColumnDate(4, &row.TESTDATE);
    statement.bindColumnText(5, row.OTHER, kText50);
    statement.bindColumnInt(6, &row.SEX);
    statement.bindColumnDate(7, &row.BORNDATE);
    statement.bindColumnText(8, row.UTBILDNING, kText50);
    statement.bindColumnText(9, row.NATIONALITET, kText50);
    statement.bindColumnText(10, row.HOMELANGUAGE, kText50);

    DbResult result = DB_DONE;
    for (;;) {
        // A NULL column leaves its buffer alone, so clear the row to keep the previous person's
        // values out of this one.
        std::memset(&row, 0, sizeof row);
        const Statement::Fetch fetched = statement.fetch();
        if (fetched == Statement::Fetch::Row) {
            onRow(row);
            continue;
        }
        if (fetched == Statement::Fetch::Failed) {
            result = DB_FAILED;
        }
        break;
    }
    statement.closeCursor();
    statement.commit();
    return result;
}
