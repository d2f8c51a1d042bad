// SPDX-License-Identifier: Apache-2.0
#include "workstation_role.h"

#include "message_box.h"
#include "statement.h"

#include <cstdint>
#include <string>

namespace {

constexpr const char* kAppendFunction =
    "atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, INTEGER, VARCHAR)";
constexpr const char* kAllTables = "TESTPERSON, TESTDATA, NAMEID, NORMER, INDEX_NORMER, "
                                   "NORMGRUPPER, SEC, NORMKALLA, INLOGGNINGSFORSOK, ATKOMSTLOGG, "
                                   "ATKOMSTLOGG_HUVUD";
constexpr const char* kDataTables = "TESTPERSON, TESTDATA, NORMER, INDEX_NORMER, NORMGRUPPER, SEC, "
                                    "NORMKALLA, INLOGGNINGSFORSOK";

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool run(const std::string& sql) {
    Statement statement;
    return statement.executeDirect(sql.c_str()) && statement.commit();
}

std::string quotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

struct RoleFacts {
    bool exists = false;
    std::int32_t isOwner = 0;
    std::int32_t superuser = 0;
    std::int32_t memberOfOwner = 0;
    std::int32_t createsInSchema = 0;
    std::string schema;
};

bool readRoleFacts(const std::string& role, RoleFacts& facts) {
    Statement statement;
    char schema[256] = {};
    if (!statement.bindText(1, role.c_str()) ||
        !statement.executeDirect(
            "SELECT CASE WHEN rolname = current_user THEN 1 ELSE 0 END, "
            "CASE WHEN rolsuper THEN 1 ELSE 0 END, "
            "CASE WHEN pg_has_role(rolname, current_user, 'MEMBER') THEN 1 ELSE 0 END, "
            "CASE WHEN has_schema_privilege(rolname, current_schema(), 'CREATE') THEN 1 ELSE 0 "
            "END, current_schema() FROM pg_roles WHERE rolname = ?") ||
        !statement.bindColumnInt(1, &facts.isOwner) ||
        !statement.bindColumnInt(2, &facts.superuser) ||
        !statement.bindColumnInt(3, &facts.memberOfOwner) ||
        !statement.bindColumnInt(4, &facts.createsInSchema) ||
        !statement.bindColumnText(5, schema, sizeof schema)) {
        return false;
    }
    const Statement::Fetch fetched = statement.fetch();
    statement.closeCursor();
    facts.exists = fetched == Statement::Fetch::Row;
    facts.schema = schema;
    return fetched != Statement::Fetch::Failed && statement.commit();
}

// The refusal for a role that would undo the separation, or empty when it keeps it. A superuser
// counts as a member of every role, so it is named for what it is first.
std::string roleRefusal(const std::string& role, const RoleFacts& facts) {
    if (!facts.exists) {
        return "Rollen " + role +
               " finns inte på servern. Skapa den först (createuser --pwprompt " + role +
               ") och kör sedan kommandot igen.";
    }
    if (facts.superuser != 0) {
        return "Rollen " + role +
               " är superanvändare och kan göra allt på servern. Ange en vanlig roll för "
               "arbetsstationerna.";
    }
    if (facts.isOwner != 0 || facts.memberOfOwner != 0) {
        return "Rollen " + role +
               " äger registret eller är medlem i den roll som gör det, och skulle kunna ändra "
               "åtkomstloggen. Ange en egen roll för arbetsstationerna.";
    }
    if (facts.createsInSchema != 0) {
        return "Rollen " + role + " får skapa objekt i schemat " + facts.schema +
               ". Ta bort rätten först (REVOKE CREATE ON SCHEMA " + facts.schema +
               " FROM PUBLIC, " + role + ") och kör sedan kommandot igen.";
    }
    return "";
}

} // namespace

bool workstationRoleNameUsable(const std::string& name, std::string& problem) {
    bool usable = !name.empty() && name.size() <= 63 && !(name[0] >= '0' && name[0] <= '9');
    for (char c : name) {
        usable = usable && (isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_');
    }
    if (!usable) {
        problem = "Arbetsstationernas roll ska ha 1-63 tecken: bokstäverna a-z och A-Z, siffror "
                  "och understreck, och inte börja med en siffra.";
    }
    return usable;
}

DbResult DoGrantWorkstationRole(const std::string& role) {
    std::string problem;
    if (!workstationRoleNameUsable(role, problem)) {
        showMessage(problem);
        return DB_FAILED;
    }
    RoleFacts facts;
    if (!readRoleFacts(role, facts)) {
        return DB_FAILED;
    }
    problem = roleRefusal(role, facts);
    if (!problem.empty()) {
        showMessage(problem);
        return DB_FAILED;
    }
    const std::string grantee = quotedIdentifier(role);
    const std::string function = kAppendFunction;
    // Whatever the role or PUBLIC held before goes first, so that a register upgraded to the
    // separation keeps no right from the time the workstations owned everything.
    const std::string statements[] = {
        std::string("REVOKE ALL ON ") + kAllTables + " FROM PUBLIC, " + grantee,
        "REVOKE ALL ON FUNCTION " + function + " FROM PUBLIC, " + grantee,
        "REVOKE ALL ON FUNCTION atkomstlogg_vagra() FROM PUBLIC, " + grantee,
        "GRANT USAGE ON SCHEMA " + quotedIdentifier(facts.schema) + " TO " + grantee,
        std::string("GRANT SELECT, INSERT, UPDATE, DELETE ON ") + kDataTables + " TO " + grantee,
        "GRANT SELECT, UPDATE ON NAMEID TO " + grantee,
        "GRANT SELECT ON ATKOMSTLOGG, ATKOMSTLOGG_HUVUD TO " + grantee,
        "GRANT EXECUTE ON FUNCTION " + function + " TO " + grantee,
    };
    for (const std::string& statement : statements) {
        if (!run(statement)) {
            return DB_FAILED;
        }
    }
    return DB_DONE;
}
