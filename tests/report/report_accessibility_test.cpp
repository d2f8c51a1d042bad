// SPDX-License-Identifier: Apache-2.0
#include "report_json.h"
#include "report_pages.h"
#include "stored_results_screen.h"
#include "text_table.h"

#include <QAccessible>
#include <QComboBox>
#include <QJsonArray>
#include <QScrollBar>

#include <vector>

// The report area of the results screen, read through Qt's accessibility API as a screen reader
// reads it, against the numbers the JSON report gives for the same occasion and choices.

namespace {

// A cell of a table with what a screen reader says with it.
struct ReadCell {
    QString table;
    QString columnHeader;
    QString rowHeader;
    QString text;
};

void collectCells(QAccessibleInterface* node, std::vector<ReadCell>& cells) {
    if (QAccessibleTableCellInterface* cell = node->tableCellInterface()) {
        const auto columns = cell->columnHeaderCells();
        const auto rows = cell->rowHeaderCells();
        cells.push_back({cell->table()->text(QAccessible::Name),
                         columns.isEmpty() ? QString() : columns.front()->text(QAccessible::Name),
                         rows.isEmpty() ? QString() : rows.front()->text(QAccessible::Name),
                         node->text(QAccessible::Name)});
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i);
            child != nullptr && child->object() == nullptr) {
            collectCells(child, cells);
        }
    }
}

QAccessibleInterface* findNode(QAccessibleInterface* node, QAccessible::Role role,
                               const QString& name) {
    if (node->role() == role && node->text(QAccessible::Name) == name) {
        return node;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr || child->object() != nullptr) {
            continue; // the scroll bar
        }
        if (QAccessibleInterface* found = findNode(child, role, name)) {
            return found;
        }
    }
    return nullptr;
}

QString utf8(unsigned short id) {
    return QString::fromStdString(text(id));
}

class ReportAccessibilityTest : public StoredResultsScreen {
  protected:
    void SetUp() override {
        StoredResultsScreen::SetUp();
        report_ = QAccessible::queryAccessibleInterface(results());
        ASSERT_NE(report_, nullptr);
    }

    // The one cell of the table with these headers; fails when there is not exactly one.
    static std::string cellText(const std::vector<ReadCell>& cells, const QString& table,
                                const QString& column, const QString& row) {
        std::vector<QString> found;
        for (const ReadCell& cell : cells) {
            const bool rowMatches = cell.rowHeader == row || cell.rowHeader.endsWith(". " + row);
            if (cell.table == table && cell.columnHeader == column && rowMatches) {
                found.push_back(cell.text);
            }
        }
        EXPECT_EQ(found.size(), 1u)
            << table.toStdString() << " / " << column.toStdString() << " / " << row.toStdString();
        return found.empty() ? std::string() : found.front().toStdString();
    }

    QAccessibleInterface* report_ = nullptr;
};

TEST_F(ReportAccessibilityTest, EveryNumberOfTheJsonReportStandsInItsTableUnderItsHeaders) {
    EXPECT_EQ(report_->role(), QAccessible::Document);
    EXPECT_EQ(report_->text(QAccessible::Name), "Resultatredovisning");
    // Both interval levels: the table's header and every interval follow the chosen level.
    for (const int ciLevel : {1, 0}) {
        window_->findChild<QComboBox*>("confidenceList_2")->setCurrentIndex(ciLevel);
        QApplication::processEvents();
        ASSERT_EQ(resultsView().ciLevel, ciLevel);
        const QJsonObject json = occasionReportJson({});
        std::vector<ReadCell> cells;
        collectCells(report_, cells);

        const QJsonObject indexTable = json["indexTable"].toObject();
        const QString interval = indexTable["intervalHeader"].toString();
        const QJsonArray rows = indexTable["rows"].toArray();
        ASSERT_EQ(rows.size(), 6);
        int scores = 0;
        for (const QJsonValue& value : rows) {
            const QJsonObject row = value.toObject();
            const QString name = row["name"].toString();
            EXPECT_EQ(cellText(cells, utf8(55), utf8(252), name),
                      row["IK"].toString().toStdString());
            EXPECT_EQ(cellText(cells, utf8(55), utf8(253), name),
                      row["PERC"].toString().toStdString());
            EXPECT_EQ(cellText(cells, utf8(55), interval, name),
                      row["interval"].toString().toStdString());
            EXPECT_EQ(cellText(cells, utf8(55), utf8(165), name),
                      (row["sum"].toString() + row["sumMark"].toString()).trimmed().toStdString());
            scores += row["IK"].toString() != "-" ? 1 : 0;
        }
        EXPECT_GE(scores, 5) << "a half-scored person has her indexes";

        const QJsonObject scaled = json["ScaledScores"].toObject();
        ASSERT_EQ(scaled.size(), kSubscaleCount);
        for (auto it = scaled.begin(); it != scaled.end(); ++it) {
            const int score = it.value().toInt();
            EXPECT_EQ(cellText(cells, utf8(57), utf8(231), it.key()),
                      score == 0 ? std::string("-") : std::to_string(score))
                << it.key().toStdString();
        }
    }
}

TEST_F(ReportAccessibilityTest, TablesHeadingsAndGraphsInReadingOrder) {
    ASSERT_EQ(report_->childCount(), 6) << "five pages and the scroll bar";
    const unsigned short titles[] = {94, 164, 57, 56, 400};
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface* page = report_->child(i);
        EXPECT_EQ(page->role(), QAccessible::Section);
        EXPECT_EQ(page->text(QAccessible::Name), utf8(titles[i]));
        EXPECT_EQ(page->child(0)->role(), QAccessible::Heading);
        EXPECT_EQ(report_->indexOfChild(page), i);
        EXPECT_EQ(page->child(0)->parent(), page);
    }
    EXPECT_EQ(report_->child(5)->object(), static_cast<QObject*>(results()->scrollBar()));

    QAccessibleInterface* table = findNode(report_, QAccessible::Table, utf8(55));
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 6);
    EXPECT_EQ(cells->columnCount(), 5);
    EXPECT_EQ(cells->columnDescription(2), utf8(252));
    EXPECT_EQ(cells->cellAt(4, 0)->role(), QAccessible::RowHeader);
    EXPECT_EQ(cells->cellAt(4, 0)->text(QAccessible::Name), utf8(225));
    EXPECT_EQ(cells->cellAt(4, 0)->parent(), table);

    const QString full = QString::number(testOccasion().indexes[HIK].IK);
    QAccessibleInterface* profile = findNode(report_, QAccessible::Graphic, utf8(249));
    ASSERT_NE(profile, nullptr);
    EXPECT_TRUE(profile->text(QAccessible::Description).contains("HIK " + full))
        << profile->text(QAccessible::Description).toStdString();
    for (const unsigned short section : {241, 137, 411}) {
        EXPECT_NE(findNode(report_, QAccessible::Table, utf8(section)), nullptr) << section;
    }
}

// The heading on top is on screen where the window shows it; scrolled away it is off screen, and
// the focus goes to what the view shows first.
TEST_F(ReportAccessibilityTest, RectanglesAndFocusFollowTheScrollPosition) {
    results()->setFocus();
    QApplication::processEvents();
    QAccessibleInterface* heading = report_->child(0)->child(0);
    const QRect window(results()->mapToGlobal(QPoint(0, 0)), results()->size());
    EXPECT_TRUE(window.contains(heading->rect())) << "top of the report";
    EXPECT_FALSE(heading->state().offscreen);
    EXPECT_EQ(report_->focusChild(), heading);
    EXPECT_TRUE(heading->state().focused);

    const QAccessibleInterface* before = report_->focusChild();
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(results(), Qt::Key_PageDown);
    }
    QApplication::processEvents();
    ASSERT_GT(resultsView().firstLine, 0);
    EXPECT_TRUE(heading->state().offscreen);
    EXPECT_TRUE(heading->rect().isEmpty());
    QAccessibleInterface* focus = report_->focusChild();
    ASSERT_NE(focus, nullptr);
    EXPECT_NE(focus, before);
    EXPECT_TRUE(focus->state().focused);
    EXPECT_FALSE(focus->state().offscreen);
    EXPECT_TRUE(window.intersects(focus->rect()));
    QAccessibleInterface* page = focus;
    while (page->parent() != report_) {
        page = page->parent();
    }
    EXPECT_GE(report_->indexOfChild(page), 3) << "the end of the report is on the analysis pages: "
                                              << focus->text(QAccessible::Name).toStdString();
}

} // namespace
