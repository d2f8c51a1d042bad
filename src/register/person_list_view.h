// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <string>

class QFont;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The report-style list of the stored test persons on the earlier-tests screen (control id 1000,
// object name "personList_1000"): nine columns, one row per person, single selection shown also
// without focus; each row carries the person's ID.

inline constexpr int kPersonListId = 1000;
inline constexpr int kPersonListColumns = 9;

// Creates the list with its columns, headers and widths, hidden, at (20, 100), 754 × 370.
QTreeWidget* createPersonList(QWidget* parent, const QFont& font);

// Appends one row per person that DoListPD fetches, with the sort column and direction of
// personListState(); text columns in Swedish order. 1 after the last row; 0 when the query or a
// fetch failed (reported), with the rows read so far in the list.
int fillPersonList(QTreeWidget& list);

std::int32_t personIdOf(const QTreeWidgetItem& row);
// Empty for a row whose ID was read; otherwise the Swedish message naming the ID as stored (too
// large for 32 bits, no integer, NULL). Such a row carries no ID: personIdOf answers 0 for it,
// which is not its person, so it is never opened or deleted.
std::string unreadablePersonIdOf(const QTreeWidgetItem& row);
// The row of the person, or null.
QTreeWidgetItem* findPersonRow(const QTreeWidget& list, std::int32_t id);
