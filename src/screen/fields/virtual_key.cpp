// SPDX-License-Identifier: Apache-2.0
#include "virtual_key.h"

#include <QKeyEvent>

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

constexpr KeyCode kControlKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},     {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},     {Qt::Key_Return, 0x0D},  {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},     {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},     {Qt::Key_Pause, 0x13},   {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},   {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},     {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},      {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},      {Qt::Key_Select, 0x29},  {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},   {Qt::Key_Print, 0x2C},   {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},    {Qt::Key_Help, 0x2F},    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, 0x5D},      {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
};

// The keys of a Swedish keyboard outside letters and digits.
constexpr KeyCode kPunctuation[] = {
    {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Dead_Diaeresis, 0xBA}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Equal, 0xBB},        {Qt::Key_Dead_Acute, 0xDB},     {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD},     {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},        {Qt::Key_QuoteLeft, 0xC0},      {Qt::Key_Odiaeresis, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},      {Qt::Key_section, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Aring, 0xDD},          {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_Adiaeresis, 0xDE},   {Qt::Key_Less, 0xE2},           {Qt::Key_Greater, 0xE2},
};

int lookUp(const KeyCode* table, std::size_t size, int key) {
    for (std::size_t i = 0; i < size; ++i) {
        if (table[i].qtKey == key) {
            return table[i].virtualKey;
        }
    }
    return -1;
}

int keypadKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return 0x60 + (key - Qt::Key_0);
    }
    switch (key) {
    case Qt::Key_Asterisk:
        return 0x6A;
    case Qt::Key_Plus:
        return 0x6B;
    case Qt::Key_Comma: // the separator key of some keypads
        return 0x6C;
    case Qt::Key_Minus:
        return 0x6D;
    case Qt::Key_Period:
        return 0x6E;
    case Qt::Key_Slash:
        return 0x6F;
    default:
        return -1; // navigation keys of the keypad are the ordinary ones
    }
}

} // namespace

int virtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        const int code = keypadKey(key);
        if (code >= 0) {
            return code;
        }
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
        return key; // the same codes as ASCII
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 0x70 + (key - Qt::Key_F1);
    }
    int code = lookUp(kControlKeys, std::size(kControlKeys), key);
    if (code < 0) {
        code = lookUp(kPunctuation, std::size(kPunctuation), key);
    }
    return code >= 0 ? code : kOtherKey;
}
