// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QFont>

// The shared drawing objects of the main window as Qt widgets need them: the control font of the
// buttons, fields and the login dialog, and the list font. They live as long as the main window.
struct SharedFonts {
    SharedFonts();
    QFont controlFont;
    QFont listFont;
};
