// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QMargins>
#include <QRect>

// Where the main window's client area goes: the rectangle the screen asks for, moved as little as
// needed so that the whole window, frame and title bar included, lies inside the available area
// of the screen (without panels). A window larger than that area keeps its client size and is
// placed with its title bar and left edge inside, so that it can still be moved and closed.
QRect fittedClientRect(const QRect& requested, const QMargins& frame, const QRect& available);
