// SPDX-License-Identifier: Apache-2.0
#include "norm_commands.h"
#include "command_usage.h"
#include "exit_status.h"

#include "access_log.h"
#include "database_backup.h"
#include "db.h"
#include "demo_norm_tables.h"
#include "file_time_stamp.h"
#include "norm_checks.h"
#include "norm_files.h"
#include "norm_fingerprint.h"
#include "safe_file.h"
#include "swedish_count.h"
#include "working_database.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {

bool folderArgument(const std::vector<std::string>& args, const char* command,
                    std::string& folder) {
    if (args.empty()) {
        std::fprintf(stderr, "Ange mappen med normtabellernas CSV-filer.\n");
        printCommandUsage(stderr, command);
        return false;
    }
    for (const std::string& arg : args) {
        if (arg.starts_with("--") || &arg != &args.front()) {
            refuseArgument(command, arg);
            return false;
        }
    }
    folder = args[0];
    return true;
}

void printProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "%s\n", problem.c_str());
    }
}

// The time now in UTC, as text to store with the norms.
std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// What every copy taken before an import is named by: "DODODA-fore-normimport-".
std::string backupNamePrefix() {
    return std::filesystem::path(kDatabaseFileName).stem().string() + "-fore-normimport-";
}

// A name beside the database that no earlier backup has taken.
std::string backupPath() {
    const std::string stem = backupNamePrefix() + fileTimeStamp(std::time(nullptr));
    std::string path = stem + ".db";
    for (int n = 2; std::filesystem::exists(path); ++n) {
        path = stem + "-" + std::to_string(n) + ".db";
    }
    return path;
}

std::size_t rowCount(const NormTables& tables) {
    return tables.groups.size() + tables.norms.size() + tables.indexNorms.size();
}

std::string rowsText(std::size_t count) {
    return swedishCount(static_cast<long long>(count), "rad", "rader");
}

// The norm tables of the working database and whether they are the demonstration norms; false
// when they cannot be read (said on standard error).
bool readStoredNorms(NormTables& tables, bool& synthetic) {
    if (!connectWorkingDatabase()) {
        return false;
    }
    const bool read = DoReadNormTables(tables) == DB_DONE;
    synthetic = DoReadNormsSynthetic();
    DoDisconnect();
    if (!read) {
        std::fprintf(stderr, "Normtabellerna i %s kunde inte läsas.\n", kDatabaseFileName);
    }
    return read;
}

// The numbers of stored rows that are NULL or no number: they would be written as 0.
std::vector<std::string> unreadableNumbers(const NormTables& tables) {
    std::vector<std::string> found;
    const auto note = [&found](const char* table, const std::string& key,
                               const std::string& column) {
        if (!column.empty()) {
            found.push_back(std::string(table) + " (" + key + "): " + column +
                            " saknar värde eller är inget tal.");
        }
    };
    for (const NormGroupEntry& row : tables.groups) {
        note(kNormGroupTable, row.normgrupp + ", " + row.delgrupp, row.unreadable);
    }
    for (const NormEntry& row : tables.norms) {
        note(kNormTable, row.normgrupp + ", " + row.delskala + ", " + row.delgrupp, row.unreadable);
    }
    for (const IndexNormEntry& row : tables.indexNorms) {
        note(kIndexNormTable, row.normgrupp + ", " + row.index + ", " + std::to_string(row.skal),
             row.unreadable);
    }
    return found;
}

} // namespace

int runExportNormsCommand(const std::vector<std::string>& args) {
    std::string folder;
    if (!folderArgument(args, "export-norms", folder)) {
        return kExitFailed;
    }
    NormTables tables;
    bool synthetic = true;
    if (!readStoredNorms(tables, synthetic)) {
        return kExitFailed;
    }
    if (const std::vector<std::string> unreadable = unreadableNumbers(tables);
        !unreadable.empty()) {
        printProblems(unreadable);
        std::fprintf(stderr,
                     "Normtabellerna skrevs inte: %zu tal kan inte läsas och skulle bli "
                     "0 i filerna. Rätta dem i databasen först.\n",
                     unreadable.size());
        return kExitFailed;
    }
    std::string error;
    if (!writeNormFolder(folder, tables, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("Normtabellerna (%s, %s) skrevs till %s.\n", rowsText(rowCount(tables)).c_str(),
                synthetic ? "syntetiska demonstrationsnormer" : "inlästa normer", folder.c_str());
    return kExitClean;
}

int runImportNormsCommand(const std::vector<std::string>& args) {
    std::string folder;
    if (!folderArgument(args, "import-norms", folder)) {
        return kExitFailed;
    }
    NormTables tables;
    std::vector<std::string> problems;
    if (readNormFolder(folder, tables, problems)) {
        problems = checkNormTables(tables, true);
    }
    if (!problems.empty()) {
        printProblems(problems);
        std::fprintf(stderr, "Normtabellerna lästes inte in (%zu fel); databasen är oförändrad.\n",
                     problems.size());
        return kExitFailed;
    }
    if (!connectWorkingDatabase(AccessLogNeed::Required)) {
        return kExitFailed;
    }
    // A register on a server is backed up there by its administrator; the replacement is one
    // transaction either way.
    const bool onServer = connectedToServer();
    // Each copy has a name of its own, so the copy a killed import left half-written is not the
    // target of this one: every such leftover whose import is gone is removed here.
    removeLeftoverTemporariesOfFamily(".", backupNamePrefix());
    const std::string backup = onServer ? "" : backupPath();
    std::string message;
    if (!onServer && !logBeforeReading(AccessEvent::Backup, std::nullopt, backup)) {
        DoDisconnect();
        return 1;
    }
    if (!onServer && !writeDatabaseBackup(backup, message, SafeFileTarget::RegisterFile)) {
        DoDisconnect();
        std::fprintf(stderr,
                     "Säkerhetskopian %s kunde inte skrivas (%s); databasen är oförändrad.\n",
                     backup.c_str(), message.c_str());
        return kExitFailed;
    }
    // The demonstration tables read back from an exported template are still synthetic norms:
    // only tables that differ from them count as licensed.
    const bool demonstration =
        normTablesFingerprint(tables) == normTablesFingerprint(demoNormTables());
    const bool replaced = DoReplaceNormTables(tables, utcNow().c_str(),
                                              demonstration ? NormOrigin::Demonstration
                                                            : NormOrigin::Imported) == DB_DONE;
    DoDisconnect();
    if (!replaced) {
        std::fprintf(stderr, "Normtabellerna kunde inte skrivas; databasen är oförändrad.\n");
        return kExitFailed;
    }
    std::printf("Normtabellerna lästes in: %s NORMGRUPPER, %s NORMER, %s INDEX_NORMER. %s%s%s\n",
                rowsText(tables.groups.size()).c_str(), rowsText(tables.norms.size()).c_str(),
                rowsText(tables.indexNorms.size()).c_str(),
                demonstration ? "Det är de syntetiska demonstrationsnormerna, oförändrade: de "
                                "gäller fortfarande inte för kliniskt bruk. "
                              : "",
                onServer ? "Registret finns på en databasserver och säkerhetskopieras där."
                         : "Säkerhetskopia av databasen innan: ",
                backup.c_str());
    return kExitClean;
}

int runCheckNormsCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        refuseArgument("check-norms", args.front());
        return kExitFailed;
    }
    NormTables tables;
    bool synthetic = true;
    if (!readStoredNorms(tables, synthetic)) {
        return kExitFailed;
    }
    const std::vector<std::string> problems = checkNormTables(tables, false);
    if (!problems.empty()) {
        printProblems(problems);
        std::fprintf(
            stderr, "Normtabellerna i %s bryter mot %s.\n", kDatabaseFileName,
            swedishCount(static_cast<long long>(problems.size()), "regel", "regler").c_str());
        return kExitFailed;
    }
    std::printf("Normtabellerna i %s är fullständiga (%s, %s).\n", kDatabaseFileName,
                rowsText(rowCount(tables)).c_str(),
                synthetic ? "syntetiska demonstrationsnormer" : "inlästa normer");
    return kExitClean;
}
