// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"

#include "data_source.h"

#include "schema.h"
#include "statement.h"

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

} // namespace

bool testingOnServer() {
    const char* server = std::getenv("RIVO_TEST_ODBC");
    return server != nullptr && server[0] != '\0';
}

std::string serverTestConnectionString() {
    if (!testingOnServer()) {
        return "";
    }
    std::string connection = std::getenv("RIVO_TEST_ODBC");
    if (!connection.ends_with(";")) {
        connection += ";";
    }
    // With the driver's options the program connects with, so that the tests see its behaviour.
    return serverConnectionString(connection + "ConnSettings=SET search_path TO " +
                                  serverSchemaName() + ";");
}

bool connectEmptyServerSchema() {
    if (DoConnectString(serverTestConnectionString().c_str()) != 1) {
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
        exec("CREATE FUNCTION " + name +
             "() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION '" + message +
             "'; END$$");
        exec("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + table + " FOR EACH ROW " +
             (when.empty() ? "" : "WHEN (" + when + ") ") + "EXECUTE FUNCTION " + name + "()");
        return;
    }
    exec("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + table +
         (when.empty() ? "" : " WHEN " + when) + " BEGIN SELECT RAISE(ABORT, '" + message +
         "'); END");
}

void DatabaseTest::dropRefusal(const std::string& name, const char* table) {
    exec("DROP TRIGGER " + name + (testingOnServer() ? std::string(" ON ") + table : ""));
}

void DatabaseTest::reconnect() {
    DoDisconnect();
    if (testingOnServer()) {
        ASSERT_EQ(DoConnectString(serverTestConnectionString().c_str()), 1);
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
