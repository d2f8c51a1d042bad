#pragma once

#include "norm_source.h"
#include "test_occasion.h"

#include <functional>
#include <string>

// The four column groups a user can choose for the export.
enum ExportGroup : int {
    EXPORT_PERSON = 0, // personal data
    EXPORT_RAW = 1,    // raw scores
    EXPORT_SCALED = 2, // scaled scores
    EXPORT_INDEX = 3,  // index sums and index scores
};
inline constexpr int kExportGroupCount = 4;

struct ExportSelection {
    bool groups[kExportGroupCount] = {};
    bool any() const { return groups[0] || groups[1] || groups[2] || groups[3]; }
};

enum class ExportResult {
    Written,     // the file holds the header and every stored person with raw scores
    ReadFailed,  // a database error (already reported) ended the reading early or spoilt a
                 // lookup: the file is written but incomplete and must not be reported as done
    NoSelection, // no group chosen: message shown, the file is left empty
    CannotOpen,  // the file could not be created: message shown
    WriteFailed, // writing failed part-way: message shown
    Cancelled,   // stopped at the caller's request: the partial file is removed, message shown
    Refused,     // the access log could not record the export: nothing written, message shown
};

// Writes every stored person that has raw scores to one tab-separated file at path, in ID
// order, with the chosen column groups; scaled scores and index scores are computed afresh for
// each person into occasion. Norm rows are read once per run and reused from person to person.
// progress, when given, is told the number of persons written so far after each one.
ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion,
                         const std::function<void(int)>& progress = nullptr);

// The same with the caller's norm source. progress, when given, is told the number of persons
// written so far after each one and answers whether to go on; false stops the export.
ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion, NormSource& norms,
                         const std::function<bool(int)>& progress);

inline constexpr const char* kExportWriteError = "Fel vid skrivning av fil (code 1829)";
inline constexpr const char* kExportCancelled = "Exporten avbröts. Ingen fil har sparats.";
inline constexpr const char* kExportIncomplete =
    "Exporten är ofullständig eller felaktig på grund av ett databasfel (se föregående "
    "meddelande). Filen har inte öppnats.";
