// SPDX-License-Identifier: Apache-2.0
#pragma once

// The exports of libstavro: date validation, substring, string scrambling and the version number;
// drawing and rounding routines for callers that paint report-like pictures. C linkage so that
// the library can be bound by export name.
//
// Drawing: the device-context handle is the caller's QPainter* (active on its device) and the
// window handle its QWidget*, both passed as opaque pointers. Colours are 0x00BBGGRR. The routines
// leave the painter as they found it (font, pen, brush, background): what they select is restored
// and what they create is deleted. A null handle draws nothing.

#ifdef __cplusplus
extern "C" {
#endif

#define STAVRO_EXPORT __attribute__((visibility("default")))

// 1 when the integer, read as yyyymmdd, is a valid calendar date; 0 otherwise.
STAVRO_EXPORT int DoCheckIntDate(int date);

// Copies at most count characters of source + start into destination and terminates it at
// destination[count]. Negative start or count give an empty destination. Returns destination.
STAVRO_EXPORT char* DoStrMid(char* destination, const char* source, int start, int count);

// XORs each byte i of text with ((key1 + i) * key2) mod 32. Applying it twice restores the text;
// the same routine serves both directions. Returns 0, or -1 for a null text.
STAVRO_EXPORT int DoEnCryptStr(char* text, int key1, int key2);
STAVRO_EXPORT int DoDeCryptStr(char* text, int key1, int key2);

STAVRO_EXPORT int cDoDllVersion(void);

// A vertical grid with one line per value first, first + step, ... last: the k-th line (k from 1)
// at x + k × spacing from y to y + height, labelled with its value centred above it (top at
// y − the height and external leading of the caller's font). Grey lines, or black when black is
// not 0. Returns spacing = width / (number of values + 1); 0 without drawing when step is not
// positive.
STAVRO_EXPORT int cDoBackgroundGrid(void* dc, int x, int y, int width, int height, int first,
                                    int last, int step, int black);

// Bits per pixel × colour planes of the display the window is on (the primary screen for a null
// window); 0 without a display.
STAVRO_EXPORT int CDoCheckResolution(void* window);

// The rectangle (left, top)–(left + width, top + height) filled with the colour and outlined
// with the caller's pen. Returns 0.
STAVRO_EXPORT int DoPaintRectangle(void* dc, int left, int top, int width, int height,
                                   unsigned int colour);

// The circle in the square (left, top)–(left + diameter, top + diameter), filled with the colour
// and outlined with the caller's pen. Returns 0.
STAVRO_EXPORT int DoPaintCircle(void* dc, int left, int top, int diameter, unsigned int colour);

// A raised frame: the area (x, top)–(x + width, top + height) in the colour, with depth (0-3)
// light edges along the top and left and dark edges along the bottom and right. Depth 0 draws
// only the area, starting 2 pixels further left. Returns 0.
STAVRO_EXPORT int DoPaintFrame3D(void* dc, int x, int top, int width, int height,
                                 unsigned int colour, int depth);

// Rounds to an integer: t = value cut toward zero, d = value − t; an odd t goes up when
// d ≥ 0.5, an even t when d > 0.4999. Negative values are never rounded away from zero. Values
// beyond the 32-bit range give its limits, NaN gives 0.
STAVRO_EXPORT int cDoRound(double value);

// Word-wrapped text between x and right in the caller's font and pen colour, the report pages'
// own routine: lines (font height + external leading + 2) apart, draw 0 only measures, nextX not
// 0 starts the second and later lines there. Returns the y below the text.
STAVRO_EXPORT int cDoTextOut(void* dc, int y, const char* text, int x, int right, int draw,
                             int nextX);

#ifdef __cplusplus
}
#endif
