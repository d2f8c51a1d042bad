// SPDX-License-Identifier: Apache-2.0
// Draws the pictures of RIVO-IV into PNG files: rivo-draw-bitmaps OUTPUT_DIRECTORY.
// Run at build time, so the pictures are made from this file and never edited by hand.

#include "bitmap_ids.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QColor kBackground(255, 227, 113);
const QColor kPaleBackground(255, 240, 184);
const QColor kBlue(18, 97, 169);
const QColor kDeepBlue(11, 66, 120);
const QColor kWhite(255, 255, 255);
const QColor kGrid(214, 222, 232);

QFont font(int pixels, bool bold, bool serif = false) {
    QFont f(serif ? "Liberation Serif" : "Liberation Sans");
    f.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(fill);
    return image;
}

// A normal-distribution curve between left and right with its base at baseY.
QPainterPath bellCurve(qreal left, qreal right, qreal baseY, qreal height) {
    QPainterPath path;
    const int steps = 120;
    for (int i = 0; i <= steps; ++i) {
        const qreal z = -3.2 + 6.4 * i / steps;
        const qreal x = left + (right - left) * i / steps;
        const qreal y = baseY - height * std::exp(-z * z / 2);
        if (i == 0) {
            path.moveTo(x, y);
        } else {
            path.lineTo(x, y);
        }
    }
    return path;
}

QImage startScreen() {
    // The screen shows this picture from its 21st row on: rows 0-19 lie above the window.
    QImage image = canvas(799, 598, kBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 190, 0, 560);
    paper.setColorAt(0, kPaleBackground);
    paper.setColorAt(1, kBackground);
    p.fillRect(0, 190, 799, 370, paper);

    QLinearGradient band(0, 0, 0, 190);
    band.setColorAt(0, kBlue);
    band.setColorAt(1, kDeepBlue);
    p.fillRect(0, 0, 799, 190, band);
    p.fillRect(0, 190, 799, 4, kBackground.darker(112));

    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawPath(bellCurve(480, 770, 170, 120));
    p.setPen(QPen(QColor(255, 255, 255, 60), 1, Qt::DashLine));
    for (int i = 1; i < 6; ++i) {
        const qreal x = 480 + 290.0 * i / 6;
        p.drawLine(QPointF(x, 52), QPointF(x, 170));
    }

    p.setPen(kWhite);
    p.setFont(font(72, true));
    p.drawText(56, 128, "RIVO-IV");
    p.setPen(kPaleBackground);
    p.setFont(font(20, false));
    p.drawText(60, 166, QString::fromUtf8("Register · poängberäkning · rapport"));

    // A quiet panel behind the buttons and a score profile beside it.
    p.setPen(QPen(kBackground.darker(118), 1));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(QRectF(38, 318, 150, 178), 10, 10);
    p.setBrush(kWhite);
    const QRectF graph(232, 222, 528, 256);
    p.drawRoundedRect(graph, 10, 10);
    p.fillRect(QRectF(262, 300, 470, 84), QColor(255, 243, 200));
    p.setPen(QPen(kGrid, 1));
    for (int i = 0; i <= 6; ++i) {
        const qreal y = 250 + 33.0 * i;
        p.drawLine(QPointF(262, y), QPointF(732, y));
    }
    p.setPen(QPen(kBlue.lighter(150), 1, Qt::DotLine));
    p.drawLine(QPointF(262, 342), QPointF(732, 342));
    const int scores[] = {11, 9, 12, 10, 8, 13, 11, 10, 7, 9, 12};
    QPolygonF points;
    for (int i = 0; i < 11; ++i) {
        points << QPointF(282 + 43.0 * i, 342 - (scores[i] - 10) * 16.5);
    }
    p.setPen(QPen(kBlue, 2.5));
    p.drawPolyline(points);
    p.setBrush(kWhite);
    for (const QPointF& point : points) {
        p.drawEllipse(point, 4.5, 4.5);
    }

    p.setPen(QPen(kBlue, 1));
    p.drawLine(210, 500, 780, 500);
    return image;
}

QImage topCorner() {
    QImage image = canvas(86, 86, kBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kWhite, 3));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(4, 4, 78, 78));
    p.setPen(kWhite);
    p.setFont(font(17, true));
    p.drawText(QRectF(4, 18, 78, 22), Qt::AlignCenter, "RIVO");
    p.setFont(font(28, true, true));
    p.drawText(QRectF(4, 38, 78, 32), Qt::AlignCenter, "IV");
    return image;
}

QImage bottomCorner() {
    QImage image = canvas(160, 52, kBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kWhite);
    p.setFont(font(30, true));
    p.drawText(QRectF(0, 2, 160, 38), Qt::AlignCenter, "RIVO-IV");
    p.fillRect(QRectF(30, 41, 100, 3), kBackground);
    return image;
}

QImage printLogo() {
    QImage image = canvas(376, 95, kWhite);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(6, 10, 74, 74), 12, 12);
    p.setPen(kWhite);
    p.setFont(font(34, true, true));
    p.drawText(QRectF(6, 10, 74, 74), Qt::AlignCenter, "IV");
    p.setPen(kBlue);
    p.setFont(font(50, true));
    p.drawText(96, 58, "RIVO-IV");
    p.setPen(QColor(80, 80, 80));
    p.setFont(font(15, false));
    p.drawText(98, 82, QString::fromUtf8("Poängberäkning och rapport"));
    return image;
}

QImage marker() {
    return canvas(4, 4, Qt::black);
}

// The program's icon in a 64 × 64 frame; painted scaled for the other sizes. Below 32 pixels
// the small "RIVO" would be a smudge, so only "IV" is drawn, larger.
void paintIcon(QPainter& p, bool small) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(0, 0, 64, 64), 12, 12);
    p.setPen(kWhite);
    if (small) {
        p.setFont(font(40, true, true));
        p.drawText(QRectF(0, 6, 64, 48), Qt::AlignCenter, "IV");
    } else {
        p.setFont(font(13, true));
        p.drawText(QRectF(0, 5, 64, 16), Qt::AlignCenter, "RIVO");
        p.setFont(font(30, true, true));
        p.drawText(QRectF(0, 19, 64, 34), Qt::AlignCenter, "IV");
    }
    p.fillRect(QRectF(16, 54, 32, 3), kBackground);
}

QImage icon() {
    QImage image = canvas(64, 64, kWhite);
    QPainter p(&image);
    paintIcon(p, false);
    return image;
}

// The icon for the desktop's icon theme: transparent outside the rounded square.
QImage themeIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(size / 64.0, size / 64.0);
    paintIcon(p, size < 32);
    return image;
}

QImage draw(int id) {
    switch (id) {
    case kIconProgram:
        return icon();
    case kBitmapMarker:
        return marker();
    case kBitmapStartScreen:
        return startScreen();
    case kBitmapPrintLogo:
        return printLogo();
    case kBitmapTopCorner:
        return topCorner();
    case kBitmapBottomCorner:
        return bottomCorner();
    default:
        break;
    }
    return {};
}

} // namespace

// rivo-draw-bitmaps --icons OUTPUT_DIRECTORY SIZE...: the theme icons as SIZE.png.
int drawThemeIcons(const QDir& output, int count, char** sizes) {
    for (int i = 0; i < count; ++i) {
        const int size = std::atoi(sizes[i]);
        if (size < 16 || size > 512 ||
            !themeIcon(size).save(output.filePath(QStringLiteral("%1.png").arg(size)), "PNG")) {
            std::fprintf(stderr, "cannot write the %s pixel icon\n", sizes[i]);
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    const bool icons = argc > 2 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: rivo-draw-bitmaps OUTPUT_DIRECTORY\n"
                             "       rivo-draw-bitmaps --icons OUTPUT_DIRECTORY SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir output(QString::fromLocal8Bit(argv[icons ? 2 : 1]));
    if (icons) {
        return drawThemeIcons(output, argc - 3, argv + 3);
    }
    for (const BitmapResource& resource : kBitmapResources) {
        const QImage image = draw(resource.id);
        if (image.width() != resource.width || image.height() != resource.height) {
            std::fprintf(stderr, "picture %d has the wrong size\n", resource.id);
            return 1;
        }
        if (!image.save(output.filePath(QStringLiteral("%1.png").arg(resource.id)), "PNG")) {
            std::fprintf(stderr, "cannot write picture %d\n", resource.id);
            return 1;
        }
    }
    return 0;
}
