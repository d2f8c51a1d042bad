// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"

#include <gtest/gtest.h>

namespace {

TEST(DcObjects, SelectReturnsThePreviousObjectOfTheSameKind) {
    RecordingDc dc;
    const DcObject systemFont = dc.selectedFont();
    const DcObject pen = dc.createPen(PenSpec{PenStyle::Dot, 2, Rgb{1, 2, 3}});
    const DcObject font = dc.createFont(FontSpec{12, 0, false, false, "Arial", FontFamily::Swiss});
    EXPECT_EQ(dc.selectObject(pen), dc.stockObject(StockObject::BlackPen));
    EXPECT_EQ(dc.selectObject(font), systemFont);
    EXPECT_EQ(dc.currentPen().style, PenStyle::Dot);
    EXPECT_EQ(dc.currentFont().face, "Arial");
    EXPECT_EQ(dc.selectObject(systemFont), font);
    EXPECT_EQ(dc.selectObject(12345), 0); // unknown handle: nothing changes
    EXPECT_EQ(dc.selectedFont(), systemFont);
}

TEST(DcObjects, SelectedAndStockObjectsAreNotDeleted) {
    RecordingDc dc;
    const DcObject brush = dc.createBrush(BrushSpec{BrushStyle::Solid, Rgb{9, 9, 9}});
    const DcObject old = dc.selectObject(brush);
    EXPECT_FALSE(dc.deleteObject(brush));
    EXPECT_EQ(dc.liveObjectCount(), 1);
    dc.selectObject(old);
    EXPECT_TRUE(dc.deleteObject(brush));
    EXPECT_FALSE(dc.deleteObject(brush));
    EXPECT_FALSE(dc.deleteObject(dc.stockObject(StockObject::WhiteBrush)));
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST(DcObjects, BitmapsOfKnownResourcesOnly) {
    RecordingDc dc;
    dc.addBitmapResource(245, 86, 86);
    EXPECT_EQ(dc.loadBitmap(999), 0);
    const DcObject bitmap = dc.loadBitmap(245);
    ASSERT_NE(bitmap, 0);
    EXPECT_EQ(dc.bitmapSize(bitmap).cx, 86);
    EXPECT_EQ(dc.selectObject(bitmap), 0); // bitmaps are drawn, not selected
    dc.drawBitmap(bitmap, 3, 4);
    dc.stretchBitmap(bitmap, 0, 0, 10, 20);
    ASSERT_EQ(dc.bitmaps().size(), 2u);
    EXPECT_FALSE(dc.bitmaps()[0].stretched);
    EXPECT_EQ(dc.bitmaps()[0].width, 86);
    EXPECT_TRUE(dc.bitmaps()[1].stretched);
    EXPECT_EQ(dc.bitmaps()[1].height, 20);
}

TEST(RecordingDc, RecordsTextWithItsStateAndMeasuresCharacters) {
    RecordingDc dc;
    const DcObject font = dc.createFont(FontSpec{20, 700, true, false, "Arial", FontFamily::Swiss});
    dc.selectObject(font);
    dc.setTextAlign(TextAlign::Right);
    dc.setTextColor(Rgb{1, 2, 3});
    dc.setBkMode(BackgroundMode::Transparent);
    dc.textOut(100, 50, "Åsa");
    ASSERT_EQ(dc.texts().size(), 1u);
    const RecordingDc::Text& text = dc.texts()[0];
    EXPECT_EQ(text.font.height, 20);
    EXPECT_EQ(text.align, TextAlign::Right);
    EXPECT_EQ(text.colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(text.bkMode, BackgroundMode::Transparent);
    EXPECT_EQ(dc.textExtent("Åsa").cx, 3 * 10); // three characters, four bytes
    EXPECT_EQ(dc.textMetrics().externalLeading, 2);
    EXPECT_EQ(dc.textMetrics().ascent + dc.textMetrics().descent, 20);
}

TEST(RecordingDc, LinesRunFromTheCurrentPositionAndShapesKeepPenAndBrush) {
    RecordingDc dc;
    dc.moveTo(1, 2);
    dc.lineTo(10, 2);
    dc.lineTo(10, 20);
    dc.selectObject(dc.stockObject(StockObject::NullBrush));
    dc.ellipse(0, 0, 8, 8);
    ASSERT_EQ(dc.lines().size(), 2u);
    EXPECT_EQ(dc.lines()[1].x1, 10);
    EXPECT_EQ(dc.lines()[1].y1, 2);
    ASSERT_EQ(dc.shapes().size(), 1u);
    EXPECT_EQ(dc.shapes()[0].kind, RecordingDc::ShapeKind::Ellipse);
    EXPECT_EQ(dc.shapes()[0].brush.style, BrushStyle::Null);
}

} // namespace
