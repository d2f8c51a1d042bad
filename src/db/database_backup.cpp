#include "database_backup.h"

#include "db.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

constexpr int kMessageSize = 512;

std::string systemMessage(int error) {
    return std::strerror(error);
}

// Writes the file's data to disk; false with errno set when that fails.
bool flushFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool flushed = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return flushed;
}

// Makes the rename itself durable. A folder that cannot be synced is no reason to fail.
void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeDatabaseBackup(const std::string& target, std::string& message) {
    const std::filesystem::path targetPath(target);
    std::string folder = targetPath.parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    // mkstemp makes the empty file with mode 0600; VACUUM INTO accepts an empty file.
    std::string temporary = folder + "/." + targetPath.filename().string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        message = systemMessage(errno);
        return false;
    }
    ::close(fd);

    char databaseMessage[kMessageSize] = {};
    if (DoVacuumInto(temporary.c_str(), databaseMessage, sizeof databaseMessage) != DB_DONE) {
        ::unlink(temporary.c_str());
        message = databaseMessage;
        return false;
    }
    if (!flushFile(temporary) || ::rename(temporary.c_str(), target.c_str()) != 0) {
        message = systemMessage(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    flushFolder(folder);
    return true;
}
