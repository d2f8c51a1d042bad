// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QJsonObject>

#include <string>
#include <vector>

// The results of the test occasion as one JSON object: what a clinic's record system or a
// researcher imports. It holds exactly what the report pages show for the results screen's
// choices (resultsView()), computed by the same analyses, and the numbers behind it:
// - the person's stored fields (dates "YYYY-MM-DD"), TD_TESTDATE, testAge "y.m.d", NORMGRUPP,
//   ageBand, normDescription, and the choices ciLevel, swBase and indexBase;
// - RawScores, ScaledScores and ReferenceScaledScores keyed by subtest name;
// - indexes: every IndexResult field of VFI, PFI, AI, SI, HIK and GAI;
// - indexTable: the cells of the index and IQ table as shown, and its note ids in print order;
// - IndexComparisons, StrengthsWeaknesses and ProcessComparisons: the rows the pages show, with
//   their text fields; SpanFrequencies and SpanComparisons: the cells of the span tables;
// - footnotes: the flags that call for the pages' footnotes;
// - messages: the texts of the message boxes raised while the occasion was read and scored.
// Runs the analyses, which rebuild their process-wide rows.
QJsonObject occasionReportJson(const std::vector<std::string>& messages);
