// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc_base.h"

#include <QFont>

class QPainter;
class QPrinter;

// The device context on a QPainter: a widget while it paints, a printer, or an image. Bitmap
// resources are the images ":/bitmaps/<id>.png" compiled into the program.
class QPainterDc : public DcBase {
  public:
    // Default: the device context starts as a fresh one (system font, black pen, white brush).
    // FromPainter: the painter's font, pen and brush are the objects selected on entry, and its
    // pen colour and background the text colour and background, as with a context that another
    // program hands over with its own objects selected.
    enum class InitialObjects { Default, FromPainter };

    explicit QPainterDc(QPainter& painter, bool printer = false,
                        InitialObjects initial = InitialObjects::Default);
    // On a printer (the painter is active on it): monochrome when it prints in grey scale.
    // Defined apart (qpainter_dc_printer.cpp), so that the context itself needs only QtGui.
    QPainterDc(QPainter& painter, const QPrinter& printer);

    TextMetrics textMetrics() override;
    DcSize textExtent(std::string_view text) override;
    void textOut(int x, int y, std::string_view text) override;
    void lineTo(int x, int y) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void drawBitmap(DcObject bitmap, int x, int y) override;
    void stretchBitmap(DcObject bitmap, int x, int y, int width, int height) override;
    void setMapMode(MapMode mode) override;
    void setWindowOrg(int x, int y) override;
    void setWindowExt(int cx, int cy) override;
    void setViewportOrg(int x, int y) override;
    void setViewportExt(int cx, int cy) override;
    bool isPrinter() const override { return printer_; }
    // A printer set to grey scale.
    bool isMonochrome() const override { return monochrome_; }

    static QString bitmapPath(int resourceId);

  protected:
    DcSize resourceBitmapSize(int resourceId) override;
    void fontSelected() override;

  private:
    void applyMapping();
    void setShapeTools();
    void adoptPainterObjects();

    QPainter& painter_;
    bool printer_;
    bool monochrome_ = false;
    QFont font_;
    // The painter's own font, taken over on entry; used whenever its handle is selected.
    DcObject painterFontHandle_ = 0;
    QFont painterFont_;
};
