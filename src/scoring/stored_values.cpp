// SPDX-License-Identifier: Apache-2.0
#include "stored_values.h"

#include "age_band.h"
#include "subtest_table.h"
#include "test_age.h"

#include <cstring>

namespace {

// The length of the UTF-8 sequence at text, or 0 when none starts there.
int sequenceLength(const unsigned char* text) {
    const unsigned char lead = text[0];
    if (lead < 0x80) {
        return 1;
    }
    int length = 0;
    unsigned lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    unsigned code = lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0u) != 0x80u) {
            return 0;
        }
        code = code << 6 | (text[i] & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || surrogate || code > 0x10FFFF ? 0 : length;
}

void add(std::string& found, const std::string& what) {
    found += found.empty() ? what : "; " + what;
}

// The form stores the Sifferrepetition total as the sum of its three parts, or as not
// administered when one of them was not given. Empty when the stored total is that.
std::string digitSpanTotalProblem(const std::int32_t (&raw)[kRawScoreCount]) {
    const int parts[] = {RAW_SRFRAM, RAW_SRBAK, RAW_SS};
    bool complete = true;
    std::int64_t sum = 0;
    for (const int part : parts) {
        complete = complete && raw[part] != NOT_ADMINISTERED;
        sum += raw[part];
    }
    const std::int64_t expected = complete ? sum : NOT_ADMINISTERED;
    const std::int32_t stored = raw[RAW_SIFFERREPETITION];
    if (stored == expected) {
        return {};
    }
    const auto shown = [](std::int64_t value) {
        return value == NOT_ADMINISTERED ? std::string("-9 (ej administrerad)")
                                         : std::to_string(value);
    };
    return "Sifferrepetition har den sparade summan " + shown(stored) +
           " men delarna Framlänges, Baklänges och Sekvensering ger " + shown(expected) +
           (complete ? "" : ", eftersom någon av dem inte är administrerad");
}

} // namespace

bool validUtf8(const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    while (*bytes != 0) {
        const int length = sequenceLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes += length;
    }
    return true;
}

std::string storedValueMessage(const TestOccasion& occasion) {
    const PersonRecord& person = occasion.person;
    std::string found;
    if (person.SEX != 1 && person.SEX != 2) {
        add(found, "kön (SEX) " + std::to_string(person.SEX) +
                       " är varken 1 (man) eller 2 (kvinna) och visas som kvinna");
    }
    for (int raw = 0; raw < kRawScoreCount; ++raw) {
        const int value = occasion.RawScores[raw];
        const int maximum = kSubtests[raw].formMax;
        if (maximum > 0 && value != NOT_ADMINISTERED && (value < 0 || value > maximum)) {
            add(found, std::string(kSubtests[raw].name) + " har råpoängen " +
                           std::to_string(value) + " utanför 0-" + std::to_string(maximum));
        }
    }
    if (const std::string problem = digitSpanTotalProblem(occasion.RawScores); !problem.empty()) {
        add(found, problem);
    }
    const struct {
        const char* column;
        const char* text;
    } texts[] = {{"NAMN", person.NAMN},
                 {"ADRESS", person.ADRESS},
                 {"TELEFON", person.TELEFON},
                 {"NATIONALITET", person.NATIONALITET},
                 {"HOMELANGUAGE", person.HOMELANGUAGE},
                 {"UTBILDNING", person.UTBILDNING},
                 {"TESTAD_VID", person.TESTAD_VID},
                 {"TESTLEDARE", person.TESTLEDARE},
                 {"OTHER", person.OTHER}};
    for (const auto& field : texts) {
        if (!validUtf8(field.text)) {
            add(found, std::string(field.column) + " är inte giltig UTF-8-text");
        }
    }
    const std::string who =
        "Testpersonen " + std::string(person.NAMN) + " (ID " + std::to_string(person.ID) + ")";
    // The band the scoring will choose for the age: the one the opened report compares with.
    const std::string ageNote = ageOutsideNormsNote(person, "");
    std::string message;
    if (!ageNote.empty()) {
        message = who + ": " + ageNote + ".";
    }
    if (!found.empty()) {
        message += (message.empty() ? "" : " ") + who +
                   " har värden som formulären inte kan spara: " + found +
                   ". Poängen räknas på de sparade värdena; kontrollera personuppgifterna och "
                   "råpoängen.";
    }
    return message;
}
