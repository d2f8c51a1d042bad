// SPDX-License-Identifier: Apache-2.0
#include "bitmap_ids.h"
#include "screen_paint.h"
#include "screen_resources.h"
#include "shell_state.h"

namespace {

// Selects a pen and a solid brush of one colour, runs draw, and restores and deletes them.
template <typename Draw> void withPenAndBrush(Dc& dc, Rgb colour, Draw draw) {
    const DcObject pen = dc.createPen(PenSpec{PenStyle::Solid, 1, colour});
    const DcObject brush = dc.createBrush(BrushSpec{BrushStyle::Solid, colour});
    const DcObject oldPen = dc.selectObject(pen);
    const DcObject oldBrush = dc.selectObject(brush);
    draw();
    dc.selectObject(oldPen);
    dc.selectObject(oldBrush);
    dc.deleteObject(pen);
    dc.deleteObject(brush);
}

void copyBitmap(Dc& dc, int resourceId, int right, int bottom, bool alignBottom) {
    const DcObject bitmap = dc.loadBitmap(resourceId);
    if (bitmap == 0) {
        return;
    }
    const DcSize size = dc.bitmapSize(bitmap);
    dc.drawBitmap(bitmap, right - size.cx, alignBottom ? bottom - size.cy : bottom);
    dc.deleteObject(bitmap);
}

} // namespace

void ab_paint_frame(Dc& dc, int stripHeight) {
    const int w = mainClientArea().cx;
    const int h = mainClientArea().cy;
    const int work = h - stripHeight;
    withPenAndBrush(dc, kFrameColour, [&] {
        dc.rectangle(0, 0, 10, work);
        dc.rectangle(w - 10, 0, w, work);
        dc.rectangle(0, 0, w, 10);
        dc.rectangle(0, work - 10, w, work);
    });
    withPenAndBrush(dc, kBottomStripColour, [&] { dc.rectangle(0, work, w, h); });
}

void ab_paint_corner_bitmaps(Dc& dc) {
    copyBitmap(dc, kBitmapTopCorner, 789, 4, false);
    copyBitmap(dc, kBitmapBottomCorner, 788, bottomRef() - 40, true);
}
