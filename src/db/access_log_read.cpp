// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"

#include "export_log_detail.h"
#include "odbc_connection.h"
#include "statement.h"
#include "transaction.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr const char* kColumns =
    "SELECT SEKVENS, TID, ANVANDARE, ARBETSSTATION, PROGRAM, HANDELSE, PERSON_ID, DETALJ, HASH "
    "FROM ATKOMSTLOGG";

// Result buffers of one row of kColumns.
struct RowBuffers {
    std::int32_t seq = 0;
    std::int32_t person = 0;
    SQLLEN personLength = 0;
    char time[40] = {};
    char user[128] = {};
    char workstation[128] = {};
    char program[32] = {};
    char event[40] = {};
    char detail[512] = {};
    char hash[80] = {};

    bool bind(Statement& statement) {
        return statement.bindColumnInt(1, &seq) && statement.bindColumnText(2, time, sizeof time) &&
               statement.bindColumnText(3, user, sizeof user) &&
               statement.bindColumnText(4, workstation, sizeof workstation) &&
               statement.bindColumnText(5, program, sizeof program) &&
               statement.bindColumnText(6, event, sizeof event) &&
               statement.bindColumnInt(7, &person, &personLength) &&
               statement.bindColumnText(8, detail, sizeof detail) &&
               statement.bindColumnText(9, hash, sizeof hash);
    }
    void moveTo(AccessLogRow& row, const Statement& statement) const {
        // A PERSON_ID that is no 32-bit integer is kept as stored, never read as person 0.
        const bool personRead = (statement.unreadableColumns() >> 6 & 1u) == 0;
        const char* stored = statement.storedText(7);
        row.storedPerson = personRead || stored == nullptr ? "" : stored;
        row.seq = seq;
        row.time = time;
        row.user = user;
        row.workstation = workstation;
        row.program = program;
        row.event = event;
        row.person =
            personLength == SQL_NULL_DATA || !personRead ? std::nullopt : std::optional(person);
        row.detail = detail;
        row.hash = hash;
    }
};

// The day after a date "YYYY-MM-DD", in the same form; empty when the text is no date.
std::string dayAfter(const std::string& date) {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    char end = '\0';
    if (std::sscanf(date.c_str(), "%4d-%2u-%2u%c", &year, &month, &day, &end) != 3) {
        return "";
    }
    const std::chrono::year_month_day given{std::chrono::year(year), std::chrono::month(month),
                                            std::chrono::day(day)};
    if (!given.ok()) {
        return "";
    }
    const std::chrono::year_month_day next{std::chrono::sys_days(given) + std::chrono::days(1)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(next.year()),
                  static_cast<unsigned>(next.month()), static_cast<unsigned>(next.day()));
    return text;
}

std::string rowProblem(std::int32_t seq, const std::string& what) {
    return "Rad " + std::to_string(seq) + " " + what;
}

} // namespace

DbResult DoListAccessLog(const AccessLogFilter& filter,
                         const std::function<void(const AccessLogRow&)>& onRow) {
    std::string sql = kColumns;
    const char* joiner = " WHERE ";
    auto condition = [&](const char* text) {
        sql.append(joiner).append(text);
        joiner = " AND ";
    };
    // The person's rows are found through the index on (PERSON_ID, TID).
    // An export's row names its persons in the detail (export_log_detail.h): it is read here
    // and its list checked below.
    if (filter.person) {
        condition("(PERSON_ID = ? OR (PERSON_ID IS NULL AND HANDELSE = ?))");
    }
    if (!filter.user.empty()) {
        condition("ANVANDARE = ?");
    }
    if (!filter.from.empty()) {
        condition("TID >= ?");
    }
    const std::string before = filter.to.empty() ? "" : dayAfter(filter.to);
    if (!filter.to.empty()) {
        condition("TID < ?");
    }
    sql += " ORDER BY SEKVENS";

    Statement statement;
    std::int32_t person = filter.person.value_or(0);
    SQLUSMALLINT marker = 0;
    bool bound = statement.prepare(sql.c_str());
    const char* exported = accessEventCode(AccessEvent::Exported);
    if (filter.person) {
        bound =
            bound && statement.bindInt(++marker, &person) && statement.bindText(++marker, exported);
    }
    if (!filter.user.empty()) {
        bound = bound && statement.bindText(++marker, filter.user.c_str());
    }
    if (!filter.from.empty()) {
        bound = bound && statement.bindText(++marker, filter.from.c_str());
    }
    if (!filter.to.empty()) {
        bound = bound && statement.bindText(++marker, before.c_str());
    }
    RowBuffers buffers;
    if (!bound || !statement.execute() || !buffers.bind(statement)) {
        return DB_FAILED;
    }
    AccessLogRow row;
    const DbResult result = statement.fetchEach([&] {
        buffers.moveTo(row, statement);
        if (filter.person && !row.person && !exportLogDetailHolds(row.detail, person)) {
            return;
        }
        onRow(row);
    });
    statement.closeCursor();
    statement.commit();
    return result;
}

namespace {

// The stored length in bytes of every text the hash covers, summed: what a reader that stops at
// a NUL, or at the end of its buffer, would not see.
std::string storedBytesColumn() {
    const char* texts[] = {"TID",      "ANVANDARE", "ARBETSSTATION", "PROGRAM",
                           "HANDELSE", "DETALJ",    "HASH"};
    const bool server = connectedToServer();
    std::string sum;
    for (const char* text : texts) {
        sum += sum.empty() ? "" : " + ";
        sum += server ? std::string("OCTET_LENGTH(") + text + ")"
                      : std::string("LENGTH(CAST(") + text + " AS BLOB))";
    }
    sum += server ? " + COALESCE(OCTET_LENGTH(CAST(PERSON_ID AS VARCHAR(40))), 0)"
                  : " + COALESCE(LENGTH(CAST(PERSON_ID AS BLOB)), 0)";
    return sum;
}

std::size_t bytesRead(const AccessLogRow& row) {
    return row.time.size() + row.user.size() + row.workstation.size() + row.program.size() +
           row.event.size() + row.detail.size() + row.hash.size() +
           (row.person ? std::to_string(*row.person).size() : row.storedPerson.size());
}

// The replaced head a restore's row names (accessLogRestoredDetail), when it names one.
std::optional<AccessLogHead> replacedHead(const std::string& detail) {
    int seq = 0;
    char hash[65] = {};
    int used = 0;
    if (std::sscanf(detail.c_str(), "ersatte rad=%d hash=%64[0-9a-f]%n", &seq, hash, &used) != 2 ||
        std::string_view(hash).size() != kChainStart.size() ||
        (detail[static_cast<std::size_t>(used)] != ';' &&
         static_cast<std::size_t>(used) != detail.size())) {
        return std::nullopt;
    }
    return AccessLogHead{seq, hash};
}

// Takes one row of the chain; false once the chain breaks (the problem is then in check).
bool takeRow(AccessLogCheck& check, const AccessLogRow& row, std::int64_t storedBytes) {
    const std::int32_t expected = check.soundRows + 1;
    const std::string& previous =
        check.hashes.empty() ? std::string(kChainStart) : check.hashes.back();
    check.firstBadSeq = row.seq == expected ? row.seq : expected;
    if (row.seq != expected) {
        check.problem = rowProblem(expected, "saknas: efter rad " + std::to_string(expected - 1) +
                                                 " kommer rad " + std::to_string(row.seq) + ".");
    } else if (static_cast<std::int64_t>(bytesRead(row)) != storedBytes) {
        check.problem = rowProblem(row.seq, "stämmer inte: den innehåller tecken som programmet "
                                            "aldrig skriver (till exempel en NUL-byte) eller "
                                            "längre text än programmet skriver; den har ändrats "
                                            "utanför programmet.");
    } else if (accessLogHash(previous, row) != row.hash) {
        check.problem = rowProblem(row.seq, "stämmer inte: den har ändrats eller lagts "
                                            "till utanför programmet.");
    } else {
        check.firstBadSeq = 0;
        check.hashes.push_back(row.hash);
        check.times.push_back(row.time);
        ++check.soundRows;
        if (row.event == accessEventCode(AccessEvent::Restored)) {
            check.resets.push_back({row.seq, replacedHead(row.detail), row.detail});
        }
        return true;
    }
    check.sound = false;
    return false;
}

void compareWithHead(AccessLogCheck& check) {
    const AccessLogHead& head = check.head;
    const std::string last = check.hashes.empty() ? std::string(kChainStart) : check.hashes.back();
    if (head.seq == check.soundRows && head.hash == last) {
        return;
    }
    check.sound = false;
    check.firstBadSeq = check.soundRows + 1;
    check.problem =
        head.seq > check.soundRows
            ? rowProblem(check.soundRows + 1, "saknas: loggen slutar vid rad " +
                                                  std::to_string(check.soundRows) + ", men " +
                                                  std::to_string(head.seq) + " rader har skrivits.")
            : "Loggens huvud (ATKOMSTLOGG_HUVUD) stämmer inte med rad " +
                  std::to_string(check.soundRows) + ", loggens sista rad.";
}

} // namespace

DbResult DoVerifyAccessLog(AccessLogCheck& check) {
    check = AccessLogCheck{};
    // One read: the head and the rows come from the same state of the register.
    std::optional<Transaction> reading;
    if (!transactionOpen()) {
        reading.emplace();
        if (!reading->started()) {
            return DB_FAILED;
        }
        Statement isolation;
        if (connectedToServer() &&
            !isolation.executeDirect("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ")) {
            return DB_FAILED;
        }
    }
    if (DoReadAccessLogHead(check.head) != DB_DONE) {
        return DB_FAILED;
    }
    Statement statement;
    RowBuffers buffers;
    std::int32_t storedBytes = 0;
    std::string sql = kColumns;
    sql.insert(sql.find(" FROM"), ", " + storedBytesColumn());
    sql += " ORDER BY SEKVENS";
    if (!statement.executeDirect(sql.c_str()) || !buffers.bind(statement) ||
        !statement.bindColumnInt(10, &storedBytes)) {
        return DB_FAILED;
    }
    AccessLogRow row;
    const DbResult listed = statement.fetchEach([&] {
        if (check.sound) {
            buffers.moveTo(row, statement);
            takeRow(check, row, storedBytes);
        }
    });
    statement.closeCursor();
    if (listed != DB_DONE) {
        return DB_FAILED;
    }
    if (reading) {
        reading->rollback();
    }
    if (check.sound) {
        compareWithHead(check);
    }
    return DB_DONE;
}

DbResult DoListExportPersonIds(std::vector<std::int32_t>& ids) {
    // Asked past the statement class: a register the export cannot read gets the export's own
    // report, not a second one from here.
    ids.clear();
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &statement) != SQL_SUCCESS) {
        return DB_FAILED;
    }
    sendDeferredStatements();
    // Read as text, as every integer is: a value too large for 32 bits is never cut.
    char text[40] = {};
    SQLLEN length = 0;
    const SQLRETURN run = SQLExecDirect(
        statement,
        const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(
            "SELECT ID FROM TESTPERSON, TESTDATA WHERE ID = PERSONALDATA_ID ORDER BY ID")),
        SQL_NTS);
    bool read = (run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO) &&
                SQLBindCol(statement, 1, SQL_C_CHAR, text, sizeof text, &length) == SQL_SUCCESS;
    while (read) {
        const SQLRETURN fetched = SQLFetch(statement);
        if (fetched == SQL_NO_DATA) {
            break;
        }
        read = fetched == SQL_SUCCESS || fetched == SQL_SUCCESS_WITH_INFO;
        std::int32_t id = 0;
        if (read && length != SQL_NULL_DATA && length < static_cast<SQLLEN>(sizeof text) &&
            readStoredInteger(text, id)) {
            ids.push_back(id);
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (!transactionOpen()) {
        SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), read ? SQL_COMMIT : SQL_ROLLBACK);
    }
    if (!read) {
        ids.clear();
    }
    return read ? DB_DONE : DB_FAILED;
}
