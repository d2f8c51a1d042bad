// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"
#include "screen_text.h"

// The results screen's own painting in the main window: the frame, the corner pictures, the
// person header and the labels over the four lists. Called with the control font selected.
void ab_paint_results_screen(Dc& dc);

// The top of the captions painted over the four lists.
inline constexpr int kListCaptionY = 88;

// The person header from (20, 24): name; sex, test age "%d.%d.%d" and test date; other notes.
// Labels in 15-unit Arial, values in 15-unit bold Arial, each value 5 units after its label.
void ab_paint_person_header(Dc& dc);

// The person header's three rows as a reader meets them ("Namn: ...", then sex, test age and test
// date, then other notes), at their places. The labels over the lists are the lists' own names.
ScreenTexts resultsHeaderTexts();
