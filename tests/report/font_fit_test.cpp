// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"
#include "text_layout.h"

#include <gtest/gtest.h>

namespace {

// The recording dc makes the 28-character sample 28 * ((h + 1) / 2) wide and h high.
class FontFit : public ::testing::Test {
  protected:
    FontSpec specOf(DcObject font) {
        const DcObject previous = dc_.selectObject(font);
        FontSpec spec = dc_.currentFont();
        dc_.selectObject(previous);
        return spec;
    }

    RecordingDc dc_;
};

TEST_F(FontFit, WidthShrinksTheHeightUntilTheSampleFits) {
    const DcObject entry = dc_.selectedFont();
    const DcObject font = ab_font_fit_width(dc_, 16, 1, 1, 0, "Times New Roman", 220);
    EXPECT_EQ(dc_.selectedFont(), entry);
    EXPECT_EQ(dc_.liveObjectCount(), 1); // only the returned font is left
    const FontSpec spec = specOf(font);
    EXPECT_EQ(spec.height, 14); // 16 and 15 give 224, 14 gives 196
    EXPECT_EQ(spec.weight, kFontWeightBold);
    EXPECT_TRUE(spec.italic);
    EXPECT_FALSE(spec.underline);
    EXPECT_EQ(spec.face, "Times New Roman");
    EXPECT_EQ(spec.family, FontFamily::Roman);
}

TEST_F(FontFit, FontThatFitsKeepsItsHeightAndDefaultWeight) {
    const DcObject font = ab_font_fit_width(dc_, 16, 0, 0, 1, "Arial", 224);
    const FontSpec spec = specOf(font);
    EXPECT_EQ(spec.height, 16);
    EXPECT_EQ(spec.weight, kFontWeightDefault);
    EXPECT_TRUE(spec.underline);
}

TEST_F(FontFit, NeverBelowHeightOne) {
    const DcObject entry = dc_.selectedFont();
    const DcObject wide = ab_font_fit_width(dc_, 16, 0, 0, 0, "Arial", 5);
    const DcObject high = ab_font_fit_height(dc_, 16, 0, 0, 0, "Arial", 0);
    EXPECT_EQ(specOf(wide).height, 1);
    EXPECT_EQ(specOf(high).height, 1);
    EXPECT_EQ(dc_.selectedFont(), entry);
    EXPECT_EQ(dc_.liveObjectCount(), 2);
}

TEST_F(FontFit, HeightComparesTheSampleHeight) {
    const DcObject entry = dc_.selectedFont();
    const DcObject font = ab_font_fit_height(dc_, 13, 0, 0, 0, "Arial", 12);
    EXPECT_EQ(specOf(font).height, 12);
    EXPECT_EQ(dc_.selectedFont(), entry);
    EXPECT_TRUE(dc_.deleteObject(font)); // the caller owns it and can delete it
    EXPECT_EQ(dc_.liveObjectCount(), 0);
}

} // namespace
