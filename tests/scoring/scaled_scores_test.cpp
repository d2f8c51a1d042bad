// SPDX-License-Identifier: Apache-2.0
#include "age_band.h"
#include "scaled_scores.h"
#include "scoring_fixture.h"

#include <cstring>
#include <string>

namespace {

TEST(ScaledScoreFor, ComparesInOrderOnSignedIntegers) {
    NormBounds bounds = evenBounds();
    const NormBounds& row = bounds;
    EXPECT_EQ(scaledScoreFor(2, row), 1);   // equal to S1
    EXPECT_EQ(scaledScoreFor(3, row), 2);   // one more than S1
    EXPECT_EQ(scaledScoreFor(36, row), 18); // equal to S18
    EXPECT_EQ(scaledScoreFor(37, row), 19);
    EXPECT_EQ(scaledScoreFor(0, row), 1); // below S1
    EXPECT_EQ(scaledScoreFor(NOT_ADMINISTERED, row), 0);

    bounds[18] = 5; // S19 is never used: above S18 is 19 regardless
    EXPECT_EQ(scaledScoreFor(37, row), 19);
}

TEST(ScaledScoreFor, RepeatedBoundSkipsAScaledScore) {
    NormBounds bounds = evenBounds();
    bounds[0] = 3;
    bounds[2] = 10; // S3
    bounds[3] = 10; // S4
    bounds[4] = 12; // S5
    const NormBounds& row = bounds;
    EXPECT_EQ(scaledScoreFor(0, row), 1);
    EXPECT_EQ(scaledScoreFor(10, row), 3);
    EXPECT_EQ(scaledScoreFor(11, row), 5);
}

TEST(ScaledScoreFor, RowWithoutNormsGivesZero) {
    NormBounds bounds{};
    bounds.fill(-9);
    EXPECT_EQ(scaledScoreFor(10, bounds), 0);
    NormBounds onlyS18 = evenBounds();
    onlyS18[17] = -9;
    EXPECT_EQ(scaledScoreFor(1, onlyS18), 0);
}

// The index norms are there, so that every message is about the norm rows of the subtests.
class ScaledScores : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        insertIndexRows();
    }
};

TEST_F(ScaledScores, ConvertsAgainstTheBandAndTheReferenceGroup) {
    insertNormRows("25-29 år", evenBounds());
    NormBounds shifted = evenBounds();
    for (int& bound : shifted) {
        bound += 1; // bounds 3, 5, ..., 37, 41
    }
    insertNormRows("Referensgrupp", shifted);
    std::strcpy(occasion_.ageBand, "25-29 år");
    setAllRaw(NOT_ADMINISTERED);
    occasion_.RawScores[RAW_ORDFORRAD] = 5;                       // band: 3; reference: 2
    occasion_.RawScores[RAW_KODNING] = 135;                       // 19 in both
    occasion_.RawScores[RAW_SRFRAM] = 0;                          // 1 in both
    occasion_.RawScores[RAW_SIFFERREPETITION] = NOT_ADMINISTERED; // a part is missing
    occasion_.RawScores[RAW_SRBAK] = 8;
    computeScaledScores(occasion_);

    EXPECT_EQ(occasion_.ScaledScores[SUB_ORDFORRAD], 3);
    EXPECT_EQ(occasion_.ReferenceScaledScores[SUB_ORDFORRAD], 2);
    EXPECT_EQ(occasion_.ScaledScores[SUB_KODNING], 19);
    EXPECT_EQ(occasion_.ScaledScores[SUB_SF], 1);
    EXPECT_EQ(occasion_.ScaledScores[SUB_SB], 4);
    EXPECT_EQ(occasion_.ReferenceScaledScores[SUB_SB], 4);
    EXPECT_EQ(occasion_.ScaledScores[SUB_SIFFERREPETITION], 0);
    EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 0);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(ScaledScores, EveryMissingRowIsReportedAndScoresZero) {
    insertNormRows("25-29 år", evenBounds());
    exec("DELETE FROM NORMER WHERE DELSKALA = 'Ordförråd'");
    std::strcpy(occasion_.ageBand, "25-29 år");
    setAllRaw(10);
    computeScaledScores(occasion_);

    // One message for Ordförråd in the band, and one for each subscale of the missing
    // reference group, in subscale order.
    const std::vector<std::string> texts = messages_.texts();
    ASSERT_EQ(texts.size(), 1u + kSubscaleCount);
    EXPECT_EQ(texts[0], "Standardgrupp Ordförråd 25-29 år finns inte.");
    EXPECT_EQ(texts[1], "Standardgrupp Blockmönster Referensgrupp finns inte.");
    EXPECT_EQ(texts.back(), "Standardgrupp Bildkomplettering Referensgrupp finns inte.");
    for (const MessageRequest& request : messages_.requests()) {
        EXPECT_EQ(request.caption, "RIVO-IV");
    }
    EXPECT_EQ(occasion_.ScaledScores[SUB_ORDFORRAD], 0);
    EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 5);
    EXPECT_EQ(occasion_.ReferenceScaledScores[SUB_LIKHETER], 0);
}

TEST_F(ScaledScores, NewPersonScoresNothingButStillLooksEveryRowUp) {
    insertNormRows("25-29 år", evenBounds());
    insertNormRows("Referensgrupp", evenBounds());
    insertIndexRows();
    std::strcpy(occasion_.ageBand, "25-29 år");
    setAllRaw(NOT_ADMINISTERED);
    occasion_.indexes[HIK].valid = 1; // stale results from an earlier person
    occasion_.indexes[GAI].valid = 1;
    computeScaledScores(occasion_);
    for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
        EXPECT_EQ(occasion_.ScaledScores[subscale], 0);
        EXPECT_EQ(occasion_.ReferenceScaledScores[subscale], 0);
    }
    for (const IndexResult& index : occasion_.indexes) {
        EXPECT_EQ(index.valid, 0);
    }
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(ScaledScores, LateBandsHaveNoNormsForThreeSubtests) {
    NormBounds none{};
    none.fill(NOT_ADMINISTERED);
    insertNormRows("Referensgrupp", evenBounds());
    for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
        const bool withoutNorms =
            subscale == SUB_FIGURVIKTER || subscale == SUB_BSS || subscale == SUB_OVERSTRYKNING;
        insertNormRow(kDelskala[subscale], "75-79 år", withoutNorms ? none : evenBounds());
    }
    std::strcpy(occasion_.ageBand, "75-79 år");
    setAllRaw(12);
    computeScaledScores(occasion_);
    EXPECT_EQ(occasion_.ScaledScores[SUB_FIGURVIKTER], 0);
    EXPECT_EQ(occasion_.ScaledScores[SUB_BSS], 0);
    EXPECT_EQ(occasion_.ScaledScores[SUB_OVERSTRYKNING], 0);
    EXPECT_EQ(occasion_.ScaledScores[SUB_KODNING], 6);
    EXPECT_EQ(occasion_.ReferenceScaledScores[SUB_FIGURVIKTER], 6);
    EXPECT_TRUE(messages_.texts().empty());
}

class AgeBandChoice : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '55-64 år', 8, '55-64 år')");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'Referensgrupp', 14, "
             "'Referensgrupp (20-34 år)')");
        insertNormRows("55-64 år", evenBounds());
        NormBounds shifted = evenBounds();
        for (int& bound : shifted) {
            bound += 2;
        }
        insertNormRows("Referensgrupp", shifted);
        insertIndexRows();
    }
};

TEST_F(AgeBandChoice, BandComesFromTheAgeAndPickingAnotherRescores) {
    occasion_.person.BORNDATE = DateValue{1950, 5, 31};
    occasion_.person.TESTDATE = DateValue{2010, 6, 1};
    setAllRaw(10);
    ASSERT_EQ(selectAgeBand(occasion_), DB_DONE);
    EXPECT_STREQ(occasion_.ageBand, "55-64 år");
    EXPECT_STREQ(occasion_.normDescription, "55-64 år");
    computeScaledScores(occasion_);
    EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 5);
    const int bandSum = occasion_.indexes[VFI].sum;
    EXPECT_EQ(bandSum, 15);

    chooseAgeBand(occasion_, "Referensgrupp");
    EXPECT_STREQ(occasion_.ageBand, "Referensgrupp");
    EXPECT_STREQ(occasion_.normDescription, "Referensgrupp (20-34 år)");
    EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 4);
    EXPECT_EQ(occasion_.indexes[VFI].sum, 12);
    EXPECT_EQ(occasion_.indexes[VFI].IK, expectedIk("VFI", 12));

    // Building the results again restores the band of the age.
    ASSERT_EQ(selectAgeBand(occasion_), DB_DONE);
    EXPECT_STREQ(occasion_.ageBand, "55-64 år");
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(AgeBandChoice, BandWithoutDescriptionKeepsTheFormerText) {
    std::strcpy(occasion_.normDescription, "tidigare");
    setAge(40);
    EXPECT_EQ(selectAgeBand(occasion_), DB_NO_ROW);
    EXPECT_STREQ(occasion_.ageBand, "35-44 år");
    EXPECT_STREQ(occasion_.normDescription, "tidigare");
}

// Dates that give no test age: no band, one message naming the person, nothing scored, and a
// band picked by hand is refused too. A real leap day is a valid date.
TEST_F(AgeBandChoice, PersonWithoutValidDatesIsNeverScored) {
    const struct {
        DateValue testDate;
        DateValue bornDate;
        bool valid;
    } cases[] = {
        {{2010, 6, 1}, {0, 0, 0}, false},       {{0, 0, 0}, {1950, 5, 31}, false},
        {{9999, 99, 99}, {1950, 5, 31}, false}, {{2010, 2, 30}, {1950, 5, 31}, false},
        {{2010, 6, 1}, {1950, 13, 1}, false},   {{-25536, 1, 1}, {1950, 5, 31}, false},
        {{2010, 2, 28}, {1900, 2, 29}, false}, // 1900 was no leap year
        {{2008, 2, 29}, {1950, 5, 31}, true},
    };
    std::strcpy(occasion_.person.NAMN, "Greta Ogiltig");
    occasion_.person.ID = 42;
    setAllRaw(10);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.testDate.year) + "-" + std::to_string(c.testDate.month) +
                     "-" + std::to_string(c.testDate.day));
        messages_.clear();
        occasion_.person.TESTDATE = c.testDate;
        occasion_.person.BORNDATE = c.bornDate;
        std::strcpy(occasion_.ageBand, "16-17 år");
        occasion_.indexes[GAI].IK = 77; // the person before
        occasion_.indexes[GAI].valid = 1;
        selectAgeBand(occasion_);
        computeScaledScores(occasion_);
        if (c.valid) {
            EXPECT_STREQ(occasion_.ageBand, "55-64 år");
            EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 5);
            EXPECT_TRUE(messages_.texts().empty());
            continue;
        }
        EXPECT_STREQ(occasion_.ageBand, "");
        EXPECT_STREQ(occasion_.normDescription, "");
        for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
            EXPECT_EQ(occasion_.ScaledScores[subscale], 0);
            EXPECT_EQ(occasion_.ReferenceScaledScores[subscale], 0);
        }
        for (const IndexResult& index : occasion_.indexes) {
            EXPECT_EQ(index.valid, 0);
            EXPECT_EQ(index.IK, 0);
        }
        // Exactly one message, naming the person; no missing-norm messages.
        ASSERT_EQ(messages_.texts().size(), 1u);
        EXPECT_NE(messages_.texts()[0].find("Greta Ogiltig (ID 42)"), std::string::npos);
        EXPECT_NE(messages_.texts()[0].find("födelsedatum"), std::string::npos);

        chooseAgeBand(occasion_, "Referensgrupp");
        EXPECT_STREQ(occasion_.ageBand, "");
        EXPECT_EQ(occasion_.ScaledScores[SUB_LIKHETER], 0);
        EXPECT_EQ(messages_.texts().size(), 2u);
    }
}

} // namespace
