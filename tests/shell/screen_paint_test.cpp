// SPDX-License-Identifier: Apache-2.0
#include "bitmap_ids.h"
#include "clock.h"
#include "recording_dc.h"
#include "screen_paint.h"
#include "screen_resources.h"
#include "shell_state.h"
#include "stavro.h"
#include "test_occasion.h"
#include "text_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A recording dc set up as the main window's paint handler leaves it: the control font and the
// background brush selected, the background colour set.
class ScreenPaint : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const BitmapResource& resource : kBitmapResources) {
            dc_.addBitmapResource(resource.id, resource.width, resource.height);
        }
        controlFont_ = dc_.createFont(controlFontSpec());
        dc_.selectObject(controlFont_);
        dc_.selectObject(dc_.createBrush(backgroundBrushSpec()));
        dc_.setBkColor(kBackgroundColour);
        entryPen_ = dc_.selectedPen();
        entryBrush_ = dc_.selectedBrush();
        entryObjects_ = dc_.liveObjectCount();
        mainClientArea() = DcSize{800, 600};
        bottomRef() = 600;
    }

    // Every routine leaves the selection as it found it and deletes what it made.
    void expectRestored() {
        EXPECT_EQ(dc_.selectedFont(), controlFont_);
        EXPECT_EQ(dc_.selectedPen(), entryPen_);
        EXPECT_EQ(dc_.selectedBrush(), entryBrush_);
        EXPECT_EQ(dc_.liveObjectCount(), entryObjects_);
    }

    const RecordingDc::Text* findText(const std::string& text) const {
        for (const RecordingDc::Text& drawn : dc_.texts()) {
            if (drawn.text == text) {
                return &drawn;
            }
        }
        return nullptr;
    }

    RecordingDc dc_;
    DcObject controlFont_ = 0;
    DcObject entryPen_ = 0;
    DcObject entryBrush_ = 0;
    int entryObjects_ = 0;
};

std::size_t characterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

std::string withoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

TEST_F(ScreenPaint, StartScreenIsItsPictureAndTheWrappedNotice) {
    ab_paint_start(dc_);
    ASSERT_EQ(dc_.bitmaps().size(), 1u);
    const RecordingDc::Bitmap& picture = dc_.bitmaps()[0];
    EXPECT_EQ(picture.resourceId, kBitmapStartScreen);
    EXPECT_EQ(picture.x, 0);
    EXPECT_EQ(picture.y, -20);
    EXPECT_EQ(picture.width, 799);
    EXPECT_EQ(picture.height, 598);
    EXPECT_FALSE(picture.stretched);
    EXPECT_TRUE(dc_.shapes().empty()); // no frame on the start screen

    ASSERT_GE(dc_.texts().size(), 2u);
    const int step = 14 + 1 + 2; // Arial 14: height plus external leading plus 2
    std::string all;
    for (std::size_t i = 0; i < dc_.texts().size(); ++i) {
        const RecordingDc::Text& line = dc_.texts()[i];
        EXPECT_EQ(line.x, 210);
        EXPECT_EQ(line.y, 493 + static_cast<int>(i) * step);
        EXPECT_EQ(line.font.face, "Arial");
        EXPECT_EQ(line.font.height, 14);
        EXPECT_EQ(line.colour, kTextColour);
        EXPECT_EQ(line.bkMode, BackgroundMode::Transparent);
        const int characters = static_cast<int>(characterCount(line.text));
        // The line fits between x 210 and 780; a closing blank may overhang.
        EXPECT_LE((characters - 1) * RecordingDc::characterWidth(line.font), 780 - 210);
        all += line.text;
    }
    const std::string version = "Feb 13 2011/" + std::to_string(cDoDllVersion()) + ".";
    EXPECT_EQ(withoutBlanks(all), withoutBlanks(text(37) + text(36) + version));
    EXPECT_NE(all.find("Datorversion 1.0/ Feb 13 2011/50512."), std::string::npos);
    expectRestored();
}

// With imported norms the warning about synthetic norms goes; the program's name stays.
TEST_F(ScreenPaint, StartScreenWithImportedNormsDropsTheSyntheticWarning) {
    syntheticNorms() = false;
    ab_paint_start(dc_);
    syntheticNorms() = true;
    std::string all;
    for (const RecordingDc::Text& line : dc_.texts()) {
        all += line.text;
    }
    const std::string version = "Feb 13 2011/" + std::to_string(cDoDllVersion()) + ".";
    EXPECT_EQ(withoutBlanks(all), withoutBlanks("RIVO-IV för Linux. " + text(36) + version));
    EXPECT_EQ(all.find("syntetisk"), std::string::npos);
    expectRestored();
}

TEST_F(ScreenPaint, FrameAndStripFollowTheClientArea) {
    mainClientArea() = DcSize{640, 480};
    ab_paint_frame(dc_, 83);
    ASSERT_EQ(dc_.shapes().size(), 5u);
    const int work = 480 - 83;
    const int expected[5][4] = {{0, 0, 10, work},
                                {630, 0, 640, work},
                                {0, 0, 640, 10},
                                {0, work - 10, 640, work},
                                {0, work, 640, 480}};
    for (int i = 0; i < 5; ++i) {
        const RecordingDc::Shape& shape = dc_.shapes()[static_cast<std::size_t>(i)];
        EXPECT_EQ(shape.kind, RecordingDc::ShapeKind::Rectangle);
        EXPECT_EQ(shape.left, expected[i][0]) << i;
        EXPECT_EQ(shape.top, expected[i][1]) << i;
        EXPECT_EQ(shape.right, expected[i][2]) << i;
        EXPECT_EQ(shape.bottom, expected[i][3]) << i;
        const Rgb colour = i < 4 ? kFrameColour : kBottomStripColour;
        EXPECT_EQ(shape.brush.colour, colour) << i;
        EXPECT_EQ(shape.pen.colour, colour) << i;
        EXPECT_EQ(shape.pen.width, 1);
    }
    expectRestored();
}

TEST_F(ScreenPaint, CornerPicturesHangFromTheRightAndFromBottomRef) {
    bottomRef() = 700;
    ab_paint_corner_bitmaps(dc_);
    ASSERT_EQ(dc_.bitmaps().size(), 2u);
    EXPECT_EQ(dc_.bitmaps()[0].resourceId, kBitmapTopCorner);
    EXPECT_EQ(dc_.bitmaps()[0].x, 789 - 86);
    EXPECT_EQ(dc_.bitmaps()[0].y, 4);
    EXPECT_EQ(dc_.bitmaps()[1].resourceId, kBitmapBottomCorner);
    EXPECT_EQ(dc_.bitmaps()[1].x, 788 - 160);
    EXPECT_EQ(dc_.bitmaps()[1].y, 700 - 52 - 40);
    expectRestored();
}

TEST_F(ScreenPaint, PersonalDataLabelsHintsAndMarks) {
    setFixedToday(DateValue{2011, 2, 13});
    testOccasion().TD_TESTDATE = DateValue{2000, 1, 1};
    dc_.setTextAlign(TextAlign::Left);
    ab_paint_personal_data(dc_);
    EXPECT_EQ(testOccasion().TD_TESTDATE, (DateValue{2011, 2, 13}));
    clearFixedToday();

    const RecordingDc::Text* title = findText("Information om testpersonen");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 105);
    EXPECT_EQ(title->y, 75);
    EXPECT_EQ(title->font.height, 20);
    EXPECT_EQ(title->font.weight, kFontWeightBold);

    struct Expected {
        const char* text;
        int x;
        int y;
    };
    for (const Expected label :
         {Expected{"Namn", 100, 125}, Expected{"Övrigt", 100, 365},
          Expected{"Testledare", 100, 335}, Expected{"Födelsedatum", 600, 155},
          Expected{"Hänthet", 600, 245}}) {
        const RecordingDc::Text* drawn = findText(label.text);
        ASSERT_NE(drawn, nullptr) << label.text;
        EXPECT_EQ(drawn->x, label.x) << label.text;
        EXPECT_EQ(drawn->y, label.y) << label.text;
        EXPECT_EQ(drawn->align, TextAlign::Right) << label.text;
        EXPECT_EQ(drawn->font.face, controlFontSpec().face) << label.text;
    }
    const RecordingDc::Text* hint = findText("(År.Månader.Dagar)");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->x, 670);
    EXPECT_EQ(hint->align, TextAlign::Left);
    EXPECT_EQ(hint->font.height, 14);
    int dateHints = 0;
    int marks = 0;
    for (const RecordingDc::Text& drawn : dc_.texts()) {
        dateHints += drawn.text == "(ÅÅÅÅMMDD)" && drawn.x == 690 ? 1 : 0;
        if (drawn.text == "*") {
            ++marks;
            EXPECT_EQ(drawn.font.height, 12);
            EXPECT_EQ(drawn.align, TextAlign::Left);
        }
    }
    EXPECT_EQ(dateHints, 2);
    EXPECT_EQ(marks, 6);
    EXPECT_EQ(dc_.shapes().size(), 5u); // the frame
    EXPECT_EQ(dc_.bitmaps().size(), 2u);
    EXPECT_EQ(dc_.textAlign(), TextAlign::Left);
    expectRestored();
}

TEST_F(ScreenPaint, EarlierTestsHeadingAndInstruction) {
    ab_paint_earlier_tests(dc_);
    ASSERT_EQ(dc_.texts().size(), 3u);
    EXPECT_EQ(dc_.texts()[0].text, "Tidigare test");
    EXPECT_EQ(dc_.texts()[0].font.height, 20);
    EXPECT_EQ(dc_.texts()[1].text, text(7));
    EXPECT_EQ(dc_.texts()[1].y, 53);
    EXPECT_EQ(dc_.texts()[1].font.face, controlFontSpec().face);
    EXPECT_EQ(dc_.texts()[2].y, 70);
    expectRestored();
}

} // namespace
