#pragma once

#include <string>

// Creates the demonstration database file at path: the schema, the ID counter at 0, one user,
// and the synthetic norm tables. Refuses to overwrite an existing file. On failure nothing is
// left behind and error says why (in Swedish, for the user).
bool createDemoDatabase(const std::string& path, const std::string& userName,
                        const std::string& password, std::string& error);
