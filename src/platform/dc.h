// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// The device context through which every screen and report painter draws. The operations and
// their meanings are those of a Windows GDI device context: objects (fonts, pens, brushes,
// bitmaps) are created, selected and deleted by handle; text is placed by its reference point
// with the selected alignment; a positive font height is the cell height (ascent + descent).
// Coordinates are logical units, mapped to the device by the window/viewport mapping.

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

struct DcSize {
    int cx = 0;
    int cy = 0;
};

enum class FontFamily { DontCare, Roman, Swiss, Modern };

inline constexpr int kFontWeightDefault = 0; // the device's normal weight (400)
inline constexpr int kFontWeightNormal = 400;
inline constexpr int kFontWeightBold = 700;

struct FontSpec {
    int height = 0; // > 0 cell height, < 0 character height, 0 the device's default
    int weight = kFontWeightDefault;
    bool italic = false;
    bool underline = false;
    std::string face;
    FontFamily family = FontFamily::DontCare; // used when the face is not installed
};

enum class PenStyle { Solid, Dot, Dash, Null };

struct PenSpec {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Rgb colour;
};

enum class BrushStyle { Solid, Null };

struct BrushSpec {
    BrushStyle style = BrushStyle::Solid;
    Rgb colour;
};

struct TextMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
};

// Text alignment flags; the values are those of GDI so that combinations read the same.
namespace TextAlign {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Center = 6;
inline constexpr unsigned HorizontalMask = 6;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
inline constexpr unsigned VerticalMask = 24;
} // namespace TextAlign

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// Text (1:1) or Anisotropic (window extent mapped onto viewport extent).
enum class MapMode { Text, Anisotropic };

// A handle of a created object; 0 is no object.
using DcObject = int;

enum class StockObject {
    WhiteBrush,
    BlackBrush,
    NullBrush,
    BlackPen,
    WhitePen,
    NullPen,
    SystemFont
};

// What the items drawn inside a mark are. The texts drawn inside a Heading, Paragraph, Note or
// cell are its text, in the order drawn; a Graphic's text is its label (a description that
// lists its values), the lines and shapes inside it are its picture.
enum class DcMark {
    Page,         // label: the page's title
    Heading,      // level 1 for a page's title, 2 for a section, 3 below
    Paragraph,    // running text, such as the person's data or an explanation
    Note,         // a note or footnote under a table or graph
    Table,        // label: the table's caption; contains Rows
    Row,          // contains ColumnHeader, RowHeader and Cell marks, left to right
    ColumnHeader, // a header cell of the columns below it
    RowHeader,    // a header cell of its row
    Cell,         // a data cell; an empty cell is a mark with no text
    Graphic,      // label: "Indexprofil: VFI 104, PFI 100, ..."
};

struct DcMarkSpec {
    // {DcMark::Row}, {DcMark::Table, "caption"}, {DcMark::Heading, {}, 2}: what is left out is
    // empty.
    DcMarkSpec(DcMark markKind = DcMark::Paragraph, std::string markLabel = {}, int markLevel = 0)
        : kind(markKind), label(std::move(markLabel)), level(markLevel) {}

    DcMark kind = DcMark::Paragraph;
    std::string label; // Page, Table, Graphic: see above; otherwise empty
    int level = 0;     // Heading only
};

class Dc {
  public:
    virtual ~Dc() = default;

    // ---- Objects ----
    virtual DcObject createFont(const FontSpec& spec) = 0;
    virtual DcObject createPen(const PenSpec& spec) = 0;
    virtual DcObject createBrush(const BrushSpec& spec) = 0;
    // The bitmap resource with the given id, or 0 when there is none.
    virtual DcObject loadBitmap(int resourceId) = 0;
    virtual DcObject stockObject(StockObject which) = 0;
    // Selects a font, pen or brush and returns the one of the same kind selected before (0 when
    // the handle is unknown or a bitmap).
    virtual DcObject selectObject(DcObject object) = 0;
    // Deletes a created object. A selected object or a stock object is not deleted (false).
    virtual bool deleteObject(DcObject object) = 0;

    // ---- Text ----
    virtual TextMetrics textMetrics() = 0; // of the selected font
    virtual DcSize textExtent(std::string_view text) = 0;
    virtual void setTextJustification(int extra, int breakCount) = 0;
    virtual unsigned setTextAlign(unsigned align) = 0; // returns the previous alignment
    virtual Rgb setTextColor(Rgb colour) = 0;
    virtual Rgb setBkColor(Rgb colour) = 0;
    virtual BackgroundMode setBkMode(BackgroundMode mode) = 0;
    virtual void textOut(int x, int y, std::string_view text) = 0;

    // ---- Lines and shapes (outlined with the pen, filled with the brush) ----
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void ellipse(int left, int top, int right, int bottom) = 0;

    // ---- Bitmaps ----
    virtual DcSize bitmapSize(DcObject bitmap) = 0;
    virtual void drawBitmap(DcObject bitmap, int x, int y) = 0;
    virtual void stretchBitmap(DcObject bitmap, int x, int y, int width, int height) = 0;

    // ---- Mapping ----
    virtual void setMapMode(MapMode mode) = 0;
    virtual void setWindowOrg(int x, int y) = 0;
    virtual void setWindowExt(int cx, int cy) = 0;
    virtual void setViewportOrg(int x, int y) = 0;
    virtual void setViewportExt(int cx, int cy) = 0;

    // True when the device is a printer (painters choose printed fonts by it).
    virtual bool isPrinter() const = 0;
    // True when the device shows fewer than 2 colours, such as a printer set to black and white:
    // painters then draw their coloured lines black.
    virtual bool isMonochrome() const { return false; }

    // ---- Meaning ----
    // Painters say what the items they draw between beginMark and the matching endMark are, so
    // that a reading of the same layout (the accessible tree, the HTML report, the copied text)
    // knows headings, tables and graphs without a layout of its own. Marks nest. Devices that
    // only paint ignore them.
    virtual void beginMark(const DcMarkSpec& mark) { (void)mark; }
    virtual void endMark() {}
};

// Opens a mark for the lifetime of the scope: DcMarkScope table(dc, {DcMark::Table, "Indexpoäng"});
class DcMarkScope {
  public:
    DcMarkScope(Dc& dc, const DcMarkSpec& mark) : dc_(dc) { dc_.beginMark(mark); }
    ~DcMarkScope() { dc_.endMark(); }
    DcMarkScope(const DcMarkScope&) = delete;
    DcMarkScope& operator=(const DcMarkScope&) = delete;

  private:
    Dc& dc_;
};
