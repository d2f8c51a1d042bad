// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"

#include "data_source.h"

#include "schema.h"
#include "statement.h"
#include "workstation_role.h"

#include <sql.h>
#include <sqlext.h>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

std::string serverSchemaName() {
    return "rivo_test_" + std::to_string(::getpid());
}

bool run(const std::string& sql) {
    Statement statement;
    const bool ran = statement.executeDirect(sql.c_str()) && statement.commit();
    if (!ran) {
        ADD_FAILURE() << sql;
    }
    return ran;
}

std::string withTestSchema(std::string connection) {
    if (!connection.ends_with(";")) {
        connection += ";";
    }
    // With the driver's options the program connects with, so that the tests see its behaviour.
    return serverConnectionString(connection + "ConnSettings=SET search_path TO " +
                                  serverSchemaName() + ";");
}

std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    SQLCHAR state[6] = {};
    SQLCHAR text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, text, sizeof text, &length);
    return reinterpret_cast<const char*>(text);
}

// One statement on a connection of the owner's own, apart from the program's, committed at once.
void runOnOwnConnection(const std::string& connection, const std::string& sql) {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC owner = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &owner);
    std::string text = connection;
    const SQLRETURN connected =
        SQLDriverConnect(owner, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr,
                         0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(connected)) {
        ADD_FAILURE() << "no owner's connection: " << diagnostics(SQL_HANDLE_DBC, owner);
    } else {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, owner, &statement);
        std::string quiet = "SET client_min_messages TO WARNING";
        SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(quiet.data()), SQL_NTS);
        std::string run = sql;
        const SQLRETURN ran =
            SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(run.data()), SQL_NTS);
        if (ran != SQL_SUCCESS && ran != SQL_NO_DATA) {
            ADD_FAILURE() << sql << ": " << diagnostics(SQL_HANDLE_STMT, statement);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        SQLDisconnect(owner);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, owner);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
}

} // namespace

bool testingOnServer() {
    const char* server = std::getenv("RIVO_TEST_ODBC");
    return server != nullptr && server[0] != '\0';
}

std::string serverTestConnectionString() {
    if (!testingOnServer()) {
        return "";
    }
    return withTestSchema(std::getenv("RIVO_TEST_ODBC"));
}

bool testingWithSeparateOwner() {
    const char* owner = std::getenv("RIVO_TEST_ODBC_OWNER");
    return testingOnServer() && owner != nullptr && owner[0] != '\0';
}

std::string serverOwnerTestConnectionString() {
    return testingWithSeparateOwner() ? withTestSchema(std::getenv("RIVO_TEST_ODBC_OWNER"))
                                      : serverTestConnectionString();
}

std::string serverWorkstationRole() {
    const char* role = std::getenv("RIVO_TEST_WORKSTATION_ROLE");
    return testingWithSeparateOwner() && role != nullptr ? role : "";
}

bool grantWorkstationAndReconnect() {
    if (!testingWithSeparateOwner()) {
        return true;
    }
    if (DoGrantWorkstationRole(serverWorkstationRole()) != DB_DONE) {
        ADD_FAILURE() << "the workstation role " << serverWorkstationRole() << " gets no rights";
        return false;
    }
    DoDisconnect();
    if (DoConnectString(serverTestConnectionString().c_str()) != 1) {
        ADD_FAILURE() << "no connection as the workstation role";
        return false;
    }
    return true;
}

void execAsOwner(const std::string& sql) {
    if (!testingWithSeparateOwner()) {
        run(sql);
        return;
    }
    runOnOwnConnection(serverOwnerTestConnectionString(), sql);
}

bool connectEmptyServerSchema() {
    if (DoConnectString(serverOwnerTestConnectionString().c_str()) != 1) {
        ADD_FAILURE() << "no connection to the test server";
        return false;
    }
    const std::string schema = serverSchemaName();
    // The server's notice that there was nothing to drop would count as a failure.
    if (!run("SET client_min_messages TO WARNING") ||
        !run("DROP SCHEMA IF EXISTS " + schema + " CASCADE") || !run("CREATE SCHEMA " + schema)) {
        ADD_FAILURE() << "the test schema " << schema << " cannot be made";
        return false;
    }
    return true;
}

void DatabaseTest::SetUp() {
    if (testingOnServer()) {
        ASSERT_TRUE(connectEmptyServerSchema());
        ASSERT_TRUE(connectedToServer());
        ASSERT_EQ(DoCreateSchema(), DB_DONE);
        exec("INSERT INTO NAMEID (RECNO, IDNOW) VALUES (1, 0)");
        ASSERT_TRUE(grantWorkstationAndReconnect());
        idCounter() = 0;
        return;
    }
    const std::string path = dir_.file(kDatabaseFileName).string();
    char error[256];
    ASSERT_TRUE(createDatabaseFile(path.c_str(), error, sizeof error)) << error;
    ASSERT_EQ(DoConnect("user", "password", path.c_str()), 1) << messages_.texts().size();
    ASSERT_EQ(DoCreateSchema(), DB_DONE);
    exec("INSERT INTO NAMEID (RECNO, IDNOW) VALUES (1, 0)");
    idCounter() = 0;
}

void DatabaseTest::TearDown() {
    DoDisconnect();
}

void DatabaseTest::exec(const std::string& sql) {
    Statement statement;
    ASSERT_TRUE(statement.executeDirect(sql.c_str())) << sql;
    ASSERT_TRUE(statement.commit());
}

void DatabaseTest::refuseWrites(const std::string& name, const char* event, const char* table,
                                const std::string& message, const std::string& when) {
    if (testingOnServer()) {
        execAsOwner("CREATE FUNCTION " + name +
                    "() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION '" + message +
                    "'; END$$");
        execAsOwner("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + table +
                    " FOR EACH ROW " + (when.empty() ? "" : "WHEN (" + when + ") ") +
                    "EXECUTE FUNCTION " + name + "()");
        return;
    }
    exec("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + table +
         (when.empty() ? "" : " WHEN " + when) + " BEGIN SELECT RAISE(ABORT, '" + message +
         "'); END");
}

void DatabaseTest::dropRefusal(const std::string& name, const char* table) {
    if (testingOnServer()) {
        execAsOwner("DROP TRIGGER " + name + " ON " + table);
        return;
    }
    exec("DROP TRIGGER " + name);
}

void DatabaseTest::reconnect() {
    DoDisconnect();
    if (testingOnServer()) {
        ASSERT_EQ(DoConnectString(serverTestConnectionString().c_str()), 1);
    } else {
        ASSERT_EQ(DoConnect("", "", dir_.file(kDatabaseFileName).c_str()), 1);
    }
}

void DatabaseTest::reconnectAsOwner() {
    DoDisconnect();
    if (testingOnServer()) {
        ASSERT_EQ(DoConnectString(serverOwnerTestConnectionString().c_str()), 1);
    } else {
        ASSERT_EQ(DoConnect("", "", dir_.file(kDatabaseFileName).c_str()), 1);
    }
}

std::string upperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

bool saysTableIsMissing(const std::string& message) {
    return message.find("no such table") != std::string::npos ||
           (message.find("relation") != std::string::npos &&
            message.find("does not exist") != std::string::npos);
}

PersonRecord samplePerson(const char* name) {
    PersonRecord person{};
    std::strcpy(person.NAMN, name);
    std::strcpy(person.ADRESS, "Storgatan 1, Växjö");
    std::strcpy(person.TELEFON, "0470-123 45");
    std::strcpy(person.NATIONALITET, "Svensk");
    std::strcpy(person.HOMELANGUAGE, "Svenska");
    std::strcpy(person.UTBILDNING, "Gymnasium");
    std::strcpy(person.TESTAD_VID, "Mottagningen");
    std::strcpy(person.TESTLEDARE, "Åsa Öberg");
    person.SEX = 2;
    person.AGE = 0;
    person.TESTDATE = DateValue{2010, 6, 1};
    person.BORNDATE = DateValue{1950, 5, 31};
    person.HANDEDNESS = 2;
    person.NI_TEST = 0;
    std::strcpy(person.OTHER, "Övrigt: inga");
    return person;
}
