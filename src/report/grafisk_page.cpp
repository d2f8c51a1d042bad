// SPDX-License-Identifier: Apache-2.0
#include "bitmap_ids.h"
#include "index_table.h"
#include "page_tools.h"
#include "profile_graphs.h"
#include "report_pages.h"
#include "subtest_table.h"
#include "text_layout.h"
#include "text_table.h"

#include <string>

// Page 2: the index profile above the scaled-score profile.

namespace {

constexpr Rgb kGraphColour{13, 54, 146};
constexpr const char* kBodyFitText = "Baseras på primärfaktorerna";
constexpr int kBodyFitWidth = 120;
constexpr int kBodyMaxHeight = 16;

// The graphs' own pens, created for one graph and deleted with it: blue, or black on a device
// without colours.
struct GraphPens {
    explicit GraphPens(Dc& dc)
        : dc_(dc), solid(dc.createPen(PenSpec{PenStyle::Solid, 1, colour(dc)})),
          dotted(dc.createPen(PenSpec{PenStyle::Dot, 1, colour(dc)})),
          original(dc.selectObject(solid)) {}
    static Rgb colour(const Dc& dc) { return dc.isMonochrome() ? Rgb{0, 0, 0} : kGraphColour; }
    ~GraphPens() { release(); }
    GraphPens(const GraphPens&) = delete;
    GraphPens& operator=(const GraphPens&) = delete;

    // Selects the pen the dc had before and deletes the graph's pens.
    void release() {
        if (solid == 0) {
            return;
        }
        dc_.selectObject(original);
        dc_.deleteObject(solid);
        dc_.deleteObject(dotted);
        solid = dotted = 0;
    }

    Dc& dc_;
    DcObject solid;
    DcObject dotted;
    DcObject original;
};

// Draws text with its vertical middle at y.
void textCentredOn(Dc& dc, unsigned align, int x, int y, int textHeight, const std::string& s) {
    textAligned(dc, align, x, y - textHeight / 2, s);
}

// The graph title in its own font, centred at x; the body font is selected again afterwards.
void graphTitle(Dc& dc, int x, int top, unsigned short id) {
    SelectedObject font(dc, ab_font_fit_width(dc, 16, 0, 0, 0, "Arial", 220));
    textAligned(dc, TextAlign::Center, x, top, text(id));
}

// "title: VFI 104, PFI 100, ...": what a graph shows, as its description.
std::string graphLabel(unsigned short titleId, const char* const* labels, const int* values,
                       int count) {
    std::string label = text(titleId) + ":";
    for (int i = 0; i < count; ++i) {
        label += (i == 0 ? " " : ", ") + std::string(labels[i]) + " " + scoreText(values[i], 0);
    }
    return label;
}

void drawOutline(Dc& dc, int left, int top, int right, int bottom) {
    const DcObject brush = dc.selectObject(dc.stockObject(StockObject::NullBrush));
    dc.rectangle(left, top, right, bottom);
    dc.selectObject(brush);
}

} // namespace

void ab_draw_marker(Dc& dc, int x, int y) {
    const DcObject marker = dc.loadBitmap(kBitmapMarker);
    if (marker == 0) {
        return;
    }
    const DcSize size = dc.bitmapSize(marker);
    dc.drawBitmap(marker, x - size.cx / 2, y - size.cy / 2);
    dc.deleteObject(marker);
}

void ab_draw_polyline(Dc& dc, const PlotPoint* points, int n) {
    for (int i = 0; i + 1 < n; ++i) {
        if (points[i].value != 0 && points[i + 1].value != 0) {
            drawLine(dc, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
        }
    }
}

int ab_paint_indexprofil(Dc& dc, int x, int y, int width, int height, int printing) {
    if (printing == 0) {
        x -= 20;
    }
    const TestOccasion& occasion = testOccasion();
    const int tm = dc.textMetrics().height;
    const int c = width / 15;
    const int r = (height - 4 * tm) / 111;
    const int a = x + (5 * c + 20) / 2;  // ⌊2.5 c + 10⌋
    const int e = x + (19 * c - 20) / 2; // ⌊9.5 c − 10⌋
    const auto scaleY = [&](int v) { return y + height - r / 2 - (v - 44) * r; };

    static const char* const kLabels[kIndexCount] = {"VFI", "PFI", "AI", "SI", "HIK", "GAI"};
    int values[kIndexCount];
    for (int i = 0; i < kIndexCount; ++i) {
        values[i] = hasIndexScore(occasion.indexes[i]) ? occasion.indexes[i].IK : 0;
    }
    const DcMarkScope graphic(dc, {DcMark::Graphic, graphLabel(249, kLabels, values, kIndexCount)});
    GraphPens pens(dc);
    drawOutline(dc, a - 30, y, e, y + height + 30);
    graphTitle(dc, a + 3 * c - 5, y + 5, 249);

    PlotPoint points[kIndexCount];
    for (int i = 0; i < kIndexCount; ++i) {
        const int value = values[i];
        const int xi = a + c / 2 + i * c;
        points[i] = PlotPoint{xi, scaleY(value), value};
        textAligned(dc, TextAlign::Center, xi, y + height, kLabels[i]);
        textAligned(dc, TextAlign::Center, xi, y + height + 10, scoreText(value, 0));
    }

    for (int v = 45; v <= 155; v += 5) {
        textCentredOn(dc, TextAlign::Right, a - 3, scaleY(v), tm, std::to_string(v));
    }
    dc.selectObject(pens.dotted);
    for (const int v : {70, 85, 115, 130}) {
        drawLine(dc, a, scaleY(v), e, scaleY(v));
    }
    dc.selectObject(pens.solid);

    for (const PlotPoint& point : points) {
        if (point.value != 0) {
            ab_draw_marker(dc, point.x, point.y);
        }
    }
    ab_draw_polyline(dc, points, 4); // HIK and GAI stand alone
    return y + height;
}

int ab_paint_skalpoangsprofil(Dc& dc, int x, int y, int width, int height, int printing) {
    if (printing == 0) {
        x -= 20;
    }
    const TestOccasion& occasion = testOccasion();
    const int tm = dc.textMetrics().height;
    const int c = width / 14;
    const int r = (height - 4 * tm) / 20;
    const int L = x + 2 * c;
    const int R = x + 17 * c;
    const auto scaleY = [&](int v) { return y + height - r / 2 - v * r; };

    static const struct {
        const char* label;
        int subscale;
    } kColumns[] = {
        {"Li", SUB_LIKHETER},         {"Or", SUB_ORDFORRAD},     {"In", SUB_INFORMATION},
        {"(Fö)", SUB_FORSTAELSE},     {"Bl", SUB_BLOCKMONSTER},  {"Ma", SUB_MATRISER},
        {"Vp", SUB_VISUELLAPUSSEL},   {"(Fv)", SUB_FIGURVIKTER}, {"(Bk)", SUB_BILDKOMPLETTERING},
        {"Sr", SUB_SIFFERREPETITION}, {"Ar", SUB_ARITMETIK},     {"(Bs)", SUB_BSS},
        {"Sy", SUB_SYMBOLLETNING},    {"Ko", SUB_KODNING},       {"(Ös)", SUB_OVERSTRYKNING},
    };
    constexpr int kColumnCount = static_cast<int>(std::size(kColumns));
    const char* columnLabels[kColumnCount];
    int values[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i) {
        columnLabels[i] = kColumns[i].label;
        values[i] = occasion.ScaledScores[kColumns[i].subscale];
    }
    dc.beginMark({DcMark::Graphic, graphLabel(131, columnLabels, values, kColumnCount)});
    GraphPens pens(dc);
    {
        // The band of the mean scaled score 10, under the frame and its labels.
        SelectedObject white(dc, dc.createBrush(BrushSpec{BrushStyle::Solid, {255, 255, 255}}));
        const int meanTop = y + height - 10 * r - r / 2 - tm / 2 - 2;
        dc.rectangle(L - 15, meanTop, R + 14, meanTop + r);
    }
    drawLine(dc, L, y - 42, L, y + height);
    drawLine(dc, R, y - 42, R, y + height);
    drawLine(dc, L, y - 42, R, y - 42);
    drawLine(dc, L, y + height, R, y + height);
    for (const int divider : {6 * c, 11 * c, 14 * c}) {
        drawLine(dc, x + divider - 1, y - tm, x + divider - 1, y + height);
    }
    drawLine(dc, L, y - tm, R, y - tm);

    graphTitle(dc, x + 19 * c / 2 - 1, y - 37, 131);
    const struct {
        unsigned short name;
        int twiceCentre; // centre from x, in half columns
    } groups[] = {{221, 8}, {222, 17}, {223, 25}, {224, 31}};
    for (const auto& group : groups) {
        textAligned(dc, TextAlign::Center, x + group.twiceCentre * c / 2 - 1, y - 3,
                    text(group.name));
    }

    PlotPoint points[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i) {
        const int value = values[i];
        const int xi = L + c / 2 + i * c;
        points[i] = PlotPoint{xi, scaleY(value), value};
        textAligned(dc, TextAlign::Center, xi, y + tm + 5, kColumns[i].label);
        textAligned(dc, TextAlign::Center, xi, y + 2 * tm + 5, scoreText(value, 0));
    }
    drawLine(dc, L, y + 4 * tm, R, y + 4 * tm);

    for (const unsigned short id : {112, 113}) {
        const int top = y + r + tm / 2 + (id == 113 ? tm : 0);
        textAligned(dc, TextAlign::Right, L - 3, top, text(id));
        textAligned(dc, TextAlign::Left, R + 2, top, text(id));
    }
    for (int v = 1; v <= 19; ++v) {
        textCentredOn(dc, TextAlign::Right, L - 3, scaleY(v), tm, std::to_string(v));
        textCentredOn(dc, TextAlign::Left, R + 2, scaleY(v), tm, std::to_string(v));
    }
    dc.selectObject(pens.dotted);
    for (const int v : {4, 7, 13, 16}) {
        drawLine(dc, L, scaleY(v), R, scaleY(v));
    }
    dc.selectObject(pens.solid);
    for (const PlotPoint& point : points) {
        if (point.value != 0) {
            ab_draw_marker(dc, point.x, point.y);
        }
    }

    // Each index group is joined by itself, in the pen the caller had selected.
    pens.release();
    const int groupStarts[] = {0, 4, 9, 12, kColumnCount};
    for (int g = 0; g < 4; ++g) {
        ab_draw_polyline(dc, points + groupStarts[g], groupStarts[g + 1] - groupStarts[g]);
    }
    dc.endMark();

    if (showsNote633(occasion.normDescription) != 0) {
        SelectedObject font(dc, dc.createFont(pageFont(12, false, false, printing)));
        const DcMarkScope note(dc, {DcMark::Note});
        ab_text_wrap(dc, y + height + 3, text(633).c_str(), L, R, 1, 0);
    }
    return y + height;
}

int ab_paint_grafisk(Dc& dc, int top, int left, int right, int printing) {
    if (printing == 0) {
        top += 20;
    }
    dc.setBkMode(BackgroundMode::Transparent);
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    const DcMarkScope page(dc, {DcMark::Page, text(164)});
    int t = 0;
    {
        SelectedObject title(dc, dc.createFont(pageFont(20, true, false, printing)));
        const DcMarkScope heading(dc, {DcMark::Heading, {}, 1});
        t = ab_text_wrap(dc, top, text(164).c_str(), left, right, 1, 0);
    }
    int b = 0;
    {
        // The largest Arial up to 16 in which the fit text is at most 120 units wide.
        SelectedObject body(
            dc, ab_font_fit_sample_width(dc, faceFont(kBodyMaxHeight, false, false, "Arial"),
                                         kBodyFitText, kBodyFitWidth));
        b = ab_paint_indexprofil(dc, left + 145, t + 10, 500, 381, printing);
        b = ab_paint_skalpoangsprofil(dc, left, b + 102, 500, 330, printing);
        dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    }
    return b + 50;
}
