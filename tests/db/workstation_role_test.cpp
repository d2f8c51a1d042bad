// SPDX-License-Identifier: Apache-2.0
// A server register split into roles: the workstations' role may append to the access log only
// through the owner's function, and every way around it is refused by the server. The rights are
// never given to a role that would undo the split.

#include "access_log.h"
#include "database_fixture.h"
#include "statement.h"
#include "transaction.h"
#include "workstation_role.h"

#include <string>
#include <vector>

namespace {

class WorkstationRole : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (!testingWithSeparateOwner()) {
            GTEST_SKIP() << "needs a server with an owner and a workstation role "
                            "(RIVO_TEST_ODBC_OWNER, scripts/test-on-postgresql)";
        }
    }
    // The first text of a query, read on the program's connection.
    std::string firstText(const char* sql) {
        Statement statement;
        char text[256] = {};
        EXPECT_TRUE(statement.executeDirect(sql));
        statement.bindColumnText(1, text, sizeof text);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
        statement.closeCursor();
        statement.commit();
        return text;
    }
};

TEST_F(WorkstationRole, EveryWayAroundTheAppendFunctionIsRefused) {
    setAccessLogUser("psykolog");
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, 1, ""), DB_DONE);
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::Printed, 1, ""), DB_DONE);
    const char* function =
        "atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, INTEGER, VARCHAR)";
    const std::string refused[] = {
        "ALTER TABLE ATKOMSTLOGG DISABLE TRIGGER ATKOMSTLOGG_INGEN_ANDRING",
        "ALTER TABLE ATKOMSTLOGG DISABLE TRIGGER ALL",
        "DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING ON ATKOMSTLOGG",
        "DROP TRIGGER ATKOMSTLOGG_INGEN_TOMNING ON ATKOMSTLOGG",
        std::string("DROP FUNCTION ") + function,
        "DROP FUNCTION atkomstlogg_vagra() CASCADE",
        std::string("ALTER FUNCTION ") + function + " SECURITY INVOKER",
        std::string("ALTER FUNCTION ") + function + " SET search_path = pg_temp",
        std::string("CREATE OR REPLACE FUNCTION ") + function +
            " RETURNS TABLE (rad_sekvens INTEGER, rad_hash VARCHAR, rad_databas VARCHAR) "
            "LANGUAGE sql AS $$SELECT 1, CAST('' AS VARCHAR), CAST('' AS VARCHAR)$$",
        "TRUNCATE ATKOMSTLOGG",
        "TRUNCATE ATKOMSTLOGG_HUVUD",
        "ALTER TABLE ATKOMSTLOGG ADD COLUMN ANNAT INTEGER",
        "ALTER TABLE ATKOMSTLOGG RENAME TO GAMMAL_LOGG",
        "DROP TABLE ATKOMSTLOGG",
        "UPDATE ATKOMSTLOGG SET DETALJ = 'x' WHERE SEKVENS = 1",
        "DELETE FROM ATKOMSTLOGG WHERE SEKVENS = 2",
        "INSERT INTO ATKOMSTLOGG VALUES (3, 't', 'u', 'a', 'p', 'h', NULL, 'd', 'x')",
        "UPDATE ATKOMSTLOGG_HUVUD SET SEKVENS = 0, HASH = 'x'",
        "DELETE FROM ATKOMSTLOGG_HUVUD",
        "INSERT INTO ATKOMSTLOGG_HUVUD VALUES (2, 0, 'x')",
        // The register's other tables keep their shape and their triggers too.
        "ALTER TABLE TESTPERSON DISABLE TRIGGER ALL",
        "DROP TABLE TESTDATA",
        "TRUNCATE TESTPERSON",
        "DELETE FROM NAMEID",
        "CREATE TABLE ATKOMSTLOGG_KOPIA (A INTEGER)",
    };
    for (const std::string& sql : refused) {
        messages_.clear();
        Statement statement;
        EXPECT_FALSE(statement.executeDirect(sql.c_str())) << sql;
        statement.commit();
        ASSERT_EQ(messages_.texts().size(), 1u) << sql;
        // Refused for want of the right, not for a mistake in the statement.
        const std::string said = messages_.texts()[0];
        EXPECT_TRUE(said.find("permission denied") != std::string::npos ||
                    said.find("must be owner") != std::string::npos)
            << sql << ": " << said;
    }
    messages_.clear();
    // The function itself still appends, and the chain holds over every row.
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, 2, ""), DB_DONE);
    AccessLogCheck check;
    ASSERT_EQ(DoVerifyAccessLog(check), DB_DONE);
    EXPECT_TRUE(check.sound) << check.problem;
    EXPECT_EQ(check.soundRows, 3);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(WorkstationRole, NoRoleThatWouldUndoTheSplitIsGranted) {
    reconnectAsOwner();
    const std::string owner = firstText("SELECT current_user");
    const std::string superuser =
        firstText("SELECT rolname FROM pg_roles WHERE rolsuper ORDER BY rolname LIMIT 1");
    const struct {
        std::string role;
        const char* says;
    } cases[] = {
        {"rivo_finns_inte", "finns inte på servern"},
        {owner, "äger registret"},
        {superuser, "är superanvändare"},
        {"ej\"giltig", "1-63 tecken"},
        {"", "1-63 tecken"},
    };
    for (const auto& c : cases) {
        messages_.clear();
        Transaction transaction;
        ASSERT_TRUE(transaction.started());
        EXPECT_EQ(DoGrantWorkstationRole(c.role), DB_FAILED) << c.role;
        ASSERT_EQ(messages_.texts().size(), 1u) << c.role;
        EXPECT_NE(messages_.texts()[0].find(c.says), std::string::npos) << messages_.texts()[0];
    }
}

TEST(WorkstationRoleName, OnlyNamesTheServerReadsAsWrittenAreUsable) {
    const struct {
        std::string name;
        bool usable;
    } cases[] = {
        {"rivo_arbetsstation", true},
        {"A1_b", true},
        {"_x", true},
        {std::string(63, 'r'), true},
        {std::string(64, 'r'), false},
        {"", false},
        {"1rivo", false},
        {"rivo-ws", false},
        {"rivo ws", false},
        {"rivo;DROP", false},
        {"arbetsstatiön", false},
        {"ro\"ll", false},
    };
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_EQ(workstationRoleNameUsable(c.name, problem), c.usable) << c.name;
        EXPECT_EQ(problem.empty(), c.usable) << c.name;
    }
}

} // namespace
