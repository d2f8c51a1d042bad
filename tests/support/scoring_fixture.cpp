// SPDX-License-Identifier: Apache-2.0
#include "scoring_fixture.h"

#include "age_bands.h"
#include "transaction.h"

#include <cstring>
#include <string>

NormBounds evenBounds() {
    NormBounds bounds{};
    for (int k = 0; k < 18; ++k) {
        bounds[static_cast<std::size_t>(k)] = 2 * (k + 1);
    }
    bounds[18] = 40;
    return bounds;
}

void ScoringTest::SetUp() {
    DatabaseTest::SetUp();
    std::strcpy(occasion_.NORMGRUPP, "Standardgrupp");
    for (int& raw : occasion_.RawScores) {
        raw = NOT_ADMINISTERED;
    }
    setAge(30);
}

void ScoringTest::insertNormRow(const char* delskala, const char* delgrupp,
                                const NormBounds& bounds) {
    std::string sql = std::string("INSERT INTO NORMER VALUES ('Standardgrupp', '") + delskala +
                      "', '" + delgrupp + "'";
    for (const int bound : bounds) {
        sql += ", " + std::to_string(bound);
    }
    exec(sql + ")");
}

void ScoringTest::insertNormRows(const char* delgrupp, const NormBounds& bounds) {
    for (const char* delskala : kDelskala) {
        insertNormRow(delskala, delgrupp, bounds);
    }
}

int expectedIk(const char* key, int lookupSum) {
    return 3 * lookupSum + 1 + (std::strcmp(key, "GAI") == 0 ? 1000 : 0);
}

void ScoringTest::insertIndexRows() {
    struct Range {
        const char* key;
        int low;
        int high;
    };
    const Range ranges[] = {{"VFI", 3, 57}, {"PFI", 3, 57},   {"AI", 2, 38},
                            {"SI", 2, 38},  {"HIK", 10, 190}, {"GAI", 6, 114}};
    Transaction transaction;
    ASSERT_TRUE(transaction.started());
    for (const Range& range : ranges) {
        for (int sum = range.low; sum <= range.high; ++sum) {
            const int ik = expectedIk(range.key, sum);
            exec("INSERT INTO INDEX_NORMER VALUES ('Standardgrupp', '" + std::string(range.key) +
                 "', " + std::to_string(sum) + ", " + std::to_string(ik) + ", " +
                 std::to_string(sum / 2.0) + ", " + std::to_string(ik - 5) + ", " +
                 std::to_string(ik + 5) + ", " + std::to_string(ik - 7) + ", " +
                 std::to_string(ik + 7) + ")");
        }
    }
    ASSERT_TRUE(transaction.commit());
}

void ScoringTest::completeNormTables() {
    const auto absent = [](const char* table, const std::string& key) {
        return " WHERE NOT EXISTS (SELECT 1 FROM " + std::string(table) +
               " WHERE NORMGRUPP = 'Standardgrupp' AND " + key + ")";
    };
    Transaction transaction;
    ASSERT_TRUE(transaction.started());
    for (int position = 0; position <= kAgeBandCount; ++position) {
        const std::string band = position < kAgeBandCount ? kAgeBands[position] : kReferenceGroup;
        for (const char* delskala : kDelskala) {
            std::string sql = "INSERT INTO NORMER SELECT 'Standardgrupp', '" +
                              std::string(delskala) + "', '" + band + "'";
            for (const int bound : evenBounds()) {
                sql += ", " + std::to_string(bound);
            }
            exec(sql + absent("NORMER", "DELSKALA = '" + std::string(delskala) +
                                            "' AND DELGRUPP = '" + band + "'"));
        }
        exec("INSERT INTO NORMGRUPPER SELECT 'Standardgrupp', '" + band + "', " +
             std::to_string(position + 1) + ", '" + band + "'" +
             absent("NORMGRUPPER", "DELGRUPP = '" + band + "'"));
    }
    ASSERT_TRUE(transaction.commit());
}

void splitDigitSpanTotal(std::int32_t (&raw)[kRawScoreCount]) {
    const std::int32_t total = raw[RAW_SIFFERREPETITION];
    const int parts[] = {RAW_SRFRAM, RAW_SRBAK, RAW_SS};
    for (int i = 0; i < 3; ++i) {
        raw[parts[i]] =
            total == NOT_ADMINISTERED ? NOT_ADMINISTERED : total / 3 + (i < total % 3 ? 1 : 0);
    }
}

void ScoringTest::setAge(int years, int extraDays) {
    occasion_.person.BORNDATE = DateValue{1980, 1, 1};
    occasion_.person.TESTDATE = DateValue{static_cast<std::int16_t>(1980 + years), 1,
                                          static_cast<std::uint16_t>(1 + extraDays)};
}

void ScoringTest::setAllRaw(int raw) {
    for (int& value : occasion_.RawScores) {
        value = raw;
    }
}
