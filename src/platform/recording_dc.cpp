// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"

#include <algorithm>

namespace {

int cellHeight(const FontSpec& font) {
    if (font.height > 0) {
        return font.height;
    }
    if (font.height < 0) {
        return -font.height * 5 / 4;
    }
    return 16;
}

// Characters, not bytes: a UTF-8 continuation byte starts no character.
int characterCount(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

} // namespace

void RecordingDc::addBitmapResource(int resourceId, int width, int height) {
    bitmapResources_[resourceId] = DcSize{width, height};
}

DcSize RecordingDc::resourceBitmapSize(int resourceId) {
    const auto found = bitmapResources_.find(resourceId);
    return found == bitmapResources_.end() ? DcSize{} : found->second;
}

TextMetrics RecordingDc::metricsFor(const FontSpec& font) {
    const int h = cellHeight(font);
    TextMetrics metrics;
    metrics.height = h;
    metrics.ascent = h - h / 5;
    metrics.descent = h / 5;
    metrics.externalLeading = h / 8;
    metrics.averageCharWidth = characterWidth(font);
    return metrics;
}

int RecordingDc::characterWidth(const FontSpec& font) {
    return (cellHeight(font) + 1) / 2;
}

TextMetrics RecordingDc::textMetrics() {
    return metricsFor(currentFont());
}

DcSize RecordingDc::textExtent(std::string_view text) {
    ++extentCalls_;
    return DcSize{characterCount(text) * characterWidth(currentFont()), cellHeight(currentFont())};
}

void RecordingDc::textOut(int x, int y, std::string_view text) {
    texts_.push_back(
        Text{x, y, std::string(text), currentFont(), textAlign(), textColor(), bkMode()});
}

void RecordingDc::lineTo(int x, int y) {
    lines_.push_back(Line{currentX(), currentY(), x, y, currentPen()});
    moveTo(x, y);
}

void RecordingDc::rectangle(int left, int top, int right, int bottom) {
    shapes_.push_back(
        Shape{ShapeKind::Rectangle, left, top, right, bottom, currentPen(), currentBrush()});
}

void RecordingDc::ellipse(int left, int top, int right, int bottom) {
    shapes_.push_back(
        Shape{ShapeKind::Ellipse, left, top, right, bottom, currentPen(), currentBrush()});
}

void RecordingDc::drawBitmap(DcObject bitmap, int x, int y) {
    const DcSize size = bitmapSize(bitmap);
    if (size.cx > 0) {
        bitmaps_.push_back(Bitmap{bitmapResource(bitmap), x, y, size.cx, size.cy, false});
    }
}

void RecordingDc::stretchBitmap(DcObject bitmap, int x, int y, int width, int height) {
    if (bitmapResource(bitmap) != 0) {
        bitmaps_.push_back(Bitmap{bitmapResource(bitmap), x, y, width, height, true});
    }
}

void RecordingDc::clearRecords() {
    texts_.clear();
    lines_.clear();
    shapes_.clear();
    bitmaps_.clear();
    extentCalls_ = 0;
}
