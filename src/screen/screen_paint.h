// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"
#include "screen_text.h"

#include <string>

// Painting shared by the screens of the main window. Each routine restores the font, pen and
// brush it selected and deletes every object it made before it returns.

// The white frame around the work area and the blue strip of the given height along the bottom.
void ab_paint_frame(Dc& dc, int stripHeight);

// The pictures in the top-right and bottom-right corners.
void ab_paint_corner_bitmaps(Dc& dc);

// The start screen: its picture and the notice with the version.
void ab_paint_start(Dc& dc);
// The notice of the start screen: the program's name, the warning about synthetic norms while
// they are in use, the copyright and the version. Painted at (210, 493), wrapped at x = 780.
std::string startNoticeText();

// The heading and the instruction of the earlier-tests screen.
void ab_paint_earlier_tests(Dc& dc);

// The heading, labels and format hints of the personal-data form. Dates the test occasion today.
void ab_paint_personal_data(Dc& dc);

// What the two painters above draw that no control says: each screen's heading and its
// instruction or footnote, at their places, with the keyboard way in the description. The
// labels beside the fields are the fields' own names and are left out.
ScreenTexts earlierTestsTexts();
ScreenTexts personalDataTexts();

// The build date shown with the version on the start screen.
inline constexpr const char* kBuildDateText = "Feb 13 2011";
