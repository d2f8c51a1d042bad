// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

#include <string>

class QFont;
class QPushButton;
class QWidget;

// What a screen may ask of the main window, and nothing more: the five shared buttons, the
// parent and fonts of its own child windows, the window's placement, repainting, and the switch
// to another screen. The main window implements it; screens in register/, entry/ and report/
// know the main window only through it.
class ScreenHost {
  public:
    virtual ~ScreenHost() = default;

    // ---- Child windows ----
    // The parent of every list, field and drop-down list a screen creates.
    virtual QWidget* widgetParent() = 0;
    // The shared control font (buttons, fields, drop-down lists) and the list font.
    virtual const QFont& controlFont() const = 0;
    virtual const QFont& listFont() const = 0;

    // ---- Shared buttons (ids 90-94) ----
    virtual QPushButton* sharedButton(int id) const = 0;
    // Places a shared button and shows or hides it.
    virtual void placeSharedButton(int id, int x, int y, int width, int height, bool visible) = 0;
    // Sets a button's caption from the text table (at most 63 characters).
    virtual void setSharedButtonCaption(int id, unsigned short textId) = 0;
    // Hides the five shared buttons.
    virtual void hideSharedButtons() = 0;

    // ---- Navigation ----
    // Whether a screen is registered for the id (a screen not built yet is not).
    virtual bool hasScreen(int screenId) const = 0;
    // Tears the current screen down (Screen::teardown), hides the shared buttons, makes the
    // screen current and builds it. Does nothing for an id without a screen.
    virtual void showScreen(int screenId) = 0;
    // Ends the program (the main window is destroyed).
    virtual void endProgram() = 0;

    // ---- Placement and painting ----
    // Moves the main window to (x, y) of the screen with a client area of width × height.
    virtual void placeWindow(int x, int y, int width, int height) = 0;
    virtual DcSize clientSize() const = 0;
    // Repaints the whole client area (background erased).
    virtual void repaint() = 0;
    // Gives the keyboard focus to the main window itself, where Enter acts as command 91.
    virtual void focusWindow() = 0;
};
