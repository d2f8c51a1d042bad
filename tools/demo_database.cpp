#include "demo_database.h"

#include "db.h"
#include "demo_norms.h"
#include "message_box.h"
#include "schema.h"
#include "statement.h"

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

bool fillDatabase(const std::string& userName, const std::string& password) {
    if (DoCreateSchema() != DB_DONE || !run("INSERT INTO NAMEID (RECNO, IDNOW) VALUES (1, 0)") ||
        !insertUser(userName, password)) {
        return false;
    }
    // The norm rows go in as one transaction: one commit instead of one per row.
    if (!run("BEGIN") || !insertNormGroups() || !insertNormRows() || !insertIndexRows() ||
        !run("COMMIT")) {
        return false;
    }
    return true;
}

} // namespace

bool createDemoDatabase(const std::string& path, const std::string& userName,
                        const std::string& password, std::string& error) {
    char fileError[512];
    if (!createDatabaseFile(path.c_str(), fileError, sizeof fileError)) {
        error = std::string("Databasfilen kan inte skapas: ") + fileError;
        return false;
    }
    // Database failures are collected instead of shown, and the half-built file is removed.
    std::string driverMessages;
    MessageBoxHandler previous = setMessageBoxHandler([&](const MessageRequest& request) {
        driverMessages += request.text + "\n";
        return static_cast<int>(AnswerOk);
    });
    bool done = false;
    if (DoConnect("", "", path.c_str()) == 1) {
        done = fillDatabase(userName, password);
    }
    DoDisconnect();
    setMessageBoxHandler(std::move(previous));
    if (!done) {
        std::filesystem::remove(path);
        error = "Databasen kunde inte skapas: " + driverMessages;
    }
    return done;
}
