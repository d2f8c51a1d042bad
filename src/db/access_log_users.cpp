// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"

#include "transaction.h"

bool DoLogLoginAttempt(const std::string& userName, DbResult checked, bool loggingIn) {
    if (checked == DB_NO_ROW || checked == DB_WRONG_PASSWORD) {
        // The refusal is told whether or not its row could be written.
        DoAppendAccessLogAs(userName, AccessEvent::LoginFailed, std::nullopt,
                            checked == DB_NO_ROW ? "okänd användare" : "fel lösenord");
        return true;
    }
    if (checked != DB_DONE || !loggingIn) {
        return true;
    }
    const std::string before = accessLogUser();
    setAccessLogUser(userName);
    if (logBeforeReading(AccessEvent::Login, std::nullopt, "")) {
        return true;
    }
    setAccessLogUser(before);
    return false;
}

DbResult DoUpdatePasswordLogged(const char* newPassword, const char* userName) {
    Transaction transaction;
    const bool done =
        transaction.started() && DoUpdatePassword(newPassword, userName) == DB_DONE &&
        DoAppendAccessLogAs(userName, AccessEvent::PasswordChanged, std::nullopt, "") == DB_DONE &&
        transaction.commit();
    return done ? DB_DONE : DB_FAILED;
}
