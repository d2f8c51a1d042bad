// SPDX-License-Identifier: Apache-2.0
#include "stored_values.h"
#include "subtest_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The Sifferrepetition total is stored beside its three parts; the form stores their sum, or not
// administered when one of them was not given. Any other total is named with both values.
TEST(StoredValues, DigitSpanTotalThatIsNotWhatItsPartsGiveIsNamed) {
    constexpr int NA = NOT_ADMINISTERED;
    const struct {
        int forward, backward, sequencing, total;
        const char* said; // empty when the total is the form's
    } cases[] = {
        {16, 16, 16, 48, ""},
        {NA, NA, NA, NA, ""},
        {5, NA, 7, NA, ""},
        {5, 6, 7, 20,
         "Sifferrepetition har den sparade summan 20 men delarna Framlänges, "
         "Baklänges och Sekvensering ger 18."},
        {5, 6, 7, NA,
         "den sparade summan -9 (ej administrerad) men delarna Framlänges, "
         "Baklänges och Sekvensering ger 18."},
        {5, NA, 7, 12,
         "den sparade summan 12 men delarna Framlänges, Baklänges och Sekvensering "
         "ger -9 (ej administrerad), eftersom någon av dem inte är administrerad"},
    };
    for (const auto& c : cases) {
        TestOccasion occasion{};
        std::strcpy(occasion.person.NAMN, "Siv Ek");
        occasion.person.ID = 12;
        occasion.person.SEX = 2;
        for (std::int32_t& raw : occasion.RawScores) {
            raw = NA;
        }
        occasion.RawScores[RAW_SRFRAM] = c.forward;
        occasion.RawScores[RAW_SRBAK] = c.backward;
        occasion.RawScores[RAW_SS] = c.sequencing;
        occasion.RawScores[RAW_SIFFERREPETITION] = c.total;
        const std::string message = storedValueMessage(occasion);
        SCOPED_TRACE(message);
        if (c.said[0] == '\0') {
            EXPECT_EQ(message, "");
            continue;
        }
        EXPECT_TRUE(message.starts_with("Testpersonen Siv Ek (ID 12) har värden som formulären "
                                        "inte kan spara: "));
        EXPECT_NE(message.find(c.said), std::string::npos);
    }
}

} // namespace
