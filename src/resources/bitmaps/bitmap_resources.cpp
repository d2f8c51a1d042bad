// SPDX-License-Identifier: Apache-2.0
#include "bitmap_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initRivoBitmaps() {
    Q_INIT_RESOURCE(rivo_bitmaps);
}

void initBitmapResources() {
    initRivoBitmaps();
}
