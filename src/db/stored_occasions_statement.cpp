// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "norm_snapshot.h"
#include "statement.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// TESTPERSON's columns are 1 to 16 of the select (OTHER, a text, last), TESTDATA's 17 to 39.
constexpr int kPersonColumns = 16;
constexpr std::uint64_t kPersonMask = (std::uint64_t{1} << kPersonColumns) - 1;

// The norm tables' state as DoReadNormTablesState reads it, as four more columns of a select.
constexpr const char* kNormStateColumns =
    ", (SELECT NORMVERSION FROM NORMKALLA WHERE RECNO = 1), (SELECT COUNT(*) FROM NORMER), "
    "(SELECT COUNT(*) FROM INDEX_NORMER), (SELECT COUNT(*) FROM NORMGRUPPER)";

// Where the state's columns are fetched to.
struct NormStateColumns {
    std::int32_t values[4] = {};
    SQLLEN lengths[4] = {};
};

// The joined select of every person (where empty) or of the rows the condition picks; with
// normState, the norm tables' state on every row.
DbResult selectStoredOccasions(const std::string& where, TestOccasion& occasion,
                               const std::function<void()>& clearRow,
                               const std::function<void(const StoredOccasionRow&)>& onRow,
                               NormStateColumns* normState = nullptr) {
    Statement statement;
    const std::string sql =
        "SELECT P.ID, P.NAMN, P.ADRESS, P.TELEFON, P.NATIONALITET, P.HOMELANGUAGE, P.UTBILDNING, "
        "P.TESTAD_VID, P.TESTLEDARE, P.SEX, P.AGE, P.TESTDATE, P.BORNDATE, P.HANDEDNESS, "
        "P.NI_TEST, P.OTHER, T.TD_TESTDATE, T.blockmonster, T.BUT, T.likheter, "
        "T.sifferrepetition, T.srfram, T.srlfram, T.srbak, T.srlbak, T.SS, T.SSO, T.Matriser, "
        "T.Ordforrad, T.aritmetik, T.symbolletning, T.visuellapussel, T.information, T.kodning, "
        "T.BSS, T.BO, T.figurvikter, T.forstaelse, T.overstrykning, T.bildkomplettering, "
        "T.PERSONALDATA_ID" +
        std::string(normState != nullptr ? kNormStateColumns : "") +
        " FROM TESTPERSON P LEFT JOIN TESTDATA T ON T.PERSONALDATA_ID = P.ID" +
        (where.empty() ? "" : " WHERE " + where) + " ORDER BY P.ID";
    statement.executeDirect(sql.c_str());
    PersonRecord& person = occasion.person;
    SQLLEN idLength = 0;
    SQLUSMALLINT column = 1;
    statement.bindColumnInt(column++, &person.ID, &idLength);
    for (char* text :
         {person.NAMN, person.ADRESS, person.TELEFON, person.NATIONALITET, person.HOMELANGUAGE,
          person.UTBILDNING, person.TESTAD_VID, person.TESTLEDARE}) {
        statement.bindColumnText(column++, text, kText50);
    }
    statement.bindColumnInt(column++, &person.SEX);
    statement.bindColumnInt(column++, &person.AGE);
    statement.bindColumnDate(column++, &person.TESTDATE);
    statement.bindColumnDate(column++, &person.BORNDATE);
    statement.bindColumnInt(column++, &person.HANDEDNESS);
    statement.bindColumnInt(column++, &person.NI_TEST);
    statement.bindColumnText(column++, person.OTHER, kText50);
    statement.bindColumnDate(column++, &occasion.TD_TESTDATE);
    for (int i = 0; i < kRawScoreCount; ++i) {
        statement.bindColumnInt(column++, &occasion.RawScores[i], nullptr, NOT_ADMINISTERED);
    }
    std::int32_t scoresId = 0;
    SQLLEN scoresIdLength = 0;
    statement.bindColumnInt(column++, &scoresId, &scoresIdLength);
    for (int i = 0; normState != nullptr && i < 4; ++i) {
        statement.bindColumnInt(column++, &normState->values[i], &normState->lengths[i], -1);
    }
    clearRow();
    const DbResult result = statement.fetchEach([&] {
        StoredOccasionRow row;
        const std::uint64_t unreadable = statement.unreadableColumns();
        row.idRead = idLength != SQL_NULL_DATA && (unreadable & 1u) == 0;
        const char* storedId = statement.storedText(1);
        row.storedId = row.idRead || storedId == nullptr ? "" : storedId;
        row.personUnreadable = unreadable & kPersonMask;
        row.scoresUnreadable = (unreadable >> kPersonColumns) & ((std::uint64_t{1} << 23) - 1);
        row.hasScores = scoresIdLength != SQL_NULL_DATA;
        onRow(row);
        clearRow();
    });
    statement.closeCursor();
    statement.commit();
    return result;
}

} // namespace

DbResult DoSelectStoredOccasions(TestOccasion& occasion, const std::function<void()>& clearRow,
                                 const std::function<void(const StoredOccasionRow&)>& onRow) {
    return selectStoredOccasions("", occasion, clearRow, onRow);
}

namespace {

DbResult readOccasion(std::int32_t id, TestOccasion& occasion, bool& hasScores,
                      NormStateColumns* normState) {
    hasScores = false;
    // The row is fetched into a copy, so that nothing changes when no person is found; of an ID
    // stored more than once the first row counts, as DoReadPD takes it.
    TestOccasion fetched = occasion;
    bool found = false;
    StoredOccasionRow first;
    const DbResult selected = selectStoredOccasions(
        "P.ID = " + std::to_string(id), fetched, [] {},
        [&](const StoredOccasionRow& row) {
            if (!found) {
                found = true;
                first = row;
                occasion.person = fetched.person;
                occasion.TD_TESTDATE = fetched.TD_TESTDATE;
                std::copy(std::begin(fetched.RawScores), std::end(fetched.RawScores),
                          std::begin(occasion.RawScores));
            }
        },
        normState);
    if (selected != DB_DONE) {
        return DB_FAILED;
    }
    if (!found) {
        reportMissingPerson(id);
        return DB_FAILED;
    }
    reportUnreadablePersonNumbers(id, first.personUnreadable);
    hasScores = first.hasScores;
    if (hasScores) {
        reportUnreadableScoreNumbers(id, first.scoresUnreadable);
    }
    return DB_DONE;
}

} // namespace

DbResult DoReadOccasion(std::int32_t id, TestOccasion& occasion, bool& hasScores) {
    return readOccasion(id, occasion, hasScores, nullptr);
}

DbResult DoReadOccasionWithNormState(std::int32_t id, TestOccasion& occasion, bool& hasScores,
                                     NormTablesState& state) {
    NormStateColumns columns;
    const DbResult read = readOccasion(id, occasion, hasScores, &columns);
    state = NormTablesState{};
    // A NULL stamp reads as kNoNormStamp, as DoReadNormTablesState reads it; a count is never
    // NULL.
    state.stamp = columns.lengths[0] == SQL_NULL_DATA || columns.values[0] < 0 ? kNoNormStamp
                                                                               : columns.values[0];
    for (int i = 0; i < 3; ++i) {
        state.rows[i] = columns.values[i + 1];
    }
    return read;
}

int DoCountPD(std::int32_t id) {
    Statement statement;
    const std::string sql = "SELECT COUNT(*) FROM TESTPERSON WHERE ID = " + std::to_string(id);
    std::int32_t count = -1;
    if (!statement.executeDirect(sql.c_str()) || !statement.bindColumnInt(1, &count) ||
        statement.fetch() != Statement::Fetch::Row) {
        return -1;
    }
    statement.closeCursor();
    statement.commit();
    return count;
}
