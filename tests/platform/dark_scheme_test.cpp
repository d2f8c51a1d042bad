// SPDX-License-Identifier: Apache-2.0
// A screen's painting in a dark desktop colour scheme: paper dark, ink light, the rest turned
// round in lightness; in a light scheme and on paper the painting is untouched.

#include "qpainter_dc.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

constexpr Rgb kPaper{30, 30, 30};
constexpr Rgb kInk{240, 240, 240};

QColor colourOf(Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(45, 45, 45));
    palette.setColor(QPalette::WindowText, QColor(250, 250, 250));
    palette.setColor(QPalette::Base, colourOf(kPaper));
    palette.setColor(QPalette::Text, colourOf(kInk));
    return palette;
}

TEST(DarkScheme, PaperAndInkSwapGreysFallBetweenColoursTurnRound) {
    const DarkScheme scheme{kPaper, kInk};
    struct Case {
        const char* what;
        Rgb colour;
        Rgb shown;
    };
    const Case cases[] = {
        {"white paper", {255, 255, 255}, kPaper},
        {"black ink", {0, 0, 0}, kInk},
        {"light grey near the paper", {204, 204, 204}, {72, 72, 72}},
        {"dark grey near the ink", {51, 51, 51}, {198, 198, 198}},
        // Pure colours have a lightness of one half and keep it.
        {"pure blue", {0, 0, 255}, {0, 0, 255}},
        {"pure red", {255, 0, 0}, {255, 0, 0}},
        // The light yellow behind headings turns dark yellow.
        {"light yellow", {255, 227, 113}, {142, 114, 0}},
        {"dark blue", {18, 97, 169}, {86, 165, 237}},
    };
    for (const Case& test : cases) {
        const Rgb shown = inDarkScheme(test.colour, scheme);
        EXPECT_NEAR(shown.r, test.shown.r, 1) << test.what;
        EXPECT_NEAR(shown.g, test.shown.g, 1) << test.what;
        EXPECT_NEAR(shown.b, test.shown.b, 1) << test.what;
    }
}

// Black text and a black line painted on the report's white paper.
QImage paintedPage(bool printer) {
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterDc dc(painter, printer);
    dc.followDarkDesktop(QRect(0, 0, 120, 40));
    dc.setTextColor(Rgb{0, 0, 0});
    dc.setBkMode(BackgroundMode::Transparent);
    dc.textOut(5, 5, "IK 104");
    const DcObject pen = dc.createPen(PenSpec{PenStyle::Solid, 1, Rgb{0, 0, 0}});
    const DcObject old = dc.selectObject(pen);
    dc.moveTo(0, 35);
    dc.lineTo(120, 35);
    dc.selectObject(old);
    dc.deleteObject(pen);
    painter.end();
    return image;
}

TEST(DarkScheme, AScreenFollowsADarkDesktopAndPaperNever) {
    struct Case {
        const char* what;
        QPalette desktop;
        bool printer;
        QColor paper;
        QColor ink;
    };
    const Case cases[] = {
        {"screen, dark desktop", darkPalette(), false, colourOf(kPaper), colourOf(kInk)},
        {"screen, light desktop",
         QPalette(Qt::black, QColor(239, 239, 239), Qt::white, Qt::darkGray, Qt::gray, Qt::black,
                  Qt::white),
         false, Qt::white, Qt::black},
        {"printer, dark desktop", darkPalette(), true, Qt::white, Qt::black},
    };
    const QPalette saved = QGuiApplication::palette();
    for (const Case& test : cases) {
        QGuiApplication::setPalette(test.desktop);
        const QImage page = paintedPage(test.printer);
        QGuiApplication::setPalette(saved);
        EXPECT_EQ(page.pixelColor(115, 2), test.paper) << test.what;
        EXPECT_EQ(page.pixelColor(60, 35), test.ink) << test.what;
        // The text is drawn in the ink too.
        int inked = 0;
        for (int x = 0; x < 120; ++x) {
            for (int y = 0; y < 30; ++y) {
                inked += page.pixelColor(x, y) == test.ink ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 10) << test.what;
    }
}

} // namespace
