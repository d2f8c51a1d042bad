// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "login_failures.h"
#include "statement.h"
#include "transaction.h"
#include "user_name_key.h"

#include <cstdlib>
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

} // namespace

DbResult DoReadLoginFailures(const std::string& userName, LoginFailures& failures) {
    return readFailures(userNameKey(userName), failures);
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
