// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include <string>

namespace {

// TESTPERSON's columns are 1 to 16 of the select (OTHER, a text, last), TESTDATA's 17 to 39.
constexpr int kPersonColumns = 16;
constexpr std::uint64_t kPersonMask = (std::uint64_t{1} << kPersonColumns) - 1;

} // namespace

DbResult DoSelectStoredOccasions(TestOccasion& occasion, const std::function<void()>& clearRow,
                                 const std::function<void(const StoredOccasionRow&)>& onRow) {
    Statement statement;
    statement.executeDirect(
        "SELECT P.ID, P.NAMN, P.ADRESS, P.TELEFON, P.NATIONALITET, P.HOMELANGUAGE, P.UTBILDNING, "
        "P.TESTAD_VID, P.TESTLEDARE, P.SEX, P.AGE, P.TESTDATE, P.BORNDATE, P.HANDEDNESS, "
        "P.NI_TEST, P.OTHER, T.TD_TESTDATE, T.blockmonster, T.BUT, T.likheter, "
        "T.sifferrepetition, T.srfram, T.srlfram, T.srbak, T.srlbak, T.SS, T.SSO, T.Matriser, "
        "T.Ordforrad, T.aritmetik, T.symbolletning, T.visuellapussel, T.information, T.kodning, "
        "T.BSS, T.BO, T.figurvikter, T.forstaelse, T.overstrykning, T.bildkomplettering, "
        "T.PERSONALDATA_ID FROM "
        "TESTPERSON P LEFT JOIN TESTDATA T ON T.PERSONALDATA_ID = P.ID ORDER BY P.ID");
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
