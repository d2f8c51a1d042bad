// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// At most one running instance per user: an exclusive lock on a file named after the program,
// held for as long as the object lives (the process's life in the program). The file lies in
// $XDG_RUNTIME_DIR, or in /tmp with the user id in its name when that is not set.
class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result { Acquired, HeldElsewhere, Unavailable };

    // Takes the lock. HeldElsewhere when another holder has it; Unavailable when the lock file
    // cannot be opened at all (then there is no guard, and the caller goes on).
    Result acquire(const std::string& name);

    static std::string lockFilePath(const std::string& name);

  private:
    int fd_ = -1;
};
