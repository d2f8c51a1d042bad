// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include <cstdio>

namespace {

constexpr int kSqlBufferSize = 1024;

} // namespace

DbResult DoReadNormer(NormRequest& request) {
    return DoReadNormerRow(request) == DB_DONE ? DB_DONE : DB_FAILED;
}

DbResult DoReadNormerRow(NormRequest& request) {
    const char* sql =
        "SELECT S1, S2, S3, S4, S5, S6, S7, S8, S9, S10, S11, S12, S13, S14, S15, S16, "
        "S17, S18, S19 FROM NORMER WHERE NORMGRUPP =? AND DELSKALA=? AND "
        "DELGRUPP=?";
    Statement statement;
    statement.bindText(1, request.NORMGRUPP);
    statement.bindText(2, request.DELSKALA);
    statement.bindText(3, request.DELGRUPP);
    statement.executeDirect(sql);
    SQLLEN lengths[kSubscaleCount] = {};
    for (int k = 0; k < kSubscaleCount; ++k) {
        statement.bindColumnInt(static_cast<SQLUSMALLINT>(k + 1), &request.S[k], &lengths[k]);
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        request.unreadable = static_cast<std::uint32_t>(statement.unreadableColumns());
        for (int k = 0; k < kSubscaleCount; ++k) {
            if (lengths[k] == SQL_NULL_DATA) {
                request.unreadable |= 1u << k;
            }
        }
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoReadIndexNormer(const char* normgrupp, const char* indexKey, std::int32_t sum,
                           IndexResult& result, std::uint32_t* unreadable) {
    char sql[kSqlBufferSize];
    // INDEX is a keyword in SQLite and must be quoted as an identifier.
    std::snprintf(sql, sizeof sql,
                  "SELECT IK, PERC, KONF_LOW90, KONF_HIGH90, KONF_LOW95, KONF_HIGH95 FROM "
                  "INDEX_NORMER WHERE NORMGRUPP=? AND \"INDEX\"=? AND SKAL=%d ",
                  sum);
    Statement statement;
    statement.bindText(1, normgrupp);
    statement.bindText(2, indexKey);
    statement.executeDirect(sql);
    std::int32_t* const integers[] = {&result.IK,         nullptr,
                                      &result.KONF_LOW90, &result.KONF_HIGH90,
                                      &result.KONF_LOW95, &result.KONF_HIGH95};
    SQLLEN lengths[6] = {};
    // The percentile is read as text, so that a NULL or a text in its column is seen, not
    // turned into 0 by the driver.
    char percentile[40] = {};
    for (int i = 0; i < 6; ++i) {
        const auto column = static_cast<SQLUSMALLINT>(i + 1);
        if (integers[i] != nullptr) {
            statement.bindColumnInt(column, integers[i], &lengths[i]);
        } else {
            statement.bindColumnText(column, percentile, sizeof percentile, &lengths[i]);
        }
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        const std::uint32_t bad =
            unreadableIndexNormCells(static_cast<std::uint32_t>(statement.unreadableColumns()),
                                     lengths, percentile, result.PERC);
        if (unreadable != nullptr) {
            *unreadable = bad;
        }
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoReadIndexRange(const char* normgrupp, const char* indexKey, std::int32_t& maximum,
                          std::int32_t& minimum) {
    const char* sql = "SELECT MAX(SKAL), MIN(SKAL) FROM INDEX_NORMER WHERE NORMGRUPP=? AND "
                      "\"INDEX\"=?";
    Statement statement;
    statement.bindText(1, normgrupp);
    statement.bindText(2, indexKey);
    statement.executeDirect(sql);
    // An index without rows still gives one row, of NULLs: read into temporaries so that the
    // caller's values are only changed by a real range.
    std::int32_t highest = maximum;
    std::int32_t lowest = minimum;
    SQLLEN highestLength = 0;
    SQLLEN lowestLength = 0;
    statement.bindColumnInt(1, &highest, &highestLength);
    statement.bindColumnInt(2, &lowest, &lowestLength);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        if (highestLength == SQL_NULL_DATA || lowestLength == SQL_NULL_DATA) {
            return DB_NO_ROW;
        }
        // A text among the SKAL values sorts above every number and is the maximum.
        if (statement.unreadableColumns() != 0) {
            return DB_UNREADABLE;
        }
        maximum = highest;
        minimum = lowest;
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoReadNormDescription(TestOccasion& occasion) {
    const char* sql = "SELECT BESKRIVNING FROM NORMGRUPPER WHERE NORMGRUPP=? AND DELGRUPP=?";
    Statement statement;
    statement.bindText(1, occasion.NORMGRUPP);
    statement.bindText(2, occasion.ageBand);
    statement.executeDirect(sql);
    statement.bindColumnText(1, occasion.normDescription, kText64);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoListDelgrupp(const char* normgrupp, const std::function<void(const char*)>& onName) {
    const char* sql = "SELECT DELGRUPP FROM NORMGRUPPER WHERE NORMGRUPP=? ORDER BY SEKVENS ";
    Statement statement;
    statement.bindText(1, normgrupp);
    statement.executeDirect(sql);
    char name[kText50] = {};
    statement.bindColumnText(1, name, kText50);
    statement.fetchEach([&] {
        onName(name);
        name[0] = '\0';
    });
    statement.closeCursor();
    statement.commit();
    return DB_FAILED;
}
