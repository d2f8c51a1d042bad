// SPDX-License-Identifier: Apache-2.0
// Every kind of output file against the targets and mishaps the one safe writer is there for: a
// link (dangling or not), a folder, a FIFO, an existing readable file, umask 000, a full disk and
// a kill in the middle of the write. The real rivo-admin commands run as child processes; the
// backup behind the "Säkerhetskopia" button runs in a child process of its own.

#include "database_backup.h"
#include "db.h"
#include "message_capture.h"
#include "safe_file.h"
#include "subtest_table.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum class Mishap {
    None,
    Link,
    DanglingLink,
    Folder,
    Fifo,
    Readable0644,
    Umask000,
    FullDisk,
    Kill
};

// How one kind of output is made. fileName is where its file lands (relative to the working
// folder); empty for the import's copy, whose name holds the time.
struct OutputKind {
    const char* name;
    const char* command; // rivo-admin arguments; null: the button's backup
    const char* fileName;
    bool refusesExisting; // the norm template never replaces a file
    // The access log's row is written to the register before the file: under the size limit the
    // kill then lands in that row's write, before a temporary exists.
    bool logsFirst = false;
};

struct ChildRun {
    int exitCode = -1; // -1 when killed
    int signal = 0;
    std::string errors;
};

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Names in the folder (and one level below) that are a writer's temporary.
int temporaries(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        count += entry.path().filename().string().find(kTemporaryMarker) != std::string::npos;
    }
    return count;
}

fs::path importCopy(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("DODODA-fore-normimport-")) {
            return entry.path();
        }
    }
    return {};
}

class OutputFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(
            run("init-db --user psykolog --password-stdin", Mishap::None, "demo123\n").exitCode, 0);
        ASSERT_EQ(DoConnect("", "", dir_.file(kDatabaseFileName).c_str()), 1);
        ASSERT_EQ(DoReadNameID(), DB_DONE);
        TestOccasion occasion{};
        std::strcpy(occasion.person.NAMN, "Säker Skrivning");
        occasion.person.SEX = 2;
        occasion.person.BORNDATE = DateValue{1970, 1, 2};
        occasion.person.TESTDATE = occasion.TD_TESTDATE = DateValue{2011, 2, 13};
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion.RawScores[i] = kSubtests[i].formMax / 2;
        }
        // The total the form stores for the three digit-span parts.
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        ASSERT_EQ(occasion.person.ID, 1);
        DoDisconnect();
        ASSERT_EQ(run("export-norms normer", Mishap::None).exitCode, 0);
    }

    // Runs the command (or the backup) in a child in the test's folder; umask 000, a file-size
    // limit that fails the write (full disk) or kills at it, as the mishap asks.
    ChildRun run(const char* command, Mishap mishap, const std::string& input = "") {
        int in[2];
        int err[2];
        EXPECT_EQ(::pipe(in), 0);
        EXPECT_EQ(::pipe(err), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::close(in[1]);
            ::close(err[0]);
            ::alarm(60); // a writer that blocks (on a FIFO) ends here and fails the case
            if (::chdir(dir_.path().c_str()) != 0) {
                ::_exit(99);
            }
            ::umask(mishap == Mishap::Umask000 ? 0 : 022);
            if (mishap == Mishap::FullDisk || mishap == Mishap::Kill) {
                ::signal(SIGXFSZ, mishap == Mishap::FullDisk ? SIG_IGN : SIG_DFL);
                const rlimit limit{100, 100};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            if (command == nullptr) {
                std::string message;
                const bool written = DoConnect("", "", kDatabaseFileName) == 1 &&
                                     writeDatabaseBackup("kopia.db", message);
                std::fprintf(stderr, "%s\n", message.c_str());
                ::_exit(written ? 0 : 1);
            }
            const std::string line = std::string("exec '" RIVO_ADMIN_PATH "' ") + command;
            ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            ::_exit(98);
        }
        ::close(in[0]);
        ::close(err[1]);
        EXPECT_EQ(::write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
        ::close(in[1]);
        ChildRun result;
        char buffer[512];
        for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) {
            result.errors.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(err[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return result;
    }

    TempDir dir_;
    MessageCapture messages_;
};

TEST_F(OutputFiles, EveryKindThroughTheOneWriter) {
    const OutputKind kinds[] = {
        {"export", "export --groups 0,1,2,3 ut/export.txt", "ut/export.txt", false, true},
        {"json", "report --all --json ut/rapport.json", "ut/rapport.json", false},
        {"pdf", "report --id 1 --pdf ut/rapport.pdf", "ut/rapport.pdf", false, true},
        {"html", "report --id 1 --html ut/rapport.html", "ut/rapport.html", false, true},
        {"norm csv", "export-norms ut", "ut/NORMER.csv", true},
        {"import copy", "import-norms normer", nullptr, false, true},
        {"button backup", nullptr, "kopia.db", false},
    };
    const Mishap mishaps[] = {Mishap::Link,     Mishap::DanglingLink, Mishap::Folder,
                              Mishap::Fifo,     Mishap::Readable0644, Mishap::Umask000,
                              Mishap::FullDisk, Mishap::Kill};
    const std::string earlier = "an earlier file\n";
    for (const OutputKind& kind : kinds) {
        for (const Mishap mishap : mishaps) {
            const bool planted = mishap >= Mishap::Link && mishap <= Mishap::Readable0644;
            // The import's copy gets a name no file has; there is nothing to plant there.
            if (kind.fileName == nullptr && planted) {
                continue;
            }
            SCOPED_TRACE(std::string(kind.name) + ", mishap " +
                         std::to_string(static_cast<int>(mishap)));
            fs::remove_all(dir_.file("ut"));
            fs::remove_all(dir_.file("kopia.db"));
            fs::create_directory(dir_.file("ut"));
            const fs::path target = kind.fileName ? dir_.path() / kind.fileName : fs::path();
            const fs::path victim = dir_.file("victim.txt");
            std::ofstream(victim) << earlier;
            switch (mishap) {
            case Mishap::Link:
                fs::create_symlink(victim, target);
                break;
            case Mishap::DanglingLink:
                fs::create_symlink(dir_.file("nowhere"), target);
                break;
            case Mishap::Folder:
                fs::create_directory(target);
                break;
            case Mishap::Fifo:
                ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
                break;
            case Mishap::Readable0644:
            case Mishap::FullDisk:
            case Mishap::Kill:
                if (!target.empty() && (planted || !kind.refusesExisting)) {
                    std::ofstream(target) << earlier;
                    ::chmod(target.c_str(), 0644);
                }
                break;
            case Mishap::None:
            case Mishap::Umask000:
                break;
            }
            const std::string database = contents(dir_.file(kDatabaseFileName));
            const ChildRun result = run(kind.command, mishap);
            const fs::file_status after = fs::symlink_status(target);

            if (planted && !(mishap == Mishap::Readable0644 && !kind.refusesExisting)) {
                EXPECT_EQ(result.exitCode, 1) << result.errors;
                EXPECT_NE(result.errors.find(target.filename().string()), std::string::npos)
                    << result.errors;
                EXPECT_EQ(contents(victim), earlier);
                if (mishap == Mishap::Readable0644) {
                    EXPECT_EQ(contents(target), earlier);
                }
                EXPECT_FALSE(fs::exists(dir_.file("nowhere")));
                EXPECT_EQ(fs::is_symlink(after),
                          mishap == Mishap::Link || mishap == Mishap::DanglingLink);
                EXPECT_EQ(fs::is_directory(after), mishap == Mishap::Folder);
                EXPECT_EQ(fs::is_fifo(after), mishap == Mishap::Fifo);
            } else if (mishap == Mishap::Readable0644 || mishap == Mishap::Umask000) {
                EXPECT_EQ(result.exitCode, 0) << result.errors;
                const fs::path written = target.empty() ? importCopy(dir_.path()) : target;
                struct stat info {};
                ASSERT_EQ(::lstat(written.c_str(), &info), 0) << written;
                EXPECT_EQ(info.st_mode & 07777u, 0600u);
                EXPECT_NE(contents(written), earlier);
            } else {
                // A full disk fails the run; a kill ends it in the write. Either way the earlier
                // file and the database stay as they were.
                if (mishap == Mishap::FullDisk) {
                    EXPECT_EQ(result.exitCode, 1) << result.errors;
                } else {
                    EXPECT_EQ(result.signal, SIGXFSZ) << result.exitCode << result.errors;
                    if (!kind.logsFirst) {
                        EXPECT_GE(temporaries(dir_.path()), 1);
                    }
                }
                if (kind.refusesExisting) {
                    EXPECT_FALSE(fs::exists(target));
                } else if (!target.empty()) {
                    EXPECT_EQ(contents(target), earlier);
                }
                EXPECT_TRUE(importCopy(dir_.path()).empty());
                EXPECT_EQ(contents(dir_.file(kDatabaseFileName)), database);
                if (mishap == Mishap::Kill) {
                    // The next run removes what the killed one left. The import's copy is named
                    // by the time: its leftover is given an older name, and a copy that another
                    // import is still writing stays.
                    SafeFile running;
                    if (target.empty()) {
                        for (const auto& entry : fs::directory_iterator(dir_.path())) {
                            const std::string name = entry.path().filename().string();
                            if (name.find(kTemporaryMarker) != std::string::npos) {
                                fs::rename(entry.path(),
                                           dir_.path() /
                                               (".DODODA-fore-normimport-20000101-"
                                                "000000.db" +
                                                name.substr(name.find(kTemporaryMarker))));
                            }
                        }
                        std::string error;
                        ASSERT_TRUE(
                            running.open(dir_.file("DODODA-fore-normimport-20000101-000001.db"),
                                         error, SafeFileTarget::RegisterFile));
                    }
                    EXPECT_EQ(run(kind.command, Mishap::None).exitCode, 0);
                    EXPECT_TRUE(running.temporaryPath().empty() ||
                                fs::exists(running.temporaryPath()));
                }
            }
            EXPECT_EQ(temporaries(dir_.path()), 0);
            if (const fs::path copy = importCopy(dir_.path()); !copy.empty()) {
                fs::remove(copy);
            }
        }
    }
}

// No output road lands on the register or a file of it, whatever path names it: each is refused
// before anything is written (the access log's row included), naming the file.
TEST_F(OutputFiles, NoRoadWritesOntoTheRegister) {
    std::ofstream(dir_.file("fras.txt")) << "en lång lösenfras för kopian\n";
    ::chmod(dir_.file("fras.txt").c_str(), 0600);
    fs::create_directory(dir_.file("ut"));
    ASSERT_EQ(::link(dir_.file(kDatabaseFileName).c_str(), dir_.file("ut/lank.txt").c_str()), 0);
    const std::string normLink = "normlank";
    fs::create_directory(dir_.path() / normLink);
    ASSERT_EQ(::link(dir_.file(kDatabaseFileName).c_str(),
                     (dir_.path() / normLink / "NORMER.csv").c_str()),
              0);
    const std::string targets[] = {"DODODA.db", (dir_.path() / "ut/../DODODA.db").string(),
                                   "ut/lank.txt", "DODODA.db-journal"};
    const char* roads[] = {"export --groups 0,1,2,3 %s",
                           "report --all --json %s",
                           "report --id 1 --pdf %s",
                           "report --id 1 --html %s",
                           "log --csv %s",
                           "log --json %s",
                           "backup %s",
                           "backup %s --encrypt --passphrase-file fras.txt"};
    const std::string before = contents(dir_.file(kDatabaseFileName));
    for (const std::string& target : targets) {
        for (const char* road : roads) {
            std::string command = road;
            command.replace(command.find("%s"), 2, target);
            SCOPED_TRACE(command);
            const ChildRun result = run(command.c_str(), Mishap::None);
            EXPECT_EQ(result.exitCode, 1) << result.errors;
            EXPECT_NE(result.errors.find(target + " är registret"), std::string::npos)
                << result.errors;
            ASSERT_TRUE(contents(dir_.file(kDatabaseFileName)) == before);
            EXPECT_FALSE(fs::exists(dir_.file("DODODA.db-journal")));
        }
    }
    // A norm folder whose file is a hard link to the register; the button's backup by a link.
    const ChildRun norms = run(("export-norms " + normLink).c_str(), Mishap::None);
    EXPECT_EQ(norms.exitCode, 1) << norms.errors;
    EXPECT_NE(norms.errors.find("NORMER.csv"), std::string::npos) << norms.errors;
    fs::create_hard_link(dir_.file(kDatabaseFileName), dir_.file("kopia.db"));
    const ChildRun button = run(nullptr, Mishap::None);
    EXPECT_EQ(button.exitCode, 1) << button.errors;
    EXPECT_NE(button.errors.find("kopia.db är registret"), std::string::npos) << button.errors;
    EXPECT_TRUE(contents(dir_.file(kDatabaseFileName)) == before);
    EXPECT_EQ(temporaries(dir_.path()), 0);
}

// A damaged page that makes the persons' table read as empty (SQLite finds no error while
// reading it) never gives an empty export or report: the jobs over everyone check the file first.
TEST_F(OutputFiles, ADamagedRegisterIsNeverExportedAsEmpty) {
    // The persons' table is the first of the schema, so its root is page 2: a leaf (0x0D)
    // holding the one person. Its count of cells is set to 0.
    constexpr std::streamoff kPage2 = 4096;
    std::fstream file(dir_.file(kDatabaseFileName),
                      std::ios::in | std::ios::out | std::ios::binary);
    char header[5] = {};
    file.seekg(kPage2);
    file.read(header, sizeof header);
    ASSERT_EQ(header[0], 0x0D);
    ASSERT_EQ(header[3] * 256 + header[4], 1);
    file.seekp(kPage2 + 4);
    file.put('\0');
    file.close();
    for (const char* command : {"export --groups 0,1,2,3 ut.txt", "report --all --json ut.txt",
                                "export --groups 0 ut.txt"}) {
        SCOPED_TRACE(command);
        const ChildRun result = run(command, Mishap::None);
        EXPECT_EQ(result.exitCode, 1) << result.errors;
        EXPECT_NE(result.errors.find("Registret är skadat"), std::string::npos) << result.errors;
        EXPECT_NE(result.errors.find("page 2"), std::string::npos) << result.errors;
        EXPECT_FALSE(fs::exists(dir_.file("ut.txt")));
    }
}

} // namespace
