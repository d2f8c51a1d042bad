// SPDX-License-Identifier: Apache-2.0
#include "page_fixture.h"
#include "text_table.h"

#include <algorithm>

namespace {

constexpr int kLeft = 50;
constexpr int kScreenRight = 600;
constexpr int kPaperRight = 750;

class SummaryPages : public PageTest {
  protected:
    // The texts drawn in the notes font (12) below the table, joined.
    static std::string notesText(const RecordingDc& dc, int belowY) {
        std::string joined;
        for (const auto& t : dc.texts()) {
            if (t.y > belowY && t.font.height == 12) {
                joined += t.text;
            }
        }
        return joined;
    }
    static std::string joinedNotes(std::initializer_list<unsigned short> ids) {
        std::string joined;
        for (const unsigned short id : ids) {
            joined += text(id);
        }
        return joined;
    }
    static bool drawsNote(const RecordingDc& dc, unsigned short id) {
        const std::string start = text(id).substr(0, 30);
        return std::any_of(dc.texts().begin(), dc.texts().end(),
                           [&](const auto& t) { return t.text.rfind(start, 0) == 0; });
    }
    // Every valid index with IK 100 - 5 * key.
    static void allIndexesValid() {
        for (int key = VFI; key <= GAI; ++key) {
            setValidIndex(static_cast<IndexKey>(key), 30 + key, 100 - 5 * key);
        }
    }
};

TEST_F(SummaryPages, PersonDataInThreeColumns) {
    PersonRecord& person = occasion().person;
    std::strcpy(person.NAMN, "Anna Berg");
    std::strcpy(person.NATIONALITET, "Svensk");
    std::strcpy(person.HOMELANGUAGE, "Finska");
    std::strcpy(person.TESTLEDARE, "Eva Ek");
    person.BORNDATE = DateValue{1950, 3, 15};
    person.TESTDATE = DateValue{2024, 5, 10};
    person.SEX = 2;
    person.HANDEDNESS = 3;
    ab_paint_resultat(screen, 0, kLeft, kScreenRight, 0);

    const auto title = textOf(screen, "Resultatredovisning");
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(title.font.height, 26);
    EXPECT_EQ(title.font.weight, kFontWeightBold);
    EXPECT_EQ(title.font.face, "Arial");
    // Title 31 high, then 20; a label row 15, a value row 20, 4 between rows.
    const struct {
        const char* text;
        int x, y, height;
    } expected[] = {
        {"Namn", 50, 51, 12},         {"Anna Berg", 50, 66, 16},    {"Nationalitet", 250, 129, 12},
        {"Svensk", 250, 144, 16},     {"Hemspråk", 450, 129, 12},   {"Finska", 450, 144, 16},
        {"Testledare", 450, 207, 12}, {"Eva Ek", 450, 222, 16},     {"Testdatum", 50, 285, 12},
        {"2024-05-10", 50, 300, 16},  {"1950-03-15", 250, 300, 16}, {"74.1.25", 450, 300, 16},
        {"Kvinna", 50, 339, 16},      {"Ambident", 250, 339, 16},
    };
    for (const auto& e : expected) {
        const auto t = textOf(screen, e.text);
        EXPECT_EQ(t.x, e.x) << e.text;
        EXPECT_EQ(t.y, e.y) << e.text;
        EXPECT_EQ(t.font.height, e.height) << e.text;
    }
    // The norm comparison follows 20 below the last row, and 20 more on screen.
    EXPECT_EQ(textOf(screen, "Normjämförelse").y, 359 + 20 + 20);
    EXPECT_EQ(screen.liveObjectCount(), 0);
    // On paper 40 below, without the screen's 20.
    ab_paint_resultat(paper, 0, kLeft, kPaperRight, 1);
    EXPECT_EQ(textOf(paper, "Namn").font.face, "Times New Roman");
    EXPECT_EQ(textOf(paper, "Normjämförelse").y, 359 + 40);
}

TEST_F(SummaryPages, NoScoresEveryRowDashedAndTheRefusalNotesInOrder) {
    const int bottom = ab_paint_normjamforelse(screen, 379, kLeft, kScreenRight, 0);

    EXPECT_EQ(textOf(screen, "Normgrupp:   25-29 år").y, 428);
    const auto header = textOf(screen, "95% konfidensintervall");
    EXPECT_EQ(header.x, 680);
    EXPECT_EQ(header.y, 483);
    EXPECT_EQ(horizontal(header), TextAlign::Right);
    EXPECT_TRUE(header.font.italic);
    EXPECT_EQ(textOf(screen, "Summa skalpoäng").x, 280);
    EXPECT_EQ(textOf(screen, "Percentil").x, 520);

    // Rows 20 apart from 509, with an empty row before HIK.
    const struct {
        const char* name;
        int y;
    } rows[] = {{"Verbal funktion", 509}, {"Perceptuell funktion", 529},
                {"Arbetsminne", 549},     {"Snabbhet", 569},
                {"Hela skalan", 609},     {"General Ability Index - GAI", 629}};
    for (const auto& row : rows) {
        const auto name = textOf(screen, row.name);
        EXPECT_EQ(name.x, kLeft);
        EXPECT_EQ(name.y, row.y);
        std::vector<int> dashColumns;
        for (const auto& t : textsOf(screen, "-")) {
            if (t.y == row.y && horizontal(t) == TextAlign::Right) {
                dashColumns.push_back(t.x);
            }
        }
        EXPECT_EQ(dashColumns, (std::vector<int>{280, 420, 520, 680})) << row.name;
    }
    EXPECT_TRUE(textsOf(screen, " UPP").empty());

    EXPECT_EQ(notesText(screen, 649), joinedNotes({599, 601, 606, 610, 613, 615}));
    // Notes from 10 below the rows, 15 per line, wrapped before right + 20.
    int noteLines = 0;
    for (const auto& t : screen.texts()) {
        if (t.y > 649 && t.font.height == 12) {
            EXPECT_EQ(t.x, kLeft);
            EXPECT_EQ(t.y, 659 + 15 * noteLines);
            EXPECT_LE(t.x + widthOf(t), kScreenRight + 20 + 6); // a trailing blank may pass
            ++noteLines;
        }
    }
    EXPECT_EQ(bottom, 659 + 15 * noteLines);
    // Lines above the header, below it and below the rows, 630 long, in the default pen.
    ASSERT_EQ(screen.lines().size(), 3u);
    EXPECT_EQ(screen.lines()[0].y1, 478);
    EXPECT_EQ(screen.lines()[1].y1, 506);
    EXPECT_EQ(screen.lines()[2].y1, 654);
    for (const auto& line : screen.lines()) {
        EXPECT_EQ(line.x2 - line.x1, 630);
        EXPECT_EQ(line.pen.width, 1);
    }
    EXPECT_EQ(screen.liveObjectCount(), 0);
}

TEST_F(SummaryPages, ProratedVfiIsMarkedAndExplained) {
    allIndexesValid();
    occasion().indexes[VFI].prorated = 1;
    occasion().indexes[VFI].sum = 26;
    ab_paint_normjamforelse(screen, 379, kLeft, kScreenRight, 0);

    const auto sum = textOf(screen, "26");
    EXPECT_EQ(sum.x, 280);
    EXPECT_EQ(sum.y, 509);
    EXPECT_EQ(horizontal(sum), TextAlign::Right);
    const auto upp = textOf(screen, " UPP");
    EXPECT_EQ(upp.x, 280);
    EXPECT_EQ(upp.y, 509);
    EXPECT_EQ(horizontal(upp), TextAlign::Left);
    EXPECT_EQ(notesText(screen, 649), joinedNotes({599, 604}));
    const auto interval = textOf(screen, "93 - 107");
    EXPECT_EQ(interval.x, 680);
    EXPECT_EQ(interval.y, 509);
}

TEST_F(SummaryPages, ConfidenceLevelChangesOnlyTheLastColumn) {
    allIndexesValid();
    resultsView().ciLevel = 1;
    const int bottom95 = ab_paint_normjamforelse(screen, 0, kLeft, kScreenRight, 0);
    RecordingDc at90;
    resultsView().ciLevel = 0;
    const int bottom90 = ab_paint_normjamforelse(at90, 0, kLeft, kScreenRight, 0);

    EXPECT_EQ(bottom90, bottom95);
    ASSERT_EQ(at90.texts().size(), screen.texts().size());
    int changed = 0;
    for (std::size_t i = 0; i < at90.texts().size(); ++i) {
        const auto& a = at90.texts()[i];
        const auto& b = screen.texts()[i];
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        if (a.text != b.text) {
            EXPECT_EQ(a.x, kLeft + 630) << a.text;
            ++changed;
        }
    }
    EXPECT_EQ(changed, 7); // the header and six intervals
    EXPECT_EQ(textOf(at90, "90% konfidensintervall").y, textOf(screen, "95% konfidensintervall").y);
}

TEST_F(SummaryPages, OldAgeBandNotes) {
    setBand("70-74 år");
    ab_paint_normjamforelse(screen, 0, kLeft, kScreenRight, 0);
    ab_paint_deltestpoang(screen, 1000, kLeft, kScreenRight, 0);
    EXPECT_FALSE(drawsNote(screen, 632));
    EXPECT_TRUE(drawsNote(screen, 633));

    setBand("75-79 år");
    RecordingDc older;
    ab_paint_normjamforelse(older, 0, kLeft, kScreenRight, 0);
    EXPECT_TRUE(drawsNote(older, 632));
    // Note 632 stands directly under the norm group line and pushes the table down.
    const auto normGroup = textOf(older, "Normgrupp:   75-79 år");
    const auto note = std::find_if(older.texts().begin(), older.texts().end(), [](const auto& t) {
        return t.text.rfind("OBS: Normdata", 0) == 0;
    });
    ASSERT_NE(note, older.texts().end());
    EXPECT_EQ(note->y, normGroup.y + 20);
    EXPECT_EQ(note->font.height, 12);
    EXPECT_GT(older.lines()[0].y1, screen.lines()[0].y1);
}

TEST_F(SummaryPages, PaperTableHasWidePensNoScreenOffsetAndMoreRoom) {
    allIndexesValid();
    occasion().indexes[HIK].valid = 0; // a second note
    const int bottom = ab_paint_normjamforelse(paper, 0, kLeft, kPaperRight, 1);

    const auto title = textOf(paper, "Normjämförelse");
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(title.font.face, "Times New Roman");
    ASSERT_EQ(paper.lines().size(), 3u);
    EXPECT_EQ(paper.lines()[0].y1, 24 + 5 + 20 + 50); // 20 more above the table on paper
    for (const auto& line : paper.lines()) {
        EXPECT_EQ(line.pen.width, 2);
    }
    int lastNoteBottom = 0;
    int widest = 0;
    for (const auto& t : paper.texts()) {
        if (t.font.height == 12) {
            EXPECT_EQ(t.font.face, "Times New Roman");
            widest = std::max(widest, t.x + widthOf(t));
            lastNoteBottom = t.y + 15;
        }
    }
    // Notes run to right - 50 on paper: wider than the screen's 620, never past 700.
    EXPECT_GT(widest, kScreenRight + 20);
    EXPECT_LE(widest, kPaperRight - 50 + 6);
    EXPECT_EQ(bottom, lastNoteBottom + 40);
    EXPECT_EQ(paper.selectedPen(), paper.stockObject(StockObject::BlackPen));
    EXPECT_EQ(paper.liveObjectCount(), 0);
}

TEST_F(SummaryPages, SubtestTableRows) {
    auto set = [](int raw, int subscale, int rawScore, int scaled, int reference) {
        occasion().RawScores[raw] = rawScore;
        occasion().ScaledScores[subscale] = scaled;
        occasion().ReferenceScaledScores[subscale] = reference;
    };
    set(RAW_LIKHETER, SUB_LIKHETER, 20, 10, 11);
    set(RAW_FIGURVIKTER, SUB_FIGURVIKTER, 3, 0, 4); // no norms for the band: scaled 0
    set(RAW_BUT, SUB_BUT, 30, 12, 13);
    set(RAW_BSS, SUB_BSS, 5, 6, 0); // no reference norms: no reference score either
    const int bottom = ab_paint_deltestpoang(screen, 0, kLeft, kScreenRight, 0);

    EXPECT_EQ(textOf(screen, "Sammanställning deltestpoäng").y, 20);
    // The reference header, wrapped within 140, each line right-aligned at left + 550.
    const auto first = textOf(screen, "Referensgrupp ");
    EXPECT_EQ(first.x, 600);
    EXPECT_EQ(first.y, 64);
    EXPECT_EQ(horizontal(first), TextAlign::Right);
    EXPECT_EQ(textOf(screen, "skalpoäng (20-34 ").y, 84);
    EXPECT_EQ(textOf(screen, "år)").y, 104);

    // n = width of "12. " in the italic 16 header font = 32.
    const auto group = textOf(screen, "Verbal funktion");
    EXPECT_EQ(group.y, 142);
    EXPECT_TRUE(group.font.italic);
    const auto rowAt = [this](int y) {
        std::vector<std::pair<int, std::string>> cells;
        for (const auto& t : screen.texts()) {
            if (t.y == y && horizontal(t) == TextAlign::Right) {
                cells.emplace_back(t.x, t.text);
            }
        }
        std::sort(cells.begin(), cells.end());
        return cells;
    };
    const auto likheter = textOf(screen, "Likheter");
    EXPECT_EQ(likheter.x, 82);
    EXPECT_EQ(likheter.y, 162);
    using Cells = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(rowAt(162), (Cells{{82, "2. "}, {300, "20"}, {440, "10"}, {600, "11"}}));
    EXPECT_EQ(rowAt(textOf(screen, "Förståelse").y),
              (Cells{{82, "13. "}, {300, "-"}, {440, "-"}, {600, "-"}}));
    EXPECT_EQ(rowAt(textOf(screen, "Figurvikter").y),
              (Cells{{82, "12. "}, {300, "3"}, {440, "-"}, {600, "-"}}));
    EXPECT_EQ(rowAt(textOf(screen, "Bokstavs-siffer-serier").y),
              (Cells{{82, "11. "}, {300, "5"}, {440, "6"}, {600, "-"}}));
    // Process scores: no number and never a reference value.
    const auto but = textOf(screen, "Blockmönster Utan Tidsbonus");
    EXPECT_EQ(but.x, 82);
    EXPECT_EQ(rowAt(but.y), (Cells{{300, "30"}, {440, "12"}, {600, "-"}}));

    // Nineteen rows and five group titles of 20, with 10 before each title.
    EXPECT_EQ(bottom, 132 + 5 * 30 + 19 * 20 + 8 + 5);
    EXPECT_FALSE(drawsNote(screen, 633));
    EXPECT_EQ(screen.liveObjectCount(), 0);
}

TEST_F(SummaryPages, SubtestTableOnPaper) {
    ab_paint_deltestpoang(paper, 0, kLeft, kPaperRight, 1);
    const auto title = textOf(paper, "Sammanställning deltestpoäng");
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(title.font.face, "Times New Roman");
    for (const auto& line : paper.lines()) {
        EXPECT_EQ(line.x2, kLeft + 550);
        EXPECT_EQ(line.pen.width, 1);
    }
    EXPECT_EQ(paper.liveObjectCount(), 0);
}

} // namespace
