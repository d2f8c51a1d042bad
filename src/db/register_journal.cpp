// SPDX-License-Identifier: Apache-2.0
#include "register_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <optional>

// The journal's layout (SQLite's file format): a header of 28 bytes at the start of each sector-
// aligned segment, holding a magic, the number of records, a nonce, the database's size in
// pages before the change, the sector size and the page size; then records of a page number, the
// page as it was before the change, and a checksum. Numbers are big-endian.

namespace {

constexpr std::array<unsigned char, 8> kJournalMagic{0xd9, 0xd5, 0x05, 0xf9,
                                                     0x20, 0xa1, 0x63, 0xd7};
constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kChangeCounterOffset = 24; // in the database's first page
constexpr std::size_t kPageSizeOffset = 16;      // in the database's first page, two bytes

std::uint32_t bigEndian(const unsigned char* bytes, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

bool readAt(int fd, unsigned char* into, std::size_t count, off_t offset) {
    return ::pread(fd, into, count, offset) == static_cast<ssize_t>(count);
}

class Fd {
  public:
    explicit Fd(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// The change counter that page 1 had when the journal's change began, when the journal holds
// page 1 (every change that reaches the file's header does).
std::optional<std::uint32_t> counterAtStart(int fd, off_t size, std::uint32_t sectorSize,
                                            std::uint32_t pageSize) {
    const off_t recordSize = static_cast<off_t>(pageSize) + 8;
    for (off_t at = sectorSize; at + recordSize <= size; at += recordSize) {
        unsigned char number[4];
        unsigned char counter[4];
        if (!readAt(fd, number, sizeof number, at)) {
            break;
        }
        if (bigEndian(number, 4) == 1) {
            if (!readAt(fd, counter, sizeof counter,
                        at + 4 + static_cast<off_t>(kChangeCounterOffset))) {
                break;
            }
            return bigEndian(counter, 4);
        }
    }
    return std::nullopt;
}

} // namespace

JournalInspection inspectJournal(const std::string& databasePath) {
    JournalInspection found;
    found.path = databasePath + "-journal";
    struct stat info {};
    if (::lstat(found.path.c_str(), &info) != 0) {
        return found;
    }
    found.state = JournalState::Ignored;
    const Fd journal(found.path);
    unsigned char header[kHeaderSize] = {};
    if (journal.get() < 0 || !S_ISREG(info.st_mode) ||
        !readAt(journal.get(), header, sizeof header, 0) ||
        !std::equal(kJournalMagic.begin(), kJournalMagic.end(), header)) {
        // A journal header that SQLite cannot read makes it play back nothing.
        return found;
    }
    found.state = JournalState::MayBelong;
    const std::uint32_t sectorSize = bigEndian(header + 20, 4);
    const std::uint32_t pageSize = bigEndian(header + 24, 4);

    const Fd database(databasePath);
    unsigned char first[32] = {};
    if (database.get() < 0 || !readAt(database.get(), first, sizeof first, 0)) {
        return found; // a register that cannot be read: the claim on it decides
    }
    std::uint32_t registerPageSize = bigEndian(first + kPageSizeOffset, 2);
    registerPageSize = registerPageSize == 1 ? 65536 : registerPageSize;
    if (pageSize != registerPageSize) {
        found.state = JournalState::Foreign;
        found.reason = "dess sidstorlek (" + std::to_string(pageSize) +
                       " byte) är en annan än registrets (" + std::to_string(registerPageSize) +
                       " byte)";
        return found;
    }
    // The register's changes only ever add pages (it has no auto-vacuum and is never vacuumed in
    // place), so a file smaller than it was when the journal began is not the journal's file.
    const std::uint32_t pagesAtStart = bigEndian(header + 16, 4);
    struct stat registerInfo {};
    if (::fstat(database.get(), &registerInfo) == 0 &&
        registerInfo.st_size / registerPageSize < static_cast<off_t>(pagesAtStart)) {
        found.state = JournalState::Foreign;
        found.reason = "den är från en fil med " + std::to_string(pagesAtStart) +
                       " sidor, men registret har bara " +
                       std::to_string(registerInfo.st_size / registerPageSize);
        return found;
    }
    // A change raises the counter in page 1 exactly once, when it writes page 1. So the register
    // of a journal's change has the counter the journal recorded, or that plus one; any other
    // value means the file was written after the journal by something else, or is another file.
    const std::uint32_t registerCounter = bigEndian(first + kChangeCounterOffset, 4);
    const std::optional<std::uint32_t> atStart =
        sectorSize >= kHeaderSize
            ? counterAtStart(journal.get(), info.st_size, sectorSize, pageSize)
            : std::nullopt;
    if (atStart && registerCounter != *atStart && registerCounter != *atStart + 1) {
        found.state = JournalState::Foreign;
        found.reason = "den är från ändring nummer " + std::to_string(*atStart + 1) +
                       " av en databasfil, men registret har ändrats " +
                       std::to_string(registerCounter) + " gånger";
    }
    return found;
}
