// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_document.h"

#include <vector>

// A device context that hands every call on to another one (which measures and, if it is a
// screen or a printer, paints) and reads the painters' marks into a report document: each mark
// becomes a node, the texts drawn inside a heading, paragraph, note or cell become its text, and
// everything drawn inside a mark widens its logical box. A row's header cells are put before its
// other cells, since a painter may draw a row's name after its numbers. Texts drawn in a row or
// table outside any cell (such as the "-" and "=" between columns) are not read.
class DocumentDc : public Dc {
  public:
    explicit DocumentDc(Dc& inner);

    // The pages read so far; marks still open are left out.
    ReportDocument takeDocument();

    DcObject createFont(const FontSpec& spec) override { return inner_.createFont(spec); }
    DcObject createPen(const PenSpec& spec) override { return inner_.createPen(spec); }
    DcObject createBrush(const BrushSpec& spec) override { return inner_.createBrush(spec); }
    DcObject loadBitmap(int resourceId) override { return inner_.loadBitmap(resourceId); }
    DcObject stockObject(StockObject which) override { return inner_.stockObject(which); }
    DcObject selectObject(DcObject object) override { return inner_.selectObject(object); }
    bool deleteObject(DcObject object) override { return inner_.deleteObject(object); }

    TextMetrics textMetrics() override { return inner_.textMetrics(); }
    DcSize textExtent(std::string_view text) override { return inner_.textExtent(text); }
    void setTextJustification(int extra, int breakCount) override {
        inner_.setTextJustification(extra, breakCount);
    }
    unsigned setTextAlign(unsigned align) override;
    Rgb setTextColor(Rgb colour) override { return inner_.setTextColor(colour); }
    Rgb setBkColor(Rgb colour) override { return inner_.setBkColor(colour); }
    BackgroundMode setBkMode(BackgroundMode mode) override { return inner_.setBkMode(mode); }
    void textOut(int x, int y, std::string_view text) override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;

    DcSize bitmapSize(DcObject bitmap) override { return inner_.bitmapSize(bitmap); }
    void drawBitmap(DcObject bitmap, int x, int y) override;
    void stretchBitmap(DcObject bitmap, int x, int y, int width, int height) override;

    void setMapMode(MapMode mode) override { inner_.setMapMode(mode); }
    void setWindowOrg(int x, int y) override { inner_.setWindowOrg(x, y); }
    void setWindowExt(int cx, int cy) override { inner_.setWindowExt(cx, cy); }
    void setViewportOrg(int x, int y) override { inner_.setViewportOrg(x, y); }
    void setViewportExt(int cx, int cy) override { inner_.setViewportExt(cx, cy); }

    bool isPrinter() const override { return inner_.isPrinter(); }
    bool isMonochrome() const override { return inner_.isMonochrome(); }

    void beginMark(const DcMarkSpec& mark) override;
    void endMark() override;

  private:
    struct OpenNode {
        ReportNode node;
        std::vector<std::string> texts;
        bool boxed = false;
    };
    void widen(int left, int top, int right, int bottom);
    void close(OpenNode open);

    Dc& inner_;
    unsigned align_ = TextAlign::Left | TextAlign::Top;
    int currentX_ = 0;
    int currentY_ = 0;
    std::vector<OpenNode> open_;
    ReportDocument document_;
};

// Whether the texts drawn inside a mark of this kind are its text (and not a picture's labels).
bool marksText(DcMark kind);
