// SPDX-License-Identifier: Apache-2.0
#include "dc_base.h"

namespace {

// The font a fresh device context has selected.
FontSpec systemFont() {
    FontSpec spec;
    spec.height = 16;
    spec.weight = kFontWeightBold;
    spec.face = "System";
    spec.family = FontFamily::Swiss;
    return spec;
}

} // namespace

DcBase::DcBase() {
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    const auto addStock = [this](StockObject which, auto value) {
        stock_[which] = add(Entry{value, true});
    };
    addStock(StockObject::WhiteBrush, BrushSpec{BrushStyle::Solid, white});
    addStock(StockObject::BlackBrush, BrushSpec{BrushStyle::Solid, black});
    addStock(StockObject::NullBrush, BrushSpec{BrushStyle::Null, black});
    addStock(StockObject::BlackPen, PenSpec{PenStyle::Solid, 1, black});
    addStock(StockObject::WhitePen, PenSpec{PenStyle::Solid, 1, white});
    addStock(StockObject::NullPen, PenSpec{PenStyle::Null, 1, black});
    addStock(StockObject::SystemFont, systemFont());
    font_ = stock_[StockObject::SystemFont];
    pen_ = stock_[StockObject::BlackPen];
    brush_ = stock_[StockObject::WhiteBrush];
}

DcObject DcBase::add(Entry entry) {
    const DcObject handle = next_++;
    objects_.emplace(handle, std::move(entry));
    return handle;
}

const DcBase::Entry* DcBase::find(DcObject object) const {
    const auto found = objects_.find(object);
    return found == objects_.end() ? nullptr : &found->second;
}

DcObject DcBase::createFont(const FontSpec& spec) {
    return add(Entry{spec});
}
DcObject DcBase::createPen(const PenSpec& spec) {
    return add(Entry{spec});
}
DcObject DcBase::createBrush(const BrushSpec& spec) {
    return add(Entry{spec});
}

DcObject DcBase::loadBitmap(int resourceId) {
    const DcSize size = resourceBitmapSize(resourceId);
    if (size.cx <= 0 || size.cy <= 0) {
        return 0;
    }
    return add(Entry{BitmapRef{resourceId, size}});
}

DcObject DcBase::stockObject(StockObject which) {
    return stock_.at(which);
}

DcObject DcBase::selectObject(DcObject object) {
    const Entry* entry = find(object);
    if (entry == nullptr) {
        return 0;
    }
    if (std::holds_alternative<FontSpec>(entry->value)) {
        const DcObject previous = font_;
        font_ = object;
        fontSelected();
        return previous;
    }
    if (std::holds_alternative<PenSpec>(entry->value)) {
        const DcObject previous = pen_;
        pen_ = object;
        return previous;
    }
    if (std::holds_alternative<BrushSpec>(entry->value)) {
        const DcObject previous = brush_;
        brush_ = object;
        return previous;
    }
    return 0;
}

bool DcBase::deleteObject(DcObject object) {
    const Entry* entry = find(object);
    if (entry == nullptr || entry->stock || object == font_ || object == pen_ || object == brush_) {
        return false;
    }
    objects_.erase(object);
    return true;
}

int DcBase::liveObjectCount() const {
    int count = 0;
    for (const auto& [handle, entry] : objects_) {
        count += entry.stock ? 0 : 1;
    }
    return count;
}

const FontSpec& DcBase::currentFont() const {
    return std::get<FontSpec>(find(font_)->value);
}
const PenSpec& DcBase::currentPen() const {
    return std::get<PenSpec>(find(pen_)->value);
}
const BrushSpec& DcBase::currentBrush() const {
    return std::get<BrushSpec>(find(brush_)->value);
}

int DcBase::bitmapResource(DcObject bitmap) const {
    const Entry* entry = find(bitmap);
    if (entry == nullptr || !std::holds_alternative<BitmapRef>(entry->value)) {
        return 0;
    }
    return std::get<BitmapRef>(entry->value).resourceId;
}

DcSize DcBase::bitmapSize(DcObject bitmap) {
    const Entry* entry = find(bitmap);
    if (entry == nullptr || !std::holds_alternative<BitmapRef>(entry->value)) {
        return DcSize{};
    }
    return std::get<BitmapRef>(entry->value).size;
}

void DcBase::setTextJustification(int extra, int breakCount) {
    justificationExtra_ = breakCount > 0 ? extra : 0;
}

unsigned DcBase::setTextAlign(unsigned align) {
    const unsigned previous = textAlign_;
    textAlign_ = align;
    return previous;
}

Rgb DcBase::setTextColor(Rgb colour) {
    const Rgb previous = textColor_;
    textColor_ = colour;
    return previous;
}

Rgb DcBase::setBkColor(Rgb colour) {
    const Rgb previous = bkColor_;
    bkColor_ = colour;
    return previous;
}

BackgroundMode DcBase::setBkMode(BackgroundMode mode) {
    const BackgroundMode previous = bkMode_;
    bkMode_ = mode;
    return previous;
}

void DcBase::moveTo(int x, int y) {
    currentX_ = x;
    currentY_ = y;
}

void DcBase::setMapMode(MapMode mode) {
    mapping_.mode = mode;
}

void DcBase::setWindowOrg(int x, int y) {
    mapping_.windowX = x;
    mapping_.windowY = y;
}

void DcBase::setWindowExt(int cx, int cy) {
    mapping_.windowCx = cx;
    mapping_.windowCy = cy;
}

void DcBase::setViewportOrg(int x, int y) {
    mapping_.viewportX = x;
    mapping_.viewportY = y;
}

void DcBase::setViewportExt(int cx, int cy) {
    mapping_.viewportCx = cx;
    mapping_.viewportCy = cy;
}
