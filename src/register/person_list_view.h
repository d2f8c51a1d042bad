// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "person_list_model.h"

class QFont;
class QTreeView;
class QWidget;

// The report-style list of the stored test persons on the earlier-tests screen (control id 1000,
// object name "personList_1000"): nine columns, one row per person, single selection shown also
// without focus; each row stands for the person's ID (PersonListModel).

inline constexpr int kPersonListId = 1000;

// Creates the list with its model, columns, headers and widths, hidden, at (20, 100), 754 × 370.
QTreeView* createPersonList(QWidget* parent, const QFont& font);

PersonListModel& personListModel(const QTreeView& list);

// Reads the order of the persons again with the sort column and direction of personListState();
// text columns in Swedish order. 1 when read; 0 when the query failed (reported).
int fillPersonList(QTreeView& list);

// The row that is selected, or -1.
int selectedPersonRow(const QTreeView& list);
