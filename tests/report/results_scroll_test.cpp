// SPDX-License-Identifier: Apache-2.0
#include "results_scroll.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct ScrollCase {
    const char* what;
    ScrollRequest request;
    int page;
    int pos;
    int total;
    int thumb;
    int delta;
};

// A window of 29 lines over a report of 100 lines: the last full page starts at line 71.
constexpr ScrollCase kCases[] = {
    // A report shorter than the window (20 lines) or exactly as long does not move.
    {"short, line down", ScrollRequest::LineDown, 29, 0, 20, 0, 0},
    {"short, page down", ScrollRequest::PageDown, 29, 0, 20, 0, 0},
    {"short, wheel down", ScrollRequest::WheelDown, 29, 0, 20, 0, 0},
    {"short, End", ScrollRequest::Bottom, 29, 0, 20, 0, 0},
    {"short, thumb", ScrollRequest::ThumbTrack, 29, 0, 20, 5, 0},
    {"one page, line down", ScrollRequest::LineDown, 29, 0, 29, 0, 0},
    {"one page, page down", ScrollRequest::PageDown, 29, 0, 29, 0, 0},
    {"one page and a line, line down", ScrollRequest::LineDown, 29, 0, 30, 0, 1},
    {"before the first paint", ScrollRequest::PageDown, 29, 0, 0, 0, 0},
    // At the top nothing moves up.
    {"top, line up", ScrollRequest::LineUp, 29, 0, 100, 0, 0},
    {"top, page up", ScrollRequest::PageUp, 29, 0, 100, 0, 0},
    {"top, Home", ScrollRequest::Top, 29, 0, 100, 0, 0},
    {"top, wheel up", ScrollRequest::WheelUp, 29, 0, 100, 0, 0},
    // At the bottom nothing moves down.
    {"bottom, line down", ScrollRequest::LineDown, 29, 71, 100, 0, 0},
    {"bottom, page down", ScrollRequest::PageDown, 29, 71, 100, 0, 0},
    {"bottom, End", ScrollRequest::Bottom, 29, 71, 100, 0, 0},
    {"bottom, wheel down", ScrollRequest::WheelDown, 29, 71, 100, 0, 0},
    {"bottom, thumb beyond", ScrollRequest::ThumbTrack, 29, 71, 100, 90, 0},
    // Page down with less than a page left stops at the last full page.
    {"page down, 11 lines left", ScrollRequest::PageDown, 29, 60, 100, 0, 11},
    {"page down, one page left", ScrollRequest::PageDown, 29, 42, 100, 0, 29},
    {"page down, one line left", ScrollRequest::PageDown, 29, 70, 100, 0, 1},
    {"page down from the top", ScrollRequest::PageDown, 29, 0, 100, 0, 29},
    {"page up near the top", ScrollRequest::PageUp, 29, 10, 100, 0, -10},
    {"page up", ScrollRequest::PageUp, 29, 50, 100, 0, -29},
    {"line down", ScrollRequest::LineDown, 29, 50, 100, 0, 1},
    {"line up", ScrollRequest::LineUp, 29, 50, 100, 0, -1},
    {"wheel down", ScrollRequest::WheelDown, 29, 50, 100, 0, 5},
    {"wheel down near the end", ScrollRequest::WheelDown, 29, 68, 100, 0, 3},
    {"wheel up near the top", ScrollRequest::WheelUp, 29, 3, 100, 0, -3},
    {"End", ScrollRequest::Bottom, 29, 10, 100, 0, 61},
    {"Home", ScrollRequest::Top, 29, 50, 100, 0, -50},
    {"thumb track", ScrollRequest::ThumbTrack, 29, 10, 100, 30, 20},
    {"thumb released", ScrollRequest::ThumbPosition, 29, 30, 100, 12, -18},
    {"thumb past the end", ScrollRequest::ThumbTrack, 29, 10, 100, 100, 61},
    {"thumb above the top", ScrollRequest::ThumbTrack, 29, 10, 100, -4, -10},
    {"other request", ScrollRequest::None, 29, 50, 100, 0, 0},
    // A view left beyond the last full page (the window grew) comes back with any move.
    {"beyond the end, line up", ScrollRequest::LineUp, 39, 71, 100, 0, -10},
    {"beyond the end, line down", ScrollRequest::LineDown, 39, 71, 100, 0, -10},
};

TEST(ScrollDelta, FollowsTheCorrectionRules) {
    for (const ScrollCase& c : kCases) {
        EXPECT_EQ(scrollDelta(c.request, c.page, c.pos, c.total, c.thumb), c.delta) << c.what;
    }
}

// Whatever the request, the view ends between the top and the last full page, which is the
// scroll bar's range: the bar and the first line cannot disagree.
TEST(ScrollDelta, NeverLeavesTheScrollBarsRange) {
    const ScrollRequest requests[] = {
        ScrollRequest::LineUp,   ScrollRequest::LineDown,   ScrollRequest::PageUp,
        ScrollRequest::PageDown, ScrollRequest::ThumbTrack, ScrollRequest::Top,
        ScrollRequest::Bottom,   ScrollRequest::WheelUp,    ScrollRequest::WheelDown,
    };
    for (int total = 0; total <= 70; ++total) {
        for (int page = 1; page <= 40; ++page) {
            const int last = std::max(0, total - page);
            for (int pos = 0; pos <= last; ++pos) {
                for (const ScrollRequest request : requests) {
                    for (const int thumb : {-3, 0, pos + 7, last, total + 2}) {
                        const int next = pos + scrollDelta(request, page, pos, total, thumb);
                        ASSERT_GE(next, 0) << total << " " << page << " " << pos;
                        ASSERT_LE(next, last) << total << " " << page << " " << pos;
                    }
                }
            }
        }
    }
}

TEST(ScrollDelta, ClampedFirstLineStaysWithinTheReport) {
    EXPECT_EQ(clampedFirstLine(50, 100, 29), 50);
    EXPECT_EQ(clampedFirstLine(80, 100, 29), 71);
    EXPECT_EQ(clampedFirstLine(5, 20, 29), 0);
    EXPECT_EQ(clampedFirstLine(-2, 100, 29), 0);
    EXPECT_EQ(scrollPage(290, 10), 29);
    EXPECT_EQ(scrollPage(299, 10), 29);
}

} // namespace
