// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc_base.h"

#include <map>
#include <string>
#include <vector>

// A device context that draws nothing and records every text, line, shape and bitmap with the
// state it was drawn in. Its metrics are fixed by the font height alone, so that layouts can be
// checked exactly: for a font of cell height h, every character is (h + 1) / 2 wide, the ascent
// is h - h / 5 and the external leading h / 8.
class RecordingDc : public DcBase {
  public:
    struct Text {
        int x;
        int y;
        std::string text;
        FontSpec font;
        unsigned align;
        Rgb colour;
        BackgroundMode bkMode;
    };
    struct Line {
        int x1, y1, x2, y2;
        PenSpec pen;
    };
    enum class ShapeKind { Rectangle, Ellipse };
    struct Shape {
        ShapeKind kind;
        int left, top, right, bottom;
        PenSpec pen;
        BrushSpec brush;
    };
    struct Bitmap {
        int resourceId;
        int x, y, width, height;
        bool stretched;
    };

    explicit RecordingDc(bool printer = false) : printer_(printer) {}

    // Makes a bitmap resource of the given size available to loadBitmap.
    void addBitmapResource(int resourceId, int width, int height);

    TextMetrics textMetrics() override;
    DcSize textExtent(std::string_view text) override;
    void textOut(int x, int y, std::string_view text) override;
    void lineTo(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void drawBitmap(DcObject bitmap, int x, int y) override;
    void stretchBitmap(DcObject bitmap, int x, int y, int width, int height) override;
    bool isPrinter() const override { return printer_; }
    bool isMonochrome() const override { return monochrome_; }
    void setMonochrome(bool monochrome) { monochrome_ = monochrome; }

    static TextMetrics metricsFor(const FontSpec& font);
    static int characterWidth(const FontSpec& font);

    const std::vector<Text>& texts() const { return texts_; }
    const std::vector<Line>& lines() const { return lines_; }
    const std::vector<Shape>& shapes() const { return shapes_; }
    const std::vector<Bitmap>& bitmaps() const { return bitmaps_; }
    int extentCalls() const { return extentCalls_; }
    void clearRecords();

  protected:
    DcSize resourceBitmapSize(int resourceId) override;

  private:
    bool printer_;
    bool monochrome_ = false;
    std::map<int, DcSize> bitmapResources_;
    std::vector<Text> texts_;
    std::vector<Line> lines_;
    std::vector<Shape> shapes_;
    std::vector<Bitmap> bitmaps_;
    int extentCalls_ = 0;
};
