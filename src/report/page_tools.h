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

// Draws text with the given horizontal alignment at (x, top) and leaves the dc left-aligned.
void textAligned(Dc& dc, unsigned align, int x, int top, const std::string& text);

// "%d", or "-" when the value is the missing one.
std::string scoreText(int value, int missing);
