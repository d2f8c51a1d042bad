// SPDX-License-Identifier: Apache-2.0
#pragma once

class QRect;
class QString;
class QWidget;

// A label for a caption the screen paints itself: it stands where the caption is painted, names
// the control to assistive technology (as the control's buddy) and is itself neither seen nor
// clicked, so the painted caption looks as before. It is deleted with the control.
void addCaptionLabel(QWidget& control, const QString& caption, const QRect& place);
