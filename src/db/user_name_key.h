// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <string_view>

// A user name as two names are compared: spaces and tabs at either end taken away, and every
// letter of ASCII and of Latin-1 (Swedish å, ä, ö among them, é, ü, ø, æ ...) in lower case, in
// UTF-8. "PSYKOLOG", " psykolog " and "psykolog" have the same key, as have "ÅSA" and "åsa".
// Other characters are kept as they are. The failed logins are counted per key, and a new user
// whose key an existing user has is refused.
std::string userNameKey(std::string_view name);
