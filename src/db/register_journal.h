// SPDX-License-Identifier: Apache-2.0
#pragma once

// A rollback journal beside an SQLite register, read without SQLite: whether the next opener of
// the register would roll it back into the file, and whether it can belong to that file at all.
// A journal that does not belong must never be rolled back: SQLite would write another file's
// pages into the register.

#include <string>

enum class JournalState {
    None,      // no journal
    Ignored,   // empty, or without a journal header: SQLite leaves the file alone
    MayBelong, // SQLite rolls it back at the next opening, and nothing says it is another file's
    Foreign,   // it cannot belong to the register; reason says why
};

struct JournalInspection {
    JournalState state = JournalState::None;
    std::string path;
    std::string reason; // Swedish, for Foreign
};

// Reads databasePath + "-journal" and the register's header.
JournalInspection inspectJournal(const std::string& databasePath);
