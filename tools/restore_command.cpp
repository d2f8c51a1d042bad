// SPDX-License-Identifier: Apache-2.0
#include "backup_access_log.h"
#include "backup_commands.h"
#include "backup_encryption.h"
#include "command_usage.h"
#include "data_source.h"
#include "db.h"
#include "exit_status.h"
#include "passphrase_prompt.h"
#include "register_lock.h"
#include "register_restore.h"
#include "safe_file.h"
#include "schema.h"
#include "swedish_count.h"
#include "system_error_text.h"
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
            refuseArgument("restore", args[i]);
            return false;
        }
    }
    if (options.copy.empty()) {
        std::fprintf(stderr, "Ange kopian som ska återställas.\n");
        printCommandUsage(stderr, "restore");
        return false;
    }
    return true;
}

// Local time as a person reads it.
std::string localTimeText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
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
                     copyFd < 0 ? ": " : "", copyFd < 0 ? systemErrorText(errno).c_str() : "",
                     kNothingChanged);
        if (copyFd >= 0) {
            ::close(copyFd);
        }
        return kExitFailed;
    }
    const bool encrypted = isEncryptedBackup(copyFd);
    SecretBuffer passphrase;
    if (encrypted && !readPassphrase(options.passphraseFile, false, passphrase)) {
        ::close(copyFd);
        return kExitFailed;
    }
    RestoredRegister restored;
    std::vector<std::string> findings;
    const bool done = restoreRegisterCopy(copyFd, encrypted, passphrase.view(), restored, findings);
    ::close(copyFd);
    if (!done) {
        printRefusal(options.copy, findings);
        return kExitFailed;
    }
    // The register is restored either way; a missing log row is said and gives status 2.
    bool logged = false;
    if (connectWorkingDatabase()) {
        logged = logRegisterRestored(options.copy, restored.facts.persons, restored.replaced);
        DoDisconnect();
    }
    std::printf(
        "Registret är återställt från %s: %s, kopian gjord %s.\n", options.copy.c_str(),
        swedishCount(static_cast<long long>(restored.facts.persons), "testperson", "testpersoner")
            .c_str(),
        localTimeText(restored.made).c_str());
    if (restored.facts.beforeAccessLog) {
        std::printf("Kopian var gjord före åtkomstloggen och har fått den, som med rivo-admin "
                    "upgrade-db.\n");
    }
    if (!restored.kept.empty()) {
        std::printf("Det tidigare registret finns kvar som %s.\n", restored.kept.c_str());
    }
    return logged ? kExitClean : kExitWithWarnings;
}
