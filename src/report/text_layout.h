// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// Text layout for every page, on screen and on paper, in the device context's logical units.

// The sample text by which the fit helpers measure a font.
inline constexpr const char* kFontSampleText = "ABCdefGHIjklMNOpqrSTUvxyZÅÄÖ";

// Draws text word-wrapped between x and right with the selected font, colour and alignment and
// returns the y below it. Lines are (font height + external leading + 2) apart; blanks at the
// start of a line are skipped; a word wider than the room stays alone on its line. draw 0 only
// measures. nextX 0 starts every line at x; otherwise the second and later lines start at nextX.
int ab_text_wrap(Dc& dc, int y, const char* text, int x, int right, int draw, int nextX);

// The largest font up to height whose sample text is at most maxWidth wide (never below height
// 1). The caller selects it and deletes it; the dc's selected font is left as it was.
DcObject ab_font_fit_width(Dc& dc, int height, int bold, int italic, int underline,
                           const char* face, int maxWidth);

// The same, limiting the height of the sample text to maxHeight.
DcObject ab_font_fit_height(Dc& dc, int height, int bold, int italic, int underline,
                            const char* face, int maxHeight);

// The largest font of spec's kind up to spec's height in which sample is at most maxWidth wide
// (never below height 1). The caller selects it and deletes it.
DcObject ab_font_fit_sample_width(Dc& dc, const FontSpec& spec, const char* sample, int maxWidth);
