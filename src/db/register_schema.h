// SPDX-License-Identifier: Apache-2.0
#pragma once

// The schema of an SQLite register as SQLite itself describes it (sqlite_master and each table's
// columns), and the schemas of the versions this program has created, built by the program's own
// schema code: a register is accepted from elsewhere only when it has exactly one of them, since
// a trigger or a view added to a copy would run inside the program once restored.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct SchemaObject {
    std::string type; // table, index, trigger, view
    std::string name; // as the database spells it
    std::string table;
    std::string sql; // normalisedSql of its definition; empty for SQLite's own indexes
};

struct SchemaShape {
    std::vector<SchemaObject> objects;
    // Per table (upper case): each column as "NAME|TYPE|NOT NULL|DEFAULT|PRIMARY KEY".
    std::map<std::string, std::vector<std::string>> columns;
    std::int64_t userVersion = 0;
};

// A definition with its layout, comments and the case of its keywords and names taken away, so
// that two texts SQLite reads alike compare equal. Quoted text is kept as it is.
std::string normalisedSql(std::string_view sql);

// The schema of the open SQLite database, read quietly. false with the driver's message.
bool DoReadSchemaShape(SchemaShape& shape, std::string& problem);

// The schemas this program has created, oldest first: the register from before the access log,
// then the register init-db creates now (which upgrade-db makes of the older one). Built on a
// database in memory of their own; needs no connection and leaves none. false with a message.
bool knownSchemaShapes(std::vector<SchemaShape>& shapes, std::string& problem);

// How the copy's schema differs from a known one, in Swedish, one message per difference (an
// object missing, added, of another kind or defined otherwise; a column missing, added or
// changed). Empty when they are the same.
std::vector<std::string> schemaDifferences(const SchemaShape& copy, const SchemaShape& known);
