// SPDX-License-Identifier: Apache-2.0
// Encrypted copies in memory: what goes in comes out, and any change to the file (one byte, a
// shortened or lengthened file, another passphrase, a header from elsewhere) is refused.

#include "backup_encryption.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace {

// Small limits and chunks keep thousands of decryptions fast; the file format is the same.
const KeyDerivationLimits kTestLimits{1, 8192};
constexpr std::uint32_t kTestChunk = 4096;
const std::string kPassphrase = "rätt lösenfras";

class MemoryFile {
  public:
    explicit MemoryFile(const std::string& bytes) : fd_(memfd_create("copy", MFD_CLOEXEC)) {
        EXPECT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Recognisable, non-repeating register bytes.
std::string plainBytes(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        bytes += "Testperson " + std::to_string(i) + ";";
    }
    bytes.resize(size);
    return bytes;
}

std::string encrypted(const std::string& plain, std::int64_t made = 1'796'000'000) {
    MemoryFile in(plain);
    std::string sealed;
    std::string error;
    EXPECT_TRUE(encryptBackup(
        in.fd(),
        [&](std::string_view bytes) {
            sealed.append(bytes);
            return true;
        },
        kPassphrase, made, error, kTestLimits, kTestChunk))
        << error;
    return sealed;
}

struct Opened {
    bool ok = false;
    std::string plain;
    std::int64_t made = 0;
    std::string error;
};

Opened decrypted(const std::string& sealed, const std::string& passphrase = kPassphrase) {
    MemoryFile in(sealed);
    Opened result;
    result.ok = decryptBackup(
        in.fd(),
        [&](std::string_view bytes) {
            result.plain.append(bytes);
            return true;
        },
        passphrase, result.made, result.error);
    return result;
}

TEST(BackupEncryption, EverySizeComesBackAsItWentIn) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{kTestChunk - 1}, std::size_t{kTestChunk},
          std::size_t{kTestChunk + 1}, std::size_t{3 * kTestChunk + 17}}) {
        const std::string plain = plainBytes(size);
        const std::string sealed = encrypted(plain, 1'796'000'123);
        // One chunk per started chunk of data (at least one), each 17 bytes longer.
        const std::size_t chunks = size == 0 ? 1 : (size + kTestChunk - 1) / kTestChunk;
        EXPECT_EQ(sealed.size(), kEncryptedBackupHeaderSize + size + 17 * chunks) << size;
        EXPECT_EQ(sealed.substr(0, 9), std::string("RIVOKOPI\x01")) << size;
        if (size > 20) {
            EXPECT_EQ(sealed.find(plain.substr(0, 20)), std::string::npos) << size;
        }
        const Opened opened = decrypted(sealed);
        ASSERT_TRUE(opened.ok) << size << ": " << opened.error;
        EXPECT_EQ(opened.plain, plain) << size;
        EXPECT_EQ(opened.made, 1'796'000'123) << size;
    }
}

TEST(BackupEncryption, TheSameDataTwiceGivesUnrelatedFiles) {
    const std::string plain = plainBytes(1000);
    const std::string first = encrypted(plain);
    const std::string second = encrypted(plain);
    ASSERT_EQ(first.size(), second.size());
    // The salt and the stream header are fresh each time, so no byte after them follows.
    int same = 0;
    for (std::size_t i = 21; i < first.size(); ++i) {
        same += first[i] == second[i] ? 1 : 0;
    }
    EXPECT_LT(same, 40); // chance alone gives about 4 of 1000; the fixed fields give 16
}

TEST(BackupEncryption, OneFlippedByteAnywhereIsRefused) {
    const std::string sealed = encrypted(plainBytes(2 * kTestChunk + 100));
    for (std::size_t at = 0; at < sealed.size(); ++at) {
        std::string damaged = sealed;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
        const Opened opened = decrypted(damaged);
        ASSERT_FALSE(opened.ok) << "byte " << at;
        EXPECT_FALSE(opened.error.empty()) << "byte " << at;
    }
}

TEST(BackupEncryption, AShortenedOrLengthenedFileIsRefused) {
    const std::string sealed = encrypted(plainBytes(2 * kTestChunk + 100));
    for (std::size_t length = 0; length < sealed.size(); ++length) {
        ASSERT_FALSE(decrypted(sealed.substr(0, length)).ok) << "length " << length;
    }
    // Cut exactly after a whole chunk: every chunk there is intact, only the final one is missing.
    const Opened cut = decrypted(sealed.substr(0, kEncryptedBackupHeaderSize + kTestChunk + 17));
    EXPECT_NE(cut.error.find("ofullständig"), std::string::npos) << cut.error;
    EXPECT_FALSE(decrypted(sealed + "x").ok);
    // After a full final chunk the extra byte is read on its own, and named.
    const Opened longer = decrypted(encrypted(plainBytes(2 * kTestChunk)) + "x");
    EXPECT_FALSE(longer.ok);
    EXPECT_NE(longer.error.find("efter sin sista del"), std::string::npos) << longer.error;
}

TEST(BackupEncryption, RefusalsSayWhy) {
    const std::string sealed = encrypted(plainBytes(100));
    std::string laterVersion = sealed;
    laterVersion[8] = 2;
    std::string hugeMemory = sealed;
    hugeMemory[20] = 0x40; // memory limit 2^62 bytes: refused before any is taken
    std::string swappedSalt = sealed;
    swappedSalt[21] = static_cast<char>(swappedSalt[21] ^ 0x80);
    const struct {
        const char* what;
        std::string file;
        std::string passphrase;
        const char* says;
    } cases[] = {
        {"wrong passphrase", sealed, "fel lösenfras", "lösenfrasen är fel"},
        {"empty passphrase", sealed, "", "lösenfrasen är fel"},
        {"later version", laterVersion, kPassphrase, "format 2"},
        {"hostile memory limit", hugeMemory, kPassphrase, "MiB minne för nyckeln"},
        {"salt changed", swappedSalt, kPassphrase, "lösenfrasen är fel"},
        {"plain database", std::string("SQLite format 3\0", 16) + plainBytes(200), kPassphrase,
         "ingen krypterad"},
        {"only the magic", "RIVOKOPI", kPassphrase, "ofullständig"},
    };
    for (const auto& c : cases) {
        const Opened opened = decrypted(c.file, c.passphrase);
        EXPECT_FALSE(opened.ok) << c.what;
        EXPECT_NE(opened.error.find(c.says), std::string::npos) << c.what << ": " << opened.error;
    }
}

} // namespace
