// SPDX-License-Identifier: Apache-2.0
#include "demo_norm_tables.h"
#include "norm_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

NormEntry& normRow(NormTables& t, const char* delskala, const char* delgrupp) {
    const auto it = std::find_if(t.norms.begin(), t.norms.end(), [&](const NormEntry& row) {
        return row.delskala == delskala && row.delgrupp == delgrupp;
    });
    EXPECT_NE(it, t.norms.end());
    return *it;
}

IndexNormEntry& indexRow(NormTables& t, const char* index, int skal) {
    const auto it =
        std::find_if(t.indexNorms.begin(), t.indexNorms.end(), [&](const IndexNormEntry& row) {
            return row.index == index && row.skal == skal;
        });
    EXPECT_NE(it, t.indexNorms.end());
    return *it;
}

NormGroupEntry& groupRow(NormTables& t, const char* delgrupp) {
    const auto it = std::find_if(t.groups.begin(), t.groups.end(), [&](const NormGroupEntry& row) {
        return row.delgrupp == delgrupp;
    });
    EXPECT_NE(it, t.groups.end());
    return *it;
}

TEST(NormChecks, DemonstrationNormsKeepEveryRule) {
    EXPECT_EQ(checkNormTables(demoNormTables(), false), std::vector<std::string>{});
    EXPECT_EQ(checkNormTables(demoNormTables(), true), std::vector<std::string>{});
}

struct Case {
    const char* name;
    std::function<void(NormTables&)> change;
    const char* message;   // the first message expected, as for rows read from the database
    std::size_t count = 1; // how many messages the change brings
};

const Case kRefused[] = {
    {"falling bound", [](NormTables& t) { normRow(t, "Blockmönster", "16-17 år").S[4] = 0; },
     "NORMER (Standardgrupp, Blockmönster, 16-17 år): S5 (0) är lägre än S4"},
    {"negative first bound", [](NormTables& t) { normRow(t, "Likheter", "20-24 år").S[0] = -1; },
     "NORMER (Standardgrupp, Likheter, 20-24 år): S1 (-1) är negativ"},
    // One message for the row: the negative bound, not also the fall to it.
    {"negative bound among positive ones",
     [](NormTables& t) { normRow(t, "Kodning", "55-64 år").S[6] = -3; },
     "NORMER (Standardgrupp, Kodning, 55-64 år): S7 (-3) är negativ"},
    {"no norms in a subtest that must have them",
     [](NormTables& t) { normRow(t, "Likheter", "70-74 år").S[17] = -9; },
     "NORMER (Standardgrupp, Likheter, 70-74 år): S18 är -9 (inga normer), men Likheter måste ha "
     "normer i 70-74 år"},
    {"no norms before 70", [](NormTables& t) { normRow(t, "Figurvikter", "65-69 år").S[17] = -9; },
     "NORMER (Standardgrupp, Figurvikter, 65-69 år): S18 är -9"},
    {"no norms in the reference group",
     [](NormTables& t) { normRow(t, "Bss", "Referensgrupp").S[17] = -9; },
     "NORMER (Standardgrupp, Bss, Referensgrupp): S18 är -9"},
    {"missing subtest row",
     [](NormTables& t) {
         std::erase_if(t.norms, [](const NormEntry& r) {
             return r.delskala == "Matriser" && r.delgrupp == "20-24 år";
         });
     },
     "NORMER: raden för DELSKALA \"Matriser\" i DELGRUPP \"20-24 år\" saknas"},
    {"unknown subtest",
     [](NormTables& t) {
         t.norms.push_back(normRow(t, "SS", "16-17 år"));
         t.norms.back().delskala = "Sifferserier";
     },
     "NORMER (Standardgrupp, Sifferserier, 16-17 år): okänd DELSKALA \"Sifferserier\""},
    {"duplicate norm row",
     [](NormTables& t) { t.norms.push_back(normRow(t, "Blockmönster", "16-17 år")); },
     "NORMER (Standardgrupp, Blockmönster, 16-17 år): nyckeln (Standardgrupp, Blockmönster, "
     "16-17 år) finns två gånger"},
    {"missing age band",
     [](NormTables& t) {
         std::erase_if(t.groups, [](const NormGroupEntry& r) { return r.delgrupp == "45-54 år"; });
     },
     "NORMGRUPPER: DELGRUPP \"45-54 år\" saknas"},
    {"bands out of order",
     [](NormTables& t) {
         std::swap(groupRow(t, "25-29 år").sekvens, groupRow(t, "30-34 år").sekvens);
     },
     "NORMGRUPPER (Standardgrupp, 30-34 år): SEKVENS ordnar inte DELGRUPP"},
    {"reference group first", [](NormTables& t) { groupRow(t, "Referensgrupp").sekvens = 0; },
     "NORMGRUPPER (Standardgrupp, Referensgrupp): SEKVENS ordnar inte DELGRUPP"},
    {"shared SEKVENS", [](NormTables& t) { groupRow(t, "18-19 år").sekvens = 1; },
     "NORMGRUPPER (Standardgrupp, 18-19 år): SEKVENS 1 används också av 16-17 år"},
    {"description the notes cannot match",
     [](NormTables& t) { groupRow(t, "75-79 år").beskrivning = "Äldre"; },
     "NORMGRUPPER (Standardgrupp, 75-79 år): BESKRIVNING ska vara åldersgruppens namn"},
    // NULL is read as empty; said once, not also as a description unlike the band's name.
    {"no description of a band", [](NormTables& t) { groupRow(t, "75-79 år").beskrivning = ""; },
     "NORMGRUPPER (Standardgrupp, 75-79 år): BESKRIVNING saknar värde"},
    {"no description of the reference group",
     [](NormTables& t) { groupRow(t, "Referensgrupp").beskrivning = ""; },
     "NORMGRUPPER (Standardgrupp, Referensgrupp): BESKRIVNING saknar värde"},
    {"another norm group",
     [](NormTables& t) {
         t.groups.push_back(groupRow(t, "16-17 år"));
         t.groups.back().normgrupp = "Klinisk";
     },
     "NORMGRUPPER (Klinisk, 16-17 år): NORMGRUPP \"Klinisk\" används inte"},
    {"gap in SKAL",
     [](NormTables& t) {
         std::erase_if(t.indexNorms,
                       [](const IndexNormEntry& r) { return r.index == "PFI" && r.skal == 20; });
     },
     "INDEX_NORMER (Standardgrupp, PFI, 21): SKAL hoppar från 19 till 21"},
    {"falling IK",
     [](NormTables& t) {
         IndexNormEntry& row = indexRow(t, "AI", 30);
         row.ik = row.konfLow90 = row.konfHigh90 = row.konfLow95 = row.konfHigh95 = 60;
     },
     "INDEX_NORMER (Standardgrupp, AI, 30): IK (60) är lägre än vid SKAL 29"},
    {"percentile above 100", [](NormTables& t) { indexRow(t, "SI", 10).perc = 100.5f; },
     "INDEX_NORMER (Standardgrupp, SI, 10): PERC 100.5"},
    {"negative percentile", [](NormTables& t) { indexRow(t, "SI", 10).perc = -0.1f; },
     "INDEX_NORMER (Standardgrupp, SI, 10): PERC -0.1"},
    {"percentile not a number", [](NormTables& t) { indexRow(t, "SI", 10).perc = std::nanf(""); },
     "INDEX_NORMER (Standardgrupp, SI, 10): PERC"},
    {"90 % interval above IK",
     [](NormTables& t) {
         IndexNormEntry& row = indexRow(t, "HIK", 100);
         row.konfLow90 = row.ik + 1;
     },
     "INDEX_NORMER (Standardgrupp, HIK, 100): 90 %-intervallet"},
    {"95 % interval below IK",
     [](NormTables& t) {
         IndexNormEntry& row = indexRow(t, "GAI", 60);
         row.konfHigh95 = row.ik - 1;
     },
     "INDEX_NORMER (Standardgrupp, GAI, 60): 95 %-intervallet"},
    {"missing index",
     [](NormTables& t) {
         std::erase_if(t.indexNorms, [](const IndexNormEntry& r) { return r.index == "GAI"; });
     },
     "INDEX_NORMER: INDEX \"GAI\" saknas"},
    {"unreadable stored value", [](NormTables& t) { indexRow(t, "VFI", 12).unreadable = "IK"; },
     "INDEX_NORMER (Standardgrupp, VFI, 12): IK saknar värde", 2}, // and the gap it leaves
};

TEST(NormChecks, EachBrokenRuleIsNamedWithItsPlace) {
    for (const Case& c : kRefused) {
        SCOPED_TRACE(c.name);
        NormTables tables = demoNormTables();
        c.change(tables);
        const std::vector<std::string> messages = checkNormTables(tables, false);
        ASSERT_EQ(messages.size(), c.count) << (messages.empty() ? "" : messages[0]);
        EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
    }
}

TEST(NormChecks, RowsFromFilesAreNamedByFileAndLine) {
    NormTables tables = demoNormTables();
    normRow(tables, "Kodning", "35-44 år").S[9] = 1;
    normRow(tables, "Kodning", "35-44 år").line = 88;
    tables.norms.erase(tables.norms.begin());
    const std::vector<std::string> messages = checkNormTables(tables, true);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("NORMER.csv, rad 88: S10 (1) är lägre än S9", 0), 0u)
        << messages[0];
    EXPECT_EQ(messages[1].rfind("NORMER.csv: raden för DELSKALA \"Blockmönster\"", 0), 0u)
        << messages[1];
}

TEST(NormChecks, EqualNeighboursAndTheOldAgeGapsAreAccepted) {
    NormTables tables = demoNormTables();
    NormEntry& row = normRow(tables, "Aritmetik", "45-54 år");
    row.S[3] = row.S[2]; // scaled score 4 never earned
    row.S[18] = 0;       // S19 is not used
    IndexNormEntry& next = indexRow(tables, "VFI", 30);
    next.ik = indexRow(tables, "VFI", 29).ik;
    next.konfLow90 = std::min(next.konfLow90, next.ik);
    next.konfLow95 = std::min(next.konfLow95, next.ik);
    indexRow(tables, "SI", 2).perc = 0.0f;
    indexRow(tables, "SI", 38).perc = 100.0f;
    for (const char* band : {"70-74 år", "85-90 år"}) {
        for (const char* subtest : {"Bss", "Figurvikter", "Överstrykning"}) {
            EXPECT_EQ(normRow(tables, subtest, band).S[17], -9);
        }
    }
    EXPECT_EQ(checkNormTables(tables, false), std::vector<std::string>{});
}

} // namespace
