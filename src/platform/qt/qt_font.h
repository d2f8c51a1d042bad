// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

#include <QFont>

// The Qt font for a device-context font description. A positive height is the cell height
// (ascent + descent) as in GDI, so the pixel size is chosen to give that cell height; a negative
// height is the character (em) height. A face that is not installed is replaced by its
// metric-compatible twin (Arial → Liberation Sans, Times New Roman → Liberation Serif) or, when it
// has none, by a face of the family the description asks for (roman → serif, swiss → sans-serif).
QFont qtFont(const FontSpec& spec);

QColor qtColor(Rgb colour);
