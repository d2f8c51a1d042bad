// rivo-admin backup --encrypt and rivo-admin restore of that copy, as a nightly timer and a clinic
// run them, on a register of 100 000 persons: the whole command, process start and the key
// derivation included. The goal is at most 2 s for each.

#include "bench_database.h"
#include "db.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kPersons = 100000;

// Runs rivo-admin in folder; true when it ended with status 0.
bool admin(const std::filesystem::path& folder, std::vector<std::string> args) {
    const pid_t child = fork();
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        if (chdir(folder.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(RIVO_ADMIN_PATH)};
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(RIVO_ADMIN_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class BackupRegister {
  public:
    BackupRegister() : database_(kPersons) {
        DoDisconnect(); // rivo-admin works on the file on its own
        const std::string passphrase = (database_.directory() / "fras").string();
        const int fd = open(passphrase.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        constexpr char kPhrase[] = "en lång lösenfras för mätningen\n";
        ok_ = fd >= 0 && write(fd, kPhrase, sizeof kPhrase - 1) > 0;
        close(fd);
    }
    bool ok() const { return ok_; }
    std::filesystem::path folder() const { return database_.directory(); }
    double bytes() const {
        return static_cast<double>(std::filesystem::file_size(database_.path()));
    }

  private:
    BenchDatabase database_;
    bool ok_ = false;
};

BackupRegister& largeRegister() {
    static BackupRegister instance;
    return instance;
}

void BM_EncryptedBackupCommand(benchmark::State& state) {
    BackupRegister& data = largeRegister();
    for (auto _ : state) {
        if (!data.ok() || !admin(data.folder(), {"backup", "--encrypt", "--passphrase-file", "fras",
                                                 "kopia.db.krypterad"})) {
            state.SkipWithError("rivo-admin backup failed");
        }
    }
    state.counters["bytes"] = data.bytes();
}
BENCHMARK(BM_EncryptedBackupCommand)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RestoreEncryptedCopyCommand(benchmark::State& state) {
    BackupRegister& data = largeRegister();
    if (!admin(data.folder(),
               {"backup", "--encrypt", "--passphrase-file", "fras", "kopia.db.krypterad"})) {
        state.SkipWithError("rivo-admin backup failed");
        return;
    }
    for (auto _ : state) {
        if (!admin(data.folder(), {"restore", "kopia.db.krypterad", "--passphrase-file", "fras"})) {
            state.SkipWithError("rivo-admin restore failed");
        }
        state.PauseTiming();
        for (const auto& entry : std::filesystem::directory_iterator(data.folder())) {
            if (entry.path().filename().string().starts_with("DODODA-fore-aterstallning-")) {
                std::filesystem::remove(entry.path());
            }
        }
        state.ResumeTiming();
    }
    state.counters["bytes"] = data.bytes();
}
BENCHMARK(BM_RestoreEncryptedCopyCommand)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
