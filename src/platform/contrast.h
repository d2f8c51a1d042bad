// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// Contrast of two colours as the accessibility guidelines define it: the relative luminance of
// each sRGB colour, and the ratio (lighter + 0.05) / (darker + 0.05), from 1 (equal) to 21
// (black on white). Text needs 4.5:1 against its background, borders of controls 3:1.
double relativeLuminance(Rgb colour);
double contrastRatio(Rgb first, Rgb second);

inline constexpr double kTextContrastMinimum = 4.5;
inline constexpr double kControlContrastMinimum = 3.0;
