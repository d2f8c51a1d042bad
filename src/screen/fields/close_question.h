// SPDX-License-Identifier: Apache-2.0
#pragma once

inline constexpr const char* kCloseUnsavedQuestion = "Avsluta utan att spara?";

// Asks "Avsluta utan att spara?" with No as the default; true when the user answers Yes.
bool agreeToCloseUnsaved();
