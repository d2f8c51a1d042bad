#include "register_check.h"

#include "odbc_connection.h"
#include "schema_sql.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

constexpr SQLINTEGER kSqliteBusy = 5;
constexpr SQLINTEGER kSqliteLocked = 6;

// One statement whose failure is kept as text instead of being shown.
class QuietStatement {
  public:
    QuietStatement() { SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &handle_); }
    ~QuietStatement() {
        if (handle_ != SQL_NULL_HSTMT) {
            SQLFreeHandle(SQL_HANDLE_STMT, handle_);
        }
    }
    QuietStatement(const QuietStatement&) = delete;
    QuietStatement& operator=(const QuietStatement&) = delete;

    bool run(const std::string& sql) {
        if (handle_ == SQL_NULL_HSTMT) {
            message_ = "Ingen förbindelse med databasen.";
            return false;
        }
        const SQLRETURN result = SQLExecDirect(handle_, (SQLCHAR*)sql.c_str(), SQL_NTS);
        if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO || result == SQL_NO_DATA) {
            return true;
        }
        keepDiagnostic();
        return false;
    }

    // A column of the next row as text; false when the rows ran out or on failure.
    bool nextText(std::string& value, SQLUSMALLINT column = 1) {
        const SQLRETURN fetched = SQLFetch(handle_);
        if (fetched != SQL_SUCCESS && fetched != SQL_SUCCESS_WITH_INFO) {
            if (fetched != SQL_NO_DATA) {
                keepDiagnostic();
            }
            return false;
        }
        char text[1024] = {};
        SQLLEN length = 0;
        const SQLRETURN got = SQLGetData(handle_, column, SQL_C_CHAR, text, sizeof text, &length);
        value = (got == SQL_SUCCESS || got == SQL_SUCCESS_WITH_INFO) && length != SQL_NULL_DATA
                    ? text
                    : "";
        return true;
    }

    const std::string& message() const { return message_; }
    SQLINTEGER nativeError() const { return nativeError_; }

  private:
    void keepDiagnostic() {
        SQLCHAR state[6] = {};
        SQLCHAR text[512] = {};
        SQLSMALLINT length = 0;
        SQLGetDiagRec(SQL_HANDLE_STMT, handle_, 1, state, &nativeError_, text, sizeof text - 1,
                      &length);
        message_ = reinterpret_cast<const char*>(text);
    }

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    std::string message_;
    SQLINTEGER nativeError_ = 0;
};

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The column a definition names ("S1 INTEGER", "\"INDEX\" VARCHAR(10) NOT NULL"); empty for a
// table constraint.
std::string columnOf(std::string_view definition) {
    definition = trimmed(definition);
    std::string name(definition.substr(0, definition.find_first_of(" \t\r\n")));
    std::erase(name, '"');
    const std::string key = upper(name);
    if (key.empty() || key == "PRIMARY" || key == "UNIQUE" || key == "CONSTRAINT" ||
        key == "FOREIGN" || key == "CHECK") {
        return {};
    }
    return name;
}

std::string schemaWithoutComments() {
    std::string text;
    std::string_view rest = kSchemaSql;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!trimmed(line).starts_with("--")) {
            text.append(line).append("\n");
        }
    }
    return text;
}

// Every column of the schema's table is in the open database (names compared without case).
bool checkColumns(const SchemaTable& table, std::string& problem) {
    QuietStatement info;
    if (!info.run("PRAGMA table_info(" + table.name + ")")) {
        problem = info.message();
        return false;
    }
    std::vector<std::string> present;
    std::string name;
    while (info.nextText(name, 2)) { // table_info: cid, name, type, ...
        present.push_back(upper(name));
    }
    if (!info.message().empty()) {
        problem = info.message();
        return false;
    }
    if (present.empty()) {
        problem = "Kopian saknar tabellen " + table.name + ".";
        return false;
    }
    for (const std::string& column : table.columns) {
        if (std::find(present.begin(), present.end(), upper(column)) == present.end()) {
            problem = "Kopian saknar kolumnen " + column + " i tabellen " + table.name + ".";
            return false;
        }
    }
    return true;
}

// The first column of the first row of a query; false with the driver's message, or with
// whenNoRow when there is no row.
bool firstValue(const std::string& sql, std::string& value, const std::string& whenNoRow,
                std::string& problem) {
    QuietStatement query;
    if (!query.run(sql)) {
        problem = query.message();
        return false;
    }
    if (!query.nextText(value)) {
        problem = query.message().empty() ? whenNoRow : query.message();
        return false;
    }
    return true;
}

} // namespace

std::vector<SchemaTable> schemaTables() {
    const std::string sql = schemaWithoutComments();
    constexpr std::string_view kCreate = "CREATE TABLE ";
    std::vector<SchemaTable> tables;
    for (std::size_t at = sql.find(kCreate); at != std::string::npos;
         at = sql.find(kCreate, at + kCreate.size())) {
        const std::size_t open = sql.find('(', at);
        if (open == std::string::npos) {
            break;
        }
        SchemaTable table;
        table.name =
            trimmed(std::string_view(sql).substr(at + kCreate.size(), open - at - kCreate.size()));
        // Definitions are separated by commas outside parentheses ("VARCHAR(50)").
        int depth = 0;
        std::size_t start = open + 1;
        for (std::size_t i = open + 1; i < sql.size() && depth >= 0; ++i) {
            const char c = sql[i];
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            if ((c == ',' && depth == 0) || depth < 0) {
                if (std::string column = columnOf(std::string_view(sql).substr(start, i - start));
                    !column.empty()) {
                    table.columns.push_back(column);
                }
                start = i + 1;
            }
        }
        tables.push_back(table);
    }
    return tables;
}

bool DoCheckRegister(RegisterFacts& facts, std::string& problem) {
    std::string verdict;
    if (!firstValue("PRAGMA integrity_check", verdict, "", problem)) {
        problem = "Kopian är ingen hel SQLite-databas: " + problem;
        return false;
    }
    if (verdict != "ok") {
        problem = "Kopian är skadad (SQLite:s integritetskontroll: " + verdict + ").";
        return false;
    }
    for (const SchemaTable& table : schemaTables()) {
        if (!checkColumns(table, problem)) {
            return false;
        }
    }
    std::string value;
    if (!firstValue("SELECT SYNTETISKA FROM NORMKALLA WHERE RECNO = 1", value,
                    "Kopian saknar raden om normernas ursprung (NORMKALLA).", problem) ||
        !firstValue("SELECT COUNT(*) FROM TESTPERSON", value, "", problem)) {
        return false;
    }
    facts.persons = std::strtoll(value.c_str(), nullptr, 10);
    return true;
}

FileClaim DoClaimDatabaseFile(std::string& message) {
    QuietStatement begin;
    if (begin.run("BEGIN EXCLUSIVE")) {
        return FileClaim::Claimed;
    }
    message = begin.message();
    return begin.nativeError() == kSqliteBusy || begin.nativeError() == kSqliteLocked
               ? FileClaim::Busy
               : FileClaim::Failed;
}

void DoReleaseDatabaseFile() {
    QuietStatement rollback;
    rollback.run("ROLLBACK");
}
