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

DbResult DoVerifyAccessLog(AccessLogCheck& check) {
    check = AccessLogCheck{};
    std::string previous(kChainStart);
    std::int32_t expected = 1;
    {
        Statement statement;
        RowBuffers buffers;
        if (!statement.executeDirect((std::string(kColumns) + " ORDER BY SEKVENS").c_str()) ||
            !buffers.bind(statement)) {
            return DB_FAILED;
        }
        AccessLogRow row;
        const DbResult listed = statement.fetchEach([&] {
            if (!check.sound) {
                return;
            }
            buffers.moveTo(row, statement);
            if (row.seq != expected) {
                check.sound = false;
                check.firstBadSeq = expected;
                check.problem =
                    rowProblem(expected, "saknas: efter rad " + std::to_string(expected - 1) +
                                             " kommer rad " + std::to_string(row.seq) + ".");
                return;
            }
            if (accessLogHash(previous, row) != row.hash) {
                check.sound = false;
                check.firstBadSeq = row.seq;
                check.problem = rowProblem(row.seq, "stämmer inte: den har ändrats eller lagts "
                                                    "till utanför programmet.");
                return;
            }
            previous = row.hash;
            ++expected;
            ++check.soundRows;
        });
        statement.closeCursor();
        statement.commit();
        if (listed != DB_DONE) {
            return DB_FAILED;
        }
    }
    if (!check.sound) {
        return DB_DONE;
    }
    // Rows removed from the end leave a sound chain; the head still names the last row written.
    Statement head;
    std::int32_t lastSeq = 0;
    char lastHash[80] = {};
    if (!head.executeDirect("SELECT SEKVENS, HASH FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1") ||
        !head.bindColumnInt(1, &lastSeq) || !head.bindColumnText(2, lastHash, sizeof lastHash)) {
        return DB_FAILED;
    }
    const Statement::Fetch fetched = head.fetch();
    head.closeCursor();
    head.commit();
    if (fetched == Statement::Fetch::Failed) {
        return DB_FAILED;
    }
    if (fetched == Statement::Fetch::NoRow || lastSeq != check.soundRows || previous != lastHash) {
        check.sound = false;
        check.firstBadSeq = check.soundRows + 1;
        check.problem =
            lastSeq > check.soundRows
                ? rowProblem(check.soundRows + 1,
                             "saknas: loggen slutar vid rad " + std::to_string(check.soundRows) +
                                 ", men " + std::to_string(lastSeq) + " rader har skrivits.")
                : "Loggens huvud (ATKOMSTLOGG_HUVUD) stämmer inte med rad " +
                      std::to_string(check.soundRows) + ", loggens sista rad.";
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
