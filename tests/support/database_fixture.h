// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"
#include "message_capture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>

// The data source the database tests run on. By default a fresh SQLite file in the test's
// temporary directory. When RIVO_TEST_ODBC holds an ODBC connection string of a PostgreSQL
// database (CI starts a throwaway server, scripts/pg-test-server), the tests run there instead,
// each test process in a schema of its own, emptied before every test.
bool testingOnServer();
// The connection string of the server with the process's own schema as its search path, for the
// test and for the programs it starts; empty when testing on SQLite.
std::string serverTestConnectionString();
// Connects to the server test schema and empties it. false (with a test failure) when not.
// With a separate owner (below) the connection is the owner's: the register is then made by the
// owner and the workstation role is granted its rights (grantWorkstationAndReconnect).
bool connectEmptyServerSchema();

// The roles of a server register split into an owner and a workstation role (CI's throwaway
// server makes both, scripts/pg-test-server): RIVO_TEST_ODBC is then the workstation's
// connection, RIVO_TEST_ODBC_OWNER the owner's and RIVO_TEST_WORKSTATION_ROLE the workstation
// role's name. Without RIVO_TEST_ODBC_OWNER one role does everything, as before.
bool testingWithSeparateOwner();
std::string serverOwnerTestConnectionString();
std::string serverWorkstationRole();
// Grants the workstation role its rights on the register the owner has made and connects as the
// workstation; does nothing without a separate owner. false (with a test failure) when not.
bool grantWorkstationAndReconnect();
// Runs a statement as the register's owner on a connection of its own (on SQLite, or without a
// separate owner, on the program's connection): what only an owner may do, such as making a
// trigger or changing the log behind the program's back. Fails the test when it is refused.
void execAsOwner(const std::string& sql);
// Skips the rest of a test that checks behaviour only the SQLite file has.
#define SKIP_ON_SERVER(why)                                                                        \
    if (testingOnServer()) {                                                                       \
        GTEST_SKIP() << (why);                                                                     \
    }

// A fresh database with the program's schema (see testingOnServer), connected for the length of
// one test.
class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a statement of the test's own; fails the test when the driver refuses it.
    void exec(const std::string& sql);
    // Makes the database refuse every write of the kind event ("INSERT", "UPDATE", "DELETE") to
    // table with message, through a trigger called name, for the rows that meet the condition
    // when (an expression on NEW or OLD; empty: every row); dropRefusal takes it away again.
    void refuseWrites(const std::string& name, const char* event, const char* table,
                      const std::string& message, const std::string& when = "");
    void dropRefusal(const std::string& name, const char* table);
    // Closes the connection and opens it again on the same database.
    void reconnect();
    // Closes the connection and opens it as the register's owner (see execAsOwner).
    void reconnectAsOwner();

    TempDir dir_;
    MessageCapture messages_;
};

// The text with its ASCII letters in upper case: the server writes table names in lower case in
// its messages.
std::string upperCase(std::string text);

// Whether a driver's message says that a table does not exist (SQLite's or the server's words).
bool saysTableIsMissing(const std::string& message);

// Fills a person with recognisable values.
PersonRecord samplePerson(const char* name);
