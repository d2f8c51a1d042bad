// SPDX-License-Identifier: Apache-2.0
#include "passphrase_input.h"
#include "system_error_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

int characterCount(const SecretBuffer& text) {
    int count = 0;
    for (const char c : text.view()) {
        count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    }
    return count;
}

} // namespace

bool readPassphraseFile(const std::string& path, SecretBuffer& passphrase, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = "Lösenfrasfilen " + path + " kan inte läsas: " + systemErrorText(errno);
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
    passphrase = SecretBuffer(kLongestPassphrase);
    passphrase.resize(passphrase.capacity());
    const ssize_t length = ::read(fd, passphrase.data(), passphrase.size());
    ::close(fd);
    if (length < 0) {
        passphrase.clear();
        error = "Lösenfrasfilen " + path + " kan inte läsas: " + systemErrorText(errno);
        return false;
    }
    passphrase.resize(static_cast<std::size_t>(length));
    passphrase.resize(std::min(passphrase.view().find('\n'), passphrase.size()));
    if (!passphrase.empty() && passphrase.view().back() == '\r') {
        passphrase.resize(passphrase.size() - 1);
    }
    if (passphrase.empty()) {
        error = "Lösenfrasfilen " + path + " innehåller ingen lösenfras på första raden.";
        return false;
    }
    return true;
}

std::string newPassphraseProblem(const SecretBuffer& passphrase, const SecretBuffer* again) {
    if (passphrase.empty()) {
        return "Ingen lösenfras angavs.";
    }
    if (again != nullptr && !passphrase.sameAs(*again)) {
        return "Lösenfraserna är inte lika.";
    }
    if (characterCount(passphrase) < kShortestPassphrase) {
        return "Lösenfrasen måste vara minst " + std::to_string(kShortestPassphrase) +
               " tecken lång.";
    }
    return {};
}
