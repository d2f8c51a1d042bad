// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Another program that holds the database file locked until release() or destruction.
class LockingProgram {
  public:
    explicit LockingProgram(const std::string& path) {
        if (pipe(ready_) != 0 || pipe(release_) != 0) {
            return;
        }
        child_ = fork();
        if (child_ == 0) {
            close(ready_[0]);
            close(release_[1]);
            sqlite3* database = nullptr;
            char locked = 'n';
            if (sqlite3_open(path.c_str(), &database) == SQLITE_OK &&
                sqlite3_exec(database, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK) {
                locked = 'y';
            }
            (void)!write(ready_[1], &locked, 1);
            char wait = 0;
            (void)!read(release_[0], &wait, 1);
            sqlite3_close(database);
            _exit(0);
        }
        close(ready_[1]);
        close(release_[0]);
        char answer = 0;
        locked_ = read(ready_[0], &answer, 1) == 1 && answer == 'y';
        close(ready_[0]);
    }
    ~LockingProgram() { release(); }
    LockingProgram(const LockingProgram&) = delete;
    LockingProgram& operator=(const LockingProgram&) = delete;

    bool locked() const { return locked_; }
    void release() {
        if (child_ > 0) {
            close(release_[1]);
            waitpid(child_, nullptr, 0);
            child_ = -1;
        }
    }

  private:
    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
    pid_t child_ = -1;
    bool locked_ = false;
};

using LockedDatabase = DatabaseTest;

// The driver waits a few seconds for the lock, then the user gets one clear message instead of a
// window frozen for minutes; once the other program lets go, the same work succeeds.
TEST_F(LockedDatabase, OneClearMessageAndTheWorkSucceedsAfterwards) {
    PersonRecord person = samplePerson("Låst");
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    LockingProgram other(dir_.file(kDatabaseFileName).string());
    ASSERT_TRUE(other.locked());

    PersonRecord read{};
    EXPECT_EQ(DoReadPD(person.ID, read), DB_FAILED);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kDatabaseLockedMessage});

    messages_.clear();
    std::strcpy(person.NAMN, "Ändrad");
    EXPECT_EQ(DoUpdatePD(person), DB_FAILED);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kDatabaseLockedMessage});

    other.release();
    messages_.clear();
    ASSERT_EQ(DoUpdatePD(person), DB_DONE);
    ASSERT_EQ(DoReadPD(person.ID, read), DB_DONE);
    EXPECT_STREQ(read.NAMN, "Ändrad");
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
