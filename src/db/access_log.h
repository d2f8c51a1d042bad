// SPDX-License-Identifier: Apache-2.0
#pragma once

// The access log (table ATKOMSTLOGG, data/access_log.sql): one row for every time someone saw,
// changed, printed or exported a person's data, logged in, or administered users and norms.
//
// A change and its row are one transaction: the append joins the caller's Transaction when one
// is open. A reading action appends its row first, in a transaction of its own, and goes ahead
// only when the row is stored (logBeforeReading).
//
// On a server the row is appended by one statement, the owner's function atkomstlogg_skriv
// (data/access_log_append.sql): the server numbers the row, stamps it with its own clock, hashes
// it with the encoding below and moves the head, so that a workstation's role needs no right to
// change the log. On SQLite the program does the same in the transaction.
//
// The chain. Each row's HASH is SHA-256, written as 64 lower-case hex digits, of this encoding of
// nine items in this order:
//
//     previous row's HASH (64 zeros before row 1), SEKVENS, TID, ANVANDARE, ARBETSSTATION,
//     PROGRAM, HANDELSE, PERSON_ID (empty when there is none), DETALJ
//
// each item written as its length in bytes in decimal, a colon, its UTF-8 bytes and a line feed;
// numbers in decimal without leading zeros. The program RIVO_IV, for example, is "7:RIVO_IV\n".
// Anyone can recompute the chain from an exported log with this rule.
//
// The rule covers every stored byte: the check compares the bytes it read with the stored length
// of each text (SQLite's LENGTH(CAST(x AS BLOB)), PostgreSQL's OCTET_LENGTH), so a byte the
// program never writes (a NUL) or a text longer than the program writes breaks the chain at its
// row. The encoding has not changed since the first log, and the program has never stored a NUL,
// so every chain written before keeps verifying; there is deliberately no version to fall back
// to, which would let a rewrite pick the weaker reading.
//
// Anchors. After each committed append the row's number and hash go to the system log
// (syslog(3), ident RIVO-IV, facility LOG_AUTHPRIV) as one line accessLogAnchorLine(), so that a
// clinic's log server holds them where the register's writers cannot reach.

#include "db.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class AccessEvent {
    Login,
    LoginFailed,
    PasswordChanged,
    OccasionCreated,
    PersonChanged,
    RawScoresChanged,
    ResultsViewed,
    Printed,
    PdfWritten,
    JsonWritten,
    Exported,
    Backup,
    PersonDeleted,
    UserAdded,
    UserRemoved,
    PasswordsRehashed,
    NormsImported,
    Restored,
    HtmlWritten,
    ReportCopied,
};
inline constexpr int kAccessEventCount = 20;

// The event's code as stored ("results-viewed") and its Swedish name for a table.
const char* accessEventCode(AccessEvent event);
const char* accessEventName(AccessEvent event);
// The Swedish name of a stored code; null when the code is unknown.
const char* accessEventNameOfCode(std::string_view code);

// Who acts. The program is "RIVO_IV" unless set otherwise; the user is empty until a login
// (the program) or set to "os:NAME" (rivo-admin). The workstation is the host name.
void setAccessLogProgram(const std::string& program);
void setAccessLogUser(const std::string& user);
const std::string& accessLogUser();
// "os:" and the name of the operating-system account the process runs under.
std::string operatingSystemUser();

struct AccessLogRow {
    std::int32_t seq = 0;
    std::string time;
    std::string user;
    std::string workstation;
    std::string program;
    std::string event;
    std::optional<std::int32_t> person;
    // PERSON_ID as stored when it is no 32-bit integer (only a row made outside the program
    // holds one): person is then empty, and every output shows this text instead.
    std::string storedPerson;
    std::string detail;
    std::string hash;
};

inline constexpr std::string_view kChainStart =
    "0000000000000000000000000000000000000000000000000000000000000000";

// The hash of a row that follows the row whose hash is previousHash (the encoding above).
std::string accessLogHash(std::string_view previousHash, const AccessLogRow& row);

// The time now in UTC, "YYYY-MM-DDTHH:MM:SS.mmmZ".
std::string accessLogTimeNow();

// The last row's number and hash, as ATKOMSTLOGG_HUVUD holds them (0 and kChainStart when empty).
struct AccessLogHead {
    std::int32_t seq = 0;
    std::string hash;
};
DbResult DoReadAccessLogHead(AccessLogHead& head);

// The register the connection reaches, as anchors name it: "sqlite:" and the absolute path of the
// file, or "postgresql:" and the database's name. Empty when it cannot be asked.
std::string accessLogRegisterName();

// An anchor as the system log and `rivo-admin log head` write it:
//     atkomstlogg rad=12 hash=<64 hex digits> register=<accessLogRegisterName()>
// The register name is last, so that it may hold blanks.
std::string accessLogAnchorLine(const AccessLogHead& head, const std::string& registerName);
inline constexpr const char* kAccessLogSyslogIdent = "RIVO-IV";

// Called by Transaction: a committed transaction sends the anchors of its appends to the system
// log; one rolled back drops them, since its rows never existed.
void accessLogTransactionEnded(bool committed);

// The detail of a restore's row: the head of the register it replaced (absent when that register
// could not be read), then the copy and its number of persons. The replaced head comes first so
// that a long path cut at the column's size never cuts it.
std::string accessLogRestoredDetail(const std::optional<AccessLogHead>& replaced,
                                    const std::string& copy, std::int64_t persons);

// Appends a row for the current user. 1 done; 0 on failure (reported), and inside the caller's
// transaction the caller's work must then be rolled back.
DbResult DoAppendAccessLog(AccessEvent event, std::optional<std::int32_t> person,
                           const std::string& detail);
// The same for a named user: a failed login records the name that was tried.
DbResult DoAppendAccessLogAs(const std::string& user, AccessEvent event,
                             std::optional<std::int32_t> person, const std::string& detail);

// For a reading action: appends the row, and when it cannot be written shows
// kAccessLogRefusedMessage after the database's own message and answers false, so that the
// caller shows or writes nothing.
bool logBeforeReading(AccessEvent event, std::optional<std::int32_t> person,
                      const std::string& detail);
inline constexpr const char* kAccessLogRefusedMessage =
    "Åtgärden genomfördes inte: den kunde inte skrivas in i åtkomstloggen. Inga uppgifter har "
    "visats eller skrivits.";

// The log entry of `rivo-admin user rehash`: one row, in the caller's transaction, with the
// number of passwords rehashed.
DbResult DoLogPasswordsRehashed(int count);

// ---- Reading (access_log_read.cpp) ----

// Which rows a reader wants; an empty field does not filter. from and to are dates
// "YYYY-MM-DD" (UTC), both days included.
struct AccessLogFilter {
    std::optional<std::int32_t> person;
    std::string user;
    std::string from;
    std::string to;
};

// Hands the rows that pass the filter to onRow in SEKVENS order. 1 done, 0 failure (reported).
DbResult DoListAccessLog(const AccessLogFilter& filter,
                         const std::function<void(const AccessLogRow&)>& onRow);

// A restore's row: the chain goes on from the copy's last row, and the replaced register's rows
// after it are not in this register.
struct AccessLogReset {
    std::int32_t seq = 0;                  // the restore's row
    std::optional<AccessLogHead> replaced; // absent when the row does not say (an older row)
    std::string detail;
};

struct AccessLogCheck {
    std::int32_t soundRows = 0; // rows from the first on whose chain holds
    bool sound = true;
    std::int32_t firstBadSeq = 0;       // the row where the chain breaks, when not sound
    std::string problem;                // in Swedish, naming that row
    AccessLogHead head;                 // the head as read, in the same read as the rows
    std::vector<std::string> hashes;    // the sound rows' hashes, row 1 first
    std::vector<std::string> times;     // and their TID
    std::vector<AccessLogReset> resets; // restores among the sound rows
};

// Reads the head and every row in one read transaction (on a server, repeatable read), so that a
// row appended meanwhile by another workstation is in neither or in both; recomputes the chain
// from row 1 and compares it with the stored hashes and bytes, the numbering, and the head.
// 1 done (the answer in check), 0 failure (reported).
DbResult DoVerifyAccessLog(AccessLogCheck& check);

// The IDs of the persons with raw scores, in ID order: the persons an export writes. A stored ID
// that is no 32-bit integer is left out, as the export leaves it out. 1 done, 0 when they cannot
// be read (nothing is shown: the export itself reports what is wrong with the register).
DbResult DoListExportPersonIds(std::vector<std::int32_t>& ids);

// ---- Logins and passwords (access_log_users.cpp) ----

// Logs the outcome of DoReadPassword for the name tried: a wrong name or password as a failed
// login (never the password), a match as a login when loggingIn (the name then becomes the user
// of every later row). false only when a login's row could not be written: the login is then
// refused (kAccessLogRefusedMessage has been shown).
bool DoLogLoginAttempt(const std::string& userName, DbResult checked, bool loggingIn);

// DoUpdatePassword and its log row in one transaction. 1 done, 0 failure (reported; the
// password is unchanged).
DbResult DoUpdatePasswordLogged(const char* newPassword, const char* userName);
