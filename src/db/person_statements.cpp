// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "odbc_connection.h"
#include "statement.h"
#include "transaction.h"

#include "message_box.h"

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

constexpr int kSqlBufferSize = 1024;

// Binds the fifteen person columns from NAMN to OTHER as parameters, starting at marker first.
bool bindPersonFields(Statement& statement, PersonRecord& person, SQLUSMALLINT first) {
    SQLUSMALLINT marker = first;
    return statement.bindText(marker++, person.NAMN) &&
           statement.bindText(marker++, person.ADRESS) &&
           statement.bindText(marker++, person.TELEFON) &&
           statement.bindText(marker++, person.NATIONALITET) &&
           statement.bindText(marker++, person.HOMELANGUAGE) &&
           statement.bindText(marker++, person.UTBILDNING) &&
           statement.bindText(marker++, person.TESTAD_VID) &&
           statement.bindText(marker++, person.TESTLEDARE) &&
           statement.bindInt(marker++, &person.SEX) && statement.bindInt(marker++, &person.AGE) &&
           statement.bindDate(marker++, &person.TESTDATE) &&
           statement.bindDate(marker++, &person.BORNDATE) &&
           statement.bindInt(marker++, &person.HANDEDNESS) &&
           statement.bindInt(marker++, &person.NI_TEST) &&
           statement.bindText(marker++, person.OTHER);
}

bool bindRawScores(Statement& statement, TestOccasion& occasion, SQLUSMALLINT first) {
    for (int i = 0; i < kRawScoreCount; ++i) {
        if (!statement.bindInt(static_cast<SQLUSMALLINT>(first + i), &occasion.RawScores[i])) {
            return false;
        }
    }
    return true;
}

// Runs a statement without parameters or results, the way every writer does: stop at the first
// failure, commit only on success.
DbResult runWrite(const char* sql, bool prepared) {
    Statement statement;
    const bool ran =
        prepared ? statement.prepare(sql) && statement.execute() : statement.executeDirect(sql);
    if (!ran || !statement.commit()) {
        return DB_FAILED;
    }
    return DB_DONE;
}

// Names the columns of a fetched row whose numbers could not be read, in one message: the values
// are shown empty (a raw score as not administered) instead of wrapped.
void reportUnreadableNumbers(std::int32_t id, std::uint64_t unreadable,
                             const std::initializer_list<const char*>& columns) {
    if (unreadable == 0) {
        return;
    }
    std::string names;
    int column = 1;
    for (const char* name : columns) {
        if ((unreadable >> (column - 1) & 1u) != 0) {
            names += names.empty() ? name : std::string(", ") + name;
        }
        ++column;
    }
    showMessage("Testpersonen med ID " + std::to_string(id) +
                " har tal i databasen som inte kan läsas: " + names +
                ". De visas som tomma; kontrollera och spara uppgifterna igen.");
}

} // namespace

void reportUnreadablePersonNumbers(std::int32_t id, std::uint64_t unreadable) {
    reportUnreadableNumbers(id, unreadable,
                            {"ID", "NAMN", "ADRESS", "TELEFON", "NATIONALITET", "HOMELANGUAGE",
                             "UTBILDNING", "TESTAD_VID", "TESTLEDARE", "SEX", "AGE", "TESTDATE",
                             "BORNDATE", "HANDEDNESS", "NI_TEST"});
}

void reportUnreadableScoreNumbers(std::int32_t id, std::uint64_t unreadable) {
    reportUnreadableNumbers(
        id, unreadable, {"TD_TESTDATE",      "blockmonster", "BUT",           "likheter",
                         "sifferrepetition", "srfram",       "srlfram",       "srbak",
                         "srlbak",           "SS",           "SSO",           "Matriser",
                         "Ordforrad",        "aritmetik",    "symbolletning", "visuellapussel",
                         "information",      "kodning",      "BSS",           "BO",
                         "figurvikter",      "forstaelse",   "overstrykning", "bildkomplettering"});
}

DbResult DoReadPD(std::int32_t id, PersonRecord& person) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql,
                  "SELECT ID, NAMN, ADRESS, TELEFON, NATIONALITET, HOMELANGUAGE, UTBILDNING, "
                  "TESTAD_VID, TESTLEDARE, SEX, AGE, TESTDATE, BORNDATE, HANDEDNESS, NI_TEST, "
                  "OTHER FROM TESTPERSON WHERE ID =%d",
                  id);
    Statement statement;
    DateValue testDate = person.TESTDATE;
    DateValue bornDate = person.BORNDATE;
    statement.executeDirect(sql);
    SQLUSMALLINT column = 1;
    statement.bindColumnInt(column++, &person.ID);
    for (char* text :
         {person.NAMN, person.ADRESS, person.TELEFON, person.NATIONALITET, person.HOMELANGUAGE,
          person.UTBILDNING, person.TESTAD_VID, person.TESTLEDARE}) {
        statement.bindColumnText(column++, text, kText50);
    }
    statement.bindColumnInt(column++, &person.SEX);
    statement.bindColumnInt(column++, &person.AGE);
    statement.bindColumnDate(column++, &testDate);
    statement.bindColumnDate(column++, &bornDate);
    statement.bindColumnInt(column++, &person.HANDEDNESS);
    statement.bindColumnInt(column++, &person.NI_TEST);
    statement.bindColumnText(column++, person.OTHER, kText50);

    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        person.TESTDATE = testDate;
        person.BORNDATE = bornDate;
        reportUnreadablePersonNumbers(id, statement.unreadableColumns());
        return DB_DONE;
    }
    if (fetched == Statement::Fetch::NoRow) {
        reportMissingPerson(id);
    }
    return DB_FAILED;
}

DbResult DoReadTD(TestOccasion& occasion) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql,
                  "SELECT TD_TESTDATE, blockmonster,  BUT, likheter, sifferrepetition, srfram, "
                  "srlfram, srbak, srlbak, SS, SSO, Matriser, Ordforrad,  aritmetik, "
                  "symbolletning, visuellapussel, information, kodning, BSS,  BO, figurvikter, "
                  "forstaelse, overstrykning, bildkomplettering  FROM TESTDATA WHERE "
                  "PERSONALDATA_ID =%d",
                  occasion.person.ID);
    Statement statement;
    DateValue testDate = occasion.TD_TESTDATE;
    statement.executeDirect(sql);
    statement.bindColumnDate(1, &testDate);
    for (int i = 0; i < kRawScoreCount; ++i) {
        statement.bindColumnInt(static_cast<SQLUSMALLINT>(2 + i), &occasion.RawScores[i], nullptr,
                                NOT_ADMINISTERED);
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.commit();
    if (fetched == Statement::Fetch::Row) {
        occasion.TD_TESTDATE = testDate;
        reportUnreadableScoreNumbers(occasion.person.ID, statement.unreadableColumns());
        return DB_DONE;
    }
    return fetched == Statement::Fetch::NoRow ? DB_NO_ROW : DB_FAILED;
}

DbResult DoInsertPD(PersonRecord& person) {
    if (DoReadUpdateNameID(person) == -1) {
        showMessage("Error in DoInsertPD. DoReadUpdateNameID failed");
        return DB_FAILED;
    }
    Statement statement;
    const bool ran =
        statement.prepare("INSERT INTO TESTPERSON (ID, NAMN, ADRESS, TELEFON, NATIONALITET, "
                          "HOMELANGUAGE,  UTBILDNING, TESTAD_VID, TESTLEDARE, SEX, AGE, TESTDATE, "
                          "BORNDATE, HANDEDNESS, NI_TEST, OTHER)  VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                          "?, ?, ?, ?, ?, ?, ?, ?)") &&
        statement.bindInt(1, &person.ID) && bindPersonFields(statement, person, 2) &&
        statement.execute() && statement.commit();
    return ran ? DB_DONE : DB_FAILED;
}

DbResult DoInsertTD(TestOccasion& occasion) {
    Statement statement;
    const bool ran =
        statement.bindInt(1, &occasion.person.ID) && statement.bindDate(2, &occasion.TD_TESTDATE) &&
        bindRawScores(statement, occasion, 3) &&
        statement.executeDirect(
            "INSERT INTO TESTDATA (PERSONALDATA_ID, TD_TESTDATE,  blockmonster, but, likheter, "
            "sifferrepetition, srfram, srlfram, srbak, srlbak, SS, SSO,  matriser, ordforrad, "
            "aritmetik, symbolletning, visuellapussel, information, kodning, BSS, BO, "
            "figurvikter, forstaelse, overstrykning, bildkomplettering) VALUES (?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,?)") &&
        statement.commit();
    return ran ? DB_DONE : DB_FAILED;
}

DbResult DoUpdatePD(PersonRecord& person, std::int64_t* rowsTouched) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql,
                  "UPDATE TESTPERSON SET NAMN=?, ADRESS=?, TELEFON=?, NATIONALITET=?, "
                  "HOMELANGUAGE=?, UTBILDNING=?, TESTAD_VID=?, TESTLEDARE=?, SEX=?, AGE=?, "
                  "TESTDATE=?, BORNDATE=?, HANDEDNESS=?, NI_TEST=?, OTHER=? WHERE ID=%d",
                  person.ID);
    Statement statement;
    const bool ran = bindPersonFields(statement, person, 1) && statement.executeDirect(sql);
    if (ran && rowsTouched != nullptr) {
        *rowsTouched = statement.rowCount();
    }
    return ran && statement.commit() ? DB_DONE : DB_FAILED;
}

DbResult DoUpdateTD(TestOccasion& occasion, std::int64_t* rowsTouched) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql,
                  "UPDATE TESTDATA SET  blockmonster=?, but=?, likheter=?, sifferrepetition=?, "
                  "srfram=?, SRLFRAM=?, srbak=?, SRLbak=?, SS=?, SSO=?,  matriser=?, "
                  "ordforrad=?, aritmetik=?, symbolletning=?, visuellapussel=?, information=?, "
                  "kodning=?, BSS=?,  BO=?, figurvikter=?, forstaelse=?, overstrykning=?, "
                  "bildkomplettering=?  WHERE PERSONALDATA_ID=%d",
                  occasion.person.ID);
    Statement statement;
    const bool ran = bindRawScores(statement, occasion, 1) && statement.executeDirect(sql);
    if (ran && rowsTouched != nullptr) {
        *rowsTouched = statement.rowCount();
    }
    return ran && statement.commit() ? DB_DONE : DB_FAILED;
}

DbResult DoDeleteTD(std::int32_t id) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql, "DELETE FROM TESTDATA WHERE PERSONALDATA_ID = %d", id);
    return runWrite(sql, true);
}

DbResult DoDeletePD(std::int32_t id) {
    char sql[kSqlBufferSize];
    std::snprintf(sql, sizeof sql, "DELETE FROM TESTPERSON WHERE ID = %d", id);
    return runWrite(sql, true);
}

// On a server the fix travels with the next statement (the norm tables' read after login): a
// failure is reported then.
DbResult DoFixNiTest() {
    constexpr const char* kFix = "UPDATE TESTPERSON SET NI_TEST=0 WHERE NI_TEST IS NULL";
    if (connectedToServer() && !transactionOpen()) {
        deferStatement(kFix);
        return DB_DONE;
    }
    return runWrite(kFix, false);
}
