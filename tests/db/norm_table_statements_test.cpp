// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"
#include "norm_tables.h"
#include "statement.h"

#include <string>

namespace {

class NormTableStatements : public DatabaseTest {
  protected:
    std::string column(const char* sql) {
        Statement statement;
        char value[128] = {};
        EXPECT_TRUE(statement.executeDirect(sql));
        statement.bindColumnText(1, value, sizeof value);
        statement.fetch();
        statement.commit();
        return value;
    }

    static NormTables smallSet(const char* description) {
        NormTables tables;
        NormGroupEntry group;
        group.normgrupp = "Standardgrupp";
        group.delgrupp = "16-17 år";
        group.sekvens = 1;
        group.beskrivning = description;
        tables.groups.push_back(group);
        NormEntry norm;
        norm.normgrupp = "Standardgrupp";
        norm.delskala = "Blockmönster";
        norm.delgrupp = "16-17 år";
        for (int k = 0; k < kNormBoundCount; ++k) {
            norm.S[k] = 2 * k;
        }
        tables.norms.push_back(norm);
        for (int skal = 6; skal <= 8; ++skal) {
            IndexNormEntry index;
            index.normgrupp = "Standardgrupp";
            index.index = "VFI";
            index.skal = skal;
            index.ik = 50 + skal;
            index.perc = 0.5f * static_cast<float>(skal);
            index.konfLow90 = index.konfLow95 = 40 + skal;
            index.konfHigh90 = index.konfHigh95 = 60 + skal;
            tables.indexNorms.push_back(index);
        }
        return tables;
    }
};

TEST_F(NormTableStatements, ReplacedTablesReadBackInKeyOrderWithTheFlag) {
    exec("INSERT INTO NORMKALLA (RECNO, SYNTETISKA) VALUES (1, 1)");
    exec("INSERT INTO NORMER (NORMGRUPP, DELSKALA, DELGRUPP) VALUES ('Gammal', 'X', 'Y')");
    EXPECT_TRUE(DoReadNormsSynthetic());
    ASSERT_EQ(DoReplaceNormTables(smallSet("Yngst"), "2026-12-07 08:00:00 UTC"), DB_DONE);
    EXPECT_FALSE(DoReadNormsSynthetic());
    EXPECT_EQ(column("SELECT IMPORTERAD FROM NORMKALLA"), "2026-12-07 08:00:00 UTC");
    NormTables read;
    ASSERT_EQ(DoReadNormTables(read), DB_DONE);
    ASSERT_EQ(read.groups.size(), 1u);
    EXPECT_EQ(read.groups[0].beskrivning, "Yngst");
    ASSERT_EQ(read.norms.size(), 1u); // the old row is gone
    EXPECT_EQ(read.norms[0].delskala, "Blockmönster");
    EXPECT_EQ(read.norms[0].S[18], 36);
    ASSERT_EQ(read.indexNorms.size(), 3u);
    EXPECT_EQ(read.indexNorms[2].skal, 8);
    EXPECT_EQ(read.indexNorms[2].perc, 4.0f);
    EXPECT_TRUE(read.indexNorms[2].unreadable.empty());
    EXPECT_TRUE(messages_.texts().empty());
}

// A write that fails half way, here the last index row, leaves all three tables and the flag as
// they were.
TEST_F(NormTableStatements, AFailedReplacementChangesNothing) {
    ASSERT_EQ(DoReplaceNormTables(smallSet("Före"), "första"), DB_DONE);
    refuseWrites("refuse", "INSERT", "INDEX_NORMER", "refused by the test", "NEW.SKAL = 8");
    exec("UPDATE NORMKALLA SET SYNTETISKA = 1");
    EXPECT_EQ(DoReplaceNormTables(smallSet("Efter"), "andra"), DB_FAILED);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("refused by the test"), std::string::npos);
    EXPECT_EQ(column("SELECT BESKRIVNING FROM NORMGRUPPER"), "Före");
    EXPECT_EQ(column("SELECT COUNT(*) FROM INDEX_NORMER"), "3");
    EXPECT_EQ(column("SELECT IMPORTERAD FROM NORMKALLA"), "första");
    EXPECT_TRUE(DoReadNormsSynthetic());
}

// A database from before the flag existed: its norms count as the demonstration norms, without
// a message; so do an unreadable flag and no connection at all.
TEST_F(NormTableStatements, WithoutAReadableFlagTheNormsCountAsSynthetic) {
    // Only the owner of a register split into roles may make the missing table.
    reconnectAsOwner();
    exec("DROP TABLE NORMKALLA");
    EXPECT_TRUE(DoReadNormsSynthetic());
    exec("CREATE TABLE NORMKALLA (RECNO INTEGER, SYNTETISKA INTEGER, IMPORTERAD VARCHAR(50))");
    exec("INSERT INTO NORMKALLA VALUES (1, NULL, NULL)");
    EXPECT_TRUE(DoReadNormsSynthetic());
    // The import creates the table in such a database.
    exec("DROP TABLE NORMKALLA");
    ASSERT_EQ(DoReplaceNormTables(smallSet("Ny"), "nu"), DB_DONE);
    EXPECT_FALSE(DoReadNormsSynthetic());
    DoDisconnect();
    EXPECT_TRUE(DoReadNormsSynthetic());
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
