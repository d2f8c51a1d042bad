// SPDX-License-Identifier: Apache-2.0
#include "backup_encryption.h"

#include "secret_buffer.h"
#include "system_error_text.h"

#include <sodium.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using StreamState = crypto_secretstream_xchacha20poly1305_state;
using Header = std::array<unsigned char, kEncryptedBackupHeaderSize>;

constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kPassesAt = 9;
constexpr std::size_t kMemoryAt = 13;
constexpr std::size_t kSaltAt = 21;
constexpr std::size_t kCreatedAt = 37;
constexpr std::size_t kChunkSizeAt = 45;
constexpr std::size_t kStreamHeaderAt = 49;
constexpr std::size_t kChunkOverhead = crypto_secretstream_xchacha20poly1305_ABYTES;

static_assert(kSaltAt + crypto_pwhash_SALTBYTES == kCreatedAt);
static_assert(kStreamHeaderAt + crypto_secretstream_xchacha20poly1305_HEADERBYTES ==
              kEncryptedBackupHeaderSize);

void storeLittleEndian(unsigned char* at, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

std::uint64_t loadLittleEndian(const unsigned char* at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// Reads up to size bytes at offset, fewer only at the end of the file; -1 on a read error.
ssize_t readAt(int fd, unsigned char* buffer, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

std::string unreadable() {
    return std::string("Kopian kan inte läsas: ") + systemErrorText(errno);
}

// The stream's state holds the key for as long as the stream runs; it is wiped however the work
// ends.
class WipedState {
  public:
    WipedState() { sodium_mlock(&state_, sizeof state_); }
    ~WipedState() { sodium_munlock(&state_, sizeof state_); } // wipes, locked or not
    WipedState(const WipedState&) = delete;
    WipedState& operator=(const WipedState&) = delete;
    StreamState* get() { return &state_; }

  private:
    StreamState state_{};
};

std::string outOfBounds(std::uint32_t passes, std::uint64_t memory) {
    if (passes > kMostKeyDerivationPasses) {
        return "Kopians huvud begär " + std::to_string(passes) +
               " varv för nyckeln, fler än de högst " + std::to_string(kMostKeyDerivationPasses) +
               " som RIVO-IV tillåter. Kopian är skadad eller inte gjord av RIVO-IV; ingen nyckel "
               "har härletts.";
    }
    if (memory > kMostKeyDerivationMemory) {
        return "Kopians huvud begär " + std::to_string(memory >> 20) +
               " MiB minne för nyckeln, mer än de högst " +
               std::to_string(kMostKeyDerivationMemory >> 20) +
               " MiB som RIVO-IV tillåter. Kopian är skadad eller inte gjord av RIVO-IV; ingen "
               "nyckel har härletts.";
    }
    if (passes < crypto_pwhash_OPSLIMIT_MIN || memory < crypto_pwhash_MEMLIMIT_MIN) {
        return "Kopians huvud är skadat (för få varv eller för lite minne för nyckeln).";
    }
    return {};
}

bool deriveKey(SecretBuffer& key, std::string_view passphrase, const unsigned char* salt,
               std::uint32_t passes, std::uint64_t memory, std::string& error) {
    if (error = outOfBounds(passes, memory); !error.empty()) {
        return false;
    }
    key = SecretBuffer(crypto_secretstream_xchacha20poly1305_KEYBYTES);
    key.resize(key.capacity());
    if (sodium_init() < 0 ||
        crypto_pwhash(key.data(), key.size(), passphrase.data(), passphrase.size(), salt, passes,
                      static_cast<std::size_t>(memory), crypto_pwhash_ALG_ARGON2ID13) != 0) {
        error = "Nyckeln kunde inte härledas ur lösenfrasen: datorn har inte tillräckligt med "
                "ledigt minne.";
        return false;
    }
    return true;
}

} // namespace

bool isEncryptedBackup(int fd) {
    unsigned char magic[kEncryptedBackupMagic.size()] = {};
    return readAt(fd, magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
           std::memcmp(magic, kEncryptedBackupMagic.data(), sizeof magic) == 0;
}

bool encryptBackup(int plainFd, const ByteSink& sink, std::string_view passphrase,
                   std::int64_t createdUtc, std::string& error, const KeyDerivationLimits& limits,
                   std::uint32_t chunkSize) {
    if (sodium_init() < 0) {
        error = "Krypteringen kunde inte startas.";
        return false;
    }
    Header header{};
    std::memcpy(header.data(), kEncryptedBackupMagic.data(), kEncryptedBackupMagic.size());
    header[kVersionAt] = kEncryptedBackupVersion;
    storeLittleEndian(&header[kPassesAt], limits.passes, 4);
    storeLittleEndian(&header[kMemoryAt], limits.memoryBytes, 8);
    randombytes_buf(&header[kSaltAt], crypto_pwhash_SALTBYTES);
    storeLittleEndian(&header[kCreatedAt], static_cast<std::uint64_t>(createdUtc), 8);
    storeLittleEndian(&header[kChunkSizeAt], chunkSize, 4);

    WipedState state;
    {
        SecretBuffer key;
        if (!deriveKey(key, passphrase, &header[kSaltAt], limits.passes, limits.memoryBytes,
                       error)) {
            return false;
        }
        crypto_secretstream_xchacha20poly1305_init_push(state.get(), &header[kStreamHeaderAt],
                                                        key.data());
    }
    if (!sink(std::string_view(reinterpret_cast<const char*>(header.data()), header.size()))) {
        return false;
    }

    // The next chunk is read before the current one is sealed: only then is it known whether the
    // current one is the last.
    SecretBuffer plain(chunkSize);
    SecretBuffer next(chunkSize);
    std::vector<unsigned char> sealed(chunkSize + kChunkOverhead);
    off_t offset = 0;
    ssize_t length = readAt(plainFd, plain.data(), chunkSize, offset);
    bool first = true;
    while (length >= 0) {
        offset += length;
        ssize_t nextLength = 0;
        if (length == static_cast<ssize_t>(chunkSize)) {
            nextLength = readAt(plainFd, next.data(), chunkSize, offset);
            if (nextLength < 0) {
                break;
            }
        }
        const bool last = nextLength == 0;
        unsigned long long sealedLength = 0;
        crypto_secretstream_xchacha20poly1305_push(
            state.get(), sealed.data(), &sealedLength, plain.data(),
            static_cast<unsigned long long>(length), first ? header.data() : nullptr,
            first ? header.size() : 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                 : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        first = false;
        if (!sink(std::string_view(reinterpret_cast<const char*>(sealed.data()), sealedLength))) {
            return false;
        }
        if (last) {
            return true;
        }
        std::swap(plain, next);
        length = nextLength;
    }
    error = unreadable();
    return false;
}

bool decryptBackup(int encryptedFd, const ByteSink& sink, std::string_view passphrase,
                   std::int64_t& createdUtc, std::string& error) {
    Header header{};
    const ssize_t headerLength = readAt(encryptedFd, header.data(), header.size(), 0);
    if (headerLength < 0) {
        error = unreadable();
        return false;
    }
    if (headerLength < static_cast<ssize_t>(kEncryptedBackupMagic.size()) ||
        std::memcmp(header.data(), kEncryptedBackupMagic.data(), kEncryptedBackupMagic.size()) !=
            0) {
        error = "Filen är ingen krypterad säkerhetskopia av registret.";
        return false;
    }
    if (headerLength < static_cast<ssize_t>(header.size())) {
        error = "Kopian är ofullständig: den slutar redan i sitt huvud.";
        return false;
    }
    if (header[kVersionAt] != kEncryptedBackupVersion) {
        error = "Kopian är gjord i format " + std::to_string(header[kVersionAt]) +
                ", som den här versionen av RIVO-IV inte kan läsa. Återställ den med en nyare "
                "version.";
        return false;
    }
    const auto passes = static_cast<std::uint32_t>(loadLittleEndian(&header[kPassesAt], 4));
    const std::uint64_t memory = loadLittleEndian(&header[kMemoryAt], 8);
    const auto chunkSize = static_cast<std::uint32_t>(loadLittleEndian(&header[kChunkSizeAt], 4));
    if (error = outOfBounds(passes, memory); !error.empty()) {
        return false;
    }
    if (chunkSize == 0 || chunkSize > kMostChunkSize) {
        error = "Kopians huvud är skadat (orimlig storlek på delarna).";
        return false;
    }
    createdUtc = static_cast<std::int64_t>(loadLittleEndian(&header[kCreatedAt], 8));

    WipedState state;
    int started = -1;
    {
        SecretBuffer key;
        if (!deriveKey(key, passphrase, &header[kSaltAt], passes, memory, error)) {
            return false;
        }
        started = crypto_secretstream_xchacha20poly1305_init_pull(
            state.get(), &header[kStreamHeaderAt], key.data());
    }
    if (started != 0) {
        error = "Kopians huvud är skadat.";
        return false;
    }

    std::vector<unsigned char> sealed(chunkSize + kChunkOverhead);
    SecretBuffer plain(chunkSize);
    off_t offset = static_cast<off_t>(header.size());
    for (long chunk = 1;; ++chunk) {
        const ssize_t length = readAt(encryptedFd, sealed.data(), sealed.size(), offset);
        if (length < 0) {
            error = unreadable();
            return false;
        }
        if (length < static_cast<ssize_t>(kChunkOverhead)) {
            error = "Kopian är ofullständig: den slutar före sin sista del. Den kan ha avbrutits "
                    "när den skrevs eller kopierades.";
            return false;
        }
        offset += length;
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(
                state.get(), plain.data(), &plainLength, &tag, sealed.data(),
                static_cast<unsigned long long>(length), chunk == 1 ? header.data() : nullptr,
                chunk == 1 ? header.size() : 0) != 0) {
            error = chunk == 1 ? std::string("Kopian kunde inte dekrypteras: lösenfrasen är fel, "
                                             "eller så är kopian skadad eller ofullständig.")
                               : "Kopian är skadad eller ändrad: del " + std::to_string(chunk) +
                                     " stämmer inte med sin kontrollsumma.";
            return false;
        }
        const bool last = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
        if (!last && length < static_cast<ssize_t>(sealed.size())) {
            error = "Kopian är ofullständig: den slutar före sin sista del.";
            return false;
        }
        if (!sink(std::string_view(reinterpret_cast<const char*>(plain.data()), plainLength))) {
            return false;
        }
        if (last) {
            break;
        }
    }
    unsigned char extra = 0;
    if (readAt(encryptedFd, &extra, 1, offset) != 0) {
        error = "Kopian är ändrad: efter sin sista del följer främmande data.";
        return false;
    }
    return true;
}
