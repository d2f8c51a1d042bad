// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "export_writer.h"

#include <string>

// The header line: NID, then the keys of the chosen groups; NORMGRP stands before the
// scaled-score keys whenever scaled scores or index scores are chosen. Every key is followed by
// a tab. UTF-8, without the line end.
std::string exportHeaderLine(const ExportSelection& selection);

// One person's line in the same order, from an occasion whose scores have been computed when
// scaled scores or index scores are chosen. An empty cell is an empty value before its tab.
std::string exportPersonLine(const TestOccasion& occasion, const ExportSelection& selection);

// Cells left empty for a person whose stored values cannot all be used.
struct ExportBlanks {
    bool derived = false; // ALDER, NORMGRP and every scaled and index cell
    bool id = false;
    bool sex = false;
    bool handedness = false;
    bool raw[kRawScoreCount] = {};
};

std::string exportPersonLine(const TestOccasion& occasion, const ExportSelection& selection,
                             const ExportBlanks& blanks);
