#include "credential_text.h"

#include <cstdint>

namespace {

// Decodes the character at text[at]; false when the bytes there are not valid UTF-8 (overlong
// forms, surrogates and values above U+10FFFF included).
bool decode(std::string_view text, std::size_t& at, char32_t& character) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        character = lead;
        ++at;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
    } else {
        return false;
    }
    // The lead byte's own bits: 5, 4 or 3 of them.
    character = lead & (0x7Fu >> length);
    if (at + length > text.size()) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return false;
        }
        character = character << 6 | (byte(at + i) & 0x3Fu);
    }
    at += length;
    return character >= minimum && character <= 0x10FFFF &&
           (character < 0xD800 || character > 0xDFFF);
}

bool isControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

// Walks the text once: its character count, or the first problem of its characters.
CredentialProblem scan(std::string_view text, int& count) {
    count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        char32_t character = 0;
        if (!decode(text, at, character)) {
            return CredentialProblem::InvalidUtf8;
        }
        if (isControl(character)) {
            return CredentialProblem::ControlCharacter;
        }
    }
    return CredentialProblem::None;
}

} // namespace

CredentialProblem credentialCharacterProblem(std::string_view text) {
    int count = 0;
    return scan(text, count);
}

CredentialProblem credentialProblem(std::string_view text) {
    int count = 0;
    const CredentialProblem problem = scan(text, count);
    if (problem != CredentialProblem::None) {
        return problem;
    }
    if (count < kMinCredentialLength) {
        return CredentialProblem::TooShort;
    }
    return count > kMaxCredentialLength ? CredentialProblem::TooLong : CredentialProblem::None;
}

std::string credentialProblemText(CredentialProblem problem, const char* what) {
    switch (problem) {
    case CredentialProblem::None:
        break;
    case CredentialProblem::InvalidUtf8:
        return std::string(what) + " är inte giltig UTF-8-text.";
    case CredentialProblem::ControlCharacter:
        return std::string(what) +
               " får inte innehålla styrtecken (NUL, radbrytning, tabb och liknande).";
    case CredentialProblem::TooShort:
    case CredentialProblem::TooLong:
        return std::string(what) + " måste vara " + std::to_string(kMinCredentialLength) + "-" +
               std::to_string(kMaxCredentialLength) + " tecken långt.";
    }
    return "";
}
