// SPDX-License-Identifier: Apache-2.0
#include "backup_folder.h"

#include "backup_encryption.h"
#include "db.h"

#include <fcntl.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
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

std::string datedCopyName(const std::tm& localTime, bool encrypted, int sequence) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H%M", &localTime);
    std::string name = registerStem() + "-" + stamp;
    if (sequence > 1) {
        name += "-" + std::to_string(sequence);
    }
    return name + ".db" + (encrypted ? kEncryptedExtension : "");
}

std::string freeDatedCopyPath(const std::string& folder, std::time_t now, bool encrypted) {
    std::tm local{};
    localtime_r(&now, &local);
    // A copy made later in the same minute takes the next sequence after the highest there,
    // never a gap that pruning left (it would sort as the oldest and be pruned at once). Plain
    // and encrypted copies share the sequence.
    const std::string first = datedCopyName(local, false);
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
            std::filesystem::path(folder) / datedCopyName(local, false, sequence);
        const std::filesystem::path sealed =
            std::filesystem::path(folder) / datedCopyName(local, true, sequence);
        struct stat info {};
        if (::lstat(plain.c_str(), &info) != 0 && ::lstat(sealed.c_str(), &info) != 0) {
            return (encrypted ? sealed : plain).string();
        }
    }
}

bool digitsAt(const std::string& text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + count),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Reads "<stem>-YYYY-MM-DDTHHMM[-N].db[.krypterad]": the stamp and the sequence number (1 when
// there is none); nothing for any other name.
std::optional<std::pair<std::string, int>> datedCopyName(const std::string& name) {
    const std::string prefix = registerStem() + "-";
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::size_t at = prefix.size();
    constexpr std::size_t kStampLength = 15; // YYYY-MM-DDTHHMM
    if (!digitsAt(name, at, 4) || name.size() < at + kStampLength || name[at + 4] != '-' ||
        !digitsAt(name, at + 5, 2) || name[at + 7] != '-' || !digitsAt(name, at + 8, 2) ||
        name[at + 10] != 'T' || !digitsAt(name, at + 11, 4)) {
        return std::nullopt;
    }
    std::size_t rest = at + kStampLength;
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
    return std::make_pair(name.substr(at, kStampLength), sequence);
}

namespace {

// The local time a stamp "YYYY-MM-DDTHHMM" names.
std::time_t stampTime(const std::string& stamp) {
    std::tm local{};
    local.tm_year = std::stoi(stamp.substr(0, 4)) - 1900;
    local.tm_mon = std::stoi(stamp.substr(5, 2)) - 1;
    local.tm_mday = std::stoi(stamp.substr(8, 2));
    local.tm_hour = std::stoi(stamp.substr(11, 2));
    local.tm_min = std::stoi(stamp.substr(13, 2));
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Whether the first bytes of a file hold text: the schema of a register is in sqlite_master,
// whose pages VACUUM INTO writes first, before any row of data.
bool startsWithin(int fd, std::size_t length, std::initializer_list<std::string_view> texts) {
    std::string head(length, '\0');
    const ssize_t got = ::pread(fd, head.data(), head.size(), 0);
    if (got <= 0) {
        return false;
    }
    head.resize(static_cast<std::size_t>(got));
    return std::all_of(texts.begin(), texts.end(),
                       [&](std::string_view text) { return head.find(text) != std::string::npos; });
}

} // namespace

bool isOwnCopy(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
    bool own = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        own = isEncryptedBackup(fd) ||
              (startsWithin(fd, kSqliteMagic.size(), {kSqliteMagic}) &&
               startsWithin(fd, 1 << 16, {"CREATE TABLE TESTPERSON", "CREATE TABLE NORMKALLA"}));
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
        const auto dated = datedCopyName(it->path().filename().string());
        struct stat info {};
        if (!dated || ::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        // A name dated after now (a clock set wrong, a copy from elsewhere) would otherwise stay
        // the newest for ever and never be pruned.
        const std::time_t named = stampTime(dated->first);
        copies.push_back(
            Entry{named > now ? info.st_mtime : named, dated->second, it->path().string()});
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
                "Den gamla kopian " + copies[i] + " kunde inte tas bort: " + std::strerror(errno);
            allRemoved = false;
        }
    }
    return allRemoved;
}
