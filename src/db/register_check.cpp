// SPDX-License-Identifier: Apache-2.0
#include "register_check.h"

#include "access_log.h"
#include "db.h"
#include "norm_checks.h"
#include "quiet_statement.h"

#include <cstdlib>

namespace {

constexpr SQLINTEGER kSqliteBusy = 5;
constexpr SQLINTEGER kSqliteLocked = 6;
constexpr int kIntegrityFindings = 10;

void checkIntegrity(std::vector<std::string>& found) {
    QuietStatement check;
    if (!check.run("PRAGMA integrity_check(" + std::to_string(kIntegrityFindings) + ")")) {
        found.push_back("Kopian är ingen hel SQLite-databas: " + check.message());
        return;
    }
    std::string verdict;
    while (check.nextText(verdict)) {
        if (verdict != "ok") {
            found.push_back("Kopian är skadad (SQLite:s integritetskontroll: " + verdict + ").");
        }
    }
    if (!check.message().empty()) {
        found.push_back("Kopian är ingen hel SQLite-databas: " + check.message());
    }
}

// The known schema the copy has; otherwise the differences from the nearest known one.
void checkSchema(const std::vector<SchemaShape>& known, RegisterFacts& facts,
                 std::vector<std::string>& found) {
    SchemaShape copy;
    std::string problem;
    if (!DoReadSchemaShape(copy, problem)) {
        found.push_back("Kopians schema kan inte läsas: " + problem);
        return;
    }
    std::vector<std::string> nearest;
    for (std::size_t version = 0; version < known.size(); ++version) {
        std::vector<std::string> differences = schemaDifferences(copy, known[version]);
        if (differences.empty()) {
            facts.beforeAccessLog = version + 1 < known.size();
            return;
        }
        if (version == 0 || differences.size() < nearest.size()) {
            nearest = std::move(differences);
        }
    }
    found.insert(found.end(), nearest.begin(), nearest.end());
}

void checkAccessLog(std::vector<std::string>& found) {
    AccessLogCheck check;
    if (DoVerifyAccessLog(check) != DB_DONE) {
        found.push_back("Kopians åtkomstlogg kan inte läsas.");
    } else if (!check.sound) {
        found.push_back("Kopians åtkomstlogg håller inte: " + check.problem);
    }
}

void checkNormTablesOfCopy(std::vector<std::string>& found) {
    NormTables tables;
    if (DoReadNormTables(tables) != DB_DONE) {
        found.push_back("Kopians normtabeller kan inte läsas.");
        return;
    }
    for (const std::string& problem : checkNormTables(tables, false)) {
        found.push_back("Kopians normtabeller: " + problem);
    }
    std::string value;
    std::string problem;
    if (!quietFirstValue("SELECT SYNTETISKA FROM NORMKALLA WHERE RECNO = 1", value,
                         "Kopian saknar raden om normernas ursprung (NORMKALLA).", problem)) {
        found.push_back(problem);
    }
}

} // namespace

std::vector<std::string> DoCheckRegisterCopy(const std::vector<SchemaShape>& known,
                                             RegisterFacts& facts) {
    facts = RegisterFacts{};
    std::vector<std::string> found;
    checkIntegrity(found);
    if (!found.empty()) {
        return found;
    }
    // Nothing more is read from a schema that is not ours: a view or trigger would run.
    checkSchema(known, facts, found);
    if (!found.empty()) {
        return found;
    }
    if (!facts.beforeAccessLog) {
        checkAccessLog(found);
    }
    checkNormTablesOfCopy(found);
    std::string persons;
    std::string problem;
    if (!quietFirstValue("SELECT COUNT(*) FROM TESTPERSON", persons, "", problem)) {
        found.push_back(problem);
    }
    facts.persons = std::strtoll(persons.c_str(), nullptr, 10);
    return found;
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
