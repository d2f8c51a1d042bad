// SPDX-License-Identifier: Apache-2.0
#include "raw_score_paint.h"

#include "bitmap_ids.h"
#include "raw_score_fields.h"
#include "recording_dc.h"
#include "screen_resources.h"
#include "shell_state.h"
#include "text_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RawScorePaint : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const BitmapResource& resource : kBitmapResources) {
            dc_.addBitmapResource(resource.id, resource.width, resource.height);
        }
        font_ = dc_.createFont(controlFontSpec());
        dc_.selectObject(font_);
        objects_ = dc_.liveObjectCount();
        mainClientArea() = DcSize{800, 600};
        bottomRef() = 600;
        ab_paint_raw_scores(dc_);
    }
    const RecordingDc::Text* find(const std::string& text, int x, int y = -1) const {
        for (const RecordingDc::Text& drawn : dc_.texts()) {
            if (drawn.text == text && drawn.x == x && (y < 0 || drawn.y == y)) {
                return &drawn;
            }
        }
        return nullptr;
    }
    RecordingDc dc_;
    DcObject font_ = 0;
    int objects_ = 0;
};

TEST_F(RawScorePaint, NumberedSubtestTitlesInTwoColumns) {
    const int y[15] = {28, 103, 148, 343, 388, 433, 28, 73, 118, 163, 208, 283, 328, 373, 418};
    for (int i = 0; i < 15; ++i) {
        const bool left = i < 6;
        const RecordingDc::Text* title =
            find(text(static_cast<unsigned short>(61 + i)), left ? 180 : 480);
        ASSERT_NE(title, nullptr) << i;
        EXPECT_EQ(title->y, y[i]);
        EXPECT_EQ(title->font.height, 16);
        EXPECT_EQ(title->font.weight, 700);
        EXPECT_EQ(title->colour, (Rgb{30, 86, 159}));
        const RecordingDc::Text* number = find(std::to_string(i + 1) + ".", left ? 177 : 477);
        ASSERT_NE(number, nullptr) << i;
        EXPECT_EQ(number->y, y[i]);
        EXPECT_EQ(number->align & TextAlign::HorizontalMask, TextAlign::Right);
    }
}

TEST_F(RawScorePaint, MaximumLabelBesideEveryField) {
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        // Several maxima read alike ("(max = 26)"), so each is looked for at its own place.
        const RecordingDc::Text* label = find(text(kRawScoreFields[field].label),
                                              field < 12 ? 222 : 522, kRawScoreFields[field].y + 7);
        ASSERT_NE(label, nullptr) << field;
        EXPECT_EQ(label->font.height, 14);
        EXPECT_EQ(label->colour, (Rgb{0, 0, 0}));
    }
    EXPECT_EQ(kRawScoreFields[15].x, 485); // Kodning's wider field starts further left
}

TEST_F(RawScorePaint, TitleIsANarrowColumnAndEverythingIsRestored) {
    int titleLines = 0;
    for (const RecordingDc::Text& drawn : dc_.texts()) {
        if (drawn.font.height == 18) {
            ++titleLines;
            EXPECT_EQ(drawn.x, 20);
            EXPECT_GE(drawn.y, 26);
        }
    }
    EXPECT_GE(titleLines, 3); // "Fyll i råpoäng för respektive deltest" wrapped at x 140
    EXPECT_EQ(dc_.bitmaps().size(), 2u); // the corner pictures
    EXPECT_EQ(dc_.selectedFont(), font_);
    EXPECT_EQ(dc_.liveObjectCount(), objects_);
}

} // namespace
