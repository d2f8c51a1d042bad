// SPDX-License-Identifier: Apache-2.0
// The drawing exports: each wraps the caller's QPainter in the device-context layer the program
// itself paints through, so the grid, shapes and text follow the same GDI rules.

#include "stavro.h"

#include "qpainter_dc.h"
#include "text_layout.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// The caller's painter as a device context. The painter's state is saved on entry and restored on
// exit, so whatever the routine selects on it is put back even where the Dc bookkeeping would not
// reach the painter (its font, pen, brush and background mode).
class CallerDc {
  public:
    explicit CallerDc(void* handle) : painter_(static_cast<QPainter*>(handle)) {
        if (painter_ == nullptr || !painter_->isActive()) {
            painter_ = nullptr;
            return;
        }
        painter_->save();
        const bool printer = painter_->device()->devType() == QInternal::Printer;
        dc_.emplace(*painter_, printer, QPainterDc::InitialObjects::FromPainter);
    }
    ~CallerDc() {
        if (painter_ != nullptr) {
            dc_.reset();
            painter_->restore();
        }
    }
    CallerDc(const CallerDc&) = delete;
    CallerDc& operator=(const CallerDc&) = delete;

    explicit operator bool() const { return painter_ != nullptr; }
    Dc& operator*() { return *dc_; }

  private:
    QPainter* painter_;
    std::optional<QPainterDc> dc_;
};

// A Windows colour value, 0x00BBGGRR.
Rgb colourOf(unsigned int value) {
    return Rgb{static_cast<std::uint8_t>(value & 0xFFu), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16)};
}

// Selects a created object and, on leaving, selects back what it replaced and deletes it.
class Selected {
  public:
    Selected(Dc& dc, DcObject object)
        : dc_(dc), object_(object), previous_(dc.selectObject(object)) {}
    ~Selected() {
        dc_.selectObject(previous_);
        dc_.deleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    Dc& dc_;
    DcObject object_;
    DcObject previous_;
};

void line(Dc& dc, int x1, int y1, int x2, int y2) {
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
}

const Rgb kGridGrey{164, 164, 164};
const Rgb kFrameLight{255, 251, 240};
const Rgb kBlack{0, 0, 0};
constexpr int kMaxFrameDepth = 3;

} // namespace

extern "C" {

int cDoBackgroundGrid(void* dc, int x, int y, int width, int height, int first, int last, int step,
                      int black) {
    if (step <= 0) {
        return 0; // no values can be counted off; drawing would never end
    }
    CallerDc caller(dc);
    if (!caller) {
        return 0;
    }
    Dc& d = *caller;
    const TextMetrics entry = d.textMetrics();
    const Selected font(d, d.createFont(FontSpec{12, kFontWeightDefault, false, false,
                                                 "MS Sans Serif", FontFamily::Swiss}));
    const Selected pen(d,
                       d.createPen(PenSpec{PenStyle::Solid, 1, black != 0 ? kBlack : kGridGrey}));
    const BackgroundMode entryMode = d.setBkMode(BackgroundMode::Transparent);

    const long long values = last >= first ? (static_cast<long long>(last) - first) / step + 1 : 0;
    const int spacing = static_cast<int>(width / (values + 1));
    const int labelTop = y - (entry.height + entry.externalLeading);
    d.setTextAlign(TextAlign::Right);
    long long lineX = x;
    for (long long value = first; value <= last; value += step) {
        lineX += spacing;
        const int at = static_cast<int>(lineX);
        line(d, at, y, at, y + height);
        char label[16];
        std::snprintf(label, sizeof label, "%d", static_cast<int>(value));
        d.textOut(at + d.textExtent(label).cx / 2, labelTop, label);
    }
    d.setTextAlign(TextAlign::Left);
    d.setBkMode(entryMode);
    return spacing;
}

int CDoCheckResolution(void* window) {
    if (window != nullptr) {
        // A widget is a paint device; every Qt device has one colour plane.
        const QPaintDevice* device = static_cast<QWidget*>(window);
        return device->depth();
    }
    if (QGuiApplication::instance() == nullptr || QGuiApplication::primaryScreen() == nullptr) {
        return 0;
    }
    return QGuiApplication::primaryScreen()->depth();
}

int DoPaintRectangle(void* dc, int left, int top, int width, int height, unsigned int colour) {
    CallerDc caller(dc);
    if (caller) {
        Dc& d = *caller;
        const Selected brush(d, d.createBrush(BrushSpec{BrushStyle::Solid, colourOf(colour)}));
        d.rectangle(left, top, left + width, top + height);
    }
    return 0;
}

int DoPaintCircle(void* dc, int left, int top, int diameter, unsigned int colour) {
    CallerDc caller(dc);
    if (caller) {
        Dc& d = *caller;
        const Selected brush(d, d.createBrush(BrushSpec{BrushStyle::Solid, colourOf(colour)}));
        d.ellipse(left, top, left + diameter, top + diameter);
    }
    return 0;
}

int DoPaintFrame3D(void* dc, int x, int top, int width, int height, unsigned int colour,
                   int depth) {
    CallerDc caller(dc);
    if (!caller) {
        return 0;
    }
    Dc& d = *caller;
    const int right = x + width;
    const int bottom = top + height;
    {
        const Selected pen(d, d.createPen(PenSpec{PenStyle::Solid, 1, colourOf(colour)}));
        const Selected brush(d, d.createBrush(BrushSpec{BrushStyle::Solid, colourOf(colour)}));
        d.rectangle(depth == 0 ? x - 2 : x, top, right, bottom);
    }
    const int rings = std::min(depth, kMaxFrameDepth);
    {
        const Selected light(d, d.createPen(PenSpec{PenStyle::Solid, 2, kFrameLight}));
        for (int out = 0; out < rings; ++out) {
            line(d, x - out, top - out, right + out, top - out);
            line(d, x - out, top - out, x - out, bottom + out);
        }
    }
    {
        const Selected dark(d, d.createPen(PenSpec{PenStyle::Solid, 1, kBlack}));
        for (int out = 0; out < rings; ++out) {
            line(d, x - out, bottom + out, right + 1 + out, bottom + out);
            line(d, right + out, top - out, right + out, bottom + out);
        }
    }
    return 0;
}

int cDoTextOut(void* dc, int y, const char* text, int x, int right, int draw, int nextX) {
    CallerDc caller(dc);
    if (!caller) {
        return y;
    }
    return ab_text_wrap(*caller, y, text, x, right, draw, nextX);
}
}
