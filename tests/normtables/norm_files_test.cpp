// SPDX-License-Identifier: Apache-2.0
#include "demo_norm_tables.h"
#include "norm_files.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The same set as a spreadsheet set to Swedish saves it: a byte-order mark, CR LF, semicolons
// and decimal commas.
std::string asSpreadsheet(const std::string& text) {
    std::string converted = "\xEF\xBB\xBF";
    for (const char c : text) {
        if (c == '\n') {
            converted += "\r\n";
        } else {
            converted += c == ',' ? ';' : c == '.' ? ',' : c;
        }
    }
    return converted;
}

TEST(NormFiles, ASetSavedByASpreadsheetReadsAsWritten) {
    TempDir dir;
    const NormTables demo = demoNormTables();
    std::string error;
    ASSERT_TRUE(writeNormFolder(dir.path() / "mall", demo, error)) << error;
    std::filesystem::create_directory(dir.path() / "kalkyl");
    for (const char* table : {kNormGroupTable, kNormTable, kIndexNormTable}) {
        const std::string name = normFileName(table);
        std::ofstream(dir.path() / "kalkyl" / name, std::ios::binary)
            << asSpreadsheet(fileText(dir.path() / "mall" / name));
    }
    for (const char* folder : {"mall", "kalkyl"}) {
        SCOPED_TRACE(folder);
        NormTables read;
        std::vector<std::string> problems;
        ASSERT_TRUE(readNormFolder(dir.path() / folder, read, problems))
            << (problems.empty() ? "" : problems[0]);
        ASSERT_EQ(read.indexNorms.size(), demo.indexNorms.size());
        ASSERT_EQ(read.norms.size(), demo.norms.size());
        ASSERT_EQ(read.groups.size(), demo.groups.size());
        for (std::size_t i = 0; i < demo.indexNorms.size(); ++i) {
            EXPECT_EQ(read.indexNorms[i].perc, demo.indexNorms[i].perc) << i;
            EXPECT_EQ(read.indexNorms[i].konfHigh95, demo.indexNorms[i].konfHigh95) << i;
            EXPECT_EQ(read.indexNorms[i].line, static_cast<int>(i) + 2);
        }
        for (std::size_t i = 0; i < demo.norms.size(); ++i) {
            EXPECT_EQ(read.norms[i].delskala, demo.norms[i].delskala) << i;
            EXPECT_EQ(read.norms[i].S[17], demo.norms[i].S[17]) << i;
        }
        EXPECT_EQ(read.groups.back().beskrivning, demo.groups.back().beskrivning);
    }
}

TEST(NormFiles, MissingFilesAndBrokenRowsAreEachNamed) {
    TempDir dir;
    std::ofstream(dir.path() / "NORMGRUPPER.csv") << "NORMGRUPP,DELGRUPP,SEKVENS,BESKRIVNING\n"
                                                     "Standardgrupp,16-17 år,1\n"
                                                     "Standardgrupp,18-19 år,2.5,18-19 år\n"
                                                     "Standardgrupp,\"20-24 år,3,20-24 år\n";
    NormTables read;
    std::vector<std::string> problems;
    EXPECT_FALSE(readNormFolder(dir.path(), read, problems));
    const std::vector<std::string> expected = {
        "NORMGRUPPER.csv, rad 4: ett citattecken öppnas men stängs aldrig",
        "NORMER.csv: filen saknas eller kan inte läsas",
        "INDEX_NORMER.csv: filen saknas eller kan inte läsas",
    };
    ASSERT_EQ(problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(problems[i].rfind(expected[i], 0), 0u) << problems[i];
    }
    // Without the broken quote, the rows before it are named one by one.
    std::ofstream(dir.path() / "NORMGRUPPER.csv") << "NORMGRUPP,DELGRUPP,SEKVENS,BESKRIVNING\n"
                                                     "Standardgrupp,16-17 år,1\n"
                                                     "Standardgrupp,18-19 år,2.5,18-19 år\n";
    problems.clear();
    EXPECT_FALSE(readNormFolder(dir.path(), read, problems));
    ASSERT_GE(problems.size(), 2u);
    EXPECT_EQ(problems[0], "NORMGRUPPER.csv, rad 2: raden har 3 fält, ska ha 4");
    EXPECT_EQ(problems[1], "NORMGRUPPER.csv, rad 3: SEKVENS är inte ett heltal: \"2.5\"");
}

} // namespace
