// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// The two graphs of the page "Grafisk redovisning". Both use the font selected in the dc for
// their labels and values, and its text height for their geometry.

// A point of a graph line; value 0 is a score that is absent.
struct PlotPoint {
    int x;
    int y;
    int value;
};

// Index and IQ profile: IK of VFI, PFI, AI, SI, HIK and GAI on the scale 45-155. Returns
// y + height; the frame reaches 30 below.
int ab_paint_indexprofil(Dc& dc, int x, int y, int width, int height, int printing);

// Scaled-score profile: the fifteen subtests on the scale 1-19, joined within their index
// groups. Returns y + height; note 633 for the oldest bands is drawn below that.
int ab_paint_skalpoangsprofil(Dc& dc, int x, int y, int width, int height, int printing);

// The 4 × 4 marker bitmap centred at (x, y).
void ab_draw_marker(Dc& dc, int x, int y);

// Joins consecutive points with the dc's pen where both values are non-zero.
void ab_draw_polyline(Dc& dc, const PlotPoint* points, int n);
