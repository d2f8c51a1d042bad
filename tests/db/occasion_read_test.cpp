// SPDX-License-Identifier: Apache-2.0
// The joined read of one person and their raw scores gives what the two separate reads give:
// every field, and the same messages.

#include "database_fixture.h"
#include "statement.h"
#include "typical_occasion.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class OccasionRead : public DatabaseTest {
  protected:
    // What DoReadPD and DoReadTD read, into a fresh occasion, and the messages they show.
    struct Read {
        DbResult person = DB_FAILED;
        DbResult scores = DB_FAILED;
        TestOccasion occasion{};
        std::vector<std::string> messages;
    };
    Read readSeparately(std::int32_t id) {
        messages_.clear();
        Read read;
        read.person = DoReadPD(id, read.occasion.person);
        if (read.person == DB_DONE) {
            read.scores = DoReadTD(read.occasion);
        }
        read.messages = messages_.texts();
        return read;
    }
    Read readJoined(std::int32_t id) {
        messages_.clear();
        Read read;
        bool hasScores = false;
        read.person = DoReadOccasion(id, read.occasion, hasScores);
        if (read.person == DB_DONE) {
            read.scores = hasScores ? DB_DONE : DB_NO_ROW;
        }
        read.messages = messages_.texts();
        return read;
    }
};

void expectSameOccasion(const TestOccasion& joined, const TestOccasion& separate,
                        const std::string& what) {
    const PersonRecord& a = joined.person;
    const PersonRecord& b = separate.person;
    EXPECT_EQ(a.ID, b.ID) << what;
    for (auto field :
         {&PersonRecord::NAMN, &PersonRecord::ADRESS, &PersonRecord::TELEFON,
          &PersonRecord::NATIONALITET, &PersonRecord::HOMELANGUAGE, &PersonRecord::UTBILDNING,
          &PersonRecord::TESTAD_VID, &PersonRecord::TESTLEDARE, &PersonRecord::OTHER}) {
        EXPECT_STREQ(a.*field, b.*field) << what;
    }
    for (auto field : {&PersonRecord::SEX, &PersonRecord::AGE, &PersonRecord::HANDEDNESS,
                       &PersonRecord::NI_TEST}) {
        EXPECT_EQ(a.*field, b.*field) << what;
    }
    for (auto field : {&PersonRecord::TESTDATE, &PersonRecord::BORNDATE}) {
        EXPECT_EQ((a.*field).year, (b.*field).year) << what;
        EXPECT_EQ((a.*field).month, (b.*field).month) << what;
        EXPECT_EQ((a.*field).day, (b.*field).day) << what;
    }
    EXPECT_EQ(joined.TD_TESTDATE.year, separate.TD_TESTDATE.year) << what;
    EXPECT_EQ(joined.TD_TESTDATE.day, separate.TD_TESTDATE.day) << what;
    for (int i = 0; i < kRawScoreCount; ++i) {
        EXPECT_EQ(joined.RawScores[i], separate.RawScores[i]) << what << ", raw score " << i;
    }
}

TEST_F(OccasionRead, GivesWhatTheTwoSeparateReadsGive) {
    TestOccasion full = typicalOccasion();
    std::strcpy(full.person.ADRESS, "Storgatan 1, Umeå");
    std::strcpy(full.person.OTHER, "vänsterhänt ' \\ ?");
    full.person.HANDEDNESS = 2;
    full.RawScores[3] = NOT_ADMINISTERED;
    full.TD_TESTDATE = DateValue{2011, 2, 14};
    ASSERT_EQ(DoInsertPD(full.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(full), DB_DONE);
    TestOccasion personOnly = typicalOccasion();
    std::strcpy(personOnly.person.NAMN, "Utan Råpoäng");
    ASSERT_EQ(DoInsertPD(personOnly.person), DB_DONE);

    const struct {
        const char* what;
        std::int32_t id;
        DbResult person;
        DbResult scores;
    } cases[] = {
        {"person with raw scores", full.person.ID, DB_DONE, DB_DONE},
        {"person without raw scores", personOnly.person.ID, DB_DONE, DB_NO_ROW},
        {"no such person", 99, DB_FAILED, DB_FAILED},
    };
    for (const auto& c : cases) {
        const Read joined = readJoined(c.id);
        const Read separate = readSeparately(c.id);
        EXPECT_EQ(joined.person, c.person) << c.what;
        EXPECT_EQ(separate.person, c.person) << c.what;
        EXPECT_EQ(joined.scores, c.scores) << c.what;
        EXPECT_EQ(separate.scores, c.scores) << c.what;
        EXPECT_EQ(joined.messages, separate.messages) << c.what;
        if (c.scores == DB_DONE) {
            expectSameOccasion(joined.occasion, separate.occasion, c.what);
        } else if (c.person == DB_DONE) {
            // The separate reads leave the scores alone; the joined read says "not administered".
            for (int i = 0; i < kRawScoreCount; ++i) {
                EXPECT_EQ(joined.occasion.RawScores[i], NOT_ADMINISTERED) << c.what;
            }
            EXPECT_STREQ(joined.occasion.person.NAMN, separate.occasion.person.NAMN);
        }
    }
}

// A missing person leaves the occasion as it was, so that no earlier person's data is shown
// under the ID asked for.
TEST_F(OccasionRead, AMissingPersonChangesNothing) {
    TestOccasion occasion = typicalOccasion();
    occasion.person.ID = 12;
    bool hasScores = true;
    EXPECT_EQ(DoReadOccasion(99, occasion, hasScores), DB_FAILED);
    EXPECT_FALSE(hasScores);
    EXPECT_EQ(occasion.person.ID, 12);
    EXPECT_STREQ(occasion.person.NAMN, "Eva Lind");
    EXPECT_EQ(occasion.RawScores[0], typicalOccasion().RawScores[0]);
}

// Numbers that cannot be read are named in the same messages as by the separate reads.
TEST_F(OccasionRead, NamesUnreadableNumbersAsTheSeparateReadsDo) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    TestOccasion occasion = typicalOccasion();
    ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    exec("UPDATE TESTPERSON SET SEX = 9000000000");
    exec("UPDATE TESTDATA SET likheter = 'många'");
    const Read joined = readJoined(occasion.person.ID);
    const Read separate = readSeparately(occasion.person.ID);
    ASSERT_EQ(separate.messages.size(), 2u);
    EXPECT_EQ(joined.messages, separate.messages);
    expectSameOccasion(joined.occasion, separate.occasion, "unreadable numbers");
}

} // namespace
