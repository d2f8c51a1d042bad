// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"
#include "screen_text.h"

// The raw-score form's painting: frame, corner pictures, the title in the left margin, the
// numbered subtest titles and the maximum label beside every field.
void ab_paint_raw_scores(Dc& dc);

// The heading and the numbered subtest titles that ab_paint_raw_scores paints, as headings at
// their places; the fields under each title carry their own names.
ScreenTexts rawScoreTexts();

// The colour of the subtest titles.
inline constexpr Rgb kSubtestTitleColour{30, 86, 159};
