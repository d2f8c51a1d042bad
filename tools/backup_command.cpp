// SPDX-License-Identifier: Apache-2.0
#include "backup_access_log.h"
#include "backup_commands.h"
#include "backup_folder.h"
#include "database_backup.h"
#include "db.h"
#include "exit_status.h"
#include "passphrase_prompt.h"
#include "register_copy.h"
#include "working_database.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {

struct BackupOptions {
    std::string file;
    std::string folder;
    int keep = kDefaultKeptCopies;
    bool keepGiven = false;
    bool encrypt = false;
    std::string passphraseFile;
};

void printBackupUsage() {
    std::fprintf(stderr, "Användning: rivo-admin backup (FIL | --folder MAPP [--keep N])\n"
                         "                          [--encrypt [--passphrase-file FIL]]\n");
}

bool parseKeep(const std::string& text, int& keep) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 100000) {
        return false;
    }
    keep = static_cast<int>(value);
    return true;
}

bool parseBackupOptions(const std::vector<std::string>& args, BackupOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--folder" && hasValue) {
            options.folder = args[++i];
        } else if (arg == "--keep" && hasValue) {
            if (!parseKeep(args[++i], options.keep)) {
                std::fprintf(stderr, "--keep anger hur många kopior som sparas: ett heltal från "
                                     "1 och uppåt.\n");
                return false;
            }
            options.keepGiven = true;
        } else if (arg == "--encrypt") {
            options.encrypt = true;
        } else if (arg == "--passphrase-file" && hasValue) {
            options.passphraseFile = args[++i];
        } else if (options.file.empty() && !arg.starts_with("--")) {
            options.file = arg;
        } else {
            std::fprintf(stderr, "Okänt argument: %s\n", arg.c_str());
            printBackupUsage();
            return false;
        }
    }
    if (options.file.empty() == options.folder.empty()) {
        std::fprintf(stderr, "Ange antingen en fil eller --folder MAPP.\n");
        printBackupUsage();
        return false;
    }
    if (options.keepGiven && options.folder.empty()) {
        std::fprintf(stderr, "--keep gäller bara tillsammans med --folder.\n");
        return false;
    }
    if (!options.passphraseFile.empty() && !options.encrypt) {
        std::fprintf(stderr, "--passphrase-file gäller bara tillsammans med --encrypt.\n");
        return false;
    }
    return true;
}

// Dated names claimed one after another when other runs take them first.
constexpr int kNameClaims = 20;

} // namespace

int runBackupCommand(const std::vector<std::string>& args) {
    BackupOptions options;
    if (!parseBackupOptions(args, options)) {
        return kExitFailed;
    }
    std::error_code ec;
    if (!options.folder.empty() && !std::filesystem::is_directory(options.folder, ec)) {
        std::fprintf(stderr, "Mappen %s finns inte.\n", options.folder.c_str());
        return kExitFailed;
    }
    SecretBuffer passphrase;
    if (options.encrypt && !readPassphrase(options.passphraseFile, true, passphrase)) {
        return kExitFailed;
    }
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    if (connectedToServer()) {
        DoDisconnect();
        std::fprintf(stderr, "%s\n", kServerBackupMessage);
        return kExitFailed;
    }
    const CopyClaim claim = options.folder.empty() ? CopyClaim::Replace : CopyClaim::NewName;
    std::string target;
    std::string error;
    bool written = false;
    for (int attempt = 0; attempt < kNameClaims && !written; ++attempt) {
        target = options.folder.empty()
                     ? options.file
                     : freeDatedCopyPath(options.folder, std::time(nullptr), options.encrypt);
        // A target that may not be written is refused before the access log records anything.
        if (!outputTargetAllowed(target, error)) {
            break;
        }
        if (!logBackupBeforeWriting(target, options.encrypt)) {
            DoDisconnect();
            return kExitFailed;
        }
        bool taken = false;
        written =
            writeRegisterCopy(target, options.encrypt ? &passphrase : nullptr, claim, taken, error);
        if (!taken) {
            break;
        }
    }
    DoDisconnect();
    if (!written) {
        std::fprintf(stderr, "Säkerhetskopian kunde inte skrivas: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("Säkerhetskopia%s skriven: %s\n", options.encrypt ? " (krypterad)" : "",
                target.c_str());
    if (options.folder.empty()) {
        return kExitClean;
    }
    std::vector<std::string> removed;
    const bool pruned = keepNewestCopies(options.folder, options.keep, target, removed, error);
    for (const std::string& path : removed) {
        std::printf("Gammal kopia borttagen: %s\n", path.c_str());
    }
    if (!pruned) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitWithWarnings;
    }
    return kExitClean;
}
