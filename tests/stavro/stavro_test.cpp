// SPDX-License-Identifier: Apache-2.0
#include "stavro.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

TEST(DoCheckIntDate, LeapYearRule) {
    EXPECT_EQ(DoCheckIntDate(20000229), 1); // divisible by 400
    EXPECT_EQ(DoCheckIntDate(19000229), 0); // divisible by 100 only
    EXPECT_EQ(DoCheckIntDate(20040229), 1);
    EXPECT_EQ(DoCheckIntDate(20030229), 0);
    EXPECT_EQ(DoCheckIntDate(20030228), 1);
}

TEST(DoCheckIntDate, MonthAndDayBounds) {
    EXPECT_EQ(DoCheckIntDate(20031231), 1);
    EXPECT_EQ(DoCheckIntDate(20031301), 0);
    EXPECT_EQ(DoCheckIntDate(20030100), 0);
    EXPECT_EQ(DoCheckIntDate(20030001), 0);
    EXPECT_EQ(DoCheckIntDate(20030431), 0);
    EXPECT_EQ(DoCheckIntDate(20030430), 1);
    EXPECT_EQ(DoCheckIntDate(0), 0);
    EXPECT_EQ(DoCheckIntDate(-20030101), 0);
    // Read by position, these negative numbers look like the 29th of February of a leap year
    // (-520, -400): no negative number is a date.
    EXPECT_EQ(DoCheckIntDate(-520022924), 0);
    EXPECT_EQ(DoCheckIntDate(-4000229), 0);
}

TEST(DoCheckIntDate, ShortNumbersAreReadByPosition) {
    // Seven digits: the day is the single digit at position 6.
    EXPECT_EQ(DoCheckIntDate(2010013), 1);
    // Six digits: the day part is empty and reads as 0.
    EXPECT_EQ(DoCheckIntDate(201001), 0);
    EXPECT_EQ(DoCheckIntDate(2010), 0);
    EXPECT_EQ(DoCheckIntDate(7), 0);
}

TEST(DoCheckIntDate, TooFewDigitsLeaveMonthOrDayEmpty) {
    EXPECT_EQ(DoCheckIntDate(229), 0);   // year 229, month and day empty
    EXPECT_EQ(DoCheckIntDate(10101), 0); // year 1010, month 1, day empty
}

TEST(DoStrMid, CopiesThePart) {
    char part[3];
    EXPECT_STREQ(DoStrMid(part, "20100315", 4, 2), "03");
    EXPECT_STREQ(DoStrMid(part, "20100315", 6, 2), "15");
}

TEST(DoStrMid, StopsAtTheEndOfTheSource) {
    char part[5];
    std::memset(part, 'x', sizeof part);
    EXPECT_STREQ(DoStrMid(part, "2010013", 6, 2), "3");
    EXPECT_STREQ(DoStrMid(part, "201001", 6, 2), "");
}

// The source in a buffer of its own exact size: under AddressSanitizer any read past its
// terminator is reported, and otherwise the bytes after it would show in the result.
TEST(DoStrMid, StartPastTheEndGivesEmptyTextAndReadsNothingBeyond) {
    const auto source = std::make_unique<char[]>(4);
    std::strcpy(source.get(), "abc");
    char part[8];
    for (const int start : {3, 4, 5, 116}) {
        std::memset(part, 'x', sizeof part);
        EXPECT_STREQ(DoStrMid(part, source.get(), start, 7), "") << start;
        EXPECT_EQ(part[7], '\0');
    }
    EXPECT_STREQ(DoStrMid(part, source.get(), 2, 7), "c");
}

TEST(DoStrMid, NegativeArgumentsGiveEmptyText) {
    char part[4] = "abc";
    EXPECT_STREQ(DoStrMid(part, "20100315", -1, 2), "");
    std::strcpy(part, "abc");
    EXPECT_STREQ(DoStrMid(part, "20100315", 1, -2), "");
}

TEST(DoStrMid, NullPointersLeaveDestinationAlone) {
    char part[4] = "abc";
    EXPECT_EQ(DoStrMid(part, nullptr, 0, 2), part);
    EXPECT_STREQ(part, "abc");
    EXPECT_EQ(DoStrMid(nullptr, "abc", 0, 2), nullptr);
}

TEST(Scramble, ZeroKeysChangeNothing) {
    char text[] = "abc";
    EXPECT_EQ(DoEnCryptStr(text, 0, 0), 0);
    EXPECT_STREQ(text, "abc");
}

TEST(Scramble, TwiceWithSameKeysRestoresText) {
    const std::string original = "Användare_Ölandsgatan 12";
    for (int key1 : {1, 17, 1931, -5}) {
        for (int key2 : {3, 7, 100, -77}) {
            std::string text = original;
            ASSERT_EQ(DoEnCryptStr(text.data(), key1, key2), 0);
            EXPECT_EQ(text.size(), original.size());
            EXPECT_NE(text, original) << key1 << " " << key2;
            ASSERT_EQ(DoDeCryptStr(text.data(), key1, key2), 0);
            EXPECT_EQ(text, original);
        }
    }
}

TEST(Scramble, ChangesOnlyTheLowFiveBitsWithTheDocumentedMask) {
    char text[] = "AAAA";
    DoEnCryptStr(text, 2, 3);
    for (int i = 0; i < 4; ++i) {
        const int mask = ((2 + i) * 3) % 32;
        EXPECT_EQ(static_cast<unsigned char>(text[i]), 'A' ^ mask);
    }
}

TEST(Scramble, PrintableTextKeepsItsLength) {
    char text[] = " !~Zz09";
    DoEnCryptStr(text, 11, 29);
    EXPECT_EQ(std::strlen(text), 7u);
}

TEST(Scramble, NullTextIsRefused) {
    EXPECT_EQ(DoEnCryptStr(nullptr, 1, 1), -1);
    EXPECT_EQ(DoDeCryptStr(nullptr, 1, 1), -1);
}

TEST(Version, IsFixed) {
    EXPECT_EQ(cDoDllVersion(), 50512);
}

} // namespace
