// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>

// The short beep of a refused key. It sounds through a handler so that tests can count it; the
// default handler is QApplication::beep().
void rejectKey();

using BeepHandler = std::function<void()>;
// Installs a handler and returns the previous one; an empty handler restores the default.
BeepHandler setBeepHandler(BeepHandler handler);
