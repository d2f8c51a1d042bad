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
    for (int k = 0; k < kSubscaleCount; ++k) {
        statement.bindColumnInt(static_cast<SQLUSMALLINT>(k + 1), &request.S[k]);
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoReadIndexNormer(const char* normgrupp, const char* indexKey, std::int32_t sum,
                           IndexResult& result) {
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
    statement.bindColumnInt(1, &result.IK);
    statement.bindColumnFloat(2, &result.PERC);
    statement.bindColumnInt(3, &result.KONF_LOW90);
    statement.bindColumnInt(4, &result.KONF_HIGH90);
    statement.bindColumnInt(5, &result.KONF_LOW95);
    statement.bindColumnInt(6, &result.KONF_HIGH95);
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
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
