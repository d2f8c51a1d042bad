// SPDX-License-Identifier: Apache-2.0
#include "norm_checks.h"

#include "age_bands.h"
#include "norm_files.h"
#include "subtest_table.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr const char* kNormGroup = "Standardgrupp";
constexpr int kSubgroupCount = kAgeBandCount + 1; // the bands, then Referensgrupp
constexpr int kFirstBandWithoutAllNorms = 9;      // "70-74 år"
// The texts the program reads into buffers of 50 bytes, the description into one of 64.
constexpr std::size_t kLongestKey = 49;
constexpr std::size_t kLongestDescription = 63;

// The subgroups in the order the results screen lists them: the bands by age, then the
// reference group.
const char* subgroupName(int position) {
    return position < kAgeBandCount ? kAgeBands[position] : kReferenceGroup;
}

int subgroupPosition(const std::string& name) {
    for (int p = 0; p < kSubgroupCount; ++p) {
        if (name == subgroupName(p)) {
            return p;
        }
    }
    return -1;
}

int subscalePosition(const std::string& name) {
    for (int s = 0; s < kSubscaleCount; ++s) {
        if (name == kDelskala[s]) {
            return s;
        }
    }
    return -1;
}

int indexPosition(const std::string& name) {
    for (int i = 0; i < kIndexCount; ++i) {
        if (name == kIndexKeys[i]) {
            return i;
        }
    }
    return -1;
}

// The subtests whose norms end at 70: their rows from "70-74 år" on may be -9.
bool mayLackNorms(int subscale, int subgroup) {
    const bool subtest =
        subscale == SUB_BSS || subscale == SUB_FIGURVIKTER || subscale == SUB_OVERSTRYKNING;
    return subtest && subgroup >= kFirstBandWithoutAllNorms && subgroup < kAgeBandCount;
}

std::string subgroupList() {
    std::string list;
    for (int p = 0; p < kSubgroupCount; ++p) {
        list += (p == 0 ? "" : ", ") + std::string(subgroupName(p));
    }
    return list;
}

class Checker {
  public:
    explicit Checker(bool fromFiles) : fromFiles_(fromFiles) {}

    std::vector<std::string> take() { return std::move(messages_); }

    void add(const char* table, int line, const std::string& key, const std::string& rule) {
        std::string where = table;
        if (fromFiles_) {
            where += ".csv";
            if (line > 0) {
                where += ", rad " + std::to_string(line);
            }
        } else if (!key.empty()) {
            where += " (" + key + ")";
        }
        messages_.push_back(where + ": " + rule);
    }

    // Rows of the table come from the one place a duplicate key names.
    std::string rowRef(int line, const std::string& key) const {
        return fromFiles_ ? "rad " + std::to_string(line) : "(" + key + ")";
    }

    template <typename Row>
    bool commonRules(const char* table, const Row& row, const std::string& key,
                     std::initializer_list<const std::string*> texts) {
        bool sound = true;
        if (!row.unreadable.empty()) {
            add(table, row.line, key,
                row.unreadable +
                    (row.unreadable == "PERC" ? " saknar värde eller är inget tal"
                                              : " saknar värde eller är inget heltal") +
                    " som programmet kan läsa");
            sound = false;
        }
        if (row.normgrupp != kNormGroup) {
            add(table, row.line, key,
                "NORMGRUPP \"" + row.normgrupp + "\" används inte; programmet läser bara " +
                    kNormGroup);
            sound = false;
        }
        for (const std::string* text : texts) {
            if (text->size() > kLongestKey) {
                add(table, row.line, key,
                    "\"" + *text + "\" är längre än " + std::to_string(kLongestKey) + " byte");
                sound = false;
            }
        }
        return sound;
    }

  private:
    bool fromFiles_;
    std::vector<std::string> messages_;
};

std::string keyOf(std::initializer_list<std::string> parts) {
    std::string key;
    for (const std::string& part : parts) {
        key += (key.empty() ? "" : ", ") + part;
    }
    return key;
}

void checkGroups(const std::vector<NormGroupEntry>& rows, Checker& check) {
    const char* table = kNormGroupTable;
    std::map<int, const NormGroupEntry*> bySubgroup;
    for (const NormGroupEntry& row : rows) {
        const std::string key = keyOf({row.normgrupp, row.delgrupp});
        if (!check.commonRules(table, row, key, {&row.delgrupp})) {
            continue;
        }
        const int position = subgroupPosition(row.delgrupp);
        if (position < 0) {
            check.add(table, row.line, key,
                      "okänd DELGRUPP \"" + row.delgrupp + "\"; programmet använder " +
                          subgroupList());
            continue;
        }
        if (const auto [seen, fresh] = bySubgroup.emplace(position, &row); !fresh) {
            check.add(table, row.line, key,
                      "nyckeln (" + key + ") finns två gånger, också på " +
                          check.rowRef(seen->second->line, key));
            continue;
        }
        // The results page shows the description as the norm group.
        if (row.beskrivning.empty()) {
            check.add(table, row.line, key,
                      "BESKRIVNING saknar värde; resultatsidan visar den som normgrupp");
            continue;
        }
        if (row.beskrivning.size() > kLongestDescription) {
            check.add(table, row.line, key,
                      "BESKRIVNING är längre än " + std::to_string(kLongestDescription) + " byte");
        }
        // The report's notes on the norms of the oldest bands compare the description with the
        // band's name.
        if (position < kAgeBandCount && row.beskrivning != row.delgrupp) {
            check.add(table, row.line, key,
                      "BESKRIVNING ska vara åldersgruppens namn \"" + row.delgrupp +
                          "\", som rapportens anmärkningar om normerna jämför med");
        }
    }
    for (int p = 0; p < kSubgroupCount; ++p) {
        if (!bySubgroup.contains(p)) {
            check.add(table, 0, "", std::string("DELGRUPP \"") + subgroupName(p) + "\" saknas");
        }
    }
    // The results screen lists the subgroups in SEKVENS order and must show them by age with the
    // reference group last, each SEKVENS used once.
    std::vector<const NormGroupEntry*> ordered;
    for (const auto& [position, row] : bySubgroup) {
        ordered.push_back(row);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto* a, const auto* b) { return a->sekvens < b->sekvens; });
    int expected = 0;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const NormGroupEntry& row = *ordered[i];
        const std::string key = keyOf({row.normgrupp, row.delgrupp});
        if (i > 0 && ordered[i - 1]->sekvens == row.sekvens) {
            check.add(table, row.line, key,
                      "SEKVENS " + std::to_string(row.sekvens) + " används också av " +
                          ordered[i - 1]->delgrupp + "; varje DELGRUPP behöver en egen SEKVENS");
            return;
        }
        const int position = subgroupPosition(row.delgrupp);
        while (expected < kSubgroupCount && !bySubgroup.contains(expected)) {
            ++expected;
        }
        if (position != expected) {
            check.add(table, row.line, key,
                      "SEKVENS ordnar inte DELGRUPP som programmet väntar sig (" + subgroupList() +
                          "): här väntas " + subgroupName(expected));
            return;
        }
        ++expected;
    }
}

void checkNorms(const std::vector<NormEntry>& rows, Checker& check) {
    const char* table = kNormTable;
    std::map<std::pair<int, int>, const NormEntry*> byKey;
    for (const NormEntry& row : rows) {
        const std::string key = keyOf({row.normgrupp, row.delskala, row.delgrupp});
        if (!check.commonRules(table, row, key, {&row.delskala, &row.delgrupp})) {
            continue;
        }
        const int subscale = subscalePosition(row.delskala);
        const int subgroup = subgroupPosition(row.delgrupp);
        if (subscale < 0) {
            check.add(table, row.line, key, "okänd DELSKALA \"" + row.delskala + "\"");
            continue;
        }
        if (subgroup < 0) {
            check.add(table, row.line, key,
                      "okänd DELGRUPP \"" + row.delgrupp + "\"; programmet använder " +
                          subgroupList());
            continue;
        }
        if (const auto [seen, fresh] = byKey.emplace(std::pair{subscale, subgroup}, &row); !fresh) {
            check.add(table, row.line, key,
                      "nyckeln (" + key + ") finns två gånger, också på " +
                          check.rowRef(seen->second->line, key));
            continue;
        }
        if (row.S[17] == NOT_ADMINISTERED) {
            if (!mayLackNorms(subscale, subgroup)) {
                check.add(table, row.line, key,
                          "S18 är -9 (inga normer), men " + row.delskala + " måste ha normer i " +
                              row.delgrupp +
                              "; bara Bss, Figurvikter och Överstrykning saknar normer, och "
                              "först från 70-74 år");
            }
            continue;
        }
        for (int k = 0; k < 18; ++k) {
            // A raw score is never below 0: a negative bound would move every score above it.
            if (row.S[k] < 0) {
                check.add(table, row.line, key,
                          "S" + std::to_string(k + 1) + " (" + std::to_string(row.S[k]) +
                              ") är negativ; gränserna S1-S18 är råpoäng, 0 eller mer (-9 i S18 "
                              "betyder inga normer)");
                break;
            }
            if (k > 0 && row.S[k] < row.S[k - 1]) {
                check.add(table, row.line, key,
                          "S" + std::to_string(k + 1) + " (" + std::to_string(row.S[k]) +
                              ") är lägre än S" + std::to_string(k) + " (" +
                              std::to_string(row.S[k - 1]) +
                              "); gränserna S1-S18 får inte minska (-9 i S18 betyder inga normer)");
                break;
            }
        }
    }
    for (int p = 0; p < kSubgroupCount; ++p) {
        for (int s = 0; s < kSubscaleCount; ++s) {
            if (!byKey.contains({s, p})) {
                check.add(table, 0, "",
                          std::string("raden för DELSKALA \"") + kDelskala[s] + "\" i DELGRUPP \"" +
                              subgroupName(p) + "\" saknas");
            }
        }
    }
}

void checkIndexNorms(const std::vector<IndexNormEntry>& rows, Checker& check) {
    const char* table = kIndexNormTable;
    std::map<std::pair<int, std::int32_t>, const IndexNormEntry*> byKey;
    for (const IndexNormEntry& row : rows) {
        const std::string key = keyOf({row.normgrupp, row.index, std::to_string(row.skal)});
        if (!check.commonRules(table, row, key, {&row.index})) {
            continue;
        }
        const int index = indexPosition(row.index);
        if (index < 0) {
            check.add(table, row.line, key,
                      "okänt INDEX \"" + row.index +
                          "\"; programmet använder VFI, PFI, AI, SI, "
                          "HIK och GAI");
            continue;
        }
        if (const auto [seen, fresh] = byKey.emplace(std::pair{index, row.skal}, &row); !fresh) {
            check.add(table, row.line, key,
                      "nyckeln (" + key + ") finns två gånger, också på " +
                          check.rowRef(seen->second->line, key));
            continue;
        }
        if (!(row.perc >= 0.0f && row.perc <= 100.0f)) {
            check.add(table, row.line, key,
                      "PERC " + floatText(row.perc) + " ligger utanför 0-100");
        }
        const std::string ik = std::to_string(row.ik);
        if (!(row.konfLow90 <= row.ik && row.ik <= row.konfHigh90)) {
            check.add(table, row.line, key,
                      "90 %-intervallet " + std::to_string(row.konfLow90) + "-" +
                          std::to_string(row.konfHigh90) + " omsluter inte IK " + ik);
        }
        if (!(row.konfLow95 <= row.ik && row.ik <= row.konfHigh95)) {
            check.add(table, row.line, key,
                      "95 %-intervallet " + std::to_string(row.konfLow95) + "-" +
                          std::to_string(row.konfHigh95) + " omsluter inte IK " + ik);
        }
    }
    // Each index: SKAL without gaps from its lowest to its highest value, IK never falling.
    for (int index = 0; index < kIndexCount; ++index) {
        const IndexNormEntry* previous = nullptr;
        for (auto it = byKey.lower_bound({index, INT32_MIN});
             it != byKey.end() && it->first.first == index; ++it) {
            const IndexNormEntry& row = *it->second;
            const std::string key = keyOf({row.normgrupp, row.index, std::to_string(row.skal)});
            if (previous != nullptr && row.skal != previous->skal + 1) {
                check.add(table, row.line, key,
                          "SKAL hoppar från " + std::to_string(previous->skal) + " till " +
                              std::to_string(row.skal) + " i " + row.index +
                              "; varje summa däremellan behöver en rad");
            }
            if (previous != nullptr && row.ik < previous->ik) {
                check.add(table, row.line, key,
                          "IK (" + std::to_string(row.ik) + ") är lägre än vid SKAL " +
                              std::to_string(previous->skal) + " (" + std::to_string(previous->ik) +
                              "); IK får inte minska när SKAL ökar");
            }
            previous = &row;
        }
        if (previous == nullptr) {
            check.add(table, 0, "", std::string("INDEX \"") + kIndexKeys[index] + "\" saknas");
        }
    }
}

} // namespace

std::vector<std::string> checkNormTables(const NormTables& tables, bool fromFiles) {
    Checker check(fromFiles);
    checkGroups(tables.groups, check);
    checkNorms(tables.norms, check);
    checkIndexNorms(tables.indexNorms, check);
    return check.take();
}
