// SPDX-License-Identifier: Apache-2.0
#include "person_list_view.h"

#include "person_list_state.h"
#include "screen_resources.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

namespace {

constexpr int kColumnWidths[kPersonListColumns] = {250, 100, 100, 200, 70, 100, 200, 200, 200};

// Reads the pages of the rows in view before they are painted: a failed read is then reported
// outside the paint.
void prefetchRowsInView(const QTreeView& list) {
    const int first = list.indexAt(QPoint(0, 0)).row();
    if (first < 0) {
        return;
    }
    int last = list.indexAt(QPoint(0, list.viewport()->height() - 1)).row();
    if (last < 0) {
        last = personListModel(list).rowCount() - 1;
    }
    personListModel(list).prefetch(first, last);
}

} // namespace

QTreeView* createPersonList(QWidget* parent, const QFont& font) {
    auto* list = new QTreeView(parent);
    list->setModel(new PersonListModel(list));
    list->hide();
    list->setObjectName(QStringLiteral("personList_%1").arg(kPersonListId));
    list->setGeometry(20, 100, 754, 370);
    list->setFont(font);
    list->setAccessibleName(QStringLiteral("Testpersoner"));
    list->setAccessibleDescription(
        QStringLiteral("Uppåtpil och nedåtpil väljer testperson, Enter visar resultatet. "
                       "Ctrl+1 till Ctrl+9 sorterar efter kolumn 1 till 9."));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false); // the database and the collation give the order
    list->setFrameShape(QFrame::StyledPanel);
    // The selected row stays marked when the focus is on a button, dark enough under its white
    // text to be read.
    QPalette palette = list->palette();
    const QColor selected(kSelectedRowColour.r, kSelectedRowColour.g, kSelectedRowColour.b);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, selected);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    list->setPalette(palette);

    QHeaderView* header = list->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < kPersonListColumns; ++i) {
        list->setColumnWidth(i, kColumnWidths[i]);
    }
    QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged, list,
                     [list] { prefetchRowsInView(*list); });
    return list;
}

int fillPersonList(QTreeView& list) {
    const PersonListState& state = personListState();
    return personListModel(list).load(state.sortColumn, state.descending == 1);
}

PersonListModel& personListModel(const QTreeView& list) {
    return *static_cast<PersonListModel*>(list.model());
}

int selectedPersonRow(const QTreeView& list) {
    const QModelIndexList rows = list.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}
