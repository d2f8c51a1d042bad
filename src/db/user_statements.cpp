#include "db.h"
#include "statement.h"

#include <cstring>

namespace {

// The stored password has at most ten characters.
constexpr int kPasswordBuffer = utf8Buffer(11);

} // namespace

// The user name and the passwords are typed by the user, so they are bound as parameters and
// never become part of the statement text.
DbResult DoReadPassword(const char* userName, const char* password) {
    Statement statement;
    statement.bindText(1, userName);
    statement.executeDirect("SELECT PASSWORD FROM SEC WHERE USERID = ?");
    char stored[kPasswordBuffer] = {};
    SQLLEN length = 0;
    statement.bindColumnText(1, stored, kPasswordBuffer, &length);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    switch (fetched) {
    case Statement::Fetch::Row:
        if (length >= 1 && std::strcmp(stored, password) == 0) {
            return DB_DONE;
        }
        return DB_WRONG_PASSWORD;
    case Statement::Fetch::NoRow:
        return DB_NO_ROW;
    case Statement::Fetch::Failed:
        break;
    }
    return DB_FAILED;
}

DbResult DoUpdatePassword(const char* newPassword, const char* userName) {
    Statement statement;
    const bool ran = statement.prepare("UPDATE SEC SET PASSWORD = ? WHERE USERID = ?") &&
                     statement.bindText(1, newPassword) && statement.bindText(2, userName) &&
                     statement.execute() && statement.commit();
    return ran ? DB_DONE : DB_FAILED;
}
