// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The detail of an export's access-log rows names the persons written, as ID ranges before the
// file, so that the rows of one person can be found in the log and a long path cut to the
// column's size never cuts the list:
//
//     3 testpersoner (ID 1-3) till e.txt
//     4 testpersoner (ID 1-3, 7) till /tmp/e.txt
//     1200 testpersoner (ID 1-900, 902-1200; del 1 av 2) till e.txt
//
// A list longer than one row holds is split over several rows, each with its own count.

// The details for the IDs (any order, doubles allowed), one per row to write.
std::vector<std::string> exportLogDetails(std::vector<std::int32_t> ids, const std::string& path);

// The detail when the IDs could not be read before the export.
std::string exportLogDetailUnknown(const std::string& path);

// Whether an export row's detail may concern the person: its ID list names them, or it has no
// list that can be read (a row written before the lists, or when the IDs could not be read).
bool exportLogDetailHolds(const std::string& detail, std::int32_t person);
