// SPDX-License-Identifier: Apache-2.0
#include "text_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(TextTable, IdsAreUniqueAndAscending) {
    ASSERT_GT(kTextTableSize, 300);
    for (int i = 1; i < kTextTableSize; ++i) {
        EXPECT_LT(kTextTable[i - 1].id, kTextTable[i].id) << "at entry " << i;
    }
}

TEST(TextTable, LoadsTextsWithSwedishLettersAndQuotes) {
    EXPECT_EQ(text(5), "&Säkerhetskopia");
    EXPECT_EQ(text(8), "sedan på knappen \"Visa resultat\".");
    EXPECT_EQ(text(60), "Anslutning till databasen misslyckades. Var god ta kontakt med "
                        "programleverantören.");
    EXPECT_EQ(text(656), "Resultat på Sifferrepetition Sekvensiering är inte ifyllt trots att "
                         "värde för Sekvensiering Omfång finns.");
}

TEST(TextTable, PlaceholdersAndLeadingBlanksAreKept) {
    EXPECT_NE(text(12).find("%ss"), std::string::npos);
    EXPECT_EQ(text(16), "  Exportera data");
}

TEST(TextTable, BlankEntriesAreOneBlank) {
    EXPECT_EQ(text(9), " ");
    EXPECT_EQ(text(617), " ");
}

TEST(TextTable, NoticeAndCreditAreOurOwn) {
    const std::string notice = text(36);
    EXPECT_EQ(notice.substr(notice.size() - 18), "Datorversion 1.0/ ");
    EXPECT_NE(text(37).find("syntetiska"), std::string::npos);
}

TEST(TextTable, AbsentIdGivesEmptyText) {
    char buffer[16] = "unchanged";
    EXPECT_EQ(loadText(14, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(65535), "");
}

TEST(TextTable, TruncatesAtCapacityOnACharacterBoundary) {
    char buffer[64];
    // "Hemspråk": "Hemspr" is six bytes, "å" takes two.
    EXPECT_EQ(loadText(21, buffer, 8), 6);
    EXPECT_STREQ(buffer, "Hemspr");
    EXPECT_EQ(loadText(21, buffer, 9), 8);
    EXPECT_STREQ(buffer, "Hemsprå");
    EXPECT_EQ(loadText(21, buffer, 10), 9);
    EXPECT_STREQ(buffer, "Hemspråk");
    EXPECT_EQ(loadText(21, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
}

} // namespace
