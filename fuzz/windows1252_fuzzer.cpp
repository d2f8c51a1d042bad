// SPDX-License-Identifier: Apache-2.0
// The Windows-1252 conversion of the export on any bytes: never a crash or a hang, never an empty
// result for a non-empty text, and every character that Windows-1252 shares with Latin-1
// (printable ASCII and U+00A0 to U+00FF) becomes its own single byte.

#include "windows1252.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The text as Latin-1 bytes when it is valid UTF-8 made only of characters both encodings
// share; nothing otherwise.
std::optional<std::string> sharedLatin1(std::string_view utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0x20 && lead < 0x7f) {
            bytes.push_back(static_cast<char>(lead));
            continue;
        }
        if ((lead == 0xc2 || lead == 0xc3) && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            const unsigned code = (lead & 0x1fu) << 6 | (next & 0x3fu);
            if ((next & 0xc0u) == 0x80u && code >= 0xa0) {
                bytes.push_back(static_cast<char>(code));
                ++i;
                continue;
            }
        }
        return std::nullopt;
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string output = toWindows1252(input);
    if (!input.empty() && output.empty()) {
        std::abort();
    }
    if (const std::optional<std::string> expected = sharedLatin1(input)) {
        if (output != *expected) {
            std::abort();
        }
    }
    return 0;
}
