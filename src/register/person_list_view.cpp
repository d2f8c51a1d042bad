// SPDX-License-Identifier: Apache-2.0
#include "person_list_view.h"

#include "db.h"
#include "person_list_state.h"
#include "person_order.h"
#include "screen_resources.h"
#include "text_table.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <cstdio>
#include <vector>

namespace {

struct Column {
    unsigned short header;
    int width;
};

constexpr Column kColumns[kPersonListColumns] = {
    {17, 250}, {24, 100}, {25, 100}, {30, 200}, {28, 70},
    {26, 100}, {22, 200}, {20, 200}, {21, 200},
};

constexpr int kIdRole = Qt::UserRole;
constexpr int kUnreadableIdRole = Qt::UserRole + 1;
constexpr int kMan = 1;
constexpr int kWoman = 2;

QString dateText(const DateValue& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return QString::fromLatin1(buffer);
}

QString sexText(std::int32_t sex) {
    if (sex == kMan) {
        return QString::fromStdString(text(42));
    }
    if (sex == kWoman) {
        return QString::fromStdString(text(41));
    }
    return {};
}

QTreeWidgetItem* makeRow(const PersonListRow& person) {
    auto* row = new QTreeWidgetItem;
    row->setText(0, QString::fromUtf8(person.NAMN));
    if (person.idRead) {
        row->setData(0, kIdRole, person.ID);
    } else {
        const std::string message =
            unreadableIdMessage(person.storedId, "testpersonen kan varken visas eller tas bort");
        row->setData(0, kUnreadableIdRole, QString::fromStdString(message));
        row->setToolTip(0, QString::fromStdString(message));
        row->setText(0, QString::fromUtf8(person.NAMN) + QStringLiteral(" (") +
                            QString::fromStdString(storedIdName(person.storedId)) +
                            QStringLiteral(" kan inte läsas)"));
    }
    row->setText(1, QString::fromUtf8(person.TESTLEDARE));
    row->setText(2, dateText(person.TESTDATE));
    row->setText(3, QString::fromUtf8(person.OTHER));
    row->setText(4, sexText(person.SEX));
    row->setText(5, dateText(person.BORNDATE));
    row->setText(6, QString::fromUtf8(person.UTBILDNING));
    row->setText(7, QString::fromUtf8(person.NATIONALITET));
    row->setText(8, QString::fromUtf8(person.HOMELANGUAGE));
    return row;
}

} // namespace

QTreeWidget* createPersonList(QWidget* parent, const QFont& font) {
    auto* list = new QTreeWidget(parent);
    list->hide();
    list->setObjectName(QStringLiteral("personList_%1").arg(kPersonListId));
    list->setGeometry(20, 100, 754, 370);
    list->setFont(font);
    list->setAccessibleName(QStringLiteral("Testpersoner"));
    list->setAccessibleDescription(
        QStringLiteral("Uppåtpil och nedåtpil väljer testperson, Enter visar resultatet. "
                       "Ctrl+1 till Ctrl+9 sorterar efter kolumn 1 till 9."));
    list->setColumnCount(kPersonListColumns);
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

    QStringList headers;
    for (const Column& column : kColumns) {
        headers << QString::fromStdString(text(column.header));
    }
    list->setHeaderLabels(headers);
    QHeaderView* header = list->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < kPersonListColumns; ++i) {
        list->setColumnWidth(i, kColumns[i].width);
    }
    return list;
}

int fillPersonList(QTreeWidget& list) {
    const PersonListState& state = personListState();
    std::vector<PersonListRow> rows;
    const DbResult result = DoListPD(state.sortColumn, state.descending,
                                     [&rows](const PersonListRow& row) { rows.push_back(row); });
    orderPersonRows(rows, state.sortColumn, state.descending == 1);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const PersonListRow& row : rows) {
        items.append(makeRow(row));
    }
    list.addTopLevelItems(items);
    return result == DB_DONE ? 1 : 0;
}

std::int32_t personIdOf(const QTreeWidgetItem& row) {
    return row.data(0, kIdRole).toInt();
}

std::string unreadablePersonIdOf(const QTreeWidgetItem& row) {
    return row.data(0, kUnreadableIdRole).toString().toStdString();
}

QTreeWidgetItem* findPersonRow(const QTreeWidget& list, std::int32_t id) {
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list.topLevelItem(i);
        if (unreadablePersonIdOf(*row).empty() && personIdOf(*row) == id) {
            return row;
        }
    }
    return nullptr;
}
