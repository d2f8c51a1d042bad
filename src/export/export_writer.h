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
                 // lookup: nothing is saved, an earlier file of that name stays as it was
    NoSelection, // no group chosen: message shown, the file is left empty
    CannotOpen,  // the file may not or cannot be created: message shown, nothing written
    WriteFailed, // writing failed part-way (a full disk): message shown, nothing saved
    Cancelled,   // stopped at the caller's request: nothing saved, message shown
};

// Writes every stored person that has raw scores to one tab-separated file at path, in ID
// order, through the safe writer (safe_file.h): the file replaces an earlier one only when it is
// complete, and a link, folder, FIFO or device at path is refused, with the chosen column groups;
// scaled scores and index scores are computed afresh for each person into occasion. Norm rows are
// read once per run and reused from person to person. progress, when given, is told the number of
// persons written so far after each one.
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
    "Exporten avbröts på grund av ett databasfel (se föregående meddelande). Ingen fil har "
    "sparats.";
