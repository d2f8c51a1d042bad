// SPDX-License-Identifier: Apache-2.0
#pragma once

// The operating system's reason for a failed file operation (an errno value) in Swedish, for the
// messages a psychologist reads: "filen eller mappen finns inte", "disken är full". A reason
// without a Swedish text of its own is given by its number and the system's own text.

#include <string>

std::string systemErrorText(int errnum);
