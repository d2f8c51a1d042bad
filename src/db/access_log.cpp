// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"

#include "message_box.h"
#include "statement.h"
#include "transaction.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

std::string& program() {
    static std::string name = "RIVO_IV";
    return name;
}

std::string& user() {
    static std::string name;
    return name;
}

std::string workstation() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return "okänd";
    }
    return name;
}

// The column sizes of data/access_log.sql, in bytes: a longer text is cut at a whole letter, and
// the cut text is what the hash covers. A text is bound as a C string, so it ends at its first
// NUL on either database; it is cut there first, so that the hash never covers a byte that was
// not stored.
constexpr std::size_t kNameBytes = 100;
constexpr std::size_t kDetailBytes = 500;

std::string fitted(std::string text, std::size_t bytes) {
    text.resize(std::min(text.find('\0'), text.size()));
    if (text.size() <= bytes) {
        return text;
    }
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) {
        --end;
    }
    text.resize(end);
    return text;
}

// On SQLite: claims the head row for writing before reading it, since SQLite cannot wait for
// another writer once a transaction has only read. The caller's transaction holds the claim to
// its end.
bool readClaimedHead(std::int32_t& seq, std::string& hash) {
    Statement claim;
    if (!claim.executeDirect("UPDATE ATKOMSTLOGG_HUVUD SET SEKVENS = SEKVENS WHERE RECNO = 1")) {
        return false;
    }
    Statement read;
    char text[80] = {};
    SQLLEN length = 0;
    if (!read.executeDirect("SELECT SEKVENS, HASH FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1") ||
        !read.bindColumnInt(1, &seq, &length) || !read.bindColumnText(2, text, sizeof text)) {
        return false;
    }
    const Statement::Fetch fetched = read.fetch();
    read.closeCursor();
    if (fetched == Statement::Fetch::NoRow) {
        DoSQLError(read.handle());
    }
    hash = text;
    return fetched == Statement::Fetch::Row && length != SQL_NULL_DATA &&
           read.unreadableColumns() == 0;
}

bool insertRow(AccessLogRow& row) {
    Statement insert;
    const char* sql =
        row.person ? "INSERT INTO ATKOMSTLOGG (SEKVENS, TID, ANVANDARE, ARBETSSTATION, PROGRAM, "
                     "HANDELSE, DETALJ, HASH, PERSON_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"
                   : "INSERT INTO ATKOMSTLOGG (SEKVENS, TID, ANVANDARE, ARBETSSTATION, PROGRAM, "
                     "HANDELSE, DETALJ, HASH, PERSON_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, NULL)";
    std::int32_t person = row.person.value_or(0);
    return insert.prepare(sql) && insert.bindInt(1, &row.seq) &&
           insert.bindText(2, row.time.c_str()) && insert.bindText(3, row.user.c_str()) &&
           insert.bindText(4, row.workstation.c_str()) && insert.bindText(5, row.program.c_str()) &&
           insert.bindText(6, row.event.c_str()) && insert.bindText(7, row.detail.c_str()) &&
           insert.bindText(8, row.hash.c_str()) && (!row.person || insert.bindInt(9, &person)) &&
           insert.execute();
}

bool moveHead(AccessLogRow& row) {
    Statement update;
    return update.prepare("UPDATE ATKOMSTLOGG_HUVUD SET SEKVENS = ?, HASH = ? WHERE RECNO = 1") &&
           update.bindInt(1, &row.seq) && update.bindText(2, row.hash.c_str()) && update.execute();
}

// On a server one call appends the row: atkomstlogg_skriv (data/access_log_append.sql) claims
// the head, stamps and hashes the row with the server's clock and sha256() and moves the head,
// and answers the row's number and hash, with the database's name for the anchor. The lock on
// the head is taken and held on the server alone, and the program waits for one answer.
bool appendOnServer(AccessLogRow& row, std::string& registerName) {
    Statement append;
    const char* sql = row.person ? "SELECT rad_sekvens, rad_hash, rad_databas FROM "
                                   "atkomstlogg_skriv(?, ?, ?, ?, ?, ?)"
                                 : "SELECT rad_sekvens, rad_hash, rad_databas FROM "
                                   "atkomstlogg_skriv(?, ?, ?, ?, CAST(NULL AS INTEGER), ?)";
    std::int32_t person = row.person.value_or(0);
    const SQLUSMALLINT detailMarker = row.person ? 6 : 5;
    char hash[80] = {};
    char database[256] = {};
    SQLLEN length = 0;
    if (!append.bindText(1, row.user.c_str()) || !append.bindText(2, row.workstation.c_str()) ||
        !append.bindText(3, row.program.c_str()) || !append.bindText(4, row.event.c_str()) ||
        (row.person && !append.bindInt(5, &person)) ||
        !append.bindText(detailMarker, row.detail.c_str()) || !append.executeDirect(sql) ||
        !append.bindColumnInt(1, &row.seq, &length) ||
        !append.bindColumnText(2, hash, sizeof hash) ||
        !append.bindColumnText(3, database, sizeof database)) {
        return false;
    }
    const Statement::Fetch fetched = append.fetch();
    append.closeCursor();
    if (fetched == Statement::Fetch::NoRow) {
        DoSQLError(append.handle());
    }
    row.hash = hash;
    registerName = database[0] != '\0' ? std::string("postgresql:") + database : "";
    return fetched == Statement::Fetch::Row && append.commit() && length != SQL_NULL_DATA &&
           append.unreadableColumns() == 0 && row.hash.size() == kChainStart.size();
}

} // namespace

// access_log_anchor.cpp: keeps the anchor of the append for the commit of its transaction. The
// register's name as accessLogRegisterName() gives it, when known; empty: asked for.
void accessLogAppended(const AccessLogHead& head, const std::string& registerName = "");

void setAccessLogProgram(const std::string& name) {
    program() = name;
}

void setAccessLogUser(const std::string& name) {
    user() = name;
}

const std::string& accessLogUser() {
    return user();
}

std::string operatingSystemUser() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return std::string("os:") + found->pw_name;
    }
    return "os:" + std::to_string(getuid());
}

DbResult DoAppendAccessLogAs(const std::string& userName, AccessEvent event,
                             std::optional<std::int32_t> person, const std::string& detail) {
    AccessLogRow row;
    row.user = fitted(userName, kNameBytes);
    row.workstation = fitted(workstation(), kNameBytes);
    row.program = program();
    row.event = accessEventCode(event);
    row.person = person;
    row.detail = fitted(detail, kDetailBytes);
    if (connectedToServer()) {
        // The call is one statement: alone it commits by itself, and inside the caller's
        // transaction it commits or rolls back with the work it logs.
        std::string registerName;
        if (!appendOnServer(row, registerName)) {
            return DB_FAILED;
        }
        accessLogAppended(AccessLogHead{row.seq, row.hash}, registerName);
        if (!transactionOpen()) {
            accessLogTransactionEnded(true);
        }
        return DB_DONE;
    }
    // Alone, the append is a transaction of its own; otherwise it is part of the caller's.
    std::optional<Transaction> own;
    if (!transactionOpen()) {
        own.emplace();
        if (!own->started()) {
            return DB_FAILED;
        }
    }
    std::string previousHash;
    if (!readClaimedHead(row.seq, previousHash)) {
        return DB_FAILED;
    }
    ++row.seq;
    row.time = accessLogTimeNow();
    row.hash = accessLogHash(previousHash, row);
    if (!insertRow(row) || !moveHead(row)) {
        return DB_FAILED;
    }
    // Sent to the system log when the transaction commits: a row rolled back never gets there.
    accessLogAppended(AccessLogHead{row.seq, row.hash});
    return !own || own->commit() ? DB_DONE : DB_FAILED;
}

DbResult DoAppendAccessLog(AccessEvent event, std::optional<std::int32_t> person,
                           const std::string& detail) {
    return DoAppendAccessLogAs(user(), event, person, detail);
}

bool logBeforeReading(AccessEvent event, std::optional<std::int32_t> person,
                      const std::string& detail) {
    if (DoAppendAccessLog(event, person, detail) == DB_DONE) {
        return true;
    }
    showMessage(kAccessLogRefusedMessage);
    return false;
}

DbResult DoLogPasswordsRehashed(int count) {
    return DoAppendAccessLog(AccessEvent::PasswordsRehashed, std::nullopt,
                             std::to_string(count) + " lösenord");
}
