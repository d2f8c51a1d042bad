// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "login_failures.h"
#include "prefetched_password.h"
#include "statement.h"
#include "transaction.h"
#include "user_name_key.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

// Milliseconds since 1970 as text: the column is text, so that the same statements bind it on
// SQLite and PostgreSQL alike.
constexpr int kTimeText = 24;

DbResult readFailures(const std::string& key, LoginFailures& failures) {
    failures = LoginFailures{};
    Statement statement;
    std::int32_t count = 0;
    char lastAt[kTimeText] = {};
    const bool ran =
        statement.prepare("SELECT ANTAL, SENAST FROM INLOGGNINGSFORSOK WHERE ANVANDARNYCKEL = ?") &&
        statement.bindText(1, key.c_str()) && statement.execute() &&
        statement.bindColumnInt(1, &count) && statement.bindColumnText(2, lastAt, kTimeText);
    if (!ran) {
        return DB_FAILED;
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.closeCursor();
    statement.commit();
    if (fetched == Statement::Fetch::Failed) {
        return DB_FAILED;
    }
    if (fetched == Statement::Fetch::Row) {
        failures.count = count;
        failures.lastAtMs = std::strtoll(lastAt, nullptr, 10);
    }
    return DB_DONE;
}

// On a server, outside a transaction, the stored password of the name comes in the same round
// trip, for the password check that follows the back-off's question (DoReadPassword). false,
// nothing reported and nothing kept, when that string fails: then the count is read alone.
bool readFailuresWithPassword(const std::string& userName, const std::string& key,
                              LoginFailures& failures) {
    if (!connectedToServer() || transactionOpen()) {
        return false;
    }
    failures = LoginFailures{};
    Statement statement(Statement::Failures::Quiet);
    std::int32_t count = 0;
    char lastAt[kTimeText] = {};
    constexpr SQLLEN kStoredBuffer = 256;
    char stored[kStoredBuffer] = {};
    SQLLEN length = 0;
    if (!statement.bindText(1, key.c_str()) || !statement.bindText(2, userName.c_str()) ||
        !statement.executeDirect("SELECT ANTAL, SENAST FROM INLOGGNINGSFORSOK WHERE "
                                 "ANVANDARNYCKEL = ?;SELECT PASSWORD FROM SEC WHERE USERID = ?") ||
        !statement.bindColumnInt(1, &count) || !statement.bindColumnText(2, lastAt, kTimeText)) {
        return false;
    }
    const Statement::Fetch counted = statement.fetch();
    if (counted == Statement::Fetch::Failed || !statement.nextResult() ||
        !statement.bindColumnText(1, stored, kStoredBuffer, &length)) {
        return false;
    }
    const Statement::Fetch read = statement.fetch();
    statement.closeCursor();
    statement.commit();
    if (read == Statement::Fetch::Failed) {
        return false;
    }
    if (counted == Statement::Fetch::Row) {
        failures.count = count;
        failures.lastAtMs = std::strtoll(lastAt, nullptr, 10);
    }
    // As DoReadPassword reads it: a value too long for its buffer matches nothing.
    keepPrefetchedPassword(
        userName, read == Statement::Fetch::Row ? DB_DONE : DB_NO_ROW,
        read == Statement::Fetch::Row && length >= 1 && length < kStoredBuffer ? stored : "");
    std::fill(std::begin(stored), std::end(stored), '\0');
    return true;
}

} // namespace

DbResult DoReadLoginFailures(const std::string& userName, LoginFailures& failures) {
    const std::string key = userNameKey(userName);
    if (readFailuresWithPassword(userName, key, failures)) {
        return DB_DONE;
    }
    return readFailures(key, failures);
}

DbResult DoRecordLoginFailure(const std::string& userName, std::int64_t atMs,
                              LoginFailures& failures) {
    const std::string key = userNameKey(userName);
    Transaction transaction;
    if (!transaction.started() || readFailures(key, failures) != DB_DONE) {
        return DB_FAILED;
    }
    const bool known = failures.count > 0;
    std::int32_t count = failures.count + 1;
    const std::string lastAt = std::to_string(atMs);
    Statement statement;
    const bool ran =
        statement.prepare(known ? "UPDATE INLOGGNINGSFORSOK SET ANTAL = ?, SENAST = ? WHERE "
                                  "ANVANDARNYCKEL = ?"
                                : "INSERT INTO INLOGGNINGSFORSOK (ANTAL, SENAST, ANVANDARNYCKEL) "
                                  "VALUES (?, ?, ?)") &&
        statement.bindInt(1, &count) && statement.bindText(2, lastAt.c_str()) &&
        statement.bindText(3, key.c_str()) && statement.execute();
    if (!ran || !transaction.commit()) {
        return DB_FAILED;
    }
    failures = LoginFailures{count, atMs};
    return DB_DONE;
}

DbResult DoClearLoginFailures(const std::string& userName) {
    const std::string key = userNameKey(userName);
    Statement statement;
    const bool ran = statement.prepare("DELETE FROM INLOGGNINGSFORSOK WHERE ANVANDARNYCKEL = ?") &&
                     statement.bindText(1, key.c_str()) && statement.execute() &&
                     statement.commit();
    return ran ? DB_DONE : DB_FAILED;
}
