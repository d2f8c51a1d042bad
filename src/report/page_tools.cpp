// SPDX-License-Identifier: Apache-2.0
#include "page_tools.h"

const char* pageFace(int printing) {
    return printing != 0 ? "Times New Roman" : "Arial";
}

FontSpec faceFont(int height, bool bold, bool italic, const char* face) {
    FontSpec spec;
    spec.height = height;
    spec.weight = bold ? kFontWeightBold : kFontWeightNormal;
    spec.italic = italic;
    spec.face = face;
    spec.family = std::string(face) == "Arial" ? FontFamily::Swiss : FontFamily::Roman;
    return spec;
}

FontSpec pageFont(int height, bool bold, bool italic, int printing) {
    return faceFont(height, bold, italic, pageFace(printing));
}

SelectedObject::SelectedObject(Dc& dc, DcObject created)
    : dc_(dc), created_(created), previous_(dc.selectObject(created)) {}

SelectedObject::~SelectedObject() {
    if (previous_ != 0) {
        dc_.selectObject(previous_);
    }
    dc_.deleteObject(created_);
}

void textAligned(Dc& dc, unsigned align, int x, int top, const std::string& text) {
    dc.setTextAlign(align | TextAlign::Top);
    dc.textOut(x, top, text);
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
}

std::string scoreText(int value, int missing) {
    return value == missing ? "-" : std::to_string(value);
}

void drawLine(Dc& dc, int x1, int y1, int x2, int y2) {
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
}

PaperPen::PaperPen(Dc& dc, int width, int printing) : dc_(dc) {
    if (printing != 0) {
        pen_ = dc.createPen(PenSpec{PenStyle::Solid, width, Rgb{0, 0, 0}});
        previous_ = dc.selectObject(pen_);
    }
}

PaperPen::~PaperPen() {
    if (pen_ != 0) {
        dc_.selectObject(previous_);
        dc_.deleteObject(pen_);
    }
}
