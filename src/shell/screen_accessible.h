// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Makes the program's windows readable to assistive technology through Qt's accessibility API:
// the main window offers the current screen's painted headings and instructions as labels
// beside its controls, all in the order they stand on the screen, and leaves hidden buttons out;
// the login dialog offers its visible controls in the order they were made (label, field, ...,
// buttons). Installed once, before the first window is shown.
void installScreenAccessibility();

// The Alt key that a caption's underlined letter stands for ("Ta b&ort": "Alt+O"), or nothing for
// a caption without one. "&&" is a written "&".
QString altKeyOfCaption(const QString& caption);
// A caption as it reads: without the marks of its underlined letter.
QString spokenCaption(const QString& caption);
