// SPDX-License-Identifier: Apache-2.0
#include "demo_norm_tables.h"
#include "norm_files.h"
#include "norm_fingerprint.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

TEST(NormFingerprint, TheDemonstrationTablesReadBackFromTheirTemplateKeepTheirFingerprint) {
    const NormTables demo = demoNormTables();
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writeNormFolder(dir.path() / "mall", demo, error)) << error;
    NormTables read;
    std::vector<std::string> problems;
    ASSERT_TRUE(readNormFolder(dir.path() / "mall", read, problems));
    // The rows read carry their file lines, which the stored ones do not.
    ASSERT_NE(read.norms.front().line, demo.norms.front().line);
    EXPECT_EQ(normTablesFingerprint(read), normTablesFingerprint(demo));
    EXPECT_EQ(normTablesFingerprint(demo).size(), 64u);
}

TEST(NormFingerprint, RowOrderDoesNotCountButEveryValueDoes) {
    const NormTables demo = demoNormTables();
    const std::string original = normTablesFingerprint(demo);

    NormTables reordered = demo;
    std::reverse(reordered.norms.begin(), reordered.norms.end());
    std::reverse(reordered.indexNorms.begin(), reordered.indexNorms.end());
    std::rotate(reordered.groups.begin(), reordered.groups.begin() + 3, reordered.groups.end());
    EXPECT_EQ(normTablesFingerprint(reordered), original);

    struct Change {
        const char* what;
        std::function<void(NormTables&)> apply;
    };
    const Change changes[] = {
        {"a description", [](NormTables& t) { t.groups[2].beskrivning += " "; }},
        {"a SEKVENS", [](NormTables& t) { ++t.groups.back().sekvens; }},
        {"a subtest bound", [](NormTables& t) { ++t.norms[40].S[7]; }},
        {"the last bound", [](NormTables& t) { --t.norms.back().S[kNormBoundCount - 1]; }},
        {"an IK", [](NormTables& t) { ++t.indexNorms[10].ik; }},
        {"a percentile's decimals", [](NormTables& t) { t.indexNorms[5].perc += 0.1f; }},
        {"a confidence limit", [](NormTables& t) { ++t.indexNorms[0].konfHigh95; }},
        {"a row fewer", [](NormTables& t) { t.indexNorms.pop_back(); }},
        {"a row twice", [](NormTables& t) { t.norms.push_back(t.norms.front()); }},
        {"a value moved to the next field",
         [](NormTables& t) {
             t.groups[0].delgrupp += t.groups[0].beskrivning.substr(0, 1);
             t.groups[0].beskrivning.erase(0, 1);
         }},
    };
    for (const Change& change : changes) {
        NormTables changed = demo;
        change.apply(changed);
        EXPECT_NE(normTablesFingerprint(changed), original) << change.what;
    }
}

} // namespace
