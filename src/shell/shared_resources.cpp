// SPDX-License-Identifier: Apache-2.0
#include "shared_resources.h"

#include "qt_font.h"
#include "screen_resources.h"

SharedFonts::SharedFonts()
    : controlFont(qtFont(controlFontSpec())), listFont(qtFont(listFontSpec())) {}
