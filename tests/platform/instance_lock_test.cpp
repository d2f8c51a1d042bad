// SPDX-License-Identifier: Apache-2.0
#include "instance_lock.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstIsGone) {
    TempDir dir;
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", dir.path().string());
    EXPECT_EQ(InstanceLock::lockFilePath("RIVO-IV"), (dir.path() / "RIVO-IV").string());
    {
        InstanceLock first;
        ASSERT_EQ(first.acquire("RIVO-IV"), InstanceLock::Result::Acquired);
        InstanceLock second;
        EXPECT_EQ(second.acquire("RIVO-IV"), InstanceLock::Result::HeldElsewhere);
        InstanceLock other;
        EXPECT_EQ(other.acquire("ANNAT"), InstanceLock::Result::Acquired);
    }
    InstanceLock again;
    EXPECT_EQ(again.acquire("RIVO-IV"), InstanceLock::Result::Acquired);
    struct stat info {};
    ASSERT_EQ(stat((dir.path() / "RIVO-IV").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(InstanceLock, WithoutRuntimeDirectoryTheLockIsPerUserInTmp) {
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", "");
    EXPECT_EQ(InstanceLock::lockFilePath("RIVO-IV"), "/tmp/RIVO-IV-" + std::to_string(getuid()));
}

TEST(InstanceLock, UnusableDirectoryMeansNoGuard) {
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", "/nonexistent/rivo");
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("RIVO-IV"), InstanceLock::Result::Unavailable);
}

} // namespace
