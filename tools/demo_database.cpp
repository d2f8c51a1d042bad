#include "demo_database.h"

#include "db.h"
#include "demo_norms.h"
#include "message_box.h"
#include "schema.h"
#include "statement.h"
#include "transaction.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

bool run(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

bool insertUser(const std::string& userName, const std::string& password) {
    Statement statement;
    return statement.prepare("INSERT INTO SEC (USERID, PASSWORD) VALUES (?, ?)") &&
           statement.bindText(1, userName.c_str()) && statement.bindText(2, password.c_str()) &&
           statement.execute() && statement.commit();
}

bool insertNormGroups() {
    for (const NormGroupRow& row : demoNormGroups()) {
        Statement statement;
        std::int32_t sequence = row.sekvens;
        if (!(statement.prepare("INSERT INTO NORMGRUPPER (NORMGRUPP, DELGRUPP, SEKVENS, "
                                "BESKRIVNING) VALUES (?, ?, ?, ?)") &&
              statement.bindText(1, kDemoNormGroup) &&
              statement.bindText(2, row.delgrupp.c_str()) && statement.bindInt(3, &sequence) &&
              statement.bindText(4, row.beskrivning.c_str()) && statement.execute())) {
            return false;
        }
    }
    return true;
}

bool insertNormRows() {
    Statement statement;
    if (!statement.prepare("INSERT INTO NORMER VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?)")) {
        return false;
    }
    for (const NormRow& row : demoNormRows()) {
        std::int32_t bounds[19];
        for (int k = 0; k < 19; ++k) {
            bounds[k] = row.S[k];
        }
        bool bound = statement.bindText(1, kDemoNormGroup) &&
                     statement.bindText(2, row.delskala.c_str()) &&
                     statement.bindText(3, row.delgrupp.c_str());
        for (int k = 0; bound && k < 19; ++k) {
            bound = statement.bindInt(static_cast<SQLUSMALLINT>(4 + k), &bounds[k]);
        }
        if (!bound || !statement.execute()) {
            return false;
        }
    }
    return true;
}

bool insertIndexRows() {
    Statement statement;
    if (!statement.prepare("INSERT INTO INDEX_NORMER (NORMGRUPP, \"INDEX\", SKAL, IK, PERC, "
                           "KONF_LOW90, KONF_HIGH90, KONF_LOW95, KONF_HIGH95) VALUES (?, ?, ?, ?, "
                           "?, ?, ?, ?, ?)")) {
        return false;
    }
    for (const IndexNormRow& row : demoIndexNormRows()) {
        std::int32_t sum = row.skal;
        std::int32_t score = row.ik;
        float percentile = row.perc;
        std::int32_t limits[4] = {row.low90, row.high90, row.low95, row.high95};
        bool bound = statement.bindText(1, kDemoNormGroup) &&
                     statement.bindText(2, row.index.c_str()) && statement.bindInt(3, &sum) &&
                     statement.bindInt(4, &score) && statement.bindFloat(5, &percentile);
        for (int i = 0; bound && i < 4; ++i) {
            bound = statement.bindInt(static_cast<SQLUSMALLINT>(6 + i), &limits[i]);
        }
        if (!bound || !statement.execute()) {
            return false;
        }
    }
    return true;
}

// Everything in one transaction: the database holds either all of it or nothing (a server
// takes its tables back too).
bool fillDatabase(const std::string& userName, const std::string& password) {
    Transaction transaction;
    return transaction.started() && DoCreateSchema() == DB_DONE &&
           run("INSERT INTO NAMEID (RECNO, IDNOW) VALUES (1, 0)") &&
           insertUser(userName, password) && insertNormGroups() && insertNormRows() &&
           insertIndexRows() && transaction.commit();
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

} // namespace

std::string unfinishedDatabasePath(const std::string& path) {
    return path + ".tmp";
}

bool createDemoDatabase(const std::string& path, const std::string& userName,
                        const std::string& password, std::string& error) {
    // The database is built under a name of its own beside the target and takes the target's
    // name only when complete, so an interrupted run never leaves a half-built database where
    // the program or the export would read it. What an earlier interrupted run left is removed.
    const std::string unfinished = unfinishedDatabasePath(path);
    std::error_code removeError;
    std::filesystem::remove(unfinished, removeError);
    if (std::filesystem::exists(std::filesystem::symlink_status(path, removeError))) {
        error = "Databasfilen kan inte skapas: " + path + ": " + std::strerror(EEXIST);
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
        error = "Databasfilen kan inte skapas: " + path + ": " + std::strerror(errno);
        std::filesystem::remove(unfinished, removeError);
        return false;
    }
    std::filesystem::remove(unfinished, removeError);
    return true;
}

bool createDemoRegisterOnServer(const std::string& connectionString, const std::string& userName,
                                const std::string& password, std::string& error) {
    std::string driverMessages;
    MessageBoxHandler previous = setMessageBoxHandler([&](const MessageRequest& request) {
        driverMessages += request.text + "\n";
        return static_cast<int>(AnswerOk);
    });
    bool done = false;
    if (DoConnectString(connectionString.c_str()) != 1) {
        error = "Ingen förbindelse med datakällan: " + driverMessages;
    } else if (registerTablesExist()) {
        error = "Registret finns redan i datakällan; init-db skriver aldrig över det.";
    } else {
        driverMessages.clear();
        done = fillDatabase(userName, password);
        if (!done) {
            error = "Registret kunde inte skapas: " + driverMessages;
        }
    }
    DoDisconnect();
    setMessageBoxHandler(std::move(previous));
    return done;
}
