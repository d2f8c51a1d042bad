// SPDX-License-Identifier: Apache-2.0
#include "analysis_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AnalysisText, NumbersAsPrintfWouldWriteThem) {
    RowText text;
    writeFixed(text, 10.48, 2);
    EXPECT_EQ(std::string(text), "10.48");
    writeFixed(text, 11.0, 2);
    EXPECT_EQ(std::string(text), "11.00");
    writeFixed(text, 100.0, 1, "%");
    EXPECT_EQ(std::string(text), "100.0%");
    writeFixed(text, -1.3, 2);
    EXPECT_EQ(std::string(text), "-1.30");
    writeFixed(text, -0.0, 2);
    EXPECT_EQ(std::string(text), "0.00");
    writeInt(text, -14);
    EXPECT_EQ(std::string(text), "-14");
}

TEST(AnalysisText, LongTextIsCutAtAWholeCharacter) {
    RowText text;
    std::string swedish(61, 'a');
    swedish += "ä"; // 63 bytes fit exactly
    writeText(text, swedish.c_str());
    EXPECT_EQ(std::string(text), swedish);
    swedish = std::string(62, 'a') + "ä"; // the last byte would not fit
    writeText(text, swedish.c_str());
    EXPECT_EQ(std::string(text), std::string(62, 'a'));
}

} // namespace
