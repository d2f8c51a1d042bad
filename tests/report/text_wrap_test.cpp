// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"
#include "text_layout.h"

#include <gtest/gtest.h>

namespace {

// With a font of cell height 16 the recording dc gives characters 8 wide and an external leading
// of 2, so lines are 16 + 2 + 2 = 20 apart and x to x + 80 holds ten characters.
class TextWrap : public ::testing::Test {
  protected:
    void SetUp() override {
        FontSpec spec;
        spec.height = 16;
        spec.face = "Arial";
        font_ = dc_.createFont(spec);
        dc_.selectObject(font_);
    }

    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        for (const RecordingDc::Text& text : dc_.texts()) {
            result.push_back(text.text);
        }
        return result;
    }

    RecordingDc dc_;
    DcObject font_ = 0;
};

constexpr int kStep = 20;

TEST_F(TextWrap, EmptyTextOrBlanksOnlyTakeOneLineAndDrawNothing) {
    EXPECT_EQ(ab_text_wrap(dc_, 100, "", 0, 80, 1, 0), 100 + kStep);
    EXPECT_EQ(ab_text_wrap(dc_, 100, "     ", 0, 80, 1, 0), 100 + kStep);
    EXPECT_TRUE(dc_.texts().empty());
}

TEST_F(TextWrap, TextThatFitsIsOneLineAtItsStart) {
    EXPECT_EQ(ab_text_wrap(dc_, 40, "Kort text", 10, 500, 1, 0), 40 + kStep);
    ASSERT_EQ(dc_.texts().size(), 1u);
    EXPECT_EQ(dc_.texts()[0].x, 10);
    EXPECT_EQ(dc_.texts()[0].y, 40);
    EXPECT_EQ(dc_.texts()[0].text, "Kort text");
}

TEST_F(TextWrap, ThreeLinesEachKeepingTheBlankAfterTheirLastWord) {
    EXPECT_EQ(ab_text_wrap(dc_, 0, "aaaa bbbb cccc dddd eeee ffff", 0, 80, 1, 0), 3 * kStep);
    EXPECT_EQ(lines(), (std::vector<std::string>{"aaaa bbbb ", "cccc dddd ", "eeee ffff"}));
    for (std::size_t i = 0; i < dc_.texts().size(); ++i) {
        EXPECT_EQ(dc_.texts()[i].x, 0);
        EXPECT_EQ(dc_.texts()[i].y, static_cast<int>(i) * kStep);
    }
}

TEST_F(TextWrap, LineThatFillsTheRoomExactlyGivesItsLastWordBack) {
    // "aaaa bbbbb" is exactly 80 wide: a width that reaches the limit does not fit.
    EXPECT_EQ(ab_text_wrap(dc_, 0, "aaaa bbbbb cc", 0, 80, 1, 0), 2 * kStep);
    EXPECT_EQ(lines(), (std::vector<std::string>{"aaaa ", "bbbbb cc"}));
}

TEST_F(TextWrap, MeasuringOnlyGivesTheSameHeightAndDrawsNothing) {
    const char* text = "aaaa bbbb cccc dddd eeee ffff gg";
    const int measured = ab_text_wrap(dc_, 7, text, 0, 80, 0, 0);
    EXPECT_TRUE(dc_.texts().empty());
    EXPECT_EQ(measured, ab_text_wrap(dc_, 7, text, 0, 80, 1, 0));
    EXPECT_EQ(dc_.texts().size(), 4u);
}

TEST_F(TextWrap, RightAlignedLinesAllEndAtX) {
    dc_.setTextAlign(TextAlign::Right);
    ab_text_wrap(dc_, 0, "aaaa bbbb cccc", 300, 380, 1, 0);
    ASSERT_EQ(dc_.texts().size(), 2u);
    for (const RecordingDc::Text& text : dc_.texts()) {
        EXPECT_EQ(text.x, 300);
        EXPECT_EQ(text.align, TextAlign::Right);
    }
}

TEST_F(TextWrap, OverLongWordStandsAloneAndWhole) {
    EXPECT_EQ(ab_text_wrap(dc_, 0, "ab sjukskrivningsperiod cd", 0, 80, 1, 0), 3 * kStep);
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab ", "sjukskrivningsperiod ", "cd"}));
}

TEST_F(TextWrap, ContinuationLinesStartAtNextXWithTheirOwnRoom) {
    // The first line has room for 10 characters, the following ones (from x 40) for 5.
    ab_text_wrap(dc_, 0, "aaaa bbbb cc dd e", 0, 80, 1, 40);
    EXPECT_EQ(lines(), (std::vector<std::string>{"aaaa bbbb ", "cc ", "dd e"}));
    EXPECT_EQ(dc_.texts()[0].x, 0);
    EXPECT_EQ(dc_.texts()[1].x, 40);
    EXPECT_EQ(dc_.texts()[2].x, 40);
}

TEST_F(TextWrap, BlanksAreSkippedOnlyAtLineStartsAndJustificationIsCleared) {
    dc_.setTextJustification(5, 2);
    ab_text_wrap(dc_, 0, "   ab   cd", 0, 200, 1, 0);
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab   cd"}));
    EXPECT_EQ(dc_.justificationExtra(), 0);
}

TEST_F(TextWrap, UsesTheSelectedFontsMetricsForTheStep) {
    FontSpec big;
    big.height = 24; // external leading 3: step 29
    const DcObject font = dc_.createFont(big);
    dc_.selectObject(font);
    EXPECT_EQ(ab_text_wrap(dc_, 10, "text", 0, 500, 1, 0), 10 + 24 + 3 + 2);
    EXPECT_EQ(dc_.texts()[0].font.height, 24);
}

} // namespace
