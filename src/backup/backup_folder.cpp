// SPDX-License-Identifier: Apache-2.0
#include "backup_folder.h"

#include "backup_encryption.h"
#include "db.h"
#include "file_time_stamp.h"
#include "system_error_text.h"

#include <fcntl.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace {

std::string registerStem() {
    return std::filesystem::path(kDatabaseFileName).stem().string();
}

} // namespace

std::string datedCopyName(std::time_t made, bool encrypted, int sequence) {
    std::string name = registerStem() + "-" + fileTimeStamp(made);
    if (sequence > 1) {
        name += "-" + std::to_string(sequence);
    }
    return name + ".db" + (encrypted ? kEncryptedExtension : "");
}

std::string freeDatedCopyPath(const std::string& folder, std::time_t now, bool encrypted) {
    // A copy made later in the same second takes the next sequence after the highest there,
    // never a gap that pruning left (it would sort as the oldest and be pruned at once). Plain
    // and encrypted copies share the sequence.
    const std::string first = datedCopyName(now, false);
    const std::string stamped = first.substr(0, first.size() - 3); // without ".db"
    int sequence = 1;
    for (const std::string& path : datedCopiesNewestFirst(folder, now)) {
        const std::string name = std::filesystem::path(path).filename().string();
        if (name.starts_with(stamped + ".") || name.starts_with(stamped + "-")) {
            const std::size_t dash = name.find('-', stamped.size());
            sequence =
                std::max(sequence, dash == stamped.size() ? std::atoi(&name[dash + 1]) + 1 : 2);
        }
    }
    for (;; ++sequence) {
        const std::filesystem::path plain =
            std::filesystem::path(folder) / datedCopyName(now, false, sequence);
        const std::filesystem::path sealed =
            std::filesystem::path(folder) / datedCopyName(now, true, sequence);
        struct stat info {};
        if (::lstat(plain.c_str(), &info) != 0 && ::lstat(sealed.c_str(), &info) != 0) {
            return (encrypted ? sealed : plain).string();
        }
    }
}

namespace {

bool digitsAt(const std::string& text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + count),
                       [](char c) { return c >= '0' && c <= '9'; });
}

struct DatedName {
    std::time_t made = 0;
    int sequence = 1;
};

// Reads "<stem>-<stamp>[-N].db[.krypterad]", the stamp in the current style or to the minute as
// earlier versions wrote it: the time and the sequence number (1 when there is none); nothing
// for any other name.
std::optional<DatedName> readDatedCopyName(const std::string& name) {
    const std::string prefix = registerStem() + "-";
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const auto stamp = readFileTimeStamp(std::string_view(name).substr(prefix.size()));
    if (!stamp || name[prefix.size() + 4] != '-') { // the norm import's style is no copy's
        return std::nullopt;
    }
    std::size_t rest = prefix.size() + stamp->length;
    int sequence = 1;
    if (rest < name.size() && name[rest] == '-') {
        std::size_t digits = 0;
        while (digits < 7 && digitsAt(name, rest + 1 + digits, 1)) {
            ++digits;
        }
        if (digits == 0 || digits > 6) {
            return std::nullopt;
        }
        sequence = std::stoi(name.substr(rest + 1, digits));
        rest += 1 + digits;
    }
    const std::string tail = name.substr(rest);
    if (tail != ".db" && tail != ".db.krypterad") {
        return std::nullopt;
    }
    return DatedName{stamp->when, sequence};
}

std::uint32_t bigEndian(const unsigned char* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// The bytes of the pages of an SQLite file's schema table (sqlite_master): its root is page 1,
// and a schema that has outgrown one page is a tree whose other pages may lie anywhere in the
// file. Only those pages are read (at most kMostSchemaPages), however large the file; empty when
// the file is no SQLite database.
std::string schemaPages(int fd) {
    constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
    constexpr std::size_t kMostSchemaPages = 64;
    constexpr unsigned char kInteriorTablePage = 0x05;
    unsigned char header[100] = {};
    if (::pread(fd, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header) ||
        std::string_view(reinterpret_cast<const char*>(header), kSqliteMagic.size()) !=
            kSqliteMagic) {
        return {};
    }
    const std::uint32_t stored = bigEndian(&header[16], 2);
    const std::size_t pageSize = stored == 1 ? 65536 : stored;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) {
        return {};
    }
    std::string text;
    std::vector<std::uint32_t> pages{1};
    std::vector<unsigned char> page(pageSize);
    for (std::size_t next = 0; next < pages.size() && next < kMostSchemaPages; ++next) {
        const off_t offset = static_cast<off_t>(pages[next] - 1) * static_cast<off_t>(pageSize);
        if (pages[next] == 0 ||
            ::pread(fd, page.data(), pageSize, offset) != static_cast<ssize_t>(pageSize)) {
            return {};
        }
        text.append(reinterpret_cast<const char*>(page.data()), pageSize);
        const std::size_t at = pages[next] == 1 ? 100 : 0; // page 1 starts with the file header
        if (page[at] != kInteriorTablePage) {
            continue;
        }
        // An interior page: the cells each start with a child's page number, and the rightmost
        // child is in the page header.
        const std::uint32_t cells = bigEndian(&page[at + 3], 2);
        for (std::uint32_t cell = 0; cell < cells; ++cell) {
            const std::size_t pointer = at + 12 + 2 * cell;
            if (pointer + 2 > pageSize) {
                return {};
            }
            const std::uint32_t cellAt = bigEndian(&page[pointer], 2);
            if (cellAt + 4 > pageSize) {
                return {};
            }
            pages.push_back(bigEndian(&page[cellAt], 4));
        }
        pages.push_back(bigEndian(&page[at + 8], 4));
    }
    return text;
}

} // namespace

bool isOwnCopy(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool own = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (isEncryptedBackup(fd)) {
            own = true;
        } else {
            const std::string schema = schemaPages(fd);
            own = schema.find("CREATE TABLE TESTPERSON") != std::string::npos &&
                  schema.find("CREATE TABLE NORMKALLA") != std::string::npos;
        }
    }
    ::close(fd);
    return own;
}

std::vector<std::string> datedCopiesNewestFirst(const std::string& folder, std::time_t now) {
    struct Entry {
        std::time_t made;
        int sequence;
        std::string path;
    };
    std::vector<Entry> copies;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto dated = readDatedCopyName(it->path().filename().string());
        struct stat info {};
        if (!dated || ::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        // A name dated after now (a clock set wrong, a copy from elsewhere) would otherwise stay
        // the newest for ever and never be pruned.
        copies.push_back(Entry{dated->made > now ? info.st_mtime : dated->made, dated->sequence,
                               it->path().string()});
    }
    std::sort(copies.begin(), copies.end(), [](const Entry& a, const Entry& b) {
        return a.made != b.made ? a.made > b.made : a.sequence > b.sequence;
    });
    std::vector<std::string> paths;
    for (const Entry& copy : copies) {
        paths.push_back(copy.path);
    }
    return paths;
}

bool keepNewestCopies(const std::string& folder, int keep, const std::string& written,
                      std::vector<std::string>& removed, std::string& error) {
    std::vector<std::string> copies = datedCopiesNewestFirst(folder, std::time(nullptr));
    // Only files that are copies of ours count and are removed: a file someone named like one
    // is neither a copy kept nor a copy to prune.
    std::erase_if(copies, [&](const std::string& path) { return !isOwnCopy(path); });
    bool allRemoved = true;
    for (std::size_t i = static_cast<std::size_t>(std::max(keep, 0)); i < copies.size(); ++i) {
        // A clock set back (or the hour repeated in autumn) may date the new copy before older
        // ones; the copy just made is never the one removed.
        if (copies[i] == written) {
            continue;
        }
        if (::unlink(copies[i].c_str()) == 0) {
            removed.push_back(copies[i]);
        } else {
            error =
                "Den gamla kopian " + copies[i] + " kunde inte tas bort: " + systemErrorText(errno);
            allRemoved = false;
        }
    }
    return allRemoved;
}
