// SPDX-License-Identifier: Apache-2.0
#include "occasion_fixture.h"
#include "qpainter_dc.h"
#include "report_pages.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

// The two analysis pages drawn with real fonts onto an image, saved to the screenshots folder
// to be looked at.

namespace {

constexpr Subscale kCore[10] = {
    SUB_BLOCKMONSTER, SUB_LIKHETER,      SUB_SIFFERREPETITION, SUB_MATRISER,    SUB_ORDFORRAD,
    SUB_ARITMETIK,    SUB_SYMBOLLETNING, SUB_VISUELLAPUSSEL,   SUB_INFORMATION, SUB_KODNING};

struct Ink {
    int right = -1;  // rightmost column with a dark pixel
    int bottom = -1; // lowest row with a dark pixel
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink.right = std::max(ink.right, x);
                ink.bottom = y;
            }
        }
    }
    return ink;
}

class AnalysisPagesImage : public OccasionTest {
  protected:
    void SetUp() override {
        OccasionTest::SetUp();
        resultsView() = ResultsView{};
        setBand("45-54 år");
        const int core[10] = {12, 11, 10, 9, 13, 8, 14, 10, 12, 7};
        for (int i = 0; i < 10; ++i) {
            setScaled(kCore[i], core[i]);
        }
        setSums(VFI, 11 + 13 + 12, 3, 114);
        setSums(PFI, 12 + 9 + 10, 3, 101);
        setSums(AI, 10 + 8, 2, 92);
        setSums(SI, 14 + 7, 2, 103);
        setSums(HIK, 106, 10, 104);
        setSums(GAI, 67, 6, 108);
        setScaled(SUB_BUT, 10);
        setScaled(SUB_SF, 9);
        setScaled(SUB_SB, 12);
        setScaled(SUB_SS, 8);
        occasion().RawScores[RAW_SRLFRAM] = 6;
        occasion().RawScores[RAW_SRLBAK] = 5;
        occasion().RawScores[RAW_SSO] = 7;
        occasion().RawScores[RAW_BO] = 6;
    }

    static void setSums(IndexKey key, int sum, int count, int ik) {
        occasion().indexes[key].sum = sum;
        occasion().indexes[key].count = count;
        setIndex(key, ik);
    }

    // Paints one page at top 0 onto a white image of the results window's width, saves it and
    // returns the painter's bottom together with where the ink ends.
    std::pair<int, Ink> render(int (*painter)(Dc&, int, int, int, int), int printing,
                               const char* fileName) {
        QImage image(800, 900, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter qpainter(&image);
        QPainterDc dc(qpainter, printing != 0);
        const int bottom = painter(dc, 0, 50, printing != 0 ? 750 : 600, printing);
        qpainter.end();
        const QDir folder(RIVO_SCREENSHOT_DIR);
        folder.mkpath(".");
        EXPECT_TRUE(image.save(folder.filePath(fileName), "PNG"));
        return {bottom, inkOf(image)};
    }
};

TEST_F(AnalysisPagesImage, PagesDrawAboveTheBottomTheyReportAndInsideTheTables) {
    struct Page {
        int (*painter)(Dc&, int, int, int, int);
        int printing;
        const char* file;
    };
    const Page pages[] = {
        {&ab_paint_analyser, 0, "analysis_page.png"},
        {&ab_paint_analyser_prosess, 0, "process_page.png"},
        {&ab_paint_analyser, 1, "analysis_page_paper.png"},
        {&ab_paint_analyser_prosess, 1, "process_page_paper.png"},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.file);
        const auto [bottom, ink] = render(page.painter, page.printing, page.file);
        ASSERT_GT(ink.bottom, 0);
        EXPECT_LE(ink.bottom, bottom);
        EXPECT_GT(ink.bottom, bottom - 20); // the bottom is that of the last text drawn
        // Nothing beyond the tables' right rule, except the notes on paper (up to right - 10).
        EXPECT_LE(ink.right, page.printing != 0 ? 740 : 50 + 670);
    }
    EXPECT_TRUE(messages.requests().empty());
}

} // namespace
