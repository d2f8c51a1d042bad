// SPDX-License-Identifier: Apache-2.0
#pragma once

// The pictures of the program, by resource id, with the sizes the layouts rely on. The images
// themselves are drawn by bitmaps/draw_bitmaps.cpp at build time and compiled into the program
// as ":/bitmaps/<id>.png".

inline constexpr int kIconProgram = 208;
inline constexpr int kBitmapMarker = 214;       // 4 × 4 black marker of the profile graphs
inline constexpr int kBitmapStartScreen = 218;  // the whole start screen
inline constexpr int kBitmapPrintLogo = 232;    // logo at the head of a printed sheet
inline constexpr int kBitmapTopCorner = 245;    // top-right corner of the screens
inline constexpr int kBitmapBottomCorner = 246; // bottom-right corner of the screens

struct BitmapResource {
    int id;
    int width;
    int height;
};

inline constexpr BitmapResource kBitmapResources[] = {
    {kIconProgram, 64, 64},      {kBitmapMarker, 4, 4},      {kBitmapStartScreen, 799, 598},
    {kBitmapPrintLogo, 376, 95}, {kBitmapTopCorner, 86, 86}, {kBitmapBottomCorner, 160, 52},
};
