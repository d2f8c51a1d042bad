#include "db.h"
#include "statement.h"

#include "message_box.h"

std::int32_t& idCounter() {
    static std::int32_t counter = 0;
    return counter;
}

DbResult DoReadNameID() {
    Statement statement;
    if (!statement.executeDirect("SELECT IDNOW FROM NAMEID WHERE RECNO = 1")) {
        return DB_FAILED;
    }
    std::int32_t value = idCounter();
    SQLLEN length = 0;
    statement.bindColumnInt(1, &value, &length);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        // A counter that cannot be read would hand out IDs that are already taken.
        if (length == SQL_NULL_DATA || statement.unreadableColumns() != 0) {
            showMessage(kUnreadableCounterMessage);
            return DB_FAILED;
        }
        idCounter() = value;
        return DB_DONE;
    }
    if (fetched == Statement::Fetch::NoRow) {
        DoSQLError(statement.handle());
    }
    return DB_FAILED;
}

std::int32_t DoReadUpdateNameID(PersonRecord& person) {
    std::int32_t& counter = idCounter();
    ++counter;
    Statement statement;
    const bool ran = statement.prepare("UPDATE NAMEID SET IDNOW = ? WHERE RECNO = 1") &&
                     statement.bindInt(1, &counter) && statement.execute() && statement.commit();
    if (!ran) {
        return -1;
    }
    person.ID = counter;
    return counter;
}
