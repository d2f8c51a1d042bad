// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// The drawing resources every screen shares: the colours, the background brush and the two
// shared fonts.

inline constexpr Rgb kBackgroundColour{255, 227, 113};
inline constexpr Rgb kFrameColour{255, 255, 255};
inline constexpr Rgb kBottomStripColour{18, 97, 169};
inline constexpr Rgb kTextColour{0, 0, 0};
// The selected row of a list, under white text (5.4:1).
inline constexpr Rgb kSelectedRowColour{31, 111, 168};
// The border of an entry field or drop-down list on the background (3.9:1).
inline constexpr Rgb kFieldBorderColour{112, 112, 112};

// The height of the blue strip along the bottom of every screen but the start screen.
inline constexpr int kBottomStripHeight = 83;

// Font of the shared buttons, entry fields and the login dialog.
FontSpec controlFontSpec();
// Font of the test-person list.
FontSpec listFontSpec();
// A screen font of the face "Arial" with the given height and weight.
FontSpec arialFont(int height, int weight = kFontWeightDefault);

BrushSpec backgroundBrushSpec();
