// SPDX-License-Identifier: Apache-2.0
#include "analysis_page_fixture.h"

namespace {

using AgeBandProblemTest = AnalysisPageTest;

TEST_F(AgeBandProblemTest, ShowsError1445OncePerCallOnlyForABandOutsideThe13) {
    for (const char* band : {"16-17 år", "85-90 år"}) {
        setBand(band);
        EXPECT_EQ(reportAgeBandProblem(), 1) << band;
    }
    EXPECT_TRUE(messages.requests().empty());

    for (const char* band : {"Referensgrupp", "", "90-94 år"}) {
        messages.clear();
        setBand(band);
        EXPECT_EQ(reportAgeBandProblem(), 0) << band;
        ASSERT_EQ(messages.requests().size(), 1u) << band;
        EXPECT_EQ(messages.requests()[0].text,
                  "Error 1445 i normgruppselektering. Kontakta programleverantören.");
        EXPECT_EQ(messages.requests()[0].caption, "RIVO-IV");
        EXPECT_EQ(messages.requests()[0].buttons, MessageButtons::Ok);
    }
}

using AnalysisPainterTest = AnalysisPageTest;

// Both pages leave the device context as they found it: font, pen, alignment and background mode
// restored, every font they made deleted.
TEST_F(AnalysisPainterTest, PagesRestoreTheDcAndDeleteTheirFonts) {
    using Painter = int (*)(Dc&, int, int, int, int);
    for (const Painter paint : {&ab_paint_analyser, &ab_paint_analyser_prosess}) {
        for (const int printing : {0, 1}) {
            RecordingDc device(printing != 0);
            const DcObject font = device.createFont(FontSpec{10, 0, false, false, "Arial"});
            const DcObject pen = device.createPen(PenSpec{PenStyle::Dot, 2, Rgb{200, 0, 0}});
            device.selectObject(font);
            device.selectObject(pen);
            device.setTextAlign(TextAlign::Center | TextAlign::Baseline);
            paint(device, 0, 50, 600, printing);
            EXPECT_EQ(device.selectedFont(), font);
            EXPECT_EQ(device.selectedPen(), pen);
            EXPECT_EQ(device.textAlign(), TextAlign::Center | TextAlign::Baseline);
            EXPECT_EQ(device.bkMode(), BackgroundMode::Opaque);
            EXPECT_EQ(device.liveObjectCount(), 2);
            EXPECT_FALSE(device.texts().empty());
        }
    }
}

} // namespace
