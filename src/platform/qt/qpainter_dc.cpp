// SPDX-License-Identifier: Apache-2.0
#include "qpainter_dc.h"

#include "qt_font.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

const QImage& resourceImage(int resourceId) {
    static QHash<int, QImage> images;
    auto found = images.find(resourceId);
    if (found == images.end()) {
        found = images.insert(resourceId, QImage(QPainterDc::bitmapPath(resourceId)));
    }
    return *found;
}

Qt::PenStyle qtPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Solid:
        break;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Null:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

PenStyle penStyleOf(Qt::PenStyle style) {
    switch (style) {
    case Qt::NoPen:
        return PenStyle::Null;
    case Qt::DotLine:
        return PenStyle::Dot;
    case Qt::DashLine:
        return PenStyle::Dash;
    default:
        break;
    }
    return PenStyle::Solid;
}

Rgb rgbOfColour(const QColor& colour) {
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

int mixed(int paper, int ink, int lightness) {
    return (paper * lightness + ink * (255 - lightness) + 127) / 255;
}

} // namespace

std::optional<DarkScheme> darkSchemeOf(const QPalette& palette) {
    if (palette.color(QPalette::Window).lightness() >=
        palette.color(QPalette::WindowText).lightness()) {
        return std::nullopt;
    }
    return DarkScheme{rgbOfColour(palette.color(QPalette::Base)),
                      rgbOfColour(palette.color(QPalette::Text))};
}

Rgb inDarkScheme(Rgb colour, const DarkScheme& scheme) {
    const QColor original(colour.r, colour.g, colour.b);
    const int lightness = original.lightness();
    if (original.hslSaturation() == 0) {
        return Rgb{static_cast<std::uint8_t>(mixed(scheme.paper.r, scheme.ink.r, lightness)),
                   static_cast<std::uint8_t>(mixed(scheme.paper.g, scheme.ink.g, lightness)),
                   static_cast<std::uint8_t>(mixed(scheme.paper.b, scheme.ink.b, lightness))};
    }
    return rgbOfColour(
        QColor::fromHsl(original.hslHue(), original.hslSaturation(), 255 - lightness));
}

bool QPainterDc::followDarkDesktop(const QRect& paper) {
    scheme_ = printer_ ? std::nullopt : darkSchemeOf(QGuiApplication::palette());
    if (scheme_) {
        painter_.fillRect(paper, shown(Rgb{255, 255, 255}));
    }
    return scheme_.has_value();
}

QColor QPainterDc::shown(Rgb colour) const {
    return qtColor(scheme_ ? inDarkScheme(colour, *scheme_) : colour);
}

QPainterDc::QPainterDc(QPainter& painter, bool printer, InitialObjects initial)
    : painter_(painter), printer_(printer) {
    if (initial == InitialObjects::FromPainter) {
        adoptPainterObjects();
    }
    fontSelected();
}

// The painter's font, pen and brush become objects of this context and are selected, so that a
// routine that selects its own objects and then selects back what it replaced restores them.
void QPainterDc::adoptPainterObjects() {
    const QPen pen = painter_.pen();
    const QBrush brush = painter_.brush();
    painterFont_ = painter_.font();

    FontSpec fontSpec;
    fontSpec.height = QFontMetrics(painterFont_).height();
    fontSpec.weight = painterFont_.bold() ? kFontWeightBold : kFontWeightNormal;
    fontSpec.italic = painterFont_.italic();
    fontSpec.underline = painterFont_.underline();
    fontSpec.face = painterFont_.family().toStdString();
    painterFontHandle_ = createFont(fontSpec);
    selectObject(painterFontHandle_);

    const PenSpec penSpec{penStyleOf(pen.style()), pen.isCosmetic() ? 0 : pen.width(),
                          rgbOfColour(pen.color())};
    selectObject(createPen(penSpec));
    const BrushSpec brushSpec{brush.style() == Qt::NoBrush ? BrushStyle::Null : BrushStyle::Solid,
                              rgbOfColour(brush.color())};
    selectObject(createBrush(brushSpec));

    setTextColor(rgbOfColour(pen.color()));
    setBkColor(rgbOfColour(painter_.background().color()));
    setBkMode(painter_.backgroundMode() == Qt::OpaqueMode ? BackgroundMode::Opaque
                                                          : BackgroundMode::Transparent);
}

QString QPainterDc::bitmapPath(int resourceId) {
    return QStringLiteral(":/bitmaps/%1.png").arg(resourceId);
}

DcSize QPainterDc::resourceBitmapSize(int resourceId) {
    const QImage& image = resourceImage(resourceId);
    return DcSize{image.width(), image.height()};
}

void QPainterDc::fontSelected() {
    font_ = painterFontHandle_ != 0 && selectedFont() == painterFontHandle_ ? painterFont_
                                                                            : qtFont(currentFont());
    painter_.setFont(font_);
}

TextMetrics QPainterDc::textMetrics() {
    const QFontMetrics metrics(font_);
    TextMetrics result;
    result.ascent = metrics.ascent();
    result.descent = metrics.descent();
    result.height = metrics.height();
    result.externalLeading = std::max(0, metrics.leading());
    result.averageCharWidth = metrics.averageCharWidth();
    return result;
}

DcSize QPainterDc::textExtent(std::string_view text) {
    const QFontMetrics metrics(font_);
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return DcSize{metrics.horizontalAdvance(string), metrics.height()};
}

void QPainterDc::textOut(int x, int y, std::string_view text) {
    const QFontMetrics metrics(font_);
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const int width = metrics.horizontalAdvance(string);
    int left = x;
    switch (textAlign() & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        left = x - width;
        break;
    case TextAlign::Center:
        left = x - width / 2;
        break;
    default:
        break;
    }
    int top = y;
    switch (textAlign() & TextAlign::VerticalMask) {
    case TextAlign::Bottom:
        top = y - metrics.height();
        break;
    case TextAlign::Baseline:
        top = y - metrics.ascent();
        break;
    default:
        break;
    }
    if (bkMode() == BackgroundMode::Opaque) {
        painter_.fillRect(left, top, width, metrics.height(), shown(bkColor()));
    }
    painter_.save();
    painter_.setPen(shown(textColor()));
    painter_.drawText(left, top + metrics.ascent(), string);
    painter_.restore();
}

void QPainterDc::setShapeTools() {
    const PenSpec& pen = currentPen();
    QPen qpen(shown(pen.colour));
    qpen.setStyle(qtPenStyle(pen.style));
    qpen.setWidth(std::max(1, pen.width));
    qpen.setCosmetic(pen.width == 0);
    painter_.setPen(qpen);
    const BrushSpec& brush = currentBrush();
    painter_.setBrush(brush.style == BrushStyle::Null ? QBrush(Qt::NoBrush)
                                                      : QBrush(shown(brush.colour)));
}

void QPainterDc::lineTo(int x, int y) {
    setShapeTools();
    painter_.drawLine(currentX(), currentY(), x, y);
    moveTo(x, y);
}

// GDI shapes cover left..right-1 and top..bottom-1: the brush fills that area and a pen of
// width 1 runs along its edge pixels.
void QPainterDc::rectangle(int left, int top, int right, int bottom) {
    setShapeTools();
    const QPen pen = painter_.pen();
    if (currentBrush().style != BrushStyle::Null) {
        painter_.fillRect(QRect(left, top, right - left, bottom - top), painter_.brush());
    }
    if (pen.style() != Qt::NoPen) {
        painter_.setBrush(Qt::NoBrush);
        const qreal inset = pen.widthF() / 2;
        painter_.drawRect(QRectF(left + inset, top + inset, right - left - pen.widthF(),
                                 bottom - top - pen.widthF()));
    }
}

void QPainterDc::ellipse(int left, int top, int right, int bottom) {
    setShapeTools();
    const qreal inset = painter_.pen().style() == Qt::NoPen ? 0 : painter_.pen().widthF() / 2;
    painter_.drawEllipse(
        QRectF(left + inset, top + inset, right - left - 2 * inset, bottom - top - 2 * inset));
}

void QPainterDc::drawBitmap(DcObject bitmap, int x, int y) {
    const int id = bitmapResource(bitmap);
    if (id != 0) {
        painter_.drawImage(x, y, resourceImage(id));
    }
}

void QPainterDc::stretchBitmap(DcObject bitmap, int x, int y, int width, int height) {
    const int id = bitmapResource(bitmap);
    if (id != 0) {
        painter_.drawImage(QRect(x, y, width, height), resourceImage(id));
    }
}

void QPainterDc::applyMapping() {
    const Mapping& m = mapping();
    if (m.mode == MapMode::Anisotropic) {
        painter_.setWindow(m.windowX, m.windowY, m.windowCx, m.windowCy);
        painter_.setViewport(m.viewportX, m.viewportY, m.viewportCx, m.viewportCy);
    } else {
        const int width = painter_.device()->width();
        const int height = painter_.device()->height();
        painter_.setWindow(m.windowX, m.windowY, width, height);
        painter_.setViewport(m.viewportX, m.viewportY, width, height);
    }
}

void QPainterDc::setMapMode(MapMode mode) {
    DcBase::setMapMode(mode);
    applyMapping();
}

void QPainterDc::setWindowOrg(int x, int y) {
    DcBase::setWindowOrg(x, y);
    applyMapping();
}

void QPainterDc::setWindowExt(int cx, int cy) {
    DcBase::setWindowExt(cx, cy);
    applyMapping();
}

void QPainterDc::setViewportOrg(int x, int y) {
    DcBase::setViewportOrg(x, y);
    applyMapping();
}

void QPainterDc::setViewportExt(int cx, int cy) {
    DcBase::setViewportExt(cx, cy);
    applyMapping();
}
