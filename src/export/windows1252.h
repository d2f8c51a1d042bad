// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 text to Windows-1252 bytes, the encoding the export file keeps for the
// spreadsheets and statistics programs that read it. A character that Windows-1252 lacks is
// written as its nearest equivalent, or as "?".
std::string toWindows1252(std::string_view utf8);
