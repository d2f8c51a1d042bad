// SPDX-License-Identifier: Apache-2.0
#include "register_schema.h"

#include "db.h"
#include "quiet_statement.h"
#include "schema.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isPunctuation(char c) {
    return c == '(' || c == ')' || c == ',' || c == ';' || c == '=';
}

std::string quotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

const char* definiteNoun(const std::string& type) {
    if (type == "table") {
        return "tabellen";
    }
    if (type == "index") {
        return "indexet";
    }
    if (type == "trigger") {
        return "utlösaren (trigger)";
    }
    return type == "view" ? "vyn" : "objektet";
}

const char* indefiniteNoun(const std::string& type) {
    if (type == "table") {
        return "en tabell";
    }
    if (type == "index") {
        return "ett index";
    }
    if (type == "trigger") {
        return "en utlösare (trigger)";
    }
    return type == "view" ? "en vy" : "ett annat slags objekt";
}

std::string capitalised(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    return text;
}

std::optional<SchemaObject> findObject(const SchemaShape& shape, const std::string& name) {
    const std::string key = upper(name);
    for (const SchemaObject& object : shape.objects) {
        if (upper(object.name) == key) {
            return object;
        }
    }
    return std::nullopt;
}

std::string columnName(const std::string& column) {
    return column.substr(0, column.find('|'));
}

void compareColumns(const std::string& table, const std::vector<std::string>& copy,
                    const std::vector<std::string>& known, std::vector<std::string>& found) {
    const auto named = [](const std::vector<std::string>& columns, const std::string& name) {
        return std::find_if(columns.begin(), columns.end(),
                            [&](const std::string& column) { return columnName(column) == name; });
    };
    for (const std::string& column : known) {
        const std::string name = columnName(column);
        const auto there = named(copy, name);
        if (there == copy.end()) {
            found.push_back("Kopian saknar kolumnen " + name + " i tabellen " + table + ".");
        } else if (*there != column) {
            found.push_back("Kolumnen " + name + " i tabellen " + table +
                            " är definierad på ett annat sätt i kopian (typ, NOT NULL, "
                            "standardvärde eller primärnyckel).");
        }
    }
    for (const std::string& column : copy) {
        if (named(known, columnName(column)) == known.end()) {
            found.push_back("Kopian har kolumnen " + columnName(column) + " i tabellen " + table +
                            ", som inte hör till registret.");
        }
    }
}

void compareObject(const SchemaObject& copy, const SchemaObject& known,
                   const SchemaShape& copyShape, const SchemaShape& knownShape,
                   std::vector<std::string>& found) {
    if (copy.type != known.type) {
        found.push_back("I kopian är " + copy.name + " " + indefiniteNoun(copy.type) +
                        " och inte " + indefiniteNoun(known.type) + ".");
        return;
    }
    if (copy.type == "table") {
        const std::size_t before = found.size();
        const auto columnsOf = [](const SchemaShape& shape, const std::string& name) {
            const auto it = shape.columns.find(upper(name));
            return it == shape.columns.end() ? std::vector<std::string>() : it->second;
        };
        compareColumns(known.name, columnsOf(copyShape, copy.name),
                       columnsOf(knownShape, known.name), found);
        if (found.size() == before && copy.sql != known.sql) {
            found.push_back("Tabellen " + known.name +
                            " är definierad på ett annat sätt i kopian (nycklar eller villkor).");
        }
        return;
    }
    if (upper(copy.table) != upper(known.table) || copy.sql != known.sql) {
        found.push_back(capitalised(definiteNoun(known.type)) + " " + known.name +
                        " är ändrad i kopian.");
    }
}

bool readColumns(SchemaShape& shape, const std::string& table, std::string& problem) {
    QuietStatement info;
    if (!info.run("PRAGMA table_info(" + quotedIdentifier(table) + ")")) {
        problem = info.message();
        return false;
    }
    std::vector<std::string>& columns = shape.columns[upper(table)];
    while (info.next()) { // cid, name, type, notnull, dflt_value, pk
        columns.push_back(upper(info.text(2)) + "|" + upper(info.text(3)) + "|" + info.text(4) +
                          "|" + normalisedSql(info.text(5)) + "|" + info.text(6));
    }
    problem = info.message();
    return problem.empty();
}

} // namespace

std::string normalisedSql(std::string_view sql) {
    std::string result;
    bool space = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            i = std::min(sql.find('\n', i), sql.size());
            space = true;
            continue;
        }
        if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            i = std::min(sql.find("*/", i + 2), sql.size()) + 1;
            space = true;
            continue;
        }
        if (isSpace(c)) {
            space = true;
            continue;
        }
        if (space && !result.empty() && !isPunctuation(c) && !isPunctuation(result.back())) {
            result += ' ';
        }
        space = false;
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            // Quoted text runs to its closing quote; a doubled quote stands for one.
            const char close = c == '[' ? ']' : c;
            std::size_t end = i + 1;
            for (; end < sql.size(); ++end) {
                if (sql[end] != close) {
                    continue;
                }
                if (close != ']' && end + 1 < sql.size() && sql[end + 1] == close) {
                    ++end;
                    continue;
                }
                break;
            }
            const std::size_t last = std::min(end, sql.size() - 1);
            result.append(sql.substr(i, last - i + 1));
            i = last;
            continue;
        }
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

bool DoReadSchemaShape(SchemaShape& shape, std::string& problem) {
    shape = SchemaShape{};
    {
        QuietStatement master;
        if (!master.run("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name")) {
            problem = master.message();
            return false;
        }
        while (master.next()) {
            shape.objects.push_back(SchemaObject{master.text(1), master.text(2), master.text(3),
                                                 normalisedSql(master.text(4))});
        }
        if (!master.message().empty()) {
            problem = master.message();
            return false;
        }
    }
    for (const SchemaObject& object : shape.objects) {
        if (object.type == "table" && !readColumns(shape, object.name, problem)) {
            return false;
        }
    }
    std::string version;
    if (!quietFirstValue("PRAGMA user_version", version, "", problem)) {
        return false;
    }
    shape.userVersion = std::strtoll(version.c_str(), nullptr, 10);
    return true;
}

bool knownSchemaShapes(std::vector<SchemaShape>& shapes, std::string& problem) {
    shapes.clear();
    if (DoConnectString("DRIVER=SQLite3;DATABASE=:memory:;StepAPI=1;") != 1) {
        problem = "En tom databas att jämföra med kunde inte skapas i minnet.";
        return false;
    }
    SchemaShape older;
    SchemaShape current;
    const bool built = DoCreateSchemaBeforeAccessLog() == DB_DONE &&
                       DoReadSchemaShape(older, problem) && DoAddAccessLog() == DB_DONE &&
                       DoReadSchemaShape(current, problem);
    DoDisconnect();
    if (!built) {
        problem = "Registrets schema kunde inte byggas upp att jämföra med: " + problem;
        return false;
    }
    shapes = {older, current};
    return true;
}

std::vector<std::string> schemaDifferences(const SchemaShape& copy, const SchemaShape& known) {
    std::vector<std::string> found;
    if (copy.userVersion != known.userVersion) {
        found.push_back("Kopian har schemaversion " + std::to_string(copy.userVersion) +
                        ", som den här versionen av RIVO-IV inte känner (den är kanske gjord av en "
                        "nyare version). Återställ den med den version som gjorde den.");
    }
    for (const SchemaObject& expected : known.objects) {
        const std::optional<SchemaObject> there = findObject(copy, expected.name);
        if (!there) {
            found.push_back("Kopian saknar " + std::string(definiteNoun(expected.type)) + " " +
                            expected.name + ".");
        } else {
            compareObject(*there, expected, copy, known, found);
        }
    }
    for (const SchemaObject& object : copy.objects) {
        if (!findObject(known, object.name)) {
            found.push_back("Kopian har " + std::string(definiteNoun(object.type)) + " " +
                            object.name + ", som inte hör till registret.");
        }
    }
    return found;
}
