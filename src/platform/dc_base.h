// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

#include <map>
#include <variant>

// The bookkeeping every device context shares: the object table with its selection rules, the
// text state (alignment, colours, background mode, justification), the current position and the
// mapping. Implementations add measuring and drawing.
class DcBase : public Dc {
  public:
    DcBase();

    DcObject createFont(const FontSpec& spec) override;
    DcObject createPen(const PenSpec& spec) override;
    DcObject createBrush(const BrushSpec& spec) override;
    DcObject loadBitmap(int resourceId) override;
    DcObject stockObject(StockObject which) override;
    DcObject selectObject(DcObject object) override;
    bool deleteObject(DcObject object) override;

    void setTextJustification(int extra, int breakCount) override;
    unsigned setTextAlign(unsigned align) override;
    Rgb setTextColor(Rgb colour) override;
    Rgb setBkColor(Rgb colour) override;
    BackgroundMode setBkMode(BackgroundMode mode) override;
    void moveTo(int x, int y) override;
    DcSize bitmapSize(DcObject bitmap) override;

    void setMapMode(MapMode mode) override;
    void setWindowOrg(int x, int y) override;
    void setWindowExt(int cx, int cy) override;
    void setViewportOrg(int x, int y) override;
    void setViewportExt(int cx, int cy) override;

    // ---- State, for implementations and tests ----
    const FontSpec& currentFont() const;
    const PenSpec& currentPen() const;
    const BrushSpec& currentBrush() const;
    DcObject selectedFont() const { return font_; }
    DcObject selectedPen() const { return pen_; }
    DcObject selectedBrush() const { return brush_; }
    unsigned textAlign() const { return textAlign_; }
    Rgb textColor() const { return textColor_; }
    Rgb bkColor() const { return bkColor_; }
    BackgroundMode bkMode() const { return bkMode_; }
    int justificationExtra() const { return justificationExtra_; }
    int currentX() const { return currentX_; }
    int currentY() const { return currentY_; }
    // Created objects that have not been deleted (stock objects not counted).
    int liveObjectCount() const;

    struct Mapping {
        MapMode mode = MapMode::Text;
        int windowX = 0, windowY = 0, windowCx = 1, windowCy = 1;
        int viewportX = 0, viewportY = 0, viewportCx = 1, viewportCy = 1;
    };
    const Mapping& mapping() const { return mapping_; }

  protected:
    // The size of a bitmap resource, 0 × 0 when there is none.
    virtual DcSize resourceBitmapSize(int resourceId) = 0;
    // The resource id of a loaded bitmap, or 0.
    int bitmapResource(DcObject bitmap) const;
    // Called after the selected font changed, so that implementations can follow.
    virtual void fontSelected() {}

  private:
    struct BitmapRef {
        int resourceId;
        DcSize size;
    };
    struct Entry {
        std::variant<FontSpec, PenSpec, BrushSpec, BitmapRef> value;
        bool stock = false;
    };
    DcObject add(Entry entry);
    const Entry* find(DcObject object) const;

    std::map<DcObject, Entry> objects_;
    std::map<StockObject, DcObject> stock_;
    DcObject next_ = 1;
    DcObject font_ = 0;
    DcObject pen_ = 0;
    DcObject brush_ = 0;
    unsigned textAlign_ = TextAlign::Left | TextAlign::Top;
    Rgb textColor_{0, 0, 0};
    Rgb bkColor_{255, 255, 255};
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    int justificationExtra_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
    Mapping mapping_;
};
