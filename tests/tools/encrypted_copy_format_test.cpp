// SPDX-License-Identifier: Apache-2.0
// The encrypted copy's format held fast: a copy written by an earlier build decrypts to the same
// bytes, a header asking too much of the machine is refused before any key is derived, and the
// passphrase rules for a new copy.

#include "backup_encryption.h"
#include "passphrase_input.h"
#include "secret_buffer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Opened {
    bool ok = false;
    std::string plain;
    std::int64_t made = 0;
    std::string error;
};

Opened decryptedFd(int fd, std::string_view passphrase) {
    Opened result;
    result.ok = decryptBackup(
        fd,
        [&](std::string_view bytes) {
            result.plain.append(bytes);
            return true;
        },
        passphrase, result.made, result.error);
    return result;
}

Opened decryptedBytes(const std::string& bytes, std::string_view passphrase) {
    const int fd = memfd_create("copy", MFD_CLOEXEC);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    Opened result = decryptedFd(fd, passphrase);
    close(fd);
    return result;
}

std::string sealedWith(const KeyDerivationLimits& limits, std::string_view passphrase) {
    const std::string plain = "ett litet register";
    const int fd = memfd_create("plain", MFD_CLOEXEC);
    EXPECT_EQ(write(fd, plain.data(), plain.size()), static_cast<ssize_t>(plain.size()));
    std::string sealed;
    std::string error;
    EXPECT_TRUE(encryptBackup(
        fd,
        [&](std::string_view bytes) {
            sealed.append(bytes);
            return true;
        },
        passphrase, 1'796'000'000, error, limits, 4096))
        << error;
    close(fd);
    return sealed;
}

void storeLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

// Written once with format 1 at the default key settings (3 passes, 64 MiB) in chunks of 64
// bytes; the bytes below are what went in.
TEST(EncryptedCopyFormat, ACopyOfFormatOneStillDecrypts) {
    std::string expected;
    for (int i = 1; i <= 5; ++i) {
        expected += "Testperson " + std::to_string(i) + ": format 1, delar om 64 byte;\n";
    }
    const int fd = open(RIVO_FORMAT_1_COPY, O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << RIVO_FORMAT_1_COPY;
    EXPECT_TRUE(isEncryptedBackup(fd));
    const Opened opened = decryptedFd(fd, "kopians lösenfras, format 1");
    const Opened wrong = decryptedFd(fd, "kopians lösenfras, format 2");
    close(fd);
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.plain, expected);
    EXPECT_EQ(opened.made, 1'796'646'930);
    EXPECT_FALSE(wrong.ok);
    EXPECT_NE(wrong.error.find("lösenfrasen är fel"), std::string::npos) << wrong.error;
}

// The limits are the header's passes (offset 9, 4 bytes) and memory (offset 13, 8 bytes). A
// header beyond them is refused at once: deriving a 4 GiB key would take half a minute.
TEST(EncryptedCopyFormat, KeySettingsBeyondTheLimitsAreRefusedAtOnce) {
    const std::string sealed = sealedWith({1, 8192}, "rätt lösenfras");
    const struct {
        const char* what;
        std::uint32_t passes;
        std::uint64_t memory;
        const char* says;
    } cases[] = {
        {"11 passes", 11, 8192, "11 varv"},
        {"a million passes", 1'000'000, 8192, "1000000 varv"},
        {"1 GiB and a byte", 3, (1ull << 30) + 1, "1024 MiB minne"},
        {"4 GiB", 3, 4ull << 30, "4096 MiB minne"},
        {"2^63 bytes", 1, 1ull << 63, "MiB minne"},
    };
    for (const auto& c : cases) {
        std::string hostile = sealed;
        storeLittleEndian(hostile, 9, c.passes, 4);
        storeLittleEndian(hostile, 13, c.memory, 8);
        const auto started = std::chrono::steady_clock::now();
        const Opened opened = decryptedBytes(hostile, "rätt lösenfras");
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_FALSE(opened.ok) << c.what;
        EXPECT_NE(opened.error.find(c.says), std::string::npos) << c.what << ": " << opened.error;
        EXPECT_NE(opened.error.find("ingen nyckel har härletts"), std::string::npos) << c.what;
        EXPECT_LT(took, std::chrono::milliseconds(200)) << c.what;
    }
}

TEST(EncryptedCopyFormat, SettingsAtTheLimitAreKeptAndWrittenOnlyWithinThem) {
    const Opened atLimit =
        decryptedBytes(sealedWith({10, 8192}, "rätt lösenfras"), "rätt lösenfras");
    EXPECT_TRUE(atLimit.ok) << atLimit.error;
    EXPECT_EQ(atLimit.plain, "ett litet register");

    const int fd = memfd_create("plain", MFD_CLOEXEC);
    std::string error;
    EXPECT_FALSE(encryptBackup(fd, [](std::string_view) { return true; }, "rätt lösenfras", 0,
                               error, {11, 8192}));
    EXPECT_NE(error.find("11 varv"), std::string::npos) << error;
    close(fd);
}

SecretBuffer secret(std::string_view text) {
    SecretBuffer buffer(kLongestPassphrase);
    for (const char c : text) {
        buffer.push_back(static_cast<unsigned char>(c));
    }
    return buffer;
}

TEST(EncryptedCopyFormat, ANewPassphraseIsGivenTwiceAndHasTenCharacters) {
    const struct {
        const char* first;
        const char* again; // nullptr: read from a file, no second time
        const char* says;  // empty: taken
    } cases[] = {
        {"tio tecken", "tio tecken", ""},
        {"åäöÅÄÖåäöÅ", "åäöÅÄÖåäöÅ", ""}, // characters, not bytes
        {"åäöÅÄÖåäö", "åäöÅÄÖåäö", "minst 10 tecken"},
        {"tio tecken", "tio teckeN", "inte lika"},
        {"tio tecken", "tio tecken ", "inte lika"},
        {"", "", "Ingen lösenfras"},
        {"nio tecke", nullptr, "minst 10 tecken"},
        {"från en fil", nullptr, ""},
    };
    for (const auto& c : cases) {
        const SecretBuffer first = secret(c.first);
        const SecretBuffer again = secret(c.again != nullptr ? c.again : "");
        const std::string problem =
            newPassphraseProblem(first, c.again != nullptr ? &again : nullptr);
        if (*c.says == '\0') {
            EXPECT_EQ(problem, "") << c.first;
        } else {
            EXPECT_NE(problem.find(c.says), std::string::npos) << c.first << ": " << problem;
        }
    }
}

TEST(EncryptedCopyFormat, ASecretIsWipedWhenShortenedAndMovedNotCopied) {
    SecretBuffer buffer = secret("hemlig lösenfras");
    unsigned char* bytes = buffer.data();
    buffer.resize(3);
    EXPECT_EQ(buffer.view(), "hem");
    for (std::size_t i = 3; i < std::string_view("hemlig lösenfras").size(); ++i) {
        EXPECT_EQ(bytes[i], 0) << i;
    }
    SecretBuffer moved = std::move(buffer);
    EXPECT_EQ(moved.data(), bytes); // the same memory, no second copy
    EXPECT_EQ(moved.view(), "hem");
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_TRUE(buffer.empty());
}

} // namespace
