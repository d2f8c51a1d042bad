// SPDX-License-Identifier: Apache-2.0
#include "backup_access_log.h"
#include "backup_commands.h"
#include "backup_encryption.h"
#include "data_source.h"
#include "db.h"
#include "exit_status.h"
#include "message_box.h"
#include "passphrase_input.h"
#include "register_check.h"
#include "register_journal.h"
#include "register_lock.h"
#include "safe_file.h"
#include "schema.h"
#include "working_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace {

constexpr const char* kNothingChanged = "Registret är oförändrat.";
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};

struct RestoreOptions {
    std::string copy;
    std::string passphraseFile;
};

bool parseRestoreOptions(const std::vector<std::string>& args, RestoreOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--passphrase-file" && i + 1 < args.size()) {
            options.passphraseFile = args[++i];
        } else if (options.copy.empty() && !args[i].starts_with("--")) {
            options.copy = args[i];
        } else {
            options.copy.clear();
            break;
        }
    }
    if (options.copy.empty()) {
        std::fprintf(stderr, "Användning: rivo-admin restore FIL [--passphrase-file FIL]\n");
        return false;
    }
    return true;
}

// Local time as a file name takes it (2026-12-07T021530) or as a person reads it.
std::string localTimeText(std::time_t when, bool forFileName) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[40];
    if (forFileName) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H%M%S", &local);
    } else {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    }
    return text;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Where the register that is replaced is kept: a name no earlier restore has taken.
std::string keptRegisterPath(std::time_t now) {
    const std::string stem = std::filesystem::path(kDatabaseFileName).stem().string() +
                             "-fore-aterstallning-" + localTimeText(now, true);
    std::string path = stem + ".db";
    for (int n = 2; exists(path); ++n) {
        path = stem + "-" + std::to_string(n) + ".db";
    }
    return path;
}

// Copies everything readable from fd into the writer; false with the reason in error.
bool copyInto(int fd, SafeFile& out, std::string& error) {
    char buffer[1 << 16];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = std::string("Fel vid läsning: ") + std::strerror(errno);
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!out.write(std::string_view(buffer, static_cast<std::size_t>(got)))) {
            return out.commit(error); // refuses, and says why the write failed
        }
        offset += got;
    }
}

// What beside the register would be written into the restored one by its next opener: a
// journal SQLite did not roll back, or a WAL file (the register never uses one). Empty when
// nothing is there.
std::string companionLeft(const std::string& claimMessage) {
    const JournalInspection journal = inspectJournal(kDatabaseFileName);
    const std::string wal = std::string(kDatabaseFileName) + "-wal";
    if (journal.state == JournalState::MayBelong || journal.state == JournalState::Foreign) {
        return "Bredvid registret ligger " + journal.path +
               " från en avbruten ändring, som SQLite inte kunde rulla tillbaka" +
               (claimMessage.empty() ? std::string() : " (" + claimMessage + ")") +
               ". Den skulle annars skrivas in i det återställda registret. Flytta filen till en "
               "annan mapp och försök igen.";
    }
    if (exists(wal)) {
        return "Bredvid registret ligger " + wal +
               ", men registret skrivs aldrig med en sådan fil och SQLite skulle skriva in den i "
               "det återställda registret. Flytta filen till en annan mapp och försök igen.";
    }
    return {};
}

// Puts the copy (the file of the writer staged) in place of the register file by one rename, so
// that at any moment the register is either the old one or the copy; the old one is first kept
// as a file of its own. While that happens the old register is claimed from SQLite, so that no
// other program reads or writes it in between.
bool replaceRegister(SafeFile& staged, std::string& kept, std::optional<AccessLogHead>& replaced,
                     std::string& error) {
    if (!exists(kDatabaseFileName)) {
        return staged.commit(error);
    }
    // The claim below rolls back a journal left by a stopped change, as any opener would; a
    // journal of another file must not be rolled back into the register.
    const JournalInspection journal = inspectJournal(kDatabaseFileName);
    if (journal.state == JournalState::Foreign) {
        error = "Bredvid registret ligger " + journal.path +
                ", som inte kan höra till registret: " + journal.reason +
                ". SQLite skulle skriva in den i registret. Flytta filen till "
                "en annan mapp och försök igen.";
        return false;
    }
    // Opened before SQLite opens the file, and closed only after SQLite has let it go: closing a
    // descriptor of a file drops every lock the process holds on it, SQLite's included.
    const int oldFd = ::open(kDatabaseFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (oldFd < 0) {
        error = std::string(kDatabaseFileName) + " kan inte läsas: " + std::strerror(errno);
        return false;
    }
    FileClaim claim = FileClaim::Failed;
    std::string claimMessage;
    if (DoConnect("", "", kDatabaseFileName) == 1) {
        // The restore's row names the head it replaces, read before the claim (whose
        // transaction a statement's commit would end); the register lock keeps writers out. A
        // register without a readable log leaves it unnamed, its reason unshown: it is being
        // replaced for it.
        const MessageBoxHandler previous =
            setMessageBoxHandler([](const MessageRequest&) { return 1; });
        AccessLogHead head;
        if (DoReadAccessLogHead(head) == DB_DONE) {
            replaced = head;
        }
        setMessageBoxHandler(previous);
        claim = DoClaimDatabaseFile(claimMessage);
    }
    error = claim == FileClaim::Busy ? std::string(kDatabaseLockedMessage)
                                     : companionLeft(claimMessage);
    bool done = false;
    if (error.empty()) {
        // A register that SQLite cannot open at all (the reason for many a restore) is kept and
        // replaced all the same.
        kept = keptRegisterPath(std::time(nullptr));
        SafeFile keep;
        done = keep.open(kept, error, SafeFileTarget::RegisterFile) &&
               copyInto(oldFd, keep, error) && keep.commit(error) && staged.commit(error);
    }
    if (claim == FileClaim::Claimed) {
        DoReleaseDatabaseFile();
    }
    DoDisconnect();
    ::close(oldFd);
    return done;
}

// Writes the register held in the copy (decrypted when it is encrypted) into staged; false with
// the reason in error.
bool stageCopy(int copyFd, bool encrypted, const std::string& passphrase, SafeFile& staged,
               std::time_t& made, std::string& error) {
    if (encrypted) {
        std::int64_t created = 0;
        const bool decrypted = decryptBackup(
            copyFd, [&](std::string_view bytes) { return staged.write(bytes); }, passphrase,
            created, error);
        made = static_cast<std::time_t>(created);
        if (!decrypted && error.empty()) {
            staged.commit(error);
        }
        return decrypted;
    }
    char magic[kSqliteMagic.size()] = {};
    if (::pread(copyFd, magic, sizeof magic, 0) != static_cast<ssize_t>(sizeof magic) ||
        std::string_view(magic, sizeof magic) != kSqliteMagic) {
        error = "Filen är ingen säkerhetskopia av registret (varken en databas eller en "
                "krypterad kopia).";
        return false;
    }
    struct stat info {};
    made = ::fstat(copyFd, &info) == 0 ? info.st_mtime : 0;
    return copyInto(copyFd, staged, error);
}

// Checks the copy staged beside the register and, when it has the older schema, upgrades it
// there as upgrade-db would, before it is put in place. false with every finding in findings.
bool checkStagedCopy(const SafeFile& staged, const std::vector<SchemaShape>& known,
                     RegisterFacts& facts, std::vector<std::string>& findings) {
    // The copy is opened where it lies, beside the register; no message of the driver is shown.
    std::string driverMessage;
    const MessageBoxHandler previous = setMessageBoxHandler([&](const MessageRequest& request) {
        driverMessage = request.text;
        return 1;
    });
    if (DoConnect("", "", staged.temporaryPath().c_str()) != 1) {
        findings.push_back("Kopian kan inte öppnas som databas: " + driverMessage);
    } else {
        findings = DoCheckRegisterCopy(known, facts);
        if (findings.empty() && facts.beforeAccessLog && DoAddAccessLog() != DB_DONE) {
            findings.push_back("Kopian saknar åtkomstlogg, och loggen kunde inte läggas till: " +
                               driverMessage);
        }
    }
    DoDisconnect();
    setMessageBoxHandler(previous);
    return findings.empty();
}

void printRefusal(const std::string& copy, const std::vector<std::string>& findings) {
    std::fprintf(stderr, "%s återställdes inte:\n", copy.c_str());
    for (const std::string& finding : findings) {
        std::fprintf(stderr, "  %s\n", finding.c_str());
    }
    std::fprintf(stderr, "%s\n", kNothingChanged);
}

} // namespace

int runRestoreCommand(const std::vector<std::string>& args) {
    RestoreOptions options;
    if (!parseRestoreOptions(args, options)) {
        return kExitFailed;
    }
    DataSourceSetting setting;
    std::string error;
    if (!readDataSourceSetting(setting, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    if (setting.configured) {
        std::fprintf(stderr,
                     "Registret finns på en databasserver och återställs där, av "
                     "serverns administratör (till exempel med pg_restore). %s\n",
                     kNothingChanged);
        return kExitFailed;
    }
    // The program and rivo-admin hold this lock shared while they have the register open; held
    // exclusively it also keeps them from opening it while it is replaced. It is the lock
    // connectRegister takes (the same path), so the restore's own log row is written under it.
    std::error_code ignored;
    if (!holdRegisterLock(std::filesystem::current_path(ignored).string(),
                          RegisterLockMode::Exclusive, error)) {
        std::fprintf(stderr, "%s %s\n", error.c_str(), kNothingChanged);
        return kExitFailed;
    }
    const int copyFd = ::open(options.copy.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (copyFd < 0 || ::fstat(copyFd, &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "%s kan inte läsas som en fil%s%s. %s\n", options.copy.c_str(),
                     copyFd < 0 ? ": " : "", copyFd < 0 ? std::strerror(errno) : "",
                     kNothingChanged);
        if (copyFd >= 0) {
            ::close(copyFd);
        }
        return kExitFailed;
    }
    const bool encrypted = isEncryptedBackup(copyFd);
    std::string passphrase;
    if (encrypted && !readPassphrase(options.passphraseFile, false, passphrase)) {
        ::close(copyFd);
        return kExitFailed;
    }
    std::vector<SchemaShape> known;
    if (!knownSchemaShapes(known, error)) {
        ::close(copyFd);
        printRefusal(options.copy, {error});
        return kExitFailed;
    }
    SafeFile staged;
    std::time_t made = 0;
    RegisterFacts facts;
    std::string kept;
    std::optional<AccessLogHead> replaced;
    std::vector<std::string> findings;
    const bool staging = staged.open(kDatabaseFileName, error, SafeFileTarget::RegisterFile) &&
                         stageCopy(copyFd, encrypted, passphrase, staged, made, error);
    ::close(copyFd);
    if (!staging || !checkStagedCopy(staged, known, facts, findings) ||
        !replaceRegister(staged, kept, replaced, error)) {
        if (findings.empty()) {
            findings.push_back(error);
        }
        printRefusal(options.copy, findings);
        return kExitFailed;
    }
    // The register is restored either way; a missing log row is said and gives status 2.
    bool logged = false;
    if (connectWorkingDatabase()) {
        logged = logRegisterRestored(options.copy, facts.persons, replaced);
        DoDisconnect();
    }
    std::printf("Registret är återställt från %s: %lld testpersoner, kopian gjord %s.\n",
                options.copy.c_str(), static_cast<long long>(facts.persons),
                localTimeText(made, false).c_str());
    if (facts.beforeAccessLog) {
        std::printf("Kopian var gjord före åtkomstloggen och har fått den, som med rivo-admin "
                    "upgrade-db.\n");
    }
    if (!kept.empty()) {
        std::printf("Det tidigare registret finns kvar som %s.\n", kept.c_str());
    }
    return logged ? kExitClean : kExitWithWarnings;
}
