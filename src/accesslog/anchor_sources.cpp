// SPDX-License-Identifier: Apache-2.0
// Reading anchors from where they are kept: files of lines, copies in a folder, the journal.
#include "anchors.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSqliteMagic("SQLite format 3\0", 16);

// The head in ATKOMSTLOGG_HUVUD of the SQLite database held in bytes (opened in memory, read
// only, nothing written anywhere).
bool headOfDatabase(std::string& bytes, AccessLogHead& head, std::string& error) {
    sqlite3* db = nullptr;
    bool read = false;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_deserialize(db, "main", reinterpret_cast<unsigned char*>(bytes.data()),
                            static_cast<sqlite3_int64>(bytes.size()),
                            static_cast<sqlite3_int64>(bytes.size()),
                            SQLITE_DESERIALIZE_READONLY) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT SEKVENS, HASH FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1",
                               -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            head.seq = sqlite3_column_int(statement, 0);
            const auto* hash = sqlite3_column_text(statement, 1);
            head.hash = hash != nullptr ? reinterpret_cast<const char*>(hash) : "";
            read = true;
        }
        sqlite3_finalize(statement);
    }
    if (!read) {
        error = std::string("kopians åtkomstlogg kan inte läsas: ") + sqlite3_errmsg(db);
    }
    sqlite3_close(db);
    return read;
}

bool readWhole(int fd, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

bool readAnchorFile(const std::string& path, bool complete, AnchorSource& source,
                    std::string& error) {
    source.name = path;
    source.complete = complete;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + " kan inte läsas: " + std::strerror(errno);
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        std::optional<AccessLogAnchor> anchor = parseAnchorLine(line);
        if (!anchor) {
            // A system log export holds other lines too; only ours must parse.
            if (complete && line.find("atkomstlogg ") == std::string::npos) {
                continue;
            }
            error = "Rad " + std::to_string(number) + " i " + path +
                    " är inget ankare (väntade \"rad=N hash=…\"): " + line.substr(0, 80);
            return false;
        }
        anchor->source = path + " rad " + std::to_string(number);
        source.anchors.push_back(std::move(*anchor));
    }
    return true;
}

bool readBackupAnchors(const std::string& folder, const CopyDecrypter& decrypt,
                       AnchorSource& source, std::vector<std::string>& errors) {
    source.name = folder;
    std::error_code failure;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.is_regular_file(failure)) {
            files.push_back(entry.path());
        }
    }
    if (failure) {
        errors.push_back("Mappen " + folder + " kan inte läsas: " + failure.message());
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        char magic[16] = {};
        if (fd < 0 || ::pread(fd, magic, sizeof magic, 0) != static_cast<ssize_t>(sizeof magic)) {
            if (fd >= 0) {
                ::close(fd);
            }
            continue; // too short or unreadable to be a copy: not one of ours
        }
        const std::string_view start(magic, sizeof magic);
        std::string bytes;
        std::string error;
        bool read = false;
        if (start == kSqliteMagic) {
            read = readWhole(fd, bytes);
            error = read ? "" : std::strerror(errno);
        } else if (decrypt.isEncrypted && decrypt.isEncrypted(fd)) {
            read = decrypt.decrypt(fd, bytes, error);
        } else {
            ::close(fd);
            continue;
        }
        ::close(fd);
        AccessLogAnchor anchor;
        if (!read || !headOfDatabase(bytes, anchor.head, error)) {
            errors.push_back("Kopian " + path.string() + " kunde inte läsas: " + error);
            continue;
        }
        anchor.source = "kopian " + path.string();
        source.anchors.push_back(std::move(anchor));
    }
    return errors.empty();
}

bool readJournalAnchors(AnchorSource& source, std::string& reason) {
    source.name = "systemjournalen";
    source.complete = true;
    FILE* journal = ::popen("journalctl -t RIVO-IV -o cat --no-pager -q 2>/dev/null", "re");
    if (journal == nullptr) {
        reason = "journalctl kan inte startas";
        return false;
    }
    char line[1024];
    while (std::fgets(line, sizeof line, journal) != nullptr) {
        if (std::optional<AccessLogAnchor> anchor = parseAnchorLine(line)) {
            anchor->source = "systemjournalen";
            source.anchors.push_back(std::move(*anchor));
        }
    }
    const int status = ::pclose(journal);
    if (status != 0) {
        reason = "journalctl kunde inte läsa systemjournalen (saknas den, eller får detta konto "
                 "inte läsa den? Lägg kontot i gruppen systemd-journal eller adm)";
        return false;
    }
    return true;
}
