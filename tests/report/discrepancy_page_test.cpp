// SPDX-License-Identifier: Apache-2.0
#include "analysis_page_fixture.h"
#include "index_comparisons.h"
#include "strengths_weaknesses.h"

#include <set>

// The discrepancy page on the recording device. Its metrics make every fitted page font 14 high
// (7 wide a character, rows 17 apart), the title 20 high and the footnotes 12 high (15 apart).
// Screen: top 0 gives the title at 50; left 50, right 600.

namespace {

constexpr unsigned R = TextAlign::Right;
constexpr unsigned C = TextAlign::Center;

class DiscrepancyPageTest : public AnalysisPageTest {
  protected:
    int paint(int printing = 0) {
        return ab_paint_analyser(dc, 0, 50, printing != 0 ? 750 : 600, printing);
    }

    // VFI 110, PFI 96 and AI 100 valid (rows 0, 1 and 3), Sr 12 against Ar 9 (row 7); no core
    // subtest counted, so the total mean is missing.
    void setComparisonOccasion() {
        setIndex(VFI, 110);
        setIndex(PFI, 96);
        setIndex(AI, 100);
        setScaled(SUB_SIFFERREPETITION, 12);
        setScaled(SUB_ARITMETIK, 9);
    }

    static void setSums(IndexKey key, int sum, int count) {
        occasion().indexes[key].sum = sum;
        occasion().indexes[key].count = count;
        occasion().indexes[key].valid = 1;
    }
};

TEST_F(DiscrepancyPageTest, ComparisonTableThenTheTooFewSubtestsMessage) {
    setComparisonOccasion();
    resultsView().indexBase = INDEX_BASE_WHOLE_GROUP;

    EXPECT_EQ(paint(), 408);

    const RecordingDc::Text& title = drawn("Analyser");
    EXPECT_EQ(title.font.height, 20);
    EXPECT_EQ(title.font.weight, kFontWeightBold);
    EXPECT_EQ(title.bkMode, BackgroundMode::Transparent);
    expectPlaced({
        {"Analyser", 50, 50},
        {"Diskrepansanalyser", 50, 80},
        {"Jämförelsegrund för index: Hela normgruppen", 50, 99},
        // Headers 5 below the line at 126; wrapped headers end at x.
        {"Index/Deltest", 50, 131},
        {"Skillnad", 500, 131, R},
        {"Kritiskt ", 570, 131, R},
        {"värde", 570, 148, R},
        {"Statistisk ", 650, 131, R},
        {"signifikans", 650, 148, R},
        {"Frekvens i ", 720, 131, R},
        {"normgrupp", 720, 148, R},
        // Row 0 at 175, 10 below the lowest header line (165).
        {"Verbal funktion - Perceptuell funktion", 50, 175},
        {"VFI", 320, 175, R},
        {"110", 350, 175, R},
        {"PFI", 400, 175, R},
        {"96", 430, 175, R},
        {"14", 500, 175, R},
        {"10.48", 570, 175, R},
        {".15", 650, 175, R},
        {"18.6%", 720, 175, R},
        // Row 1: 10 against c15 10.24, the first row not significant: "ns*" moved right by
        // the width of "*" (7).
        {"Verbal funktion - Arbetsminne", 50, 192},
        {"ns*", 657, 192, R},
        {"25.9%", 720, 192, R},
        {"Perceptuell funktion - Arbetsminne", 50, 209},
        {"ns", 650, 209, R},
        // Rows 2 and 4-6 are absent and take no space; row 7 is 10 lower as a group of its own.
        {"Sifferrepetition - Aritmetik", 50, 236},
        {"Sr", 320, 236, R},
        {"Ar", 400, 236, R},
        {".05", 650, 236, R},
        {"2.73", 570, 236, R},
        {"18.6%", 720, 236, R, 1},
        // Footnotes directly below the line at 258.
        {"* ns = ej signifikant", 50, 258},
        {"Frekvens i normgrupp anger hur stor del av normgruppen som erhöll en lika stor eller "
         "större skillnad än den ",
         50, 273},
        {"som anges i kolumn Skillnad.", 50, 288},
        // Strengths and weaknesses: 25 below note 136.
        {"Styrkor och svagheter", 50, 328},
        {"Jämförelsegrund: Totalt medelvärde (10 deltest)", 50, 347},
        {"För få deltest har administrerats. Diskrepansanalys kan ej utföras avseende skillnad "
         "från ",
         50, 374},
        {"totalt medelvärde.", 50, 391},
    });
    EXPECT_EQ(textsAt(175).size(), 11u); // title, 2 names, 2 scores, "-", "=", 4 results
    EXPECT_EQ(drawn("-").x, 365);
    EXPECT_EQ(horizontal(drawn("-")), C);
    EXPECT_EQ(drawn("=").x, 460);
    EXPECT_EQ(horizontal(drawn("=")), C);

    EXPECT_EQ(ruleYs(), (std::vector<int>{126, 170, 258}));
    for (const RecordingDc::Line& line : dc.lines()) {
        EXPECT_EQ(line.x1, 50);
        EXPECT_EQ(line.x2, 720);
    }
    EXPECT_EQ(drawn("Diskrepansanalyser").font.weight, kFontWeightBold);
    EXPECT_TRUE(drawn("Index/Deltest").font.italic);
    EXPECT_EQ(drawn("* ns = ej signifikant").font.height, 12);
    EXPECT_EQ(count("Deltest"), 0); // the strength table is left out
    EXPECT_TRUE(messages.requests().empty());
}

TEST_F(DiscrepancyPageTest, FootnoteOfNsOnlyWhenARowIsMarked) {
    setIndex(VFI, 130);
    setIndex(PFI, 96); // 34: ".05"
    paint();
    EXPECT_EQ(drawn(".05").y, 175);
    EXPECT_EQ(count("* ns = ej signifikant"), 0);
    EXPECT_EQ(ruleYs().back(), 197);
    EXPECT_EQ(drawn("som anges i kolumn Skillnad.").y, 212); // note 136 right at the line
}

// Rows 6 and 7 (the seventh and eighth) stand 10 lower; absent rows take no space.
TEST_F(DiscrepancyPageTest, RowsSixAndSevenStandTenLowerAndAbsentRowsTakeNoSpace) {
    setIndex(VFI, 100);
    setIndex(PFI, 100);
    setIndex(HIK, 100);
    setIndex(GAI, 100);
    setScaled(SUB_SYMBOLLETNING, 10);
    setScaled(SUB_KODNING, 10);
    paint();
    EXPECT_EQ(drawn("Verbal funktion - Perceptuell funktion").y, 175);
    EXPECT_EQ(drawn("Hela skalan - General Ability Index").y, 202);
    EXPECT_EQ(drawn("Symbolletning - Kodning").y, 219);
    EXPECT_EQ(count("ns*"), 1);
    EXPECT_EQ(count("ns"), 2);
}

TEST_F(DiscrepancyPageTest, IndexBaseChangesOnlyTheBaseTextAndTheBaseRates) {
    setIndex(VFI, 110);
    setIndex(PFI, 96);
    setIndex(AI, 93);
    setIndex(SI, 118);
    setIndex(HIK, 104);
    setIndex(GAI, 109);
    setScaled(SUB_SIFFERREPETITION, 12);
    setScaled(SUB_ARITMETIK, 9);
    resultsView().indexBase = INDEX_BASE_WHOLE_GROUP;
    const int wholeBottom = paint();
    const std::vector<RecordingDc::Text> whole = dc.texts();
    dc.clearRecords();
    resultsView().indexBase = INDEX_BASE_ABILITY;
    EXPECT_EQ(paint(), wholeBottom);
    const std::vector<RecordingDc::Text>& ability = dc.texts();

    ASSERT_EQ(whole.size(), ability.size());
    std::set<std::string> changed;
    int changedRates = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(whole[i].x, ability[i].x) << i;
        EXPECT_EQ(whole[i].y, ability[i].y) << i;
        if (whole[i].text == ability[i].text) {
            continue;
        }
        const bool baseText = whole[i].text == "Jämförelsegrund för index: Hela normgruppen" &&
                              ability[i].text == "Jämförelsegrund för index: Aktuell IK-nivå";
        // Base rates of rows 0-6 only: row 7 (at 314) has whole-group rates.
        const bool rate = whole[i].x == 720 && whole[i].y >= 175 && whole[i].y < 314 &&
                          whole[i].text.back() == '%';
        EXPECT_TRUE(baseText || rate) << whole[i].text << " -> " << ability[i].text;
        changedRates += rate ? 1 : 0;
    }
    EXPECT_GT(changedRates, 0);
    EXPECT_EQ(drawn("Sr").y, 314);
}

TEST_F(DiscrepancyPageTest, AgeBandOutsideTheBandsLeavesTheComparisonsOutSilently) {
    setComparisonOccasion();
    paint(); // rows of "25-29 år" stay in IndexComparisons
    dc.clearRecords();
    setBand("Referensgrupp");
    EXPECT_EQ(paint(), 70 + 25 + 14 + 5 + 17 + 10 + 34);
    EXPECT_EQ(paint(), 175); // painting again raises nothing either
    EXPECT_TRUE(messages.requests().empty());
    EXPECT_EQ(count("Diskrepansanalyser"), 0);
    EXPECT_EQ(count("Verbal funktion - Perceptuell funktion"), 0);
    EXPECT_EQ(drawn("Styrkor och svagheter").y, 95); // 25 below the title
}

// swBase 1 with VFI counted from two subtests: note 146, then the table, the VFI rows with their
// names only, the groups of PFI, AI and SI each 5 lower.
TEST_F(DiscrepancyPageTest, TooFewVerbalSubtestsGivesNote146AndTheTableFollows) {
    setBand("");
    resultsView().swBase = SW_BASE_INDEX;
    setSums(VFI, 20, 2);
    setSums(PFI, 33, 3); // mean 11.00
    setSums(AI, 20, 2);
    setSums(SI, 20, 2);
    setSums(HIK, 100, 10); // mean 10.00
    setScaled(SUB_LIKHETER, 10);
    setScaled(SUB_ORDFORRAD, 10);
    setScaled(SUB_BLOCKMONSTER, 12);
    setScaled(SUB_MATRISER, 10);
    setScaled(SUB_VISUELLAPUSSEL, 11);
    setScaled(SUB_SIFFERREPETITION, 10);
    setScaled(SUB_ARITMETIK, 8);
    setScaled(SUB_SYMBOLLETNING, 14);
    setScaled(SUB_KODNING, 8);
    setScaled(SUB_INFORMATION, 10);
    occasion().RawScores[RAW_KODNING] = NOT_ADMINISTERED;

    const int h = 95; // the heading right after the title
    EXPECT_EQ(paint(), h + 386);
    expectPlaced({
        {"Styrkor och svagheter", 50, h},
        {"Jämförelsegrund: VFI och PFI medelvärde", 50, h + 19},
        {"För få deltest har administrerats på Verbal funktion. Styrkor och svagheter kan inte ",
         50, h + 46},
        {"beräknas utifrån medelvärde detta index.", 50, h + 63},
        {"Deltest", 50, h + 90},
        {"Skalpoäng", 220, h + 90, R},
        {"Medelvärde", 300, h + 90, R},
        {"Skillnad ", 390, h + 90, R},
        {"från ", 390, h + 107, R},
        {"medelvärde", 390, h + 124, R},
        {"Styrka/Svaghet ", 650, h + 90, R},
        {"(+/-)", 650, h + 107, R},
        // Rows from 10 below the lowest header line (h + 141).
        {"Likheter", 50, h + 151},
        {"Information", 50, h + 185},
        {"Blockmönster", 50, h + 207},
        {"12", 220, h + 207, R},
        {"11.00", 300, h + 207, R},
        {"1.00", 390, h + 207, R},
        {"ns*", 557, h + 207, R},
        {"> 25%", 720, h + 207, R},
        {"Matriser", 50, h + 224},
        {"Sifferrepetition", 50, h + 263},
        {"Symbolletning", 50, h + 302},
        {"14", 220, h + 302, R},
        {"10.00", 300, h + 302, R, 2},
        {"4.00", 390, h + 302, R},
        {"3.43", 475, h + 302, R},
        {".05", 550, h + 302, R},
        {"+", 650, h + 302, R},
        {"11 - 15%", 720, h + 302, R},
        {"Kodning", 50, h + 319},
        {"* ns = ej signifikant", 50, h + 341},
        {"Frekvens i normgrupp anger hur stor del av normgruppen som erhöll en lika stor eller "
         "större skillnad från ",
         50, h + 356},
    });
    EXPECT_EQ(textsAt(h + 151), (std::vector<std::string>{"Likheter"}));
    EXPECT_EQ(textsAt(h + 319), (std::vector<std::string>{"Kodning", "-"}));
    const RecordingDc::Text& dash = drawn("-", count("-") - 1);
    EXPECT_EQ(dash.x, 220);
    EXPECT_EQ(horizontal(dash), R);
    EXPECT_EQ(ruleYs(), (std::vector<int>{h + 85, h + 146, h + 341}));
}

// The message 10 below the base text (at 95 + 46) names what is missing; only "neither index
// mean" ends the section there.
TEST_F(DiscrepancyPageTest, EachMissingIndexMeanHasItsOwnMessage) {
    struct Case {
        int vfiCount;
        int pfiCount;
        const char* firstLine;
        bool tableFollows;
    };
    const Case cases[] = {
        {2, 2,
         "För få deltest har administrerats på Verbal och Perceptuell funktion. Styrkor och "
         "svagheter ",
         false},
        {2, 3,
         "För få deltest har administrerats på Verbal funktion. Styrkor och svagheter kan "
         "inte ",
         true},
        {3, 2,
         "För få deltest har administrerats på Perceptuell funktion. Styrkor och svagheter "
         "kan inte ",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        dc.clearRecords();
        setBand("");
        resultsView().swBase = SW_BASE_INDEX;
        setSums(VFI, 30, c.vfiCount);
        setSums(PFI, 30, c.pfiCount);
        const int bottom = paint();
        expectPlaced({c.firstLine, 50, 95 + 46});
        EXPECT_EQ(count("Deltest"), c.tableFollows ? 1 : 0);
        if (!c.tableFollows) {
            EXPECT_EQ(bottom, 95 + 80);
            EXPECT_TRUE(dc.lines().empty());
        }
    }
}

TEST_F(DiscrepancyPageTest, OnPaperTheTitleIsAtTopInTimesAndNote136IsWider) {
    setComparisonOccasion();
    EXPECT_EQ(paint(1), 408 - 50);
    EXPECT_EQ(drawn("Analyser").y, 0);
    EXPECT_EQ(drawn("Frekvens i normgrupp anger hur stor del av normgruppen som erhöll en lika "
                    "stor eller större skillnad än den som ")
                  .y,
              223);
    for (const RecordingDc::Text& t : dc.texts()) {
        EXPECT_EQ(t.font.face, "Times New Roman") << t.text;
    }
}

} // namespace
