// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "odbc_connection.h"

#include "message_box.h"
#include "statement.h"
#include "stavro.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

SQLHENV environment = SQL_NULL_HENV;
SQLHDBC connection = SQL_NULL_HDBC;

// The database user name and password, scrambled with the key pair below. SQLite ignores them;
// a server data source checks them.
constexpr int kCredentialKey1 = 1931;
constexpr int kCredentialKey2 = 7;
constexpr unsigned char kScrambledUser[] = {0x7f, 0x7d, 0x6d, 0x6d, 0x56, 0x74, 0x76,
                                            0x6a, 0x64, 0x6e, 0x72, 0x69, 0x60, 0x66,
                                            0x79, 0x77, 0x73, 0x60, 0x00};
constexpr unsigned char kScrambledPassword[] = {0x46, 0x62, 0x7a, 0x66, 0x6c, 0x3d, 0x53,
                                                0x71, 0x61, 0x63, 0x22, 0x28, 0x00};

int failuresReported = 0;
bool onServer = false;
// Counts the connections made, so that what was read on one is never taken for another's.
int connectionsMade = 0;

constexpr int kConnectionStringSize = 2048;
constexpr int kErrorMessageSize = 512;

// A server's notices ("already exists, skipping") come back as SQL_SUCCESS_WITH_INFO, which every
// statement treats as a failure; only warnings and errors are to reach the program. The setting
// travels with the connection's first statement.
constexpr const char* kQuietServerNotices = "SET client_min_messages TO WARNING";

std::vector<std::string> deferred;
bool throughCursor = false;

} // namespace

SQLHENV environmentHandle() {
    return environment;
}
SQLHDBC connectionHandle() {
    return connection;
}

void unscrambleDatabaseCredentials(char* userName, char* password) {
    std::memcpy(userName, kScrambledUser, sizeof kScrambledUser);
    std::memcpy(password, kScrambledPassword, sizeof kScrambledPassword);
    DoDeCryptStr(userName, kCredentialKey1, kCredentialKey2);
    DoDeCryptStr(password, kCredentialKey1, kCredentialKey2);
}

int DoConnectString(const char* connectionString) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
    SQLCHAR completed[kConnectionStringSize];
    SQLSMALLINT completedLength = 0;
    // There is no window for the driver to prompt in: the string must be complete.
    const SQLRETURN result =
        SQLDriverConnect(connection, nullptr, (SQLCHAR*)connectionString, SQL_NTS, completed,
                         sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    std::memset(completed, 0, sizeof completed);
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) {
        char name[64] = {};
        SQLSMALLINT nameLength = 0;
        SQLGetInfo(connection, SQL_DBMS_NAME, name, sizeof name, &nameLength);
        onServer = std::strcmp(name, "SQLite") != 0;
        deferred.clear();
        throughCursor = onServer && std::strstr(connectionString, "UseDeclareFetch=1") != nullptr;
        if (onServer) {
            deferStatement(kQuietServerNotices);
        }
        ++connectionsMade;
        return 1;
    }
    DoSQLError(nullptr);
    return 0;
}

bool databasePathUsable(const std::string& path, std::string& error) {
    if (path.find_first_of(";{}") == std::string::npos) {
        return true;
    }
    error = "Sökvägen " + path +
            " innehåller semikolon (;) eller klammerparentes ({ }), som databasens drivrutin inte "
            "kan ta emot. Lägg databasen i en mapp vars sökväg saknar dessa tecken och starta "
            "programmet där.";
    return false;
}

int DoConnect(const char* userName, const char* password, const char* databasePath) {
    std::string unusable;
    if (!databasePathUsable(databasePath, unusable)) {
        showMessage(unusable);
        return 0;
    }
    char connectionString[kConnectionStringSize];
    std::snprintf(connectionString, sizeof connectionString, kSqliteConnectionTemplate,
                  databasePath, userName, password);
    const int connected = DoConnectString(connectionString);
    std::memset(connectionString, 0, sizeof connectionString);
    return connected;
}

int connectionSerial() {
    return connection != SQL_NULL_HDBC ? connectionsMade : 0;
}

bool connectedToServer() {
    return connection != SQL_NULL_HDBC && onServer;
}

void deferStatement(std::string sql) {
    deferred.push_back(std::move(sql));
}

const std::vector<std::string>& deferredStatements() {
    return deferred;
}

bool readsThroughCursor() {
    return throughCursor;
}

void deferredStatementsSent() {
    deferred.clear();
}

void sendDeferredStatements() {
    if (deferred.empty()) {
        return;
    }
    const std::vector<std::string> sending = std::move(deferred);
    deferred.clear();
    for (const std::string& sql : sending) {
        Statement statement;
        if (statement.executeDirect(sql.c_str())) {
            statement.commit();
        }
    }
}

void DoDisconnect() {
    if (connection != SQL_NULL_HDBC) {
        sendDeferredStatements();
        SQLDisconnect(connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        connection = SQL_NULL_HDBC;
        onServer = false;
    }
    if (environment != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
        environment = SQL_NULL_HENV;
    }
}

int reportedDatabaseFailures() {
    return failuresReported;
}

void reportDatabaseFailure(const std::string& text) {
    ++failuresReported;
    showMessage(text);
}

void reportMissingPerson(std::int32_t id) {
    reportDatabaseFailure("Testpersonen med ID " + std::to_string(id) +
                          " finns inte i registret. Den kan ha tagits bort från en annan "
                          "arbetsstation.");
}

int DoSQLError(void* statement) {
    ++failuresReported;
    SQLSMALLINT handleType = SQL_HANDLE_STMT;
    SQLHANDLE handle = statement;
    if (handle == nullptr) {
        handleType = SQL_HANDLE_DBC;
        handle = connection;
    }
    if (handle == nullptr) {
        handleType = SQL_HANDLE_ENV;
        handle = environment;
    }
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[kErrorMessageSize] = {};
    SQLSMALLINT messageLength = 0;
    if (handle != nullptr) {
        SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message, sizeof message - 1,
                      &messageLength);
    }
    // SQLite's "busy" and "locked": another program holds the database beyond the timeout.
    constexpr SQLINTEGER kSqliteBusy = 5;
    constexpr SQLINTEGER kSqliteLocked = 6;
    if (!onServer && (nativeError == kSqliteBusy || nativeError == kSqliteLocked)) {
        showMessage(kDatabaseLockedMessage);
        return 0;
    }
    showMessage(reinterpret_cast<const char*>(message));
    return 0;
}
