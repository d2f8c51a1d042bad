// SPDX-License-Identifier: Apache-2.0
#include "swedish_count.h"
#include "system_error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

TEST(SwedishCount, OneTakesTheSingularEveryOtherCountThePlural) {
    struct Case {
        long long count;
        const char* expected;
    };
    const Case cases[] = {
        {0, "0 rader"},   {1, "1 rad"},       {2, "2 rader"}, {11, "11 rader"},
        {21, "21 rader"}, {101, "101 rader"}, {-1, "-1 rad"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(swedishCount(c.count, "rad", "rader"), c.expected) << c.count;
    }
    EXPECT_EQ(swedishCount(1, "meddelande", "meddelanden"), "1 meddelande");
    EXPECT_EQ(swedishCount(1, "regel", "regler"), "1 regel");
}

TEST(SystemErrorText, CommonFileErrorsAreSwedishAndTheRestKeepTheirNumber) {
    for (const int errnum : {ENOENT, EEXIST, EACCES, ENOSPC, EROFS, EISDIR, ENOTDIR, EIO}) {
        const std::string text = systemErrorText(errnum);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find(std::strerror(errnum)), std::string::npos) << text;
    }
    EXPECT_EQ(systemErrorText(ENOENT), "filen eller mappen finns inte");
    EXPECT_EQ(systemErrorText(ENOSPC), "disken är full");
    // A rare reason is still told, by number and in the system's words, never dropped.
    const std::string rare = systemErrorText(EOWNERDEAD);
    EXPECT_NE(rare.find("systemfel " + std::to_string(EOWNERDEAD)), std::string::npos) << rare;
    EXPECT_NE(rare.find(std::strerror(EOWNERDEAD)), std::string::npos) << rare;
}

} // namespace
