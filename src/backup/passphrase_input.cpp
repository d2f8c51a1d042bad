// SPDX-License-Identifier: Apache-2.0
#include "passphrase_input.h"

#include "password_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kLongestPassphraseFile = 4096;

int characterCount(const std::string& text) {
    int count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    }
    return count;
}

} // namespace

bool readPassphraseFile(const std::string& path, std::string& passphrase, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = "Lösenfrasfilen " + path + " kan inte läsas: " + std::strerror(errno);
        return false;
    }
    // The file that was opened is the one judged, so a file swapped in meanwhile is not read.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "Lösenfrasfilen " + path + " är ingen vanlig fil.";
        ::close(fd);
        return false;
    }
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 || info.st_uid != ::geteuid()) {
        error = "Lösenfrasfilen " + path +
                " får bara kunna läsas av sin ägare, som ska vara du. Gör den privat med "
                "chmod 600 " +
                path + ".";
        ::close(fd);
        return false;
    }
    char buffer[kLongestPassphraseFile];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (length < 0) {
        error = "Lösenfrasfilen " + path + " kan inte läsas: " + std::strerror(errno);
        return false;
    }
    passphrase.assign(buffer, static_cast<std::size_t>(length));
    std::memset(buffer, 0, sizeof buffer);
    passphrase.resize(std::min(passphrase.find('\n'), passphrase.size()));
    if (!passphrase.empty() && passphrase.back() == '\r') {
        passphrase.pop_back();
    }
    if (passphrase.empty()) {
        error = "Lösenfrasfilen " + path + " innehåller ingen lösenfras på första raden.";
        return false;
    }
    return true;
}

bool readPassphrase(const std::string& file, bool confirm, std::string& passphrase) {
    if (!file.empty()) {
        std::string error;
        if (!readPassphraseFile(file, passphrase, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
    } else {
        if (!readPassword("Lösenfras: ", passphrase)) {
            std::fprintf(stderr, "Ingen lösenfras angavs.\n");
            return false;
        }
        std::string again;
        if (confirm && (!readPassword("Lösenfrasen igen: ", again) || again != passphrase)) {
            std::fprintf(stderr, "Lösenfraserna är inte lika.\n");
            return false;
        }
    }
    if (confirm && characterCount(passphrase) < kShortestPassphrase) {
        std::fprintf(stderr, "Lösenfrasen måste vara minst %d tecken lång.\n", kShortestPassphrase);
        return false;
    }
    if (passphrase.empty()) {
        std::fprintf(stderr, "Ingen lösenfras angavs.\n");
        return false;
    }
    return true;
}
