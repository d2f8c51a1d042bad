// SPDX-License-Identifier: Apache-2.0
#include "secret_buffer.h"

#include <sodium.h>

#include <algorithm>
#include <new>
#include <utility>

SecretBuffer::SecretBuffer(std::size_t capacity)
    : bytes_(new unsigned char[std::max<std::size_t>(capacity, 1)]()), capacity_(capacity) {
    // A system that allows no locked memory (RLIMIT_MEMLOCK) still gets the wiping.
    locked_ = sodium_init() >= 0 && sodium_mlock(bytes_, std::max<std::size_t>(capacity, 1)) == 0;
}

SecretBuffer::~SecretBuffer() {
    release();
}

SecretBuffer::SecretBuffer(SecretBuffer&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)), locked_(std::exchange(other.locked_, false)) {}

SecretBuffer& SecretBuffer::operator=(SecretBuffer&& other) noexcept {
    if (this != &other) {
        release();
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        locked_ = std::exchange(other.locked_, false);
    }
    return *this;
}

void SecretBuffer::release() {
    if (bytes_ == nullptr) {
        return;
    }
    const std::size_t length = std::max<std::size_t>(capacity_, 1);
    // sodium_munlock wipes before it unlocks.
    if (!locked_ || sodium_munlock(bytes_, length) != 0) {
        sodium_memzero(bytes_, length);
    }
    delete[] bytes_;
    bytes_ = nullptr;
    size_ = capacity_ = 0;
    locked_ = false;
}

std::string_view SecretBuffer::view() const {
    return {reinterpret_cast<const char*>(bytes_), size_};
}

void SecretBuffer::resize(std::size_t size) {
    size = std::min(size, capacity_);
    if (size < size_) {
        sodium_memzero(bytes_ + size, size_ - size);
    }
    size_ = size;
}

bool SecretBuffer::push_back(unsigned char byte) {
    if (size_ >= capacity_) {
        return false;
    }
    bytes_[size_++] = byte;
    return true;
}

bool SecretBuffer::sameAs(const SecretBuffer& other) const {
    return size_ == other.size_ && (size_ == 0 || sodium_memcmp(bytes_, other.bytes_, size_) == 0);
}

void wipeSecretBytes(void* bytes, std::size_t size) {
    sodium_memzero(bytes, size);
}
