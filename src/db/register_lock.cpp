// SPDX-License-Identifier: Apache-2.0
#include "register_lock.h"

#include "db.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

struct HeldLock {
    int fd = -1;
    RegisterLockMode mode = RegisterLockMode::Shared;
    std::string path;
};

HeldLock& held() {
    static HeldLock lock;
    return lock;
}

// Whoever may read the register may take its lock, and no one else needs to: the lock file gets
// the register's read permissions (owner, group, others) and write for its owner only. flock
// needs no more than a descriptor open for reading, so a second user of a shared register can
// lock a file the first one created. A register not there yet gives the owner alone.
mode_t lockFileMode(const std::string& folder) {
    struct stat info {};
    const std::string database = (std::filesystem::path(folder) / kDatabaseFileName).string();
    const mode_t readable = ::stat(database.c_str(), &info) == 0 ? info.st_mode & 0044 : 0;
    return S_IRUSR | S_IWUSR | readable;
}

// Opens the lock file, creating it when it is missing; never through a link, never anything but a
// regular file. -1 with the reason in error.
int openLockFile(const std::string& folder, const std::string& path, std::string& error) {
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    const mode_t mode = lockFileMode(folder);
    int fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, mode);
    if (fd >= 0) {
        ::fchmod(fd, mode); // the umask may have taken bits the register's readers need
    } else if (errno == EEXIST) {
        fd = ::open(path.c_str(), kFlags);
    }
    struct stat info {};
    const bool usable = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (usable && info.st_uid == ::geteuid() && (info.st_mode & 0777) != mode) {
        // The register was shared with more readers since the lock file was made.
        ::fchmod(fd, mode);
    }
    if (!usable) {
        const int reason = fd < 0 ? errno : EINVAL;
        error = "Registrets låsfil " + path + " kan inte användas (" +
                (fd >= 0 || reason == ELOOP ? std::string("den är ingen vanlig fil")
                                            : std::string(std::strerror(reason))) +
                "). Den ska vara en vanlig fil som alla som använder registret kan läsa. Ta bort "
                "den när ingen använder registret, så skapas den på nytt.";
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    return fd;
}

std::string heldElsewhereMessage(RegisterLockMode mode) {
    return mode == RegisterLockMode::Shared
               ? "Registret återställs just nu från en säkerhetskopia (rivo-admin restore). Vänta "
                 "tills återställningen är klar och försök sedan igen."
               : "RIVO-IV eller rivo-admin har registret öppet, i den här eller en annan session "
                 "eller som en annan användare. Avsluta programmet och försök igen.";
}

} // namespace

std::string registerLockPath(const std::string& folder) {
    return (std::filesystem::path(folder.empty() ? "." : folder) / kRegisterLockFileName).string();
}

bool holdRegisterLock(const std::string& folder, RegisterLockMode mode, std::string& error) {
    const std::string path = registerLockPath(folder);
    HeldLock& lock = held();
    if (lock.fd >= 0 && lock.path == path &&
        (lock.mode == RegisterLockMode::Exclusive || mode == lock.mode)) {
        return true;
    }
    // flock converts a lock by letting it go first: a new one is taken from scratch instead.
    releaseRegisterLock();
    const int fd = openLockFile(folder, path, error);
    if (fd < 0) {
        return false;
    }
    const int operation = mode == RegisterLockMode::Shared ? LOCK_SH : LOCK_EX;
    int result = 0;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int reason = errno;
        ::close(fd);
        error = reason == EWOULDBLOCK
                    ? heldElsewhereMessage(mode)
                    : "Registrets låsfil " + path + " kan inte låsas: " + std::strerror(reason);
        return false;
    }
    lock = HeldLock{fd, mode, path};
    return true;
}

void releaseRegisterLock() {
    HeldLock& lock = held();
    if (lock.fd >= 0) {
        ::close(lock.fd);
    }
    lock = HeldLock{};
}
