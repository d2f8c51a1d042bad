// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include "message_box.h"

#include <limits>

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

namespace {

// On a server the claim, the read and the step are one statement, one round trip instead of
// three: the row stays locked to the end of the save's transaction all the same. Nothing comes
// back when the row is missing or the counter is at its largest value; the caller then takes
// the long way, which says what is wrong. The update is wrapped in a SELECT because the driver
// gives an update that touched no row no result to fetch from. Failed when the statement failed
// (reported).
enum class ServerStep { Taken, NotTaken, Failed };
ServerStep stepCounterOnServer(std::int32_t& taken) {
    Statement statement;
    if (!statement.executeDirect(
            "WITH STEP AS (UPDATE NAMEID SET IDNOW = IDNOW + 1 WHERE RECNO = 1 AND IDNOW < "
            "2147483647 RETURNING IDNOW) SELECT IDNOW FROM STEP")) {
        return ServerStep::Failed;
    }
    SQLLEN length = 0;
    statement.bindColumnInt(1, &taken, &length);
    const Statement::Fetch fetched = statement.fetch();
    if (!statement.commit()) {
        return ServerStep::Failed;
    }
    switch (fetched) {
    case Statement::Fetch::Row:
        return length != SQL_NULL_DATA && statement.unreadableColumns() == 0 ? ServerStep::Taken
                                                                             : ServerStep::NotTaken;
    case Statement::Fetch::NoRow:
        return ServerStep::NotTaken;
    case Statement::Fetch::Failed:
        break;
    }
    return ServerStep::Failed;
}

} // namespace

std::int32_t DoReadUpdateNameID(PersonRecord& person) {
    if (connectedToServer()) {
        std::int32_t taken = 0;
        switch (stepCounterOnServer(taken)) {
        case ServerStep::Taken:
            idCounter() = taken;
            person.ID = taken;
            return taken;
        case ServerStep::Failed:
            return -1;
        case ServerStep::NotTaken:
            break;
        }
    }
    // Another workstation may have saved since this one last read the counter, so it is read
    // again here, after the first statement has claimed its row for writing: a server makes a
    // second saver wait at that statement until the first has committed, SQLite waits for the
    // other writer up to its busy timeout. Inside the save's transaction the claim holds until
    // the person is stored, so no two saves get the same ID. The claim comes before the read
    // because SQLite cannot wait for a writer once this transaction has read.
    Statement claim;
    if (!claim.executeDirect("UPDATE NAMEID SET IDNOW = IDNOW WHERE RECNO = 1") ||
        !claim.commit() || DoReadNameID() != DB_DONE) {
        return -1;
    }
    std::int32_t& counter = idCounter();
    if (counter == std::numeric_limits<std::int32_t>::max()) {
        showMessage(kUnreadableCounterMessage);
        return -1;
    }
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
