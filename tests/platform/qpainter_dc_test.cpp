// SPDX-License-Identifier: Apache-2.0
#include "bitmap_ids.h"
#include "qpainter_dc.h"
#include "qt_font.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A white image with a QPainterDc on it.
struct Canvas {
    explicit Canvas(int width = 400, int height = 200)
        : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
    }
    QImage finish() {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

bool dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// The leftmost and rightmost columns with a dark pixel, or -1.
std::pair<int, int> inkColumns(const QImage& image) {
    int left = -1;
    int right = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (dark(image.pixel(x, y))) {
                left = left < 0 ? x : left;
                right = x;
                break;
            }
        }
    }
    return {left, right};
}

TEST(QtFont, CellHeightIsTheHeightAskedFor) {
    for (const int height : {12, 14, 16, 20}) {
        Canvas canvas;
        QPainterDc dc(canvas.painter);
        dc.selectObject(
            dc.createFont(FontSpec{height, 0, false, false, "Arial", FontFamily::Swiss}));
        const TextMetrics metrics = dc.textMetrics();
        EXPECT_LE(metrics.height, height);
        EXPECT_GE(metrics.height, height - 1);
        EXPECT_EQ(metrics.ascent + metrics.descent, metrics.height);
        canvas.finish();
    }
}

TEST(QtFont, UnknownFacesFallBackByFamily) {
    const QFont arial = qtFont(FontSpec{16, 0, false, false, "Arial", FontFamily::DontCare});
    EXPECT_EQ(QFontInfo(arial).family(), "Liberation Sans");
    const QFont misspelt =
        qtFont(FontSpec{16, 0, false, false, "New Times Roman", FontFamily::Roman});
    EXPECT_EQ(QFontInfo(misspelt).family(), "Liberation Serif");
    const QFont bold = qtFont(FontSpec{16, 700, true, true, "Times New Roman", FontFamily::Roman});
    EXPECT_TRUE(bold.bold());
    EXPECT_TRUE(bold.italic());
    EXPECT_TRUE(bold.underline());
}

TEST(QPainterDc, TextIsPlacedByItsTopReferenceAndAlignment) {
    for (const unsigned align : {TextAlign::Left, TextAlign::Right, TextAlign::Center}) {
        Canvas canvas;
        QPainterDc dc(canvas.painter);
        dc.selectObject(dc.createFont(FontSpec{20, 0, false, false, "Arial", FontFamily::Swiss}));
        dc.setTextAlign(align);
        const int width = dc.textExtent("HHHH").cx;
        dc.textOut(200, 50, "HHHH");
        const auto [left, right] = inkColumns(canvas.finish());
        const int expectedLeft = align == TextAlign::Left    ? 200
                                 : align == TextAlign::Right ? 200 - width
                                                             : 200 - width / 2;
        EXPECT_NEAR(left, expectedLeft, 3) << align;
        EXPECT_NEAR(right, expectedLeft + width, 3) << align;
    }
}

TEST(QPainterDc, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    Canvas canvas;
    QPainterDc dc(canvas.painter);
    dc.setBkColor(Rgb{255, 227, 113});
    dc.setBkMode(BackgroundMode::Opaque);
    dc.textOut(10, 10, "Namn");
    const QImage image = canvas.finish();
    EXPECT_EQ(image.pixelColor(11, 11), QColor(255, 227, 113));
    EXPECT_EQ(image.pixelColor(11, 9), QColor(Qt::white));
}

TEST(QPainterDc, RectangleFillsLeftTopInclusiveRightBottomExclusive) {
    Canvas canvas;
    QPainterDc dc(canvas.painter);
    const DcObject pen = dc.createPen(PenSpec{PenStyle::Solid, 1, Rgb{0, 0, 255}});
    const DcObject brush = dc.createBrush(BrushSpec{BrushStyle::Solid, Rgb{255, 0, 0}});
    dc.selectObject(pen);
    dc.selectObject(brush);
    dc.rectangle(10, 10, 20, 20);
    const QImage image = canvas.finish();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0, 0, 255)); // outline
    EXPECT_EQ(image.pixelColor(19, 19), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 0, 0)); // fill
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::white));
}

TEST(QPainterDc, BitmapsOneToOneAndStretched) {
    Canvas canvas;
    QPainterDc dc(canvas.painter);
    const DcObject marker = dc.loadBitmap(kBitmapMarker);
    ASSERT_NE(marker, 0);
    EXPECT_EQ(dc.bitmapSize(marker).cx, 4);
    EXPECT_EQ(dc.loadBitmap(1), 0);
    dc.drawBitmap(marker, 10, 10);
    dc.stretchBitmap(marker, 50, 50, 40, 20);
    const QImage image = canvas.finish();
    EXPECT_TRUE(dark(image.pixel(13, 13)));
    EXPECT_FALSE(dark(image.pixel(14, 14)));
    EXPECT_TRUE(dark(image.pixel(89, 69)));
    EXPECT_FALSE(dark(image.pixel(90, 70)));
}

TEST(QPainterDc, AnisotropicMappingScalesLogicalUnitsOntoTheViewport) {
    Canvas canvas(400, 300);
    QPainterDc dc(canvas.painter);
    dc.setMapMode(MapMode::Anisotropic);
    dc.setWindowExt(800, 600);
    dc.setViewportExt(400, 300);
    dc.selectObject(dc.stockObject(StockObject::BlackBrush));
    dc.rectangle(400, 300, 800, 600); // the lower right quarter of the logical sheet
    const QImage image = canvas.finish();
    EXPECT_TRUE(dark(image.pixel(300, 220)));
    EXPECT_FALSE(dark(image.pixel(190, 140)));
}

TEST(QPainterDc, MonochromeOnlyOnAGreyScalePrinter) {
    Canvas canvas;
    EXPECT_FALSE(QPainterDc(canvas.painter).isMonochrome());
    canvas.finish();
    QTemporaryDir dir;
    for (const auto mode : {QPrinter::GrayScale, QPrinter::Color}) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("sheet.pdf"));
        printer.setColorMode(mode);
        QPainter painter(&printer);
        EXPECT_EQ(QPainterDc(painter, printer).isMonochrome(), mode == QPrinter::GrayScale);
    }
}

TEST(BitmapResources, EveryPictureHasTheSizeTheLayoutsRelyOn) {
    for (const BitmapResource& resource : kBitmapResources) {
        const QImage image(QPainterDc::bitmapPath(resource.id));
        EXPECT_EQ(image.width(), resource.width) << resource.id;
        EXPECT_EQ(image.height(), resource.height) << resource.id;
    }
    const QImage marker(QPainterDc::bitmapPath(kBitmapMarker));
    EXPECT_EQ(marker.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(marker.pixelColor(3, 3), QColor(Qt::black));
}

} // namespace
