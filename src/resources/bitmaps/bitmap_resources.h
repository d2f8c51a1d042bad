// SPDX-License-Identifier: Apache-2.0
#pragma once

// Makes the compiled-in pictures available as ":/bitmaps/<id>.png". Call once after the
// application object exists; harmless a second time.
void initBitmapResources();
