// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc_base.h"

#include <QColor>
#include <QFont>

#include <optional>

class QPainter;
class QPalette;
class QPrinter;
class QRect;

// A dark desktop colour scheme as a screen's painting follows it: the white paper becomes the
// scheme's dark paper, the black ink its light ink, greys fall between them by their lightness,
// and every other colour keeps its hue with its lightness turned round, so that what stood out
// on white stands out as much on the dark paper.
struct DarkScheme {
    Rgb paper;
    Rgb ink;
};

// The scheme of a palette whose window is darker than its text (document colours Base and Text
// as paper and ink); none for a light palette.
std::optional<DarkScheme> darkSchemeOf(const QPalette& palette);
// A colour as it is painted in the scheme.
Rgb inDarkScheme(Rgb colour, const DarkScheme& scheme);

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

    // On a screen: when the desktop's palette is a dark scheme, fills the paper with the scheme's
    // paper and paints every later colour in the scheme; otherwise changes nothing, so that the
    // page looks exactly as painted. Never called for a printer or a PDF file.
    bool followDarkDesktop(const QRect& paper);
    // The colour the painter is given for a colour of the page.
    QColor shown(Rgb colour) const;

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
    std::optional<DarkScheme> scheme_;
    QFont font_;
    // The painter's own font, taken over on entry; used whenever its handle is selected.
    DcObject painterFontHandle_ = 0;
    QFont painterFont_;
};
