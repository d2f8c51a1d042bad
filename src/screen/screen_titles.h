// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// The name of each screen of the main window, in Swedish, as its window title says it: "RIVO-IV –
// Resultatredovisning". A title never names the test person, since a task bar or a shared screen
// shows it to whoever looks.
std::string screenName(int screenId);
std::string windowTitleOf(int screenId);
