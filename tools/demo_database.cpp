// SPDX-License-Identifier: Apache-2.0
#include "demo_database.h"

#include "access_log.h"
#include "credential_text.h"
#include "data_source.h"
#include "db.h"
#include "demo_norm_tables.h"
#include "message_box.h"
#include "norm_checks.h"
#include "password_hash.h"
#include "schema.h"
#include "statement.h"
#include "system_error_text.h"
#include "transaction.h"
#include "workstation_role.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool run(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

// The user's password is stored as its hash, never as typed.
bool insertUser(const std::string& userName, const std::string& password) {
    const std::string hash = hashPassword(password);
    if (hash.empty()) {
        showMessage(kPasswordNotHashedMessage);
        return false;
    }
    Statement statement;
    return statement.prepare("INSERT INTO SEC (USERID, PASSWORD) VALUES (?, ?)") &&
           statement.bindText(1, userName.c_str()) && statement.bindText(2, hash.c_str()) &&
           statement.execute() && statement.commit();
}

// Everything in one transaction: the database holds either all of it or nothing (a server
// takes its tables back too). A workstation role, on a server, gets its rights in the same
// transaction.
bool fillDatabase(const std::string& userName, const std::string& password,
                  const std::string& workstationRole = "") {
    Transaction transaction;
    return transaction.started() && DoCreateSchema() == DB_DONE &&
           run("INSERT INTO NAMEID (RECNO, IDNOW) VALUES (1, 0)") &&
           insertUser(userName, password) &&
           DoAppendAccessLog(AccessEvent::UserAdded, std::nullopt, userName) == DB_DONE &&
           DoInsertNormTables(demoNormTables()) == DB_DONE &&
           run("INSERT INTO NORMKALLA (RECNO, SYNTETISKA) VALUES (1, 1)") &&
           (workstationRole.empty() || DoGrantWorkstationRole(workstationRole) == DB_DONE) &&
           transaction.commit();
}

// Whether the connected database already holds the register's tables.
bool registerTablesExist() {
    Statement statement;
    return statement.executeDirect("SELECT IDNOW FROM NAMEID WHERE RECNO = 1") &&
           statement.commit();
}

// Writes the file's data to the disk, so that the rename never publishes a file whose contents
// are still only in memory.
bool syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// The user's name and password, as every road that makes a user checks them.
bool credentialsUsable(const std::string& userName, const std::string& password,
                       std::string& error) {
    const CredentialProblem nameProblem = credentialProblem(userName);
    const CredentialProblem passwordProblem = credentialProblem(password);
    error = nameProblem != CredentialProblem::None
                ? credentialProblemText(nameProblem, "Användarnamnet")
                : credentialProblemText(passwordProblem, "Lösenordet");
    return error.empty();
}

} // namespace

std::string unfinishedDatabasePath(const std::string& path) {
    return path + ".tmp";
}

bool createDemoDatabase(const std::string& path, const std::string& userName,
                        const std::string& password, std::string& error) {
    // The database is built under a name of its own beside the target and takes the target's
    // name only when complete, so an interrupted run never leaves a half-built database where
    // the program or the export would read it. What an earlier interrupted run left is removed.
    // The demonstration norms keep the rules of an imported set, so that the program scores them
    // the same way.
    const std::vector<std::string> problems = checkNormTables(demoNormTables(), false);
    if (!problems.empty()) {
        error = "De syntetiska normerna bryter mot reglerna för normtabeller:";
        for (const std::string& problem : problems) {
            error += "\n" + problem;
        }
        return false;
    }
    if (!credentialsUsable(userName, password, error)) {
        return false;
    }
    std::error_code removeError;
    if (!databasePathUsable(std::filesystem::absolute(path, removeError).string(), error)) {
        return false;
    }
    const std::string unfinished = unfinishedDatabasePath(path);
    std::filesystem::remove(unfinished, removeError);
    if (std::filesystem::exists(std::filesystem::symlink_status(path, removeError))) {
        error = "Databasfilen kan inte skapas: " + path + ": " + systemErrorText(EEXIST);
        return false;
    }
    char fileError[512];
    if (!createDatabaseFile(unfinished.c_str(), fileError, sizeof fileError)) {
        error = std::string("Databasfilen kan inte skapas: ") + fileError;
        return false;
    }
    // Database failures are collected instead of shown.
    std::string driverMessages;
    MessageBoxHandler previous = setMessageBoxHandler([&](const MessageRequest& request) {
        driverMessages += request.text + "\n";
        return static_cast<int>(AnswerOk);
    });
    bool done = false;
    if (DoConnect("", "", unfinished.c_str()) == 1) {
        done = fillDatabase(userName, password);
    }
    DoDisconnect();
    setMessageBoxHandler(std::move(previous));
    if (!done) {
        std::filesystem::remove(unfinished, removeError);
        error = "Databasen kunde inte skapas: " + driverMessages;
        return false;
    }
    // link() never replaces an existing file: a database that appeared meanwhile is kept.
    if (!syncFile(unfinished) || ::link(unfinished.c_str(), path.c_str()) != 0) {
        error = "Databasfilen kan inte skapas: " + path + ": " + systemErrorText(errno);
        std::filesystem::remove(unfinished, removeError);
        return false;
    }
    std::filesystem::remove(unfinished, removeError);
    return true;
}

bool createDemoRegisterOnServer(const std::string& connectionString, const std::string& userName,
                                const std::string& password, std::string& error,
                                const std::string& workstationRole) {
    if (!credentialsUsable(userName, password, error) ||
        (!workstationRole.empty() && !workstationRoleNameUsable(workstationRole, error))) {
        return false;
    }
    std::string driverMessages;
    MessageBoxHandler previous = setMessageBoxHandler([&](const MessageRequest& request) {
        driverMessages += request.text + "\n";
        return static_cast<int>(AnswerOk);
    });
    bool done = false;
    if (DoConnectString(serverConnectionString(connectionString).c_str()) != 1) {
        error = "Ingen förbindelse med datakällan: " + driverMessages;
    } else if (registerTablesExist()) {
        error = "Registret finns redan i datakällan; init-db skriver aldrig över det.";
    } else {
        driverMessages.clear();
        done = fillDatabase(userName, password, workstationRole);
        if (!done) {
            error = "Registret kunde inte skapas: " + driverMessages;
        }
    }
    DoDisconnect();
    setMessageBoxHandler(std::move(previous));
    return done;
}
