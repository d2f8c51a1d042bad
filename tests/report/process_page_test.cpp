// SPDX-License-Identifier: Apache-2.0
#include "analysis_page_fixture.h"

// The process-score page on the recording device (fitted fonts 14 high, rows 17 apart, footnotes
// 15 apart, title 20 high). Screen: top 0 gives the title at 50; left 50, right 600.

namespace {

constexpr unsigned R = TextAlign::Right;
constexpr unsigned C = TextAlign::Center;

class ProcessPageTest : public AnalysisPageTest {
  protected:
    int paint(int printing = 0) {
        return ab_paint_analyser_prosess(dc, 0, 50, printing != 0 ? 750 : 600, printing);
    }

    // Blockmönster 12 / BUT 9, SF 8, SB 12, SS 9; spans SFO 6, SBO 5, SSO 7, BO 6.
    void setProcessOccasion(const char* band) {
        setBand(band);
        setScaled(SUB_BLOCKMONSTER, 12);
        setScaled(SUB_BUT, 9);
        setScaled(SUB_SF, 8);
        setScaled(SUB_SB, 12);
        setScaled(SUB_SS, 9);
        setSpan(RAW_SRLFRAM, 6);
        setSpan(RAW_SRLBAK, 5);
        setSpan(RAW_SSO, 7);
        setSpan(RAW_BO, 6);
    }
};

TEST_F(ProcessPageTest, AllSpansGivenAt45To54ShowsThreeTablesAndTheirNotes) {
    setProcessOccasion("45-54 år");
    EXPECT_EQ(paint(), 699);
    EXPECT_TRUE(messages.requests().empty());
    expectPlaced({
        {"Analys av processpoäng", 50, 50},
        {"Jämförelser skalpoäng", 50, 80},
        {"Jämförelse", 50, 104},
        {"Skillnad", 500, 104, R},
        {"Kritiskt ", 570, 104, R},
        {"signifikans", 650, 121, R},
        {"normgrupp", 720, 121, R},
        // Rows from 148; the names stay empty, so the scores stand alone.
        {"Blockmönster - Blockmönster Utan Tidsbonus", 50, 148},
        {"12", 415, 148, R},
        {"9", 445, 148, R},
        {"3", 500, 148, R},
        {"2.34", 570, 148, R},
        {".15", 650, 148, R},
        {"3.2%", 720, 148, R},
        {"Sifferrepetition Framlänges - Sifferrepetition Baklänges", 50, 165},
        {"-4", 500, 165, R},
        {"2.94", 570, 165, R},
        {"10.1%", 720, 165, R},
        {"Sifferrepetition Framlänges - Sifferrepetition Sekvensiering", 50, 182},
        {"ns*", 657, 182, R},
        {"44.5%", 720, 182, R},
        {"Sifferrepetition Baklänges - Sifferrepetition Sekvensiering", 50, 199},
        {"2.98", 570, 199, R},
        {"21.3%", 720, 199, R},
        {"* ns = ej signifikant", 50, 221},
        {"som anges i kolumn Skillnad.", 50, 251},
        // Spans: heading 40 below note 136.
        {"Frekvens i normgrupp", 50, 306},
        {"Processpoäng", 50, 330},
        {"Råpoäng", 360, 330, R},
        {"i ", 460, 347, R},
        {"Sifferrepetition Framlänges Omfång", 50, 389},
        {"6", 360, 389, R},
        {"56.4%", 460, 389, R},
        {"Sifferrepetition Baklänges Omfång", 50, 406},
        {"53.2%", 460, 406, R},
        {"Sifferrepetition Sekvensering Omfång", 50, 423},
        {"30.9%", 460, 423, R},
        {"Bokstavs-siffer-serier Omfång", 50, 440},
        {"44.7%", 460, 440, R},
        {"Frekvens i normgrupp anger hur stor del av normgruppen som erhöll ", 50, 465},
        {"lika många eller fler råpoäng.", 50, 480},
        // Raw-score comparisons: heading 45 below note 416.
        {"Jämförelser råpoäng", 50, 540},
        {"Skillnad", 350, 564, R, 1},
        {"SFO - SBO", 50, 608},
        {"1", 350, 608, R},
        {"73.4%", 460, 608, R},
        {"SFO - SSO", 50, 625},
        {"-1", 350, 625, R, 1},
        {"34.0%", 460, 625, R},
        {"SBO - SSO", 50, 642},
        {"-2", 350, 642, R},
        {"41.5%", 460, 642, R},
        {"Frekvens i normgrupp anger hur stor del av normgruppen som erhöll en ", 50, 669},
        {"lika stor eller större skillnad än den som anges i kolumn Skillnad.", 50, 684},
    });
    // The comparison rows of the spans: values right at 180, 230 and 300; "-" and "=" centred.
    EXPECT_EQ(textsAt(608),
              (std::vector<std::string>{"SFO - SBO", "6", "-", "5", "=", "1", "73.4%"}));
    const RecordingDc::Text& equals = drawn("=", 4); // the first span comparison's
    EXPECT_EQ(equals.x, 310);
    EXPECT_EQ(horizontal(equals), C);
    EXPECT_EQ(drawn("6", 2).x, 230);
    EXPECT_EQ(drawn("5", 1).x, 280);
    // In the scaled comparisons "-" is centred at 375 and "=" at 418.
    EXPECT_EQ(drawn("-").x, 425);
    EXPECT_EQ(drawn("=").x, 468);
    EXPECT_EQ(ruleYs(), (std::vector<int>{99, 143, 221, 325, 386, 460, 559, 603, 664}));
    EXPECT_EQ(dc.lines()[3].x2, 460); // the span tables are 410 wide
    EXPECT_EQ(dc.lines()[2].x2, 720);
}

TEST_F(ProcessPageTest, MissingSequencingSpanGivesADashAndNote417Only) {
    setProcessOccasion("45-54 år");
    setSpan(RAW_SSO, NOT_ADMINISTERED);
    EXPECT_EQ(paint(), 554 + 17);
    EXPECT_EQ(textsAt(423),
              (std::vector<std::string>{"-", "Sifferrepetition Sekvensering Omfång"}));
    EXPECT_EQ(drawn("-", count("-") - 1).x, 360);
    expectPlaced(
        {"Diskrepansanalys mellan SFO/SBO/SSO kan ej utföras pga saknade poängvärden.", 50, 554});
    EXPECT_EQ(count("SFO - SBO"), 0);
    EXPECT_EQ(ruleYs().back(), 460);
}

TEST_F(ProcessPageTest, SpanCellsOfTheEdgeCases) {
    struct Case {
        const char* band;
        int rawScore;
        int span;
        int y;
        std::vector<std::string> shown; // raw cell, frequency, name
    };
    const Case cases[] = {
        {"70-74 år", RAW_BO, 6, 440, {"-", "Bokstavs-siffer-serier Omfång"}}, // no BO norms
        {"45-54 år", RAW_SRLFRAM, 0, 389, {"0", "100.00%", "Sifferrepetition Framlänges Omfång"}},
        {"16-17 år", RAW_SRLFRAM, 9, 389, {"9", "0.0%", "Sifferrepetition Framlänges Omfång"}},
    };
    for (const Case& c : cases) {
        SetUp();
        dc.clearRecords();
        setProcessOccasion(c.band);
        setSpan(c.rawScore, c.span);
        paint();
        EXPECT_EQ(textsAt(c.y), c.shown) << c.band << " " << c.span;
    }
}

TEST_F(ProcessPageTest, NoNsFootnoteWhenEveryComparisonIsSignificant) {
    setScaled(SUB_BLOCKMONSTER, 12);
    setScaled(SUB_BUT, 8); // 4 against c05 3.18
    paint();
    EXPECT_EQ(drawn(".05").y, 148);
    EXPECT_EQ(count("* ns = ej signifikant"), 0);
    EXPECT_EQ(ruleYs()[2], 170);
    EXPECT_EQ(drawn("som anges i kolumn Skillnad.").y, 185); // note 136 right at the line
}

TEST_F(ProcessPageTest, AgeBandOutsideTheBandsEndsBelowTheSpanHeadingWithoutAMessage) {
    setProcessOccasion("Referensgrupp");
    EXPECT_EQ(paint(), 320);
    EXPECT_EQ(paint(), 320);
    EXPECT_TRUE(messages.requests().empty());
    EXPECT_EQ(drawn("Frekvens i normgrupp").y, 306);
    EXPECT_EQ(drawn(".15").y, 148); // the scaled comparisons need no age band
    EXPECT_EQ(count("Processpoäng"), 0);
    EXPECT_EQ(count("Jämförelser råpoäng"), 0);
}

TEST_F(ProcessPageTest, OnPaperTheTitleIsAtTopInTimesAndTheLastNoteIsNarrower) {
    setProcessOccasion("45-54 år");
    EXPECT_EQ(paint(1), 699 - 50 + 15);
    EXPECT_EQ(drawn("Analys av processpoäng").y, 0);
    expectPlaced({
        {"Frekvens i normgrupp anger hur stor del av normgruppen som ", 50, 619},
        {"erhöll en lika stor eller större skillnad än den som anges i ", 50, 634},
        {"kolumn Skillnad.", 50, 649},
    });
    for (const RecordingDc::Text& t : dc.texts()) {
        EXPECT_EQ(t.font.face, "Times New Roman") << t.text;
    }
}

} // namespace
