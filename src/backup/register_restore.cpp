// SPDX-License-Identifier: Apache-2.0
#include "register_restore.h"

#include "backup_encryption.h"
#include "db.h"
#include "file_time_stamp.h"
#include "message_box.h"
#include "register_journal.h"
#include "register_schema.h"
#include "safe_file.h"
#include "schema.h"
#include "system_error_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Where the register that is replaced is kept: a name no earlier restore has taken.
std::string keptRegisterPath(std::time_t now) {
    const std::string stem = std::filesystem::path(kDatabaseFileName).stem().string() +
                             "-fore-aterstallning-" + fileTimeStamp(now);
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
            error = std::string("Fel vid läsning: ") + systemErrorText(errno);
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
        error = std::string(kDatabaseFileName) + " kan inte läsas: " + systemErrorText(errno);
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
bool stageCopy(int copyFd, bool encrypted, std::string_view passphrase, SafeFile& staged,
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
        if (findings.empty() && facts.olderSchema && DoAddLoginFailures() != DB_DONE) {
            findings.push_back("Kopian saknar tabellen över misslyckade inloggningar, och den "
                               "kunde inte läggas till: " +
                               driverMessage);
        }
    }
    DoDisconnect();
    setMessageBoxHandler(previous);
    return findings.empty();
}

} // namespace

bool restoreRegisterCopy(int copyFd, bool encrypted, std::string_view passphrase,
                         RestoredRegister& restored, std::vector<std::string>& findings) {
    std::string error;
    std::vector<SchemaShape> known;
    if (!knownSchemaShapes(known, error)) {
        findings = {error};
        return false;
    }
    SafeFile staged;
    const bool staging = staged.open(kDatabaseFileName, error, SafeFileTarget::RegisterFile) &&
                         stageCopy(copyFd, encrypted, passphrase, staged, restored.made, error);
    if (!staging || !checkStagedCopy(staged, known, restored.facts, findings) ||
        !replaceRegister(staged, restored.kept, restored.replaced, error)) {
        if (findings.empty()) {
            findings.push_back(error);
        }
        return false;
    }
    return true;
}
