// SPDX-License-Identifier: Apache-2.0
#include "bitmap_ids.h"
#include "screen_paint.h"
#include "screen_resources.h"
#include "shell_state.h"
#include "stavro.h"
#include "text_layout.h"
#include "text_table.h"

#include <cstdio>
#include <string>

// String 37 names the program and warns that the norms are synthetic; with imported norms only
// its first sentence, the program's name, stays. The copyright notice and the version follow.
std::string startNoticeText() {
    char version[64];
    std::snprintf(version, sizeof version, "%s/%d", kBuildDateText, cDoDllVersion());
    std::string opening = text(37);
    if (!syntheticNorms()) {
        opening.resize(opening.find(". ") + 2);
    }
    return opening + text(36) + version + ".";
}

void ab_paint_start(Dc& dc) {
    dc.setBkMode(BackgroundMode::Transparent);
    const DcObject picture = dc.loadBitmap(kBitmapStartScreen);
    if (picture != 0) {
        dc.drawBitmap(picture, 0, -20); // the picture covers the whole client area
        dc.deleteObject(picture);
    }
    const DcObject font = dc.createFont(arialFont(14));
    const DcObject oldFont = dc.selectObject(font);

    const std::string notice = startNoticeText();
    dc.setTextColor(kTextColour);
    ab_text_wrap(dc, 493, notice.c_str(), 210, 780, 1, 0);

    dc.selectObject(oldFont);
    dc.deleteObject(font);
}
