// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen_text.h"

class Dc;

// One screen of the main window. The main window keeps one object per screen id and hands the
// current screen its painting, its commands and size changes. A screen lays itself out in
// build() (placing and captioning the shared buttons it needs and making its own child windows)
// and removes what it made in teardown(). The host calls teardown() of the current screen before
// it builds the next one, so teardown() must also do no harm when nothing was built.
class Screen {
  public:
    virtual ~Screen() = default;

    virtual void build() = 0;
    // Paints the client area. The control font and the background brush are selected and the
    // text background colour is set when it is called.
    virtual void paint(Dc& dc) = 0;
    // A button, accelerator or Enter (as 91). Ids the screen does not know are ignored.
    virtual void command(int id) = 0;
    virtual void teardown() {}
    // The main window is about to close (close box, Alt+F4, system menu): false keeps it open.
    // A screen with unsaved entries asks the user here.
    virtual bool mayClose() { return true; }
    virtual void resized() {}
    // The texts paint() draws that a reader needs, in the order they stand on the screen.
    virtual ScreenTexts texts() const { return {}; }
};
