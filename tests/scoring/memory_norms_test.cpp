// SPDX-License-Identifier: Apache-2.0
// The norm tables held in memory answer every lookup exactly as the statements do, over a
// generated norm set with missing rows, repeated keys, unreadable numbers and keys that differ
// only in case or a trailing blank.

#include "database_fixture.h"
#include "memory_norm_source.h"
#include "norm_snapshot.h"
#include "transaction.h"

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kGroups = {"Standardgrupp", "standardgrupp", "Standardgrupp "};
const std::vector<std::string> kSubscales = {"Blockmönster", "Ordförråd", "Kodning"};
const std::vector<std::string> kSubgroups = {"16-17 år", "18-19 år", "Referensgrupp", "16-17 ÅR"};
const std::vector<std::string> kIndexes = {"VFI", "vfi", "HIK", "GAI"};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

class MemoryNorms : public DatabaseTest {
  protected:
    std::mt19937 random_{20240521};

    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }

    // A stored number: mostly a plain one, sometimes NULL, and on the SQLite file, whose columns
    // take any value, sometimes a text, a fraction or a number beyond 32 bits.
    std::string number(int plain) {
        if (chance(8)) {
            return "NULL";
        }
        if (!testingOnServer() && chance(10)) {
            const char* odd[] = {"'x'", "'12abc'", "3.5", "9999999999", "' 7'"};
            return odd[random_() % 5];
        }
        return std::to_string(plain);
    }

    void fill() {
        Transaction transaction;
        ASSERT_TRUE(transaction.started());
        for (const std::string& group : kGroups) {
            for (const std::string& subscale : kSubscales) {
                for (const std::string& subgroup : kSubgroups) {
                    const int copies = chance(25) ? 0 : chance(25) ? 2 : 1;
                    for (int copy = 0; copy < copies; ++copy) {
                        std::string sql = "INSERT INTO NORMER VALUES (" + quoted(group) + ", " +
                                          quoted(subscale) + ", " + quoted(subgroup);
                        for (int k = 0; k < kSubscaleCount; ++k) {
                            sql += ", " + number(2 * k + copy + static_cast<int>(random_() % 3));
                        }
                        exec(sql + ")");
                    }
                }
            }
            for (const std::string& index : kIndexes) {
                for (int sum = 3; sum <= 20 && index != "GAI"; ++sum) {
                    const int copies = chance(15) ? 0 : chance(20) ? 2 : 1;
                    for (int copy = 0; copy < copies; ++copy) {
                        std::string skal = std::to_string(sum);
                        if (!testingOnServer() && chance(5)) {
                            skal = chance(50) ? "'z'" : "7.5";
                        }
                        exec("INSERT INTO INDEX_NORMER VALUES (" + quoted(group) + ", " +
                             quoted(index) + ", " + skal + ", " + number(50 + 3 * sum + copy) +
                             ", " + (chance(8) ? "NULL" : std::to_string(sum * 1.5)) + ", " +
                             number(sum) + ", " + number(sum + 1) + ", " + number(sum + 2) + ", " +
                             number(sum + 3) + ")");
                    }
                }
            }
            int sekvens = 0;
            for (const std::string& subgroup : kSubgroups) {
                const int copies = chance(20) ? 0 : chance(30) ? 2 : 1;
                for (int copy = 0; copy < copies; ++copy) {
                    exec("INSERT INTO NORMGRUPPER VALUES (" + quoted(group) + ", " +
                         quoted(subgroup) + ", " + std::to_string(10 - sekvens++) + ", " +
                         (chance(20) ? "NULL" : quoted(subgroup + " nr " + std::to_string(copy))) +
                         ")");
                }
            }
        }
        ASSERT_TRUE(transaction.commit());
    }
};

TEST_F(MemoryNorms, EveryLookupAnswersAsTheStatementDoes) {
    fill();
    NormSnapshot snapshot;
    ASSERT_EQ(DoReadNormSnapshot(snapshot), DB_DONE);
    MemoryNormSource memory(std::move(snapshot));
    NormSource& database = databaseNorms();
    std::vector<std::string> groups = kGroups;
    groups.push_back("Standardgrupp  "); // stored by none
    int rowsFound = 0;
    int unreadableFound = 0;
    for (const std::string& group : groups) {
        for (const std::string& subscale : kSubscales) {
            for (const std::string& subgroup : kSubgroups) {
                NormRequest fromDatabase{};
                std::strcpy(fromDatabase.NORMGRUPP, group.c_str());
                std::strcpy(fromDatabase.DELSKALA, subscale.c_str());
                std::strcpy(fromDatabase.DELGRUPP, subgroup.c_str());
                NormRequest fromMemory = fromDatabase;
                const DbResult expected = database.readNormRow(fromDatabase);
                ASSERT_EQ(memory.readNormRow(fromMemory), expected)
                    << group << "|" << subscale << "|" << subgroup;
                EXPECT_EQ(std::memcmp(fromMemory.S, fromDatabase.S, sizeof fromMemory.S), 0);
                EXPECT_EQ(fromMemory.unreadable, fromDatabase.unreadable);
                rowsFound += expected == DB_DONE;
                unreadableFound += fromDatabase.unreadable != 0;
            }
        }
        for (const std::string& index : kIndexes) {
            std::int32_t range[4] = {-1, -1, -1, -1};
            const DbResult expected =
                database.readIndexRange(group.c_str(), index.c_str(), range[0], range[1]);
            EXPECT_EQ(memory.readIndexRange(group.c_str(), index.c_str(), range[2], range[3]),
                      expected)
                << group << "|" << index;
            EXPECT_EQ(range[0], range[2]);
            EXPECT_EQ(range[1], range[3]);
            for (int sum = 0; sum <= 23; ++sum) {
                IndexResult fromDatabase{};
                IndexResult fromMemory{};
                std::uint32_t unreadable[2] = {99, 99};
                const DbResult expectedRow = database.readIndexRow(
                    group.c_str(), index.c_str(), sum, fromDatabase, unreadable[0]);
                ASSERT_EQ(memory.readIndexRow(group.c_str(), index.c_str(), sum, fromMemory,
                                              unreadable[1]),
                          expectedRow)
                    << group << "|" << index << "|" << sum;
                EXPECT_EQ(fromMemory.IK, fromDatabase.IK);
                EXPECT_EQ(fromMemory.PERC, fromDatabase.PERC);
                EXPECT_EQ(fromMemory.KONF_LOW90, fromDatabase.KONF_LOW90);
                EXPECT_EQ(fromMemory.KONF_HIGH95, fromDatabase.KONF_HIGH95);
                EXPECT_EQ(unreadable[1], unreadable[0]);
                unreadableFound += expectedRow == DB_DONE && unreadable[0] != 0;
            }
        }
        for (const std::string& subgroup : kSubgroups) {
            TestOccasion fromDatabase{};
            std::strcpy(fromDatabase.NORMGRUPP, group.c_str());
            std::strcpy(fromDatabase.ageBand, subgroup.c_str());
            std::strcpy(fromDatabase.normDescription, "tidigare");
            TestOccasion fromMemory = fromDatabase;
            EXPECT_EQ(memory.readNormDescription(fromMemory),
                      database.readNormDescription(fromDatabase));
            EXPECT_STREQ(fromMemory.normDescription, fromDatabase.normDescription);
        }
        std::vector<std::string> listed[2];
        database.listSubgroups(group.c_str(), [&](const char* name) { listed[0].push_back(name); });
        memory.listSubgroups(group.c_str(), [&](const char* name) { listed[1].push_back(name); });
        EXPECT_EQ(listed[1], listed[0]) << group;
    }
    // The set is only a proof when it holds both rows and unreadable numbers.
    EXPECT_GT(rowsFound, 10);
    EXPECT_GT(unreadableFound, 3);
    EXPECT_TRUE(messages_.texts().empty());
}

// An import gives the norms a new stamp, and the tables held in memory are read again; an
// unchanged stamp keeps them without reading.
TEST_F(MemoryNorms, ANewStampReadsTheTablesAgain) {
    fill();
    EXPECT_EQ(DoReadNormStamp(), kNoNormStamp); // no NORMKALLA row yet
    exec("INSERT INTO NORMKALLA (RECNO, SYNTETISKA) VALUES (1, 1)");
    struct Step {
        const char* sql;
        bool reloaded;
    };
    const Step steps[] = {
        {"", true}, // a first read on this connection
        {"UPDATE NORMKALLA SET SYNTETISKA = 0", false},
        // Rows removed by hand, past import-norms, change the counts read with the stamp.
        {"DELETE FROM NORMER WHERE DELGRUPP = '16-17 år'", true},
        {"UPDATE NORMKALLA SET NORMVERSION = 4", true},
        {"", false},
    };
    for (const Step& step : steps) {
        if (step.sql[0] != '\0') {
            exec(step.sql);
        }
        NormSource& norms = currentNorms();
        EXPECT_EQ(normsReloaded(), step.reloaded) << step.sql;
        EXPECT_NE(dynamic_cast<MemoryNormSource*>(&norms), nullptr) << step.sql;
    }
    EXPECT_EQ(DoReadNormStamp(), 4);
    // The tables read again are the ones without the removed rows.
    NormRequest request{};
    std::strcpy(request.NORMGRUPP, "Standardgrupp");
    std::strcpy(request.DELSKALA, "Kodning");
    std::strcpy(request.DELGRUPP, "16-17 år");
    EXPECT_EQ(currentNorms().readNormRow(request), DB_NO_ROW);
    reconnect();
    currentNorms();
    EXPECT_TRUE(normsReloaded()); // another connection never uses what the first read
    // A register from before the norms' source table keeps its norms in memory.
    execAsOwner("DROP TABLE NORMKALLA");
    EXPECT_NE(dynamic_cast<MemoryNormSource*>(&currentNorms()), nullptr);
    EXPECT_TRUE(normsReloaded());
    EXPECT_NE(dynamic_cast<MemoryNormSource*>(&currentNorms()), nullptr);
    EXPECT_FALSE(normsReloaded());
    // A table gone: the statements report it, as without the tables in memory.
    execAsOwner("DROP TABLE NORMGRUPPER");
    EXPECT_EQ(dynamic_cast<MemoryNormSource*>(&currentNorms()), nullptr);
    EXPECT_TRUE(messages_.texts().empty());
}

// Opening results reads the norm tables' state with the person: a change made meanwhile by
// another workstation is seen as surely as by the state's own read, and an unchanged state keeps
// the tables without reading them.
TEST_F(MemoryNorms, TheStateReadWithAPersonTellsChangesAsItsOwnRead) {
    fill();
    TestOccasion stored{};
    stored.person = samplePerson("Med normläge");
    ASSERT_EQ(DoInsertPD(stored.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(stored), DB_DONE);
    currentNorms();
    EXPECT_FALSE(normStateJoinable()); // no stamp yet: the joined read would fail
    exec("INSERT INTO NORMKALLA (RECNO, SYNTETISKA) VALUES (1, 1)");
    currentNorms();
    ASSERT_TRUE(normStateJoinable());
    const struct {
        const char* sql;
        bool reloaded;
    } steps[] = {
        {"", false},
        {"UPDATE NORMKALLA SET SYNTETISKA = 0", false},
        {"UPDATE NORMKALLA SET NORMVERSION = 7", true},
        {"DELETE FROM NORMER WHERE DELGRUPP = '18-19 år'", true},
        {"DELETE FROM INDEX_NORMER WHERE \"INDEX\" = 'VFI'", true},
        {"INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'Ny', 99, 'ny')", true},
        {"", false},
    };
    for (const auto& step : steps) {
        if (step.sql[0] != '\0') {
            exec(step.sql);
        }
        TestOccasion occasion{};
        bool hasScores = false;
        ASSERT_EQ(readOccasionForResults(stored.person.ID, occasion, hasScores), DB_DONE)
            << step.sql;
        EXPECT_TRUE(hasScores);
        EXPECT_STREQ(occasion.person.NAMN, "Med normläge");
        currentNorms();
        EXPECT_EQ(normsReloaded(), step.reloaded) << step.sql;
    }
    // The state given with a person is for this connection's next scoring only.
    TestOccasion occasion{};
    bool hasScores = false;
    ASSERT_EQ(readOccasionForResults(stored.person.ID, occasion, hasScores), DB_DONE);
    reconnect();
    currentNorms();
    EXPECT_TRUE(normsReloaded());
    // A register from before the stamp's table: the person is read alone, without a message.
    execAsOwner("DROP TABLE NORMKALLA");
    currentNorms();
    EXPECT_FALSE(normStateJoinable());
    ASSERT_EQ(readOccasionForResults(stored.person.ID, occasion, hasScores), DB_DONE);
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
