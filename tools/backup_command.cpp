// SPDX-License-Identifier: Apache-2.0
#include "backup_access_log.h"
#include "backup_commands.h"
#include "backup_encryption.h"
#include "backup_folder.h"
#include "database_backup.h"
#include "db.h"
#include "exit_status.h"
#include "passphrase_input.h"
#include "safe_file.h"
#include "working_database.h"

#include <fcntl.h>
#include <unistd.h>

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

// How a copy's name is claimed: a file named by the user is replaced as any output is; a dated
// name in a folder is never replaced (another run may have claimed it the same minute).
enum class Claim { Replace, NewName };

bool commitCopy(SafeFile& file, Claim claim, bool& taken, std::string& error) {
    if (claim == Claim::Replace) {
        return file.commit(error);
    }
    const bool committed = file.commitNoReplace(error);
    taken = file.targetTaken();
    return committed;
}

bool writePlainCopy(const std::string& target, Claim claim, bool& taken, std::string& error) {
    if (!outputTargetAllowed(target, error)) {
        return false;
    }
    return claim == Claim::Replace ? writeDatabaseBackup(target, error)
                                   : writeDatabaseBackupToNewName(target, error, taken);
}

// The clear copy that is encrypted is made beside the register, which holds the same data in the
// clear already, and never on the medium of the target: a USB stick keeps what was once written
// to it. It is a temporary of the safe writer that is never committed, so a killed run leaves
// nothing the next one does not remove.
constexpr const char* kClearCopyName = "DODODA.db.okrypterad-kopia";

bool writeEncryptedCopy(const std::string& target, const std::string& passphrase, Claim claim,
                        bool& taken, std::string& error) {
    SafeFile clear;
    SafeFile sealed;
    if (!clear.open(kClearCopyName, error) || !sealed.open(target, error)) {
        return false;
    }
    const std::int64_t made = std::time(nullptr);
    char message[512] = {};
    if (DoVacuumInto(clear.temporaryPath().c_str(), message, sizeof message) != DB_DONE) {
        error = std::string("Registret kunde inte kopieras: ") + message;
        return false;
    }
    const int fd = ::open(clear.temporaryPath().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = "Fel vid läsning av kopian att kryptera.";
        return false;
    }
    const bool encrypted = encryptBackup(
        fd, [&](std::string_view bytes) { return sealed.write(bytes); }, passphrase, made, error);
    ::close(fd);
    clear.abandon();
    if (!encrypted) {
        if (error.empty()) {
            sealed.commit(error); // refuses, and says why the write failed
        }
        return false;
    }
    return commitCopy(sealed, claim, taken, error);
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
    std::string passphrase;
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
    const Claim claim = options.folder.empty() ? Claim::Replace : Claim::NewName;
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
        written = options.encrypt ? writeEncryptedCopy(target, passphrase, claim, taken, error)
                                  : writePlainCopy(target, claim, taken, error);
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
