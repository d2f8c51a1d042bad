// SPDX-License-Identifier: Apache-2.0
// The access log's anchors outside the register: the system log line of every committed append,
// and the head and register name that anchors are written with.
#include "access_log.h"

#include "statement.h"

#include <syslog.h>

#include <optional>

namespace {

// The anchor line of the last append in the open transaction, sent when it commits.
std::optional<std::string>& pendingAnchor() {
    static std::optional<std::string> line;
    return line;
}

std::string readText(const char* sql) {
    Statement statement;
    char text[4096] = {};
    SQLLEN length = 0;
    if (!statement.executeDirect(sql) || !statement.bindColumnText(1, text, sizeof text, &length) ||
        statement.fetch() != Statement::Fetch::Row || length == SQL_NULL_DATA) {
        statement.closeCursor();
        statement.commit();
        return "";
    }
    statement.closeCursor();
    statement.commit();
    return text;
}

void sendToSystemLog(const std::string& line) {
    openlog(kAccessLogSyslogIdent, LOG_PID, LOG_AUTHPRIV);
    syslog(LOG_AUTHPRIV | LOG_INFO, "%s", line.c_str());
    closelog();
}

} // namespace

DbResult DoReadAccessLogHead(AccessLogHead& head) {
    Statement read;
    char text[80] = {};
    SQLLEN length = 0;
    if (!read.executeDirect("SELECT SEKVENS, HASH FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1") ||
        !read.bindColumnInt(1, &head.seq, &length) || !read.bindColumnText(2, text, sizeof text)) {
        return DB_FAILED;
    }
    const Statement::Fetch fetched = read.fetch();
    read.closeCursor();
    read.commit();
    if (fetched == Statement::Fetch::NoRow) {
        reportDatabaseFailure("Åtkomstloggens huvud (ATKOMSTLOGG_HUVUD) saknar sin rad.");
    }
    head.hash = text;
    return fetched == Statement::Fetch::Row && length != SQL_NULL_DATA &&
                   read.unreadableColumns() == 0
               ? DB_DONE
               : DB_FAILED;
}

std::string accessLogRegisterName() {
    if (connectedToServer()) {
        const std::string name = readText("SELECT current_database()");
        return name.empty() ? "" : "postgresql:" + name;
    }
    const std::string path = readText("SELECT file FROM pragma_database_list WHERE name = 'main'");
    return path.empty() ? "" : "sqlite:" + path;
}

std::string accessLogAnchorLine(const AccessLogHead& head, const std::string& registerName) {
    return "atkomstlogg rad=" + std::to_string(head.seq) + " hash=" + head.hash +
           " register=" + registerName;
}

void accessLogAppended(const AccessLogHead& head, const std::string& registerName) {
    // Named once per connection, while the append's statements may still run; a server's append
    // answers the name with the row, which costs no statement of its own.
    static int namedFor = 0;
    static std::string name;
    if (namedFor != connectionSerial()) {
        name = registerName.empty() ? accessLogRegisterName() : registerName;
        namedFor = connectionSerial();
    }
    pendingAnchor() = accessLogAnchorLine(head, name);
}

void accessLogTransactionEnded(bool committed) {
    if (committed && pendingAnchor()) {
        sendToSystemLog(*pendingAnchor());
    }
    pendingAnchor().reset();
}

std::string accessLogRestoredDetail(const std::optional<AccessLogHead>& replaced,
                                    const std::string& copy, std::int64_t persons) {
    const std::string head =
        replaced ? "ersatte rad=" + std::to_string(replaced->seq) + " hash=" + replaced->hash
                 : "ersatte ett register vars logg inte kunde läsas";
    return head + "; " + copy + ", " + std::to_string(persons) + " testpersoner";
}
