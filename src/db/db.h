// SPDX-License-Identifier: Apache-2.0
#pragma once

// The database layer: the one ODBC connection, the error report, and every statement the program
// sends. Each operation allocates, runs, commits and frees its own statement, and returns a
// DbResult. Failures are reported to the user through DoSQLError before the operation returns.

#include "register_files.h"
#include "stored_id.h"
#include "test_occasion.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using DbResult = int;
inline constexpr DbResult DB_DONE = 1;   // done, or a row was found
inline constexpr DbResult DB_NO_ROW = 9; // the query found no row
inline constexpr DbResult DB_FAILED = 0; // failure, already reported

// ---- Connection (connection.cpp) ----

// Connection-string template of the default data source, the SQLite3 ODBC driver on one file.
// Placeholders: database path, user name, password. NoCreat=1 makes a missing file fail to
// connect instead of silently creating an empty database. Timeout is how long, in milliseconds, a
// statement waits for a database locked by another program before it fails (the driver's own
// default freezes the window for minutes). StepAPI=1 makes the driver hand over each row as SQLite
// steps to it, instead of reading a whole result into memory first: an export's memory stays flat
// whatever the register's size, and other statements may run while a result is being fetched.
inline constexpr const char* kSqliteConnectionTemplate =
    "DRIVER=SQLite3;DATABASE=%s;NoCreat=1;Timeout=3000;StepAPI=1;UID=%s;PWD=%s;";

// Shown instead of the driver's text when the database stayed locked by another program.
inline constexpr const char* kDatabaseLockedMessage =
    "Registret används just nu av ett annat program. Vänta en stund och försök igen.";

// The template for an Access database secured by a workgroup file, kept for a data source of that
// kind. Placeholders: database path, workgroup path, user name, password. The TABs and blanks are
// part of the text sent to the driver.
inline constexpr const char* kAccessConnectionTemplate =
    "DRIVER=Microsoft Access Driver (*.mdb); \t\tDBQ=%s; \t\tSYSTEMDB=%s; \t\tUID=%s; \t\tPWD=%s; "
    "\t\tEXCLUSIVE=0; \t\tAnsiNPW=Yes \t\t";

inline constexpr const char* kDatabaseFileName = kRegisterFileName;

// Whether the SQLite driver can be given this database path: its connection string takes no ';'
// in a value and does not honour braces as quotes, so a path holding ';', '{' or '}' would open
// another file or none. false with a Swedish message in error.
bool databasePathUsable(const std::string& path, std::string& error);

// Opens the connection to the database file. 1 when connected; 0 when not (the driver's message,
// or why the path cannot be used, has been shown).
int DoConnect(const char* userName, const char* password, const char* databasePath);

// Opens the connection with a complete ODBC connection string (the default file's, or a data
// source a clinic has configured, see data_source.h). 1 when connected; 0 when not (the driver's
// message has been shown).
int DoConnectString(const char* connectionString);

// Whether the open connection is to a database server rather than the SQLite file: the register
// is shared, and backed up on the server.
bool connectedToServer();

// Which connection is open: a number that no later connection of the process reuses; 0 when none.
int connectionSerial();

// Closes the connection and frees the handles. Harmless when no connection was made.
void DoDisconnect();

// Shows the first diagnostic of the statement (or of the connection when statement is null) in a
// message box. Always returns 0.
int DoSQLError(void* statement);

// Reports a failure of the database that no driver diagnostic describes (a damaged file) as
// DoSQLError reports one: counted, and shown.
void reportDatabaseFailure(const std::string& text);
// Reports that no person with the ID is stored (another workstation may have removed it), as
// reportDatabaseFailure does.
void reportMissingPerson(std::int32_t id);

// How many database failures DoSQLError has reported since the process started; a job that must
// know whether anything failed while it ran compares the count before and after.
int reportedDatabaseFailures();

// The database user name and password, unscrambled into the caller's buffers (at least 19 and
// 13 bytes). The plain text lives only in those buffers.
void unscrambleDatabaseCredentials(char* userName, char* password);

// ---- Person and raw scores (person_statements.cpp) ----

DbResult DoReadPD(std::int32_t id, PersonRecord& person);
DbResult DoReadTD(TestOccasion& occasion);

// The one message naming the numbers of a person's TESTPERSON row (columns ID to NI_TEST) or of
// its TESTDATA row (TD_TESTDATE and the raw scores) that could not be read: bit n - 1 for the
// n-th of those columns. Nothing when unreadable is 0.
void reportUnreadablePersonNumbers(std::int32_t id, std::uint64_t unreadable);
void reportUnreadableScoreNumbers(std::int32_t id, std::uint64_t unreadable);

// Every person with the raw scores of their test, in ID order, with one statement fetched row by
// row (TESTPERSON LEFT JOIN TESTDATA), read into occasion as DoReadPD and DoReadTD read them.
// clearRow runs before every fetch, since a NULL column leaves its buffer alone. An ID on more
// than one row of either table gives one row per combination.
struct StoredOccasionRow {
    bool idRead = false;                // the ID was neither NULL nor unreadable
    std::string storedId;               // the stored ID's text when not read; empty for NULL
    std::uint64_t personUnreadable = 0; // as reportUnreadablePersonNumbers's
    std::uint64_t scoresUnreadable = 0; // as reportUnreadableScoreNumbers's
    bool hasScores = false;             // a TESTDATA row was joined
};
DbResult DoSelectStoredOccasions(TestOccasion& occasion, const std::function<void()>& clearRow,
                                 const std::function<void(const StoredOccasionRow&)>& onRow);

// One person with the raw scores of their test, with that joined statement: one round trip where
// DoReadPD and DoReadTD take two, with the same reading of each column and the same messages.
// DB_DONE when the person was read; hasScores tells whether a TESTDATA row was there (without
// one every raw score reads NOT_ADMINISTERED and TD_TESTDATE the invalid date). A missing person
// is a failure, reported as DoReadPD reports it, and changes nothing in occasion.
DbResult DoReadOccasion(std::int32_t id, TestOccasion& occasion, bool& hasScores);

// How many TESTPERSON rows hold the ID; -1 when that could not be read (reported).
int DoCountPD(std::int32_t id);
DbResult DoInsertPD(PersonRecord& person);
DbResult DoInsertTD(TestOccasion& occasion);
// The two updates also tell, through rowsTouched, how many rows they rewrote: 0 when the person
// is no longer stored.
DbResult DoUpdatePD(PersonRecord& person, std::int64_t* rowsTouched = nullptr);
DbResult DoUpdateTD(TestOccasion& occasion, std::int64_t* rowsTouched = nullptr);
DbResult DoDeleteTD(std::int32_t id);
DbResult DoDeletePD(std::int32_t id);
// Deletes the person and the raw scores in one transaction: both rows go, or (on a failure,
// reported) neither.
DbResult DoDeletePerson(std::int32_t id);
DbResult DoFixNiTest();

// ---- ID counter (name_id_statements.cpp) ----

// The last person ID read from or written to NAMEID.
std::int32_t& idCounter();
// 0 also when the stored counter is NULL or no 32-bit integer (a message says so).
DbResult DoReadNameID();
inline constexpr const char* kUnreadableCounterMessage =
    "ID-räknaren i databasen (tabellen NAMEID) kan inte läsas, så ingen ny testperson kan sparas.";
// Reads the stored counter again under a write claim on its row, adds 1 and stores it; on success
// the counter becomes person.ID. Called inside the save's transaction, so that several
// workstations saving at once never get the same ID.
// Returns the new ID, or -1 on failure (reported).
std::int32_t DoReadUpdateNameID(PersonRecord& person);

// ---- Person list (person_list.cpp) ----

struct PersonListRow {
    std::int32_t ID;
    char NAMN[kText50];
    char TESTLEDARE[kText50];
    DateValue TESTDATE;
    char OTHER[kText50];
    std::int32_t SEX;
    DateValue BORNDATE;
    char UTBILDNING[kText50];
    char NATIONALITET[kText50];
    char HOMELANGUAGE[kText50];
    // false when the stored ID is NULL or no 32-bit integer: ID is then 0, which is not this
    // person's, and storedId holds what the database holds (stored_id.h).
    bool idRead;
    char storedId[kStoredIdSize];
};

inline constexpr int kPersonListSortColumns = 10;

// Lists every TESTPERSON row sorted by the column with the given number (0 NAMN, 1 TESTLEDARE,
// 2 TESTDATE, 3 OTHER, 4 SEX, 5 BORNDATE, 6 UTBILDNING, 7 NATIONALITET, 8 HOMELANGUAGE, 9 ID),
// handing each row to onRow. 1 when the list is complete, 0 on failure.
// Persons that share the sort column's value come in ID order.
DbResult DoListPD(int sortColumn, int descending,
                  const std::function<void(const PersonListRow&)>& onRow);

// What the list needs to order a person: the ID and, for a text column, the column's text.
struct PersonOrderRow {
    std::int32_t ID;
    bool idRead; // as in PersonListRow
    char storedId[kStoredIdSize];
    char sortText[kText50]; // empty unless the sort column holds text
};

// Whether the sort column (0-9, as DoListPD numbers them) holds text.
bool isTextSortColumn(int sortColumn);

// Lists every TESTPERSON row, reading only the ID and the sort column's text: a list of many
// persons orders them all but shows only a few at a time. In DoListPD's order for a column the
// database orders rightly (ID, dates, sex); for a text column in the order DoListPD gives the
// ties, for the caller to put in Swedish order with a stable sort. 1 when complete, 0 on failure
// (reported).
DbResult DoListPersonOrder(int sortColumn, int descending,
                           const std::function<void(const PersonOrderRow&)>& onRow);

// The most IDs DoReadPersonListPage reads in its one statement.
inline constexpr std::size_t kPersonListPageSize = 100;

// Reads the list columns of the persons with the given IDs in one statement, handing each to
// onRow in whatever order the database gives; an ID that names nobody (a person deleted
// meanwhile) is left out. 1 when complete, 0 on failure (reported).
DbResult DoReadPersonListPage(const std::vector<std::int32_t>& ids,
                              const std::function<void(const PersonListRow&)>& onRow);

// ---- Norms (norm_statements.cpp) ----

struct NormRequest {
    char NORMGRUPP[kText50];
    char DELSKALA[kText50];
    char DELGRUPP[kText50];
    std::int32_t S[kSubscaleCount]; // S1 to S19
    // Bit k set: S(k+1) of the fetched row is NULL or no 32-bit number, and reads as 0.
    std::uint32_t unreadable;
};

// A row was found, but a number the caller needs from it is NULL or no number.
inline constexpr DbResult DB_UNREADABLE = 7;

// 1 when a row was fetched into request.S; 0 when there is none (no message) or on error.
DbResult DoReadNormer(NormRequest& request);
// The same lookup, telling a missing row (9) from an error (0).
DbResult DoReadNormerRow(NormRequest& request);
// Fills IK, PERC and the four confidence limits of result. 1 row, 9 no row, 0 error. unreadable,
// when given, gets a bit for each of the six that is NULL or no number (IK bit 0, PERC bit 1,
// then the limits in order), and the field reads as 0.
DbResult DoReadIndexNormer(const char* normgrupp, const char* indexKey, std::int32_t sum,
                           IndexResult& result, std::uint32_t* unreadable = nullptr);
// Highest and lowest SKAL of an index. 1 row, 9 no row (also when the index has no rows, so
// that there is no range), 7 when a SKAL is no number, 0 error.
DbResult DoReadIndexRange(const char* normgrupp, const char* indexKey, std::int32_t& maximum,
                          std::int32_t& minimum);
// Reads BESKRIVNING of (NORMGRUPP, ageBand) into normDescription. 1 row, 9 no row, 0 error.
DbResult DoReadNormDescription(TestOccasion& occasion);
// Hands every DELGRUPP of the norm group to onName in SEKVENS order. Always returns 0; a fetch
// error is reported and ends the list.
DbResult DoListDelgrupp(const char* normgrupp, const std::function<void(const char*)>& onName);

// ---- Whole norm tables (norm_table_statements.cpp) ----

struct NormTables;

// Reads every row of NORMGRUPPER, NORMER and INDEX_NORMER, each table in the order of its key.
// 1 done, 0 failure (reported).
DbResult DoReadNormTables(NormTables& tables);
// Adds the rows to the three norm tables, in the caller's transaction if there is one. 1 done,
// 0 failure (reported).
DbResult DoInsertNormTables(const NormTables& tables);
// Where a set of norm tables comes from: the demonstration norms (their rows exactly, as an
// exported template read back unchanged) or anything else, which counts as licensed norms.
enum class NormOrigin { Imported, Demonstration };
// Replaces the rows of the three norm tables by the given ones and stores their origin (NORMKALLA,
// with importedAt), all in one transaction: on any failure (reported) the tables are as they were.
// Demonstration norms stay marked as synthetic, so every warning about them stays. Persons, raw
// scores and users are not touched. 1 done, 0 failure.
DbResult DoReplaceNormTables(const NormTables& tables, const char* importedAt,
                             NormOrigin origin = NormOrigin::Imported);
// Whether the norms in the database are the synthetic demonstration norms. Only a stored flag
// saying that they were imported answers false; no connection, a database made before the flag
// existed, or an unreadable flag all answer true, so that a failure never hides the notice about
// synthetic norms. Nothing is shown.
bool DoReadNormsSynthetic();

// ---- Users (user_statements.cpp) ----

// SEC stores a salted hash of each password (password_hash.h). An older database may still hold
// a password in plain text: it logs in as before and is replaced by its hash at that login.
// 1 when the user exists and the password matches the stored one; 8 when the user exists but the
// password differs or the stored one is empty; 9 when there is no such user; 0 on error.
DbResult DoReadPassword(const char* userName, const char* password);
inline constexpr DbResult DB_WRONG_PASSWORD = 8;
// Stores a hash of the new password for the user.
DbResult DoUpdatePassword(const char* newPassword, const char* userName);
inline constexpr const char* kPasswordNotHashedMessage =
    "Lösenordet kunde inte sparas: datorn har inte tillräckligt med ledigt minne.";

// ---- User administration (user_admin_statements.cpp) ----

// Adds a user. 1 done; 10 when an existing user's name is the same but for case or spaces at
// either end (user_name_key.h), named in takenBy; 0 on failure (reported).
DbResult DoInsertUser(const char* userName, const char* password, std::string* takenBy = nullptr);
inline constexpr DbResult DB_NAME_TAKEN = 10;
// Removes a user. 1 done, 9 when there is no such user, 0 on failure (reported).
DbResult DoDeleteUser(const char* userName);
// Hands every user name to onUser in order, with whether the user's password is still stored in
// plain text (an older database's, not yet replaced at a login). 1 when the list is complete, 0
// on failure.
DbResult DoListUsers(const std::function<void(const char* name, bool plainText)>& onUser);
// Replaces every plain-text password in SEC by its hash, in one transaction: all or none.
// rehashed is the number replaced. 1 done; 0 on failure (reported, nothing changed).
DbResult DoRehashPlainTextPasswords(int& rehashed);

// ---- Backup (backup_statement.cpp) ----

// Writes a consistent copy of the open database to path (a new or empty file) with VACUUM INTO.
// 1 when written; 0 when not, with the driver's message in message (nothing is shown: the caller
// reports it).
DbResult DoVacuumInto(const char* path, char* message, int capacity);

// ---- Damage (damage_check.cpp) ----

// Whether the register's file is whole, checked before a job that reads every person (an export,
// a report over everyone): a damaged page can end a statement early as if the rows had run out,
// and such a job would deliver too few persons as if that were all. SQLite's quick check reads
// every page (a fraction of what the job costs). DB_DONE when whole (and on a server); DB_FAILED
// when damaged (shown, naming the first finding) or when the check itself failed (reported).
DbResult DoCheckRegisterIntact();
inline constexpr const char* kDamagedRegisterMessage =
    "Registret är skadat och kan inte läsas i sin helhet, så ingenting skrevs. Återställ det från "
    "en säkerhetskopia (rivo-admin restore).";

// ---- Export (export_statement.cpp) ----

// Fetches every person that has raw scores, in ID order, straight into occasion.person (all but
// NI_TEST) and occasion.RawScores, and calls onRow after each fetch. 1 when every row was handed
// over, 0 when a failure ended the loop (reported).
DbResult DoSelectExport(TestOccasion& occasion, const std::function<void()>& onRow);

// The same, also telling onRow which integer columns of the row held a value that could not be
// read as a 32-bit integer (bit n - 1 for column n of the select; the destination then holds 0,
// or NOT_ADMINISTERED for a raw score). The columns by number:
inline constexpr int kExportColumnId = 1;
inline constexpr int kExportColumnSex = 10;
inline constexpr int kExportColumnAge = 11;
inline constexpr int kExportColumnHandedness = 14;
inline constexpr int kExportColumnFirstRawScore = 16; // RawScores[i] is column 16 + i
// storedId is the text of the stored ID when its column is unreadable (stored_id.h), null for
// NULL.
DbResult DoSelectExportRows(
    TestOccasion& occasion,
    const std::function<void(std::uint64_t unreadableColumns, const char* storedId)>& onRow);
