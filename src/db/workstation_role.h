// SPDX-License-Identifier: Apache-2.0
#pragma once

// Separation of duties on a server. The register's tables and functions belong to the role that
// created them (the owner); the workstations connect as another role, which may read what the
// program reads, change the register's data, and append to the access log only through the
// owner's function atkomstlogg_skriv. It cannot change or empty the log or its head, nor drop,
// alter or switch off a table, trigger or function.
//
// Per table: persons, raw scores, users, norm tables, the norm source and the failed logins are
// read and changed by the program and rivo-admin on a workstation (saving, deleting, password
// changes, user administration, norm imports, the wait after failed logins): SELECT, INSERT,
// UPDATE and DELETE. The ID counter is only read and moved on: SELECT and UPDATE. The log and
// its head: SELECT.

#include "db.h"

#include <string>

// Whether name can be a workstation role: 1-63 ASCII letters, digits or underscores, not
// starting with a digit, so that it needs no quoting the server would read otherwise. On false
// problem says why, in Swedish.
bool workstationRoleNameUsable(const std::string& name, std::string& problem);

// On the connection of the register's owner, inside the caller's transaction when one is open:
// checks that the role exists, is neither the owner, a member of it nor a superuser, and cannot
// create objects in the register's schema; then takes every right on the register from PUBLIC
// and from the role and grants the role the rights above. 1 done, 0 refused or failed (the
// reason shown in Swedish; the caller rolls back).
DbResult DoGrantWorkstationRole(const std::string& role);

// The refusal of --workstation-role where the register is a SQLite file.
inline constexpr const char* kWorkstationRoleNeedsServer =
    "--workstation-role gäller bara ett register på en server: en SQLite-fil har inga roller. "
    "Ange serverns datakälla i datakalla.ini och kör kommandot igen.";
