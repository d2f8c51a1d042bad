// SPDX-License-Identifier: Apache-2.0
#include "instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::string InstanceLock::lockFilePath(const std::string& name) {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/') {
        return std::string(runtimeDir) + "/" + name;
    }
    // /tmp is shared by every user: the user id keeps one user's lock from blocking another.
    return "/tmp/" + name + "-" + std::to_string(getuid());
}

InstanceLock::Result InstanceLock::acquire(const std::string& name) {
    const std::string path = lockFilePath(name);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return Result::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
    }
    if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = fd;
    return Result::Acquired;
}
