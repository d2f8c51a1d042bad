// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <vector>

// A text that a screen paints rather than shows in a control: a heading, an instruction, a line
// of the person's data. The main window gives each one to assistive technology as a label at the
// place it is painted, so that a screen reader reads what a sighted user sees. The description
// carries what the painted text leaves to the eye, such as how to do by keyboard what an
// instruction says to do with the mouse.
struct ScreenText {
    enum class Kind { Heading, Label };

    Kind kind = Kind::Label;
    std::string text;
    std::string description;
    // The painted place in client coordinates.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

using ScreenTexts = std::vector<ScreenText>;
