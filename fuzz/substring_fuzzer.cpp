// SPDX-License-Identifier: Apache-2.0
// The substring export of libstavro: any text, start and count, into a destination of exactly
// count + 1 bytes (what the export asks of its caller). It must read nothing beyond the source's
// terminator, write nothing beyond the destination, and give the characters from start on.

#include "stavro.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Start and count range a little beyond both ends of the text.
    const int start = static_cast<int>(static_cast<std::int8_t>(data[0]));
    const int count = static_cast<int>(static_cast<std::int8_t>(data[1]));
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string source = text.substr(0, text.find('\0')); // what a C string holds
    // Exactly sized heap buffers, so that AddressSanitizer sees every byte read or written past
    // their ends.
    auto sourceBuffer = std::make_unique<char[]>(source.size() + 1);
    std::memcpy(sourceBuffer.get(), source.c_str(), source.size() + 1);
    const std::size_t capacity = count < 0 ? 1 : static_cast<std::size_t>(count) + 1;
    auto destination = std::make_unique<char[]>(capacity);
    std::memset(destination.get(), 'x', capacity);

    if (DoStrMid(destination.get(), sourceBuffer.get(), start, count) != destination.get()) {
        std::abort();
    }
    std::string expected;
    if (start >= 0 && count >= 0 && static_cast<std::size_t>(start) <= source.size()) {
        expected = source.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
    }
    if (std::strlen(destination.get()) >= capacity || destination.get() != expected) {
        std::abort();
    }
    return 0;
}
