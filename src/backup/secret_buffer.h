// SPDX-License-Identifier: Apache-2.0
#pragma once

// Bytes of a passphrase, a key or a decrypted chunk in memory of their own: allocated once at a
// fixed capacity (never moved by growing, so no stray copy is left behind), locked against being
// swapped to disk where the system allows it, and wiped when released, on every path. Not
// copyable; moving hands over the one buffer.

#include <cstddef>
#include <string_view>

class SecretBuffer {
  public:
    SecretBuffer() = default;
    explicit SecretBuffer(std::size_t capacity);
    ~SecretBuffer();
    SecretBuffer(SecretBuffer&& other) noexcept;
    SecretBuffer& operator=(SecretBuffer&& other) noexcept;
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;

    unsigned char* data() { return bytes_; }
    const unsigned char* data() const { return bytes_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const;

    // Sets the size, at most the capacity; bytes beyond the new size are wiped.
    void resize(std::size_t size);
    // Appends one byte; false when the buffer is full.
    bool push_back(unsigned char byte);
    void clear() { resize(0); }

    // Compared in time that does not depend on where the contents differ.
    bool sameAs(const SecretBuffer& other) const;

  private:
    void release();

    unsigned char* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool locked_ = false;
};

// Overwrites bytes that held a secret outside a SecretBuffer (a copy a library handed out) with
// zeros, in a way the compiler does not leave out.
void wipeSecretBytes(void* bytes, std::size_t size);
