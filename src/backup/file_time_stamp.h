// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one style of time stamp in the names of the files the program makes (dated copies in a
// folder, the register kept before a restore, the register kept before a norm import): local
// time as ÅÅÅÅ-MM-DDTHHMMSS, e.g. 2026-12-07T021530, which sorts as it reads. The styles of
// earlier versions are still read: 2026-12-07T0215 (dated copies, to the minute, local time) and
// 20261207-212712 (the norm import's kept copies, UTC).

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

std::string fileTimeStamp(std::time_t when);

struct FileTimeStamp {
    std::time_t when = 0;
    std::size_t length = 0; // of the stamp in the text
};

// The stamp at the start of text, in any of the styles, and the time it names; nothing when
// text does not start with one (digits where digits belong, a month 1-12 and so on).
std::optional<FileTimeStamp> readFileTimeStamp(std::string_view text);
