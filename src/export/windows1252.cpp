// SPDX-License-Identifier: Apache-2.0
#include "windows1252.h"

#include <iconv.h>

#include <cerrno>

std::string toWindows1252(std::string_view utf8) {
    std::string result;
    iconv_t converter = iconv_open("WINDOWS-1252//TRANSLIT", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(utf8);
    }
    std::string input(utf8);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, sizeof buffer - outLeft);
        if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or untranslatable sequence: write "?" and go on after its first byte.
            result.push_back('?');
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return result;
}
