// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "db.h"
#include "message_box.h"
#include "password_hash.h"
#include "statement.h"
#include "transaction.h"
#include "user_name_key.h"

#include <optional>
#include <string>
#include <vector>

// The names and passwords come from the administrator's typing: bound as parameters.

namespace {

// An encoded hash has at most 127 characters; a longer value is no password of ours.
constexpr int kStoredPasswordBuffer = 256;

struct StoredUser {
    std::string name;
    std::string password;
    bool readable = false; // false: the stored value is longer than any password of ours
};

DbResult readUsers(std::vector<StoredUser>& users) {
    Statement statement;
    statement.executeDirect("SELECT USERID, PASSWORD FROM SEC ORDER BY USERID");
    char name[kText50] = {};
    char stored[kStoredPasswordBuffer] = {};
    SQLLEN storedLength = 0;
    statement.bindColumnText(1, name, kText50);
    statement.bindColumnText(2, stored, kStoredPasswordBuffer, &storedLength);
    const DbResult result = statement.fetchEach([&] {
        const bool readable = storedLength >= 0 && storedLength < kStoredPasswordBuffer;
        users.push_back(StoredUser{name, readable ? stored : "", readable});
        name[0] = '\0';
        stored[0] = '\0';
    });
    statement.closeCursor();
    statement.commit();
    return result;
}

// A value that logs in as plain text: neither empty (which matches nothing) nor a hash.
bool plainText(const StoredUser& user) {
    return user.readable && !user.password.empty() && !isPasswordHash(user.password);
}

} // namespace

// The password is stored as its hash, like every password the program writes.
DbResult DoInsertUser(const char* userName, const char* password, std::string* takenBy) {
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
    // A name that differs from an existing one only in case or surrounding spaces would log in
    // as another person to the eye, and share that person's count of failed logins.
    std::vector<StoredUser> users;
    if (readUsers(users) != DB_DONE) {
        return DB_FAILED;
    }
    for (const StoredUser& user : users) {
        if (userNameKey(user.name) == userNameKey(userName)) {
            if (takenBy != nullptr) {
                *takenBy = user.name;
            }
            return DB_NAME_TAKEN;
        }
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

DbResult DoListUsers(const std::function<void(const char*, bool)>& onUser) {
    std::vector<StoredUser> users;
    const DbResult result = readUsers(users);
    for (const StoredUser& user : users) {
        onUser(user.name.c_str(), plainText(user));
    }
    return result;
}

DbResult DoRehashPlainTextPasswords(int& rehashed) {
    rehashed = 0;
    std::vector<StoredUser> users;
    if (readUsers(users) != DB_DONE) {
        return DB_FAILED;
    }
    Transaction transaction;
    if (!transaction.started()) {
        return DB_FAILED;
    }
    int replaced = 0;
    for (const StoredUser& user : users) {
        if (!plainText(user)) {
            continue;
        }
        // The hash of the stored text matches exactly what the text matched.
        const std::string hash = hashPassword(user.password);
        if (hash.empty()) {
            showMessage(kPasswordNotHashedMessage);
            return DB_FAILED;
        }
        Statement statement;
        // The old value is part of the condition: a password changed meanwhile is left alone.
        if (!statement.prepare("UPDATE SEC SET PASSWORD = ? WHERE USERID = ? AND PASSWORD = ?") ||
            !statement.bindText(1, hash.c_str()) || !statement.bindText(2, user.name.c_str()) ||
            !statement.bindText(3, user.password.c_str()) || !statement.execute()) {
            return DB_FAILED;
        }
        replaced += statement.rowCount() > 0 ? 1 : 0;
    }
    // The log row is part of the same transaction: no hashed passwords without it.
    if (replaced > 0 && DoLogPasswordsRehashed(replaced) != DB_DONE) {
        return DB_FAILED;
    }
    if (!transaction.commit()) {
        return DB_FAILED;
    }
    rehashed = replaced;
    return DB_DONE;
}
