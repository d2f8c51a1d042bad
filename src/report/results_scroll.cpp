// SPDX-License-Identifier: Apache-2.0
#include "results_scroll.h"

#include <algorithm>

namespace {

int requestedDelta(ScrollRequest request, int page, int pos, int total, int thumb) {
    constexpr int kWheelLines = 5;
    switch (request) {
    case ScrollRequest::LineUp:
        return -1;
    case ScrollRequest::LineDown:
        return 1;
    case ScrollRequest::PageUp:
        return -page;
    case ScrollRequest::PageDown:
        return page;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        return thumb - pos;
    case ScrollRequest::Top:
        return -pos;
    case ScrollRequest::Bottom:
        return total - pos;
    case ScrollRequest::WheelUp:
        return -kWheelLines;
    case ScrollRequest::WheelDown:
        return kWheelLines;
    case ScrollRequest::None:
        break;
    }
    return 0;
}

} // namespace

int scrollDelta(ScrollRequest request, int page, int pos, int total, int thumb) {
    int delta = requestedDelta(request, page, pos, total, thumb);
    // Each correction works on the result of the one before; end is the distance from the view
    // to the last full page.
    const int end = total - page - pos;
    if (end < page && delta == page) {
        delta = end;
    }
    if (pos < page && delta == -page) {
        delta = -pos;
    }
    if (pos == 0 && delta == -1) {
        delta = 0;
    }
    if (total - pos < page - 1 && delta == 1) {
        delta = 0;
    }
    if (pos + delta == total) {
        delta = end;
    }
    if (page + delta + pos > total) {
        delta = end;
    }
    if (delta + pos < 0) {
        delta = -pos;
    }
    return delta;
}

int clampedFirstLine(int firstLine, int total, int page) {
    return std::max(0, std::min(firstLine, total - page));
}

int scrollPage(int windowHeight, int lineHeight) {
    return lineHeight > 0 ? windowHeight / lineHeight : 0;
}
