// SPDX-License-Identifier: Apache-2.0
#include "page_fixture.h"
#include "profile_graphs.h"
#include "text_table.h"

#include <algorithm>
#include <tuple>

namespace {

using Segment = std::tuple<int, int, int, int>;
constexpr Rgb kGraphColour{13, 54, 146};
constexpr Rgb kBlack{0, 0, 0};

// With the recording device's metrics the body font is 8 high (27 characters of 4 fit in 120).
// On screen (top 0, left 50): title to 44; index profile at x 175 (moved 20 left), y 54, c 33,
// r 3, a 267, e 478, columns at 283 + 33 i, IK v at 434 - 3 (v - 44); scaled-score profile at
// x 30, y 537, c 35, r 14, L 100, R 625, columns at 117 + 35 i, score v at 860 - 14 v.
class ProfileGraphs : public PageTest {
  protected:
    // Lines of one pen; maxY 470 keeps those of the index profile.
    static std::vector<Segment> segments(const RecordingDc& dc, PenStyle style, Rgb colour,
                                         int maxY = 10000) {
        std::vector<Segment> found;
        for (const auto& line : dc.lines()) {
            if (line.pen.style == style && line.pen.colour == colour && line.y1 <= maxY &&
                line.y2 <= maxY) {
                found.emplace_back(line.x1, line.y1, line.x2, line.y2);
            }
        }
        return found;
    }
    static std::vector<std::pair<int, int>> markers(const RecordingDc& dc) {
        std::vector<std::pair<int, int>> found;
        for (const auto& bitmap : dc.bitmaps()) {
            EXPECT_EQ(bitmap.resourceId, kBitmapMarker);
            EXPECT_EQ(bitmap.width, 4);
            EXPECT_FALSE(bitmap.stretched);
            found.emplace_back(bitmap.x, bitmap.y);
        }
        return found;
    }
    // Texts centred at x with their top at y.
    static std::string centredAt(const RecordingDc& dc, int x, int y) {
        for (const auto& t : dc.texts()) {
            if (t.x == x && t.y == y && horizontal(t) == TextAlign::Center) {
                return t.text;
            }
        }
        return "<none>";
    }
};

TEST_F(ProfileGraphs, IndexProfilePointsAndGaps) {
    setValidIndex(VFI, 30, 100);
    setValidIndex(PFI, 25, 85);
    setValidIndex(SI, 24, 115);
    setValidIndex(GAI, 55, 90);
    occasion().indexes[AI].IK = 70; // computed but not valid: not plotted
    occasion().indexes[HIK].IK = 95;
    const int bottom = ab_paint_grafisk(screen, 0, 50, 600, 0);
    EXPECT_EQ(bottom, 867 + 50);

    const auto body = textOf(screen, "VFI").font;
    EXPECT_EQ(body.height, 8);
    EXPECT_EQ(body.face, "Arial");
    // Frame from a - 30 to e, 30 below the graph.
    ASSERT_FALSE(screen.shapes().empty());
    const auto& frame = screen.shapes().front();
    EXPECT_EQ(std::tie(frame.left, frame.top, frame.right, frame.bottom),
              std::make_tuple(237, 54, 478, 465));
    EXPECT_EQ(frame.brush.style, BrushStyle::Null);
    EXPECT_EQ(frame.pen.colour, kGraphColour);

    const char* labels[] = {"VFI", "PFI", "AI", "SI", "HIK", "GAI"};
    const char* values[] = {"100", "85", "-", "115", "-", "90"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(centredAt(screen, 283 + 33 * i, 435), labels[i]);
        EXPECT_EQ(centredAt(screen, 283 + 33 * i, 445), values[i]);
    }
    // Markers centred on the points of the valid indexes only.
    EXPECT_EQ(markers(screen),
              (std::vector<std::pair<int, int>>{{281, 264}, {314, 309}, {380, 219}, {446, 294}}));
    // Only VFI-PFI is joined: AI's gap breaks the line and SI is not joined across it.
    EXPECT_EQ(segments(screen, PenStyle::Solid, kGraphColour, 470),
              (std::vector<Segment>{{283, 266, 316, 311}}));
    // Dotted lines from a to e at 70, 85, 115 and 130, none at 100.
    EXPECT_EQ(segments(screen, PenStyle::Dot, kGraphColour, 470),
              (std::vector<Segment>{{267, 356, 478, 356},
                                    {267, 311, 478, 311},
                                    {267, 221, 478, 221},
                                    {267, 176, 478, 176}}));
    // Scale labels every 5 from 45 to 155, right-aligned at a - 3 and centred on their value.
    const auto v45 = textOf(screen, "45");
    EXPECT_EQ(v45.x, 264);
    EXPECT_EQ(v45.y, 431 - 4);
    EXPECT_EQ(horizontal(v45), TextAlign::Right);
    EXPECT_EQ(textOf(screen, "155").y, 434 - 3 * 111 - 4);
    EXPECT_EQ(screen.liveObjectCount(), 0);
}

TEST_F(ProfileGraphs, NoValidIndexDrawsNoIndexLine) {
    ab_paint_grafisk(screen, 0, 50, 600, 0);
    EXPECT_TRUE(segments(screen, PenStyle::Solid, kGraphColour, 470).empty());
    EXPECT_TRUE(screen.bitmaps().empty());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(centredAt(screen, 283 + 33 * i, 445), "-");
    }
}

TEST_F(ProfileGraphs, ScaledScoreGroupsAreJoinedEachByItself) {
    // Li Or In (Fö) | Bl Ma Vp (Fv) (Bk) | Sr Ar (Bs) | Sy Ko (Ös)
    const struct {
        int subscale;
        int scaled;
    } scores[] = {{SUB_LIKHETER, 10},         {SUB_ORDFORRAD, 12},        {SUB_FORSTAELSE, 8},
                  {SUB_BLOCKMONSTER, 10},     {SUB_MATRISER, 11},         {SUB_FIGURVIKTER, 9},
                  {SUB_BILDKOMPLETTERING, 7}, {SUB_SIFFERREPETITION, 10}, {SUB_ARITMETIK, 13},
                  {SUB_SYMBOLLETNING, 10},    {SUB_KODNING, 9},           {SUB_OVERSTRYKNING, 11}};
    for (const auto& s : scores) {
        occasion().ScaledScores[s.subscale] = s.scaled;
    }
    ab_paint_grafisk(screen, 0, 50, 600, 0);

    // In, Vp and Bs are absent: "-", no marker, a gap in their group's line. Fö-Bl and Bk-Sr
    // are neighbours with scores but in different groups.
    const char* values[] = {"10", "12", "-",  "8", "10", "11", "-", "9",
                            "7",  "10", "13", "-", "10", "9",  "11"};
    const char* labels[] = {"Li",   "Or", "In", "(Fö)", "Bl", "Ma", "Vp",  "(Fv)",
                            "(Bk)", "Sr", "Ar", "(Bs)", "Sy", "Ko", "(Ös)"};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(centredAt(screen, 117 + 35 * i, 537 + 13), labels[i]);
        EXPECT_EQ(centredAt(screen, 117 + 35 * i, 537 + 21), values[i]);
    }
    EXPECT_EQ(markers(screen).size(), 12u);
    EXPECT_EQ(markers(screen)[0], std::make_pair(115, 718));
    // The group lines in the pen the page had selected (black), the rest in the graph colour.
    EXPECT_EQ(segments(screen, PenStyle::Solid, kBlack),
              (std::vector<Segment>{{117, 720, 152, 692},
                                    {257, 720, 292, 706},
                                    {362, 734, 397, 762},
                                    {432, 720, 467, 678},
                                    {537, 720, 572, 734},
                                    {572, 734, 607, 706}}));
    // The mean box at score 10, white, wider than the frame.
    const auto& box = screen.shapes().back();
    EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom),
              std::make_tuple(85, 714, 639, 728));
    EXPECT_EQ(box.brush.colour, (Rgb{255, 255, 255}));
    // Group names centred over their columns, the scale on both sides.
    EXPECT_EQ(centredAt(screen, 30 + 4 * 35 - 1, 534), "Verbal funktion");
    EXPECT_EQ(centredAt(screen, 30 + 297 - 1, 534), "Perceptuell funktion");
    EXPECT_EQ(textsOf(screen, "19").size(), 2u);
    EXPECT_EQ(textsOf(screen, "19")[0].y, 860 - 14 * 19 - 4);
}

TEST_F(ProfileGraphs, Note633UnderTheScaledScoreProfileFromSeventy) {
    ab_paint_grafisk(screen, 0, 50, 600, 0);
    const auto countNote = [](const RecordingDc& dc) {
        return std::count_if(dc.texts().begin(), dc.texts().end(), [](const auto& t) {
            return t.text.rfind("För denna åldersgrupp", 0) == 0;
        });
    };
    EXPECT_EQ(countNote(screen), 0);

    setBand("70-74 år");
    RecordingDc old;
    const int bottom = ab_paint_grafisk(old, 0, 50, 600, 0);
    EXPECT_EQ(bottom, 917); // the note is not counted
    const auto note = std::find_if(old.texts().begin(), old.texts().end(), [](const auto& t) {
        return t.text.rfind("För denna åldersgrupp", 0) == 0;
    });
    ASSERT_NE(note, old.texts().end());
    EXPECT_EQ(note->x, 100);
    EXPECT_EQ(note->y, 537 + 330 + 3);
    EXPECT_EQ(note->font.height, 12);
}

TEST_F(ProfileGraphs, PaperKeepsTheGraphsInPlace) {
    setValidIndex(VFI, 30, 100);
    ab_paint_grafisk(paper, 0, 50, 750, 1);
    const auto title = textOf(paper, "Grafisk redovisning");
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(title.font.face, "Times New Roman");
    // Title 24 high; the index profile at x 195 (not moved), y 34.
    const auto& frame = paper.shapes().front();
    EXPECT_EQ(frame.left, 195 + 92 - 30);
    EXPECT_EQ(frame.top, 34);
    EXPECT_EQ(centredAt(paper, 195 + 92 + 16, 34 + 381 + 10), "100");
    EXPECT_EQ(textOf(paper, "VFI").font.face, "Arial");
    EXPECT_EQ(paper.liveObjectCount(), 0);
}

TEST_F(ProfileGraphs, MonochromePrinterDrawsEveryLineBlack) {
    setValidIndex(VFI, 30, 100);
    setValidIndex(PFI, 25, 85);
    paper.setMonochrome(true);
    ab_paint_grafisk(paper, 0, 50, 750, 1);
    ASSERT_FALSE(paper.lines().empty());
    for (const auto& line : paper.lines()) {
        EXPECT_EQ(line.pen.colour, kBlack);
    }
    for (const auto& shape : paper.shapes()) {
        EXPECT_EQ(shape.pen.colour, kBlack);
    }
    EXPECT_EQ(paper.bitmaps().size(), 2u); // the marker is the same on every device
}

TEST(PolyLine, JoinsOnlyPairsWithBothValues) {
    RecordingDc dc;
    const PlotPoint points[] = {{0, 0, 1}, {10, 10, 2}, {20, 0, 0}, {30, 10, 3}, {40, 0, 4}};
    ab_draw_polyline(dc, points, 5);
    ASSERT_EQ(dc.lines().size(), 2u);
    EXPECT_EQ(dc.lines()[0].x2, 10);
    EXPECT_EQ(dc.lines()[1].x1, 30);
    ab_draw_polyline(dc, points, 1);
    EXPECT_EQ(dc.lines().size(), 2u);
}

} // namespace
