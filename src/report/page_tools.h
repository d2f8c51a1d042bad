// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

#include <string>

// What the report pages share: their fonts and the selection of the objects they create.

// "Arial" on screen (printing 0), "Times New Roman" on paper.
const char* pageFace(int printing);

// A font of a page in its face; bold is weight 700, otherwise the normal weight.
FontSpec pageFont(int height, bool bold, bool italic, int printing);
FontSpec faceFont(int height, bool bold, bool italic, const char* face);

// A created font, pen or brush selected into the dc for one scope; on leaving it the object
// selected before is selected again and the created one deleted.
class SelectedObject {
  public:
    SelectedObject(Dc& dc, DcObject created);
    ~SelectedObject();
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    Dc& dc_;
    DcObject created_;
    DcObject previous_;
};

// A line from (x1, y1) to (x2, y2) in the selected pen.
void drawLine(Dc& dc, int x1, int y1, int x2, int y2);

// The solid black pen of the given width that a table uses on paper, selected for one scope;
// on screen nothing is selected and the default pen draws.
class PaperPen {
  public:
    PaperPen(Dc& dc, int width, int printing);
    ~PaperPen();
    PaperPen(const PaperPen&) = delete;
    PaperPen& operator=(const PaperPen&) = delete;

  private:
    Dc& dc_;
    DcObject pen_ = 0;
    DcObject previous_ = 0;
};

// Draws text with the given horizontal alignment at (x, top) and leaves the dc left-aligned.
void textAligned(Dc& dc, unsigned align, int x, int top, const std::string& text);

// "%d", or "-" when the value is the missing one.
std::string scoreText(int value, int missing);
