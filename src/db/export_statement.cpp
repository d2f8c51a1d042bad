// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

DbResult DoSelectExport(TestOccasion& occasion, const std::function<void()>& onRow) {
    return DoSelectExportRows(occasion, [&](std::uint64_t, const char*) { onRow(); });
}

DbResult DoSelectExportRows(
    TestOccasion& occasion,
    const std::function<void(std::uint64_t unreadableColumns, const char* storedId)>& onRow) {
    Statement statement;
    statement.executeDirect(
        "SELECT ID, NAMN, ADRESS, TELEFON, NATIONALITET, HOMELANGUAGE, UTBILDNING, TESTAD_VID, "
        "TESTLEDARE,  SEX, AGE, TESTDATE, BORNDATE, HANDEDNESS, OTHER,  blockmonster,  BUT, "
        "likheter, sifferrepetition, srfram, srlfram, srbak, srlbak, SS, SSO, Matriser, "
        "Ordforrad,  aritmetik, symbolletning, visuellapussel, information, kodning, BSS,  BO, "
        "figurvikter, forstaelse, overstrykning, bildkomplettering  FROM TESTPERSON, TESTDATA "
        "WHERE ID=PERSONALDATA_ID ORDER BY ID");
    PersonRecord& person = occasion.person;
    SQLLEN textLength = 0;
    SQLUSMALLINT column = 1;
    statement.bindColumnInt(column++, &person.ID);
    for (char* text :
         {person.NAMN, person.ADRESS, person.TELEFON, person.NATIONALITET, person.HOMELANGUAGE,
          person.UTBILDNING, person.TESTAD_VID, person.TESTLEDARE}) {
        statement.bindColumnText(column++, text, kText50, &textLength);
    }
    statement.bindColumnInt(column++, &person.SEX);
    statement.bindColumnInt(column++, &person.AGE);
    statement.bindColumnDate(column++, &person.TESTDATE);
    statement.bindColumnDate(column++, &person.BORNDATE);
    statement.bindColumnInt(column++, &person.HANDEDNESS);
    statement.bindColumnText(column++, person.OTHER, kText50, &textLength);
    for (int i = 0; i < kRawScoreCount; ++i) {
        statement.bindColumnInt(column++, &occasion.RawScores[i], nullptr, NOT_ADMINISTERED);
    }

    const DbResult result = statement.fetchEach(
        [&] { onRow(statement.unreadableColumns(), statement.storedText(kExportColumnId)); });
    statement.closeCursor();
    statement.commit();
    return result;
}
