// SPDX-License-Identifier: Apache-2.0
#include "raw_score_validation.h"

#include "subtest_table.h"
#include "text_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every field valid and given, with the three digit spans 10, 8 and 9.
RawScoreTexts fullEntries() {
    RawScoreTexts texts;
    texts.fill("5");
    texts[3] = "10"; // srfram
    texts[4] = "6";  // srlfram
    texts[5] = "8";  // srbak
    texts[7] = "9";  // SS
    return texts;
}

std::string invalidValueMessage(unsigned short nameId) {
    std::string message = text(323);
    return message.replace(message.find("%s"), 2, text(nameId));
}

class RawScoreChecks : public ::testing::Test {
  protected:
    void SetUp() override {
        occasion_ = TestOccasion{};
        for (std::int32_t& raw : occasion_.RawScores) {
            raw = NOT_ADMINISTERED;
        }
    }
    RawScoreCheck check(const RawScoreTexts& texts) { return checkRawScores(texts, occasion_); }
    TestOccasion occasion_{};
};

TEST_F(RawScoreChecks, AcceptedValuesAreStoredInRawScoreOrderWithTheDigitSpanSum) {
    RawScoreTexts texts = fullEntries();
    texts[0] = "66"; // Blockmönster at its maximum
    texts[15] = "135";
    texts[1] = "";   // BUT not given
    texts[2] = "00"; // reads as 0
    texts[9] = "-9";
    const RawScoreCheck result = check(texts);
    ASSERT_TRUE(result.valid) << result.message;
    EXPECT_EQ(occasion_.RawScores[RAW_BLOCKMONSTER], 66);
    EXPECT_EQ(occasion_.RawScores[RAW_BUT], NOT_ADMINISTERED);
    EXPECT_EQ(occasion_.RawScores[RAW_LIKHETER], 0);
    EXPECT_EQ(occasion_.RawScores[RAW_SIFFERREPETITION], 27);
    EXPECT_EQ(occasion_.RawScores[RAW_SRFRAM], 10);
    EXPECT_EQ(occasion_.RawScores[RAW_SRLFRAM], 6);
    EXPECT_EQ(occasion_.RawScores[RAW_MATRISER], NOT_ADMINISTERED);
    EXPECT_EQ(occasion_.RawScores[RAW_KODNING], 135);
    EXPECT_EQ(occasion_.RawScores[RAW_BILDKOMPLETTERING], 5);
}

TEST_F(RawScoreChecks, DigitSpanSumIsNotAdministeredWhenOnePartIsMissing) {
    RawScoreTexts texts = fullEntries();
    texts[5] = "";
    texts[6] = ""; // its span must go with it
    ASSERT_TRUE(check(texts).valid);
    EXPECT_EQ(occasion_.RawScores[RAW_SIFFERREPETITION], NOT_ADMINISTERED);
}

TEST_F(RawScoreChecks, TextsAreReadAsTheCLibraryReadsNumbers) {
    EXPECT_EQ(rawScoreValue(""), NOT_ADMINISTERED);
    EXPECT_EQ(rawScoreValue("-9"), NOT_ADMINISTERED);
    EXPECT_EQ(rawScoreValue("5x"), 5);
    EXPECT_EQ(rawScoreValue("x"), 0);
    EXPECT_EQ(rawScoreValue(" 7"), 7);
    EXPECT_EQ(rawScoreValue("+3"), 3);
    EXPECT_EQ(rawScoreValue("99999999999999"), 2147483647);
}

TEST_F(RawScoreChecks, ValueOutsideItsRangeOrNotAWholeNumberNamesTheFieldAndStopsTheLoop) {
    struct Row {
        int field;
        const char* entry;
    };
    for (const Row& row :
         {Row{0, "67"}, Row{0, "-1"}, Row{15, "136"}, Row{21, "25"}, Row{4, "10"}, Row{17, "-8"},
          Row{15, "x"}, Row{13, "5x"}, Row{18, "1o"}, Row{2, "-"}, Row{20, " "}, Row{19, "1 2"}}) {
        SetUp();
        RawScoreTexts texts = fullEntries();
        texts[static_cast<std::size_t>(row.field)] = row.entry;
        texts[21] = row.field == 21 ? row.entry : "3";
        const RawScoreCheck result = check(texts);
        EXPECT_FALSE(result.valid) << row.field << " " << row.entry;
        EXPECT_EQ(result.field, row.field);
        EXPECT_EQ(result.message, invalidValueMessage(rawScoreFieldName(row.field)));
        if (row.field < 21) {
            // Fields after the invalid one are not stored.
            EXPECT_EQ(occasion_.RawScores[RAW_BILDKOMPLETTERING], NOT_ADMINISTERED);
        }
    }
    EXPECT_EQ(invalidValueMessage(rawScoreFieldName(0)), "Ogiltigt värde ifyllt för Blockmönster.");
}

TEST_F(RawScoreChecks, LongestSpanOfOneIsRefusedAndOverridesAnEarlierInvalidField) {
    RawScoreTexts texts = fullEntries();
    for (const char* span : {"0", "2", "9"}) {
        texts[4] = span;
        EXPECT_TRUE(check(texts).valid) << span;
    }
    for (const char* blanks : {" 2", "2 ", "+2"}) {
        texts[4] = blanks;
        EXPECT_TRUE(check(texts).valid) << blanks;
    }
    texts[4] = "1";
    RawScoreCheck result = check(texts);
    EXPECT_FALSE(result.valid);
    EXPECT_EQ(result.field, 4);
    EXPECT_EQ(result.message, "Ogiltigt värde ifyllt för Sifferrepetition Framlänges Omfång.");

    texts[4] = "3";
    texts[6] = "1";
    result = check(texts);
    EXPECT_EQ(result.field, 6);
    EXPECT_EQ(result.message, invalidValueMessage(264));

    // An invalid Ordförråd, yet the message names the span of 1.
    texts[6] = "3";
    texts[4] = "1";
    texts[10] = "58";
    result = check(texts);
    EXPECT_EQ(result.field, 4);
    EXPECT_EQ(result.message, invalidValueMessage(262));
}

TEST_F(RawScoreChecks, PartScoreWithoutItsMainScoreInTheirOrder) {
    struct Row {
        int mainField;
        int partField;
        unsigned short message;
    };
    const Row rows[] = {{0, 1, 652}, {3, 4, 654}, {5, 6, 655}, {7, 8, 656}, {16, 17, 653}};
    for (const Row& row : rows) {
        SetUp();
        RawScoreTexts texts = fullEntries();
        texts[static_cast<std::size_t>(row.mainField)] = "";
        const RawScoreCheck result = check(texts);
        EXPECT_FALSE(result.valid) << row.message;
        EXPECT_EQ(result.field, row.mainField);
        EXPECT_EQ(result.message, text(row.message));
        texts[static_cast<std::size_t>(row.partField)] = "";
        EXPECT_TRUE(check(texts).valid) << row.message;
    }
    // Two at once: the first in the order wins, and 653 comes last though its field is late.
    RawScoreTexts texts = fullEntries();
    texts[16] = "";
    texts[7] = "";
    EXPECT_EQ(check(texts).message, text(656));
    // Framlänges Omfång without Framlänges is 654, not 323.
    texts = fullEntries();
    texts[3] = "";
    EXPECT_EQ(check(texts).message, text(654));
}

TEST_F(RawScoreChecks, BackReadKeepsTheAcceptableEntriesAndLeavesTheRest) {
    occasion_.RawScores[RAW_BLOCKMONSTER] = 40;
    occasion_.RawScores[RAW_LIKHETER] = 20;
    RawScoreTexts texts = fullEntries();
    texts[0] = "67";    // out of range: the former 40 stays
    texts[2] = "";      // empty: not administered
    texts[4] = "1";     // a span of 1 is within range and kept without a message
    texts[15] = "1350"; // only three characters are read
    readRawScoresLeniently(texts, occasion_);
    EXPECT_EQ(occasion_.RawScores[RAW_BLOCKMONSTER], 40);
    EXPECT_EQ(occasion_.RawScores[RAW_LIKHETER], NOT_ADMINISTERED);
    EXPECT_EQ(occasion_.RawScores[RAW_SRLFRAM], 1);
    EXPECT_EQ(occasion_.RawScores[RAW_KODNING], 135);
    EXPECT_EQ(occasion_.RawScores[RAW_SIFFERREPETITION], 27);
}

TEST_F(RawScoreChecks, FormShowsValuesAndLeavesNotAdministeredEmpty) {
    occasion_.RawScores[RAW_BLOCKMONSTER] = 0;
    occasion_.RawScores[RAW_SRFRAM] = 12;
    occasion_.RawScores[RAW_SIFFERREPETITION] = 30; // computed, not shown
    const RawScoreTexts texts = rawScoreTextsOf(occasion_);
    EXPECT_EQ(texts[0], "0");
    EXPECT_EQ(texts[1], "");
    EXPECT_EQ(texts[3], "12");
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        EXPECT_NE(kRawScoreFields[field].raw, RAW_SIFFERREPETITION);
    }
}

} // namespace
