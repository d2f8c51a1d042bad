// SPDX-License-Identifier: Apache-2.0
#include "window_placement.h"

QRect fittedClientRect(const QRect& requested, const QMargins& frame, const QRect& available) {
    QRect outer = requested.marginsAdded(frame);
    if (outer.right() > available.right()) {
        outer.moveRight(available.right());
    }
    if (outer.bottom() > available.bottom()) {
        outer.moveBottom(available.bottom());
    }
    if (outer.left() < available.left()) {
        outer.moveLeft(available.left());
    }
    if (outer.top() < available.top()) {
        outer.moveTop(available.top());
    }
    return outer.marginsRemoved(frame);
}
