// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "secret_buffer.h"

#include <string>

// The passphrase from file when one is named, otherwise typed without echo: twice when confirm (a
// new copy), once when not. For a new copy a passphrase shorter than kShortestPassphrase is
// refused. false when there is none; the reason has been said on standard error.
bool readPassphrase(const std::string& file, bool confirm, SecretBuffer& passphrase);
