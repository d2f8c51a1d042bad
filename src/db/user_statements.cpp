// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "message_box.h"
#include "password_hash.h"
#include "prefetched_password.h"
#include "statement.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace {

// An encoded hash has at most 127 characters; anything longer is no password of ours.
constexpr int kStoredPasswordBuffer = 256;

// Replaces the stored value of one user with a hash of the password. The old value is part of
// the condition, so that a change made meanwhile by another program is never overwritten.
DbResult storeHash(const char* userName, const char* password, const std::string* oldValue) {
    const std::string hash = hashPassword(password);
    if (hash.empty()) {
        showMessage(kPasswordNotHashedMessage);
        return DB_FAILED;
    }
    Statement statement;
    const bool ran =
        statement.prepare(oldValue == nullptr
                              ? "UPDATE SEC SET PASSWORD = ? WHERE USERID = ?"
                              : "UPDATE SEC SET PASSWORD = ? WHERE USERID = ? AND PASSWORD = ?") &&
        statement.bindText(1, hash.c_str()) && statement.bindText(2, userName) &&
        (oldValue == nullptr || statement.bindText(3, oldValue->c_str())) && statement.execute() &&
        statement.commit();
    return ran ? DB_DONE : DB_FAILED;
}

struct PrefetchedPassword {
    int connection = 0; // 0: none kept
    std::string userName;
    DbResult read = DB_NO_ROW;
    std::string stored;
    std::chrono::steady_clock::time_point at;
};

// How long a kept read stands in for reading it: the moment between the back-off's question and
// the password check of the same click.
constexpr std::chrono::seconds kPrefetchLife{2};

PrefetchedPassword& prefetched() {
    static PrefetchedPassword kept;
    return kept;
}

// Reads the stored password of the user into stored; the statement is freed on return, so that
// nothing of the read is still open when the row is rewritten.
DbResult readStored(const char* userName, std::string& stored) {
    DbResult kept = DB_NO_ROW;
    if (takePrefetchedPassword(userName, kept, stored)) {
        return kept;
    }
    Statement statement;
    statement.bindText(1, userName);
    statement.executeDirect("SELECT PASSWORD FROM SEC WHERE USERID = ?");
    char buffer[kStoredPasswordBuffer] = {};
    SQLLEN length = 0;
    statement.bindColumnText(1, buffer, kStoredPasswordBuffer, &length);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    switch (fetched) {
    case Statement::Fetch::Row:
        // A value too long for the buffer is no password of ours and matches nothing.
        stored = length >= 1 && length < kStoredPasswordBuffer ? buffer : "";
        return DB_DONE;
    case Statement::Fetch::NoRow:
        return DB_NO_ROW;
    case Statement::Fetch::Failed:
        break;
    }
    return DB_FAILED;
}

} // namespace

void keepPrefetchedPassword(const std::string& userName, DbResult read, const std::string& stored) {
    prefetched() = PrefetchedPassword{connectionSerial(), userName, read, stored,
                                      std::chrono::steady_clock::now()};
}

bool takePrefetchedPassword(const std::string& userName, DbResult& read, std::string& stored) {
    PrefetchedPassword& kept = prefetched();
    const bool usable = kept.connection != 0 && kept.connection == connectionSerial() &&
                        kept.userName == userName &&
                        std::chrono::steady_clock::now() - kept.at < kPrefetchLife;
    if (usable) {
        read = kept.read;
        stored = kept.stored;
    }
    std::fill(kept.stored.begin(), kept.stored.end(), '\0');
    kept = PrefetchedPassword{};
    return usable;
}

// The user name and the passwords are typed by the user, so they are bound as parameters and
// never become part of the statement text.
DbResult DoReadPassword(const char* userName, const char* password) {
    std::string stored;
    const DbResult read = readStored(userName, stored);
    if (read != DB_DONE) {
        return read;
    }
    if (!passwordMatches(stored, password)) {
        return DB_WRONG_PASSWORD;
    }
    // A plain-text password of an older database is replaced by its hash at its first login. The
    // login itself stands even when that fails: the password was right, and the failure has been
    // reported.
    if (passwordNeedsRehash(stored)) {
        storeHash(userName, password, &stored);
    }
    return DB_DONE;
}

DbResult DoUpdatePassword(const char* newPassword, const char* userName) {
    return storeHash(userName, newPassword, nullptr);
}
