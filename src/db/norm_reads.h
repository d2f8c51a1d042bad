// SPDX-License-Identifier: Apache-2.0
#pragma once

// The statements that read the norm tables whole and the readers of their rows, for a caller
// that runs them one at a time or several in one string. Internal to the database layer.

#include "norm_snapshot.h"
#include "norm_tables.h"
#include "statement.h"

#include <cstdint>
#include <vector>

// The norm tables' state in one row: the stamp and the row counts of NORMER, INDEX_NORMER and
// NORMGRUPPER, and how a value of it is read: a non-negative integer, anything else (NULL
// included) kNoNormStamp.
extern const char* const kNormTablesStateSql;
std::int64_t normStateValue(const char* text, SQLLEN length);

// As the lookups see the tables (norm_snapshot.h).
extern const char* const kSnapshotNormsSql;
extern const char* const kSnapshotIndexNormsSql;
extern const char* const kSnapshotRangesSql;
extern const char* const kSnapshotSubgroupsSql;
extern const char* const kSnapshotSubgroupsInOrderSql;
bool fetchSnapshotNorms(Statement& statement, std::vector<NormSnapshotRow>& rows);
bool fetchSnapshotIndexNorms(Statement& statement, std::vector<IndexSnapshotRow>& rows);
bool fetchSnapshotRanges(Statement& statement, std::vector<IndexRangeSnapshot>& rows);
bool fetchSnapshotSubgroups(Statement& statement, std::vector<SubgroupSnapshot>& rows);

// As check-norms reads them (norm_tables.h).
extern const char* const kNormGroupRowsSql;
extern const char* const kNormEntryRowsSql;
extern const char* const kIndexNormEntryRowsSql;
bool fetchNormGroupRows(Statement& statement, std::vector<NormGroupEntry>& rows);
bool fetchNormEntryRows(Statement& statement, std::vector<NormEntry>& rows);
bool fetchIndexNormEntryRows(Statement& statement, std::vector<IndexNormEntry>& rows);
