// SPDX-License-Identifier: Apache-2.0
// rivo-admin log's three forms of a row whose texts hold what a hand-made row, a file name or a
// user name may: the table shows them escaped on one line, the JSON reads back as the texts, and
// no CSV cell is run as a formula.

#include "log_formats.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

AccessLogRow rowWith(const std::string& text) {
    AccessLogRow row;
    row.seq = 12;
    row.time = "2026-02-03T04:05:06.000Z";
    row.user = text;
    row.workstation = text;
    row.program = "rivo-admin";
    row.event = "exported";
    row.detail = text;
    row.hash = std::string(64, 'a');
    return row;
}

struct Case {
    std::string text;
    std::string table; // as the table shows it
    std::string csv;   // as the CSV cell holds it
};

const Case kCases[] = {
    {"rad ett\nNr 99 falsk rad", "rad ett\\nNr 99 falsk rad", "\"rad ett\nNr 99 falsk rad\""},
    {"\x1b[31mröd\x1b[0m", "\\x1b[31mröd\\x1b[0m", "\x1b[31mröd\x1b[0m"},
    {"C:\\n\\x1b", "C:\\\\n\\\\x1b", "C:\\n\\x1b"},
    {"=HYPERLINK(\"http://x\",\"A\")", "=HYPERLINK(\"http://x\",\"A\")",
     "\"'=HYPERLINK(\"\"http://x\"\",\"\"A\"\")\""},
    {"+1+1", "+1+1", "\"'+1+1\""},
    {"-2+3", "-2+3", "\"'-2+3\""},
    {"@SUMMA(A1)", "@SUMMA(A1)", "\"'@SUMMA(A1)\""},
    {"\tflik", "\\tflik", "\"'\tflik\""},
    {"\r=1", "\\r=1", "\"'\r=1\""},
    {"a\x7f\xc2\x9b"
     "b",
     "a\\x7f\\u009bb",
     "a\x7f\xc2\x9b"
     "b"},
    {"Åsa, Örebro", "Åsa, Örebro", "\"Åsa, Örebro\""},
};

TEST(LogFormats, TheTableShowsEveryTextEscapedOnItsOwnLine) {
    for (const Case& c : kCases) {
        const std::string line = accessLogTableLine(rowWith(c.text));
        SCOPED_TRACE(line);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
        EXPECT_EQ(line.back(), '\n');
        EXPECT_TRUE(std::none_of(line.begin(), line.end() - 1, [](char ch) {
            return static_cast<unsigned char>(ch) < 0x20u || ch == '\x7f';
        }));
        // The user after the time, and the detail last.
        EXPECT_NE(line.find("Z " + c.table + " "), std::string::npos);
        EXPECT_EQ(line.substr(line.size() - c.table.size() - 1), c.table + "\n");
    }
}

TEST(LogFormats, TheJsonReadsBackAsTheStoredTexts) {
    for (const Case& c : kCases) {
        const std::string line = accessLogJsonLine(rowWith(c.text));
        QJsonParseError error{};
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
        for (const char* key : {"user", "workstation", "detail"}) {
            EXPECT_EQ(json[key].toString().toStdString(), c.text) << key << " in " << line;
        }
        EXPECT_EQ(json["seq"].toInt(), 12);
    }
    // Bytes that are no UTF-8 letter (a lone continuation, a cut letter, an overlong '/', a
    // surrogate) become U+FFFD; the letters around them stay.
    const std::string invalid = "a\x80"
                                "b\xc3"
                                "c\xc0\xaf"
                                "d\xed\xa0\x80"
                                "e\xf4\x90\x80\x80";
    const std::string line = accessLogJsonLine(rowWith(invalid));
    QJsonParseError error{};
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
    EXPECT_EQ(json["detail"].toString(),
              QString::fromUtf8("a\uFFFDb\uFFFDc\uFFFD\uFFFDd\uFFFD"
                                "\uFFFD\uFFFDe\uFFFD\uFFFD\uFFFD\uFFFD"));
    EXPECT_NE(accessLogTableLine(rowWith(invalid)).find("a\\x80b\\xc3c\\xc0\\xafd"),
              std::string::npos);
}

// A person's ID stored outside the program that is no 32-bit integer is shown as stored.
TEST(LogFormats, AnUnreadablePersonIdIsShownAsStored) {
    AccessLogRow row = rowWith("x");
    row.storedPerson = "4294967297";
    EXPECT_NE(accessLogTableLine(row).find(" 4294967297 "), std::string::npos);
    EXPECT_NE(accessLogJsonLine(row).find(R"("person":"4294967297")"), std::string::npos);
    EXPECT_NE(accessLogCsvLine(row).find(",exported,4294967297,x,"), std::string::npos);
    row.storedPerson = "-1\n";
    EXPECT_NE(accessLogCsvLine(row).find(",exported,\"'-1\n\",x,"), std::string::npos);
}

TEST(LogFormats, NoCsvCellIsReadAsAFormula) {
    for (const Case& c : kCases) {
        const std::string line = accessLogCsvLine(rowWith(c.text));
        EXPECT_EQ(line, "12,2026-02-03T04:05:06.000Z," + c.csv + "," + c.csv +
                            ",rivo-admin,exported,," + c.csv + "," + std::string(64, 'a') + "\r\n");
    }
}

} // namespace
