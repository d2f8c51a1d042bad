// SPDX-License-Identifier: Apache-2.0
// The one output writer: what it refuses, the mode of what it writes, and that a failure or a kill
// leaves the earlier file and no temporary behind.

#include "safe_file.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

unsigned mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777u;
}

// Names in the folder other than the ones a case made on purpose.
int temporariesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        count += entry.path().filename().string().find(kTemporaryMarker) != std::string::npos;
    }
    return count;
}

TEST(SafeFile, RefusesEveryTargetThatIsNotARegularFileAndNamesIt) {
    TempDir dir;
    std::ofstream(dir.file("real")) << "keep";
    fs::create_symlink(dir.file("real"), dir.file("link"));
    fs::create_symlink(dir.file("nowhere"), dir.file("dangling"));
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    struct Case {
        std::string target;
        const char* says;
    };
    const Case cases[] = {{dir.file("link"), "symbolisk länk"},
                          {dir.file("dangling"), "symbolisk länk"},
                          {dir.file("folder"), "mapp"},
                          {dir.file("fifo"), "ingen vanlig fil"},
                          {"/dev/null", "ingen vanlig fil"}};
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(writeFileSafely(c.target, "data", error)) << c.target;
        EXPECT_NE(error.find(c.target), std::string::npos) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_EQ(contents(dir.file("real")), "keep");
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
    EXPECT_EQ(temporariesIn(dir.path()), 0);
}

TEST(SafeFile, ReplacesAnExistingFileWithOneReadableByItsOwnerOnlyUnderAnyUmask) {
    TempDir dir;
    const fs::path target = dir.file("out.txt");
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0644);
    const mode_t previous = ::umask(0);
    std::string error;
    const bool written = writeFileSafely(target, "new", error);
    ::umask(0277);
    const bool writtenUnderNarrowMask = writeFileSafely(dir.file("second"), "x", error);
    ::umask(previous);
    ASSERT_TRUE(written && writtenUnderNarrowMask) << error;
    EXPECT_EQ(contents(target), "new");
    EXPECT_EQ(mode(target), 0600u);
    EXPECT_EQ(mode(dir.file("second")), 0600u);
    EXPECT_EQ(temporariesIn(dir.path()), 0);
}

TEST(SafeFile, AFailedWriteKeepsTheEarlierFileAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path target = dir.file("export.txt");
    std::ofstream(target) << "earlier export";
    // A file size limit makes write() fail with EFBIG, as a full disk fails with ENOSPC.
    struct rlimit previous {};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit small = previous;
    small.rlim_cur = 1024;
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    SafeFile file;
    std::string error;
    ASSERT_TRUE(file.open(target, error)) << error;
    const bool wrote = file.write(std::string(4096, 'x'));
    const bool committed = file.commit(error);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(committed);
    EXPECT_NE(error.find(target.string()), std::string::npos) << error;
    EXPECT_EQ(contents(target), "earlier export");
    EXPECT_EQ(temporariesIn(dir.path()), 0);

    std::string fullDisk;
    if (fs::exists("/dev/full")) {
        // The same through the descriptor of a writer whose data goes to a full device.
        SafeFile onFull;
        ASSERT_TRUE(onFull.open(target, fullDisk));
        ASSERT_GE(::dup2(::open("/dev/full", O_WRONLY | O_CLOEXEC), onFull.descriptor()), 0);
        EXPECT_FALSE(onFull.write("data"));
        EXPECT_FALSE(onFull.commit(fullDisk));
        EXPECT_EQ(contents(target), "earlier export");
    }
}

TEST(SafeFile, AKilledWriterLeavesTheEarlierFileAndTheNextRunRemovesItsTemporary) {
    TempDir dir;
    const fs::path target = dir.file("report.json");
    std::ofstream(target) << "earlier";
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        SafeFile file;
        std::string error;
        if (file.open(target, error) && file.write("half of a new file")) {
            ::write(pipeFds[1], "w", 1);
        }
        ::pause();
        ::_exit(0);
    }
    char ready = 0;
    ASSERT_EQ(::read(pipeFds[0], &ready, 1), 1);
    // While the writer lives its temporary is not taken for a leftover.
    EXPECT_EQ(removeLeftoverTemporaries(target), 0);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    EXPECT_EQ(contents(target), "earlier");
    EXPECT_EQ(temporariesIn(dir.path()), 1);

    std::string error;
    ASSERT_TRUE(writeFileSafely(target, "next", error)) << error;
    EXPECT_EQ(contents(target), "next");
    EXPECT_EQ(temporariesIn(dir.path()), 0);
}

TEST(SafeFile, AFileFilledThroughItsPathIsCommittedAtModeSixHundred) {
    TempDir dir;
    const fs::path target = dir.file("copy.db");
    SafeFile file;
    std::string error;
    ASSERT_TRUE(file.open(target, error)) << error;
    {
        // As a PDF printer or VACUUM INTO would: through the path, here widening the mode.
        std::ofstream(file.temporaryPath(), std::ios::binary) << "filled by another writer";
        ::chmod(file.temporaryPath().c_str(), 0666);
    }
    ASSERT_TRUE(file.commit(error)) << error;
    EXPECT_EQ(contents(target), "filled by another writer");
    EXPECT_EQ(mode(target), 0600u);
}

// The register of the working folder and the files beside it are never an output, by whatever
// path they are named; only the restore writes them, on purpose.
TEST(SafeFile, NeverWritesOntoTheRegisterOrItsCompanions) {
    TempDir dir;
    WorkingDirectory inside(dir.path());
    std::ofstream("DODODA.db") << "register";
    std::ofstream("DODODA.db-wal") << "wal";
    std::ofstream("DODODA-fore-aterstallning-2026-01-01T000000.db") << "kept";
    std::ofstream("other.db") << "someone else's";
    fs::create_directory("ut");
    fs::create_hard_link("DODODA.db", "ut/link.txt");
    fs::create_hard_link("DODODA.db-wal", "ut/wal-link.txt");
    fs::create_directory("elsewhere");
    fs::create_directory_symlink(dir.path(), "mirror");
    const std::string refused[] = {"DODODA.db",
                                   dir.file("DODODA.db"),
                                   "mirror/DODODA.db",
                                   "ut/link.txt",
                                   "ut/wal-link.txt",
                                   "DODODA.db-journal",
                                   "elsewhere/DODODA.db-shm",
                                   ".DODODA.db.rivo-lock",
                                   "DODODA-fore-aterstallning-2026-01-01T000000.db",
                                   "elsewhere/DODODA.db"};
    for (const std::string& target : refused) {
        SafeFile file;
        std::string error;
        EXPECT_FALSE(file.open(target, error)) << target;
        EXPECT_EQ(error.find(target + " är registret"), 0u) << error;
        EXPECT_EQ(temporariesIn(dir.path()), 0) << target;
    }
    EXPECT_EQ(contents("DODODA.db"), "register");
    EXPECT_EQ(contents("DODODA-fore-aterstallning-2026-01-01T000000.db"), "kept");
    // Names that only look alike, and the restore's own writes, are written.
    for (const char* target : {"other.db", "DODODA.db.txt", "ut/DODODA.csv"}) {
        std::string error;
        EXPECT_TRUE(writeFileSafely(target, "out", error)) << target << ": " << error;
    }
    SafeFile restore;
    std::string error;
    ASSERT_TRUE(restore.open("DODODA.db", error, SafeFileTarget::RegisterFile)) << error;
    restore.write("restored");
    ASSERT_TRUE(restore.commit(error)) << error;
    EXPECT_EQ(contents("DODODA.db"), "restored");
}

// A name claimed without replacing: whatever stands there when the writer commits (a file
// another run claimed meanwhile, a link, a folder) stays as it was, and the writer says so.
TEST(SafeFile, ACommitWithoutReplacingNeverTakesANameThatExists) {
    TempDir dir;
    const fs::path target = dir.file("kopia.db");
    const struct {
        const char* what;
        void (*plant)(const fs::path&);
    } cases[] = {
        {"a file claimed meanwhile", [](const fs::path& at) { std::ofstream(at) << "annan"; }},
        {"a dangling link", [](const fs::path& at) { fs::create_symlink("ingenstans", at); }},
        {"a folder", [](const fs::path& at) { fs::create_directory(at); }},
    };
    for (const auto& c : cases) {
        SafeFile file;
        std::string error;
        ASSERT_TRUE(file.open(target, error)) << error;
        file.write("ny kopia");
        c.plant(target);
        const fs::file_status before = fs::symlink_status(target);
        EXPECT_FALSE(file.commitNoReplace(error)) << c.what;
        EXPECT_TRUE(file.targetTaken()) << c.what;
        EXPECT_NE(error.find(target.string()), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(fs::symlink_status(target).type(), before.type()) << c.what;
        EXPECT_EQ(temporariesIn(dir.path()), 0) << c.what;
        if (fs::is_regular_file(fs::symlink_status(target))) {
            EXPECT_EQ(contents(target), "annan");
        }
        fs::remove(target);
    }
    // A free name is claimed as commit() would, at mode 0600.
    SafeFile file;
    std::string error;
    ASSERT_TRUE(file.open(target, error)) << error;
    file.write("ny kopia");
    ASSERT_TRUE(file.commitNoReplace(error)) << error;
    EXPECT_FALSE(file.targetTaken());
    EXPECT_EQ(contents(target), "ny kopia");
    EXPECT_EQ(mode(target), 0600u);
    EXPECT_EQ(temporariesIn(dir.path()), 0);
}

} // namespace
