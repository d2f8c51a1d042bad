// SPDX-License-Identifier: Apache-2.0
#include "safe_file.h"
#include "system_error_text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

struct TargetParts {
    std::string folder; // "." when the target has no folder part
    std::string name;
};

TargetParts splitTarget(const std::string& target) {
    const std::filesystem::path path(target);
    TargetParts parts{path.parent_path().string(), path.filename().string()};
    if (parts.folder.empty()) {
        parts.folder = ".";
    }
    return parts;
}

std::string temporaryPrefix(const TargetParts& parts) {
    return parts.folder + "/." + parts.name + std::string(kTemporaryMarker);
}

std::string failure(const std::string& target, int error) {
    return "Fel vid skrivning av " + target + ": " + systemErrorText(error);
}

// Makes the rename itself durable; the errno of the failure, or 0. A file system that cannot
// sync a folder at all (EINVAL) keeps its names without it.
int flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int synced = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return synced;
}

// Whether fd is still the file at path: nobody removed or replaced the name meanwhile.
bool stillAtPath(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && opened.st_nlink > 0 && ::lstat(path.c_str(), &named) == 0 &&
           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// Creates, locks and checks the temporary; its descriptor, or -1 with errno set. Between mkostemp
// and flock another writer's sweep of leftovers may find the fresh file unlocked and remove it:
// the name is then made anew.
int makeLockedTemporary(std::string& path, const std::string& prefix) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        path = prefix + "XXXXXX";
        // mkostemp opens with O_CREAT|O_EXCL (never through a link) and mode 0600.
        const int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int problem = errno;
            ::close(fd);
            ::unlink(path.c_str());
            errno = problem;
            return -1;
        }
        if (stillAtPath(fd, path)) {
            return fd;
        }
        ::close(fd); // swept away before it was locked; the name is free or another's
    }
    errno = EAGAIN;
    return -1;
}

} // namespace

bool outputTargetAllowed(const std::string& target, std::string& error, SafeFileTarget kind) {
    if (target.empty()) {
        error = "Ett filnamn saknas.";
        return false;
    }
    if (kind == SafeFileTarget::Output && !outputTargetIsNotRegister(target, error)) {
        return false;
    }
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return true;
        }
        error = target + " kan inte skrivas: " + systemErrorText(errno);
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        error = target + " är en symbolisk länk och skrivs inte över. Välj ett annat filnamn.";
    } else if (S_ISDIR(info.st_mode)) {
        error = target + " är en mapp. Ange ett filnamn.";
    } else if (!S_ISREG(info.st_mode)) {
        error = target + " är ingen vanlig fil (en enhet, en FIFO eller en socket) och skrivs "
                         "inte. Välj ett annat filnamn.";
    } else {
        return true;
    }
    return false;
}

namespace {

// Removes the files in folder whose name starts with prefix and holds the temporary marker, when
// they are regular files of ours whose writer is gone (their lock is free).
int removeUnlockedTemporaries(const std::string& folder, const std::string& prefix) {
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 ||
            name.find(kTemporaryMarker) == std::string::npos) {
            continue;
        }
        const std::string path = it->path().string();
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

} // namespace

int removeLeftoverTemporaries(const std::string& target) {
    const TargetParts parts = splitTarget(target);
    return removeUnlockedTemporaries(parts.folder,
                                     "." + parts.name + std::string(kTemporaryMarker));
}

int removeLeftoverTemporariesOfFamily(const std::string& folder, std::string_view namePrefix) {
    return removeUnlockedTemporaries(folder.empty() ? "." : folder, "." + std::string(namePrefix));
}

SafeFile::~SafeFile() {
    abandon();
}

bool SafeFile::open(const std::string& target, std::string& error, SafeFileTarget kind) {
    abandon();
    if (!outputTargetAllowed(target, error, kind)) {
        return false;
    }
    const TargetParts parts = splitTarget(target);
    removeLeftoverTemporaries(target);
    std::string path;
    const int fd = makeLockedTemporary(path, temporaryPrefix(parts));
    if (fd < 0) {
        error = failure(target, errno);
        return false;
    }
    target_ = target;
    kind_ = kind;
    temporary_ = path;
    fd_ = fd;
    writeErrno_ = 0;
    return true;
}

bool SafeFile::write(std::string_view bytes) {
    if (fd_ < 0 || writeErrno_ != 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            writeErrno_ = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int SafeFile::flushTemporary() {
    if (writeErrno_ != 0) {
        return writeErrno_;
    }
    // A file filled through its path (VACUUM INTO, a PDF printer) may have been recreated: the
    // mode is set again on what stands there now, and that inode is flushed too.
    if (::chmod(temporary_.c_str(), S_IRUSR | S_IWUSR) != 0 || ::fsync(fd_) != 0) {
        return errno;
    }
    const int pathFd = ::open(temporary_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const int problem = pathFd < 0 || ::fsync(pathFd) != 0 ? errno : 0;
    if (pathFd >= 0) {
        ::close(pathFd);
    }
    return problem;
}

bool SafeFile::finishRenamed(std::string& error) {
    ::close(fd_);
    fd_ = -1;
    temporary_.clear();
    const int unsynced = flushFolder(splitTarget(target_).folder);
    if (unsynced != 0) {
        error = target_ + " är skriven, men mappen kunde inte föras till disken (" +
                systemErrorText(unsynced) + "): vid ett strömavbrott kan filen gå förlorad.";
        return false;
    }
    return true;
}

bool SafeFile::commit(std::string& error) {
    if (fd_ < 0) {
        error = failure(target_.empty() ? std::string("filen") : target_, EBADF);
        return false;
    }
    int problem = flushTemporary();
    // The target is checked again just before the rename: a link or folder planted meanwhile is
    // not replaced.
    std::string refused;
    if (problem == 0 && !outputTargetAllowed(target_, refused, kind_)) {
        error = refused;
        abandon();
        return false;
    }
    if (problem == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        problem = errno;
    }
    if (problem != 0) {
        error = failure(target_, problem);
        abandon();
        return false;
    }
    return finishRenamed(error);
}

namespace {

// Gives the temporary the target's name unless that name exists. renameat2 decides in one step;
// a file system without RENAME_NOREPLACE gets link(), which refuses an existing name as well,
// and then the temporary's name is removed.
int renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

} // namespace

bool SafeFile::commitNoReplace(std::string& error) {
    targetTaken_ = false;
    if (fd_ < 0) {
        error = failure(target_.empty() ? std::string("filen") : target_, EBADF);
        return false;
    }
    int problem = flushTemporary();
    if (problem == 0) {
        problem = renameWithoutReplacing(temporary_, target_);
    }
    if (problem == EEXIST) {
        targetTaken_ = true;
        error = target_ + " finns redan och skrivs inte över.";
        abandon();
        return false;
    }
    if (problem != 0) {
        error = failure(target_, problem);
        abandon();
        return false;
    }
    return finishRenamed(error);
}

void SafeFile::abandon() {
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool writeFileSafely(const std::string& target, std::string_view bytes, std::string& error) {
    SafeFile file;
    if (!file.open(target, error)) {
        return false;
    }
    file.write(bytes);
    return file.commit(error);
}
