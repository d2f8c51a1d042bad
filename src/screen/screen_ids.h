// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which screen the main window shows. The value 3 is not used.
inline constexpr int SCREEN_START = 1;
inline constexpr int SCREEN_PERSONAL_DATA = 2;
inline constexpr int SCREEN_EARLIER_TESTS = 4;
inline constexpr int SCREEN_RAW_SCORES = 5;
inline constexpr int SCREEN_RESULTS = 6;
inline constexpr int kScreenIdLimit = 7;

// The five shared buttons, created once and reused by every screen.
inline constexpr int kSharedButtonFirst = 90;
inline constexpr int kSharedButtonCount = 5;
inline constexpr int kSharedButtonIds[kSharedButtonCount] = {90, 91, 92, 93, 94};

// Command ids that the accelerators send (Alt+letter, Esc).
inline constexpr int CMD_ALT_N = 63;
inline constexpr int CMD_ALT_T = 64;
inline constexpr int CMD_ALT_I = 65;
inline constexpr int CMD_ALT_R = 66;
inline constexpr int CMD_ALT_B = 101;
inline constexpr int CMD_ALT_A = 102;
inline constexpr int CMD_ESCAPE = 103;
inline constexpr int CMD_ALT_V = 104;
inline constexpr int CMD_ALT_O = 105;
inline constexpr int CMD_ALT_F = 106;
inline constexpr int CMD_ALT_S = 107;
inline constexpr int CMD_ALT_U = 108;
inline constexpr int CMD_ALT_TAB = 109;
inline constexpr int CMD_ALT_K = 110;
inline constexpr int CMD_ALT_L = 111;
inline constexpr int CMD_ALT_1 = 112;
inline constexpr int CMD_ALT_2 = 113;
inline constexpr int CMD_ALT_3 = 114;
inline constexpr int CMD_ALT_4 = 115;
inline constexpr int CMD_ALT_5 = 116;
inline constexpr int CMD_ALT_E = 118;

// Enter pressed while the main window itself has the keyboard focus.
inline constexpr int CMD_ENTER = 91;
