// SPDX-License-Identifier: Apache-2.0
#pragma once

// Scrolling the report in the results window, as pure arithmetic on scroll lines so that the
// window and its tests share one rule.
//
// The scroll bar and ResultsView::firstLine always agree: the bar's highest position is the last
// full page, max(0, total - page), its page is `page`, and its position is firstLine. Every path
// that changes the report height or the page (a paint that measures a new height, a resize) keeps
// the view where it was, moved back only as far as needed to stay within the last full page
// (clampedFirstLine), and then sets the bar to that line; a new height never sends the view to
// the top by itself.

// What the user asked for: keys, scroll-bar clicks and drags, the mouse wheel.
enum class ScrollRequest {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition, // the thumb released at a position
    ThumbTrack,    // the thumb dragged to a position
    Top,
    Bottom,
    WheelUp,
    WheelDown,
    None,
};

// Lines the view moves for a request (0 = nothing happens). page: lines of one window page; pos:
// the first visible line; total: the report height in lines; thumb: the position carried by
// ThumbPosition and ThumbTrack. The delta of the request is corrected so that the view never
// leaves the report: page down near the end stops at the last full page, nothing moves above the
// top, and a report shorter than the window does not move at all.
int scrollDelta(ScrollRequest request, int page, int pos, int total, int thumb = 0);

// The first line that keeps the view within the report: firstLine, but at most the last full
// page (total - page) and at least 0.
int clampedFirstLine(int firstLine, int total, int page);

// Lines of one page for a window of the given height: height / lineHeight.
int scrollPage(int windowHeight, int lineHeight);
