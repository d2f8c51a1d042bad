#include "access_log.h"
#include "db.h"
#include "message_box.h"
#include "password_hash.h"
#include "statement.h"
#include "transaction.h"

#include <optional>

// The names and passwords come from the administrator's typing: bound as parameters.

// The password is stored as its hash, like every password the program writes.
DbResult DoInsertUser(const char* userName, const char* password) {
    const std::string hash = hashPassword(password);
    if (hash.empty()) {
        showMessage(kPasswordNotHashedMessage);
        return DB_FAILED;
    }
    // The user and the log row are stored together, in the caller's transaction if there is one.
    std::optional<Transaction> own;
    if (!transactionOpen() && !own.emplace().started()) {
        return DB_FAILED;
    }
    Statement statement;
    const bool ran = statement.prepare("INSERT INTO SEC (USERID, PASSWORD) VALUES (?, ?)") &&
                     statement.bindText(1, userName) && statement.bindText(2, hash.c_str()) &&
                     statement.execute() &&
                     DoAppendAccessLog(AccessEvent::UserAdded, std::nullopt, userName) == DB_DONE &&
                     (!own || own->commit());
    return ran ? DB_DONE : DB_FAILED;
}

DbResult DoDeleteUser(const char* userName) {
    Transaction transaction;
    if (!transaction.started()) {
        return DB_FAILED;
    }
    Statement statement;
    const bool ran = statement.prepare("DELETE FROM SEC WHERE USERID = ?") &&
                     statement.bindText(1, userName) && statement.execute();
    if (!ran) {
        return DB_FAILED;
    }
    if (statement.rowCount() == 0) {
        return DB_NO_ROW;
    }
    const bool logged =
        DoAppendAccessLog(AccessEvent::UserRemoved, std::nullopt, userName) == DB_DONE;
    return logged && transaction.commit() ? DB_DONE : DB_FAILED;
}

DbResult DoListUsers(const std::function<void(const char*)>& onName) {
    Statement statement;
    statement.executeDirect("SELECT USERID FROM SEC ORDER BY USERID");
    char name[kText50] = {};
    statement.bindColumnText(1, name, kText50);
    const DbResult result = statement.fetchEach([&] {
        onName(name);
        name[0] = '\0';
    });
    statement.closeCursor();
    statement.commit();
    return result;
}
