// SPDX-License-Identifier: Apache-2.0
#include "csv.h"
#include "norm_files.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

std::vector<CsvRecord> parsed(std::string_view text, char separator = ',') {
    std::vector<CsvRecord> records;
    CsvProblem problem;
    EXPECT_TRUE(parseCsv(text, separator, records, problem)) << problem.line << problem.rule;
    return records;
}

TEST(Csv, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    const auto records = parsed("a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                                "\"two\nlines\",,x\n"
                                "\n"
                                "last,\"\",end,\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].fields, (Fields{"two\nlines", "", "x"}));
    EXPECT_EQ(records[1].line, 2);
    // The line break inside the quotes counts: the blank line is 4, the last record 5.
    EXPECT_EQ(records[2].fields, (Fields{"last", "", "end", ""}));
    EXPECT_EQ(records[2].line, 5);
}

TEST(Csv, SemicolonSeparatedTextLeavesCommasInFields) {
    const auto records = parsed("NORMGRUPP;PERC\nStandardgrupp;50,5", ';');
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].fields, (Fields{"Standardgrupp", "50,5"}));
}

TEST(Csv, MalformedQuotesAreRefusedWithTheirLine) {
    struct Case {
        const char* text;
        int line;
        const char* rule;
    };
    const Case cases[] = {
        {"a,b\nc,\"open\nd,e\n", 2, "stängs aldrig"},
        {"a,b\n\"x\"y,z\n", 2, "efter ett avslutande citattecken"},
        {"a,b\nc\n1,2\"3\n", 3, "citattecken mitt i"},
    };
    for (const Case& c : cases) {
        std::vector<CsvRecord> records;
        CsvProblem problem;
        EXPECT_FALSE(parseCsv(c.text, ',', records, problem)) << c.text;
        EXPECT_EQ(problem.line, c.line) << c.text;
        EXPECT_NE(problem.rule.find(c.rule), std::string::npos) << problem.rule;
    }
}

TEST(Csv, WrittenFieldsReadBackUnchanged) {
    const Fields awkward = {"plain",    "with,comma", "\"quoted\"",    "two\nlines",
                            " padded ", "",           "Överstrykning", "semi;colon"};
    for (const char separator : {',', ';'}) {
        std::string line;
        for (const std::string& field : awkward) {
            line += (line.empty() ? "" : std::string(1, separator)) + csvField(field, separator);
        }
        const auto records = parsed(line + "\n", separator);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].fields, awkward);
    }
    EXPECT_EQ(csvField("plain", ','), "plain");
}

TEST(Csv, Utf8IsCheckedByteForByte) {
    EXPECT_EQ(firstNonUtf8Line("Blockmönster,Överstrykning\n16-17 år\n\xF0\x9F\x98\x80"), 0);
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"a\nb\n16-17 \xE5r\n", 3},     // Latin-1 å
        {"\xC0\x80", 1},                // overlong NUL
        {"x\n\xED\xA0\x80", 2},         // a surrogate
        {"\xF4\x90\x80\x80", 1},        // above U+10FFFF
        {"ok\n\xC3", 2},                // cut off at the end
        {std::string("a\nb\0c", 5), 2}, // NUL, as in UTF-16 text
        {"\xFF\xFE"
         "a\0",
         1}, // UTF-16 byte-order mark
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstNonUtf8Line(c.text), c.line) << c.text;
    }
}

TEST(Csv, PercentilesAreWrittenShortAndReadBackExactly) {
    for (const float value : {0.0f, 0.1f, 2.3f, 50.0f, 50.1f, 99.9f, 100.0f, 0.05f}) {
        const std::string text = floatText(value);
        EXPECT_EQ(text.find('e'), std::string::npos) << text;
        float back = -1.0f;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
    }
    EXPECT_EQ(floatText(50.1f), "50.1");
    EXPECT_EQ(floatText(100.0f), "100");
}

} // namespace
