// SPDX-License-Identifier: Apache-2.0
#pragma once

class QKeyEvent;

// The Windows virtual-key code of a key event, for the key filter: letters and main-row digits
// keep their ASCII codes, keypad keys (Qt's keypad modifier) get 0x60-0x6F, control and
// navigation keys their codes below 0x30, punctuation and the Swedish letters Å, Ä, Ö the codes
// of a Swedish keyboard (0xBA-0xE2). A key without a code of its own gives kOtherKey.
int virtualKeyOf(const QKeyEvent& event);

inline constexpr int kOtherKey = 0xFF;
