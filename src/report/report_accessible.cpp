// SPDX-License-Identifier: Apache-2.0
#include "report_accessible.h"

#include "qpainter_dc.h"
#include "report_document.h"
#include "report_pages.h"
#include "results_window.h"

#include <QAccessibleWidget>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace {

QAccessible::Role roleOf(DcMark kind) {
    switch (kind) {
    case DcMark::Page:
        return QAccessible::Section;
    case DcMark::Heading:
        return QAccessible::Heading;
    case DcMark::Paragraph:
        return QAccessible::Paragraph;
    case DcMark::Note:
        return QAccessible::Note;
    case DcMark::Table:
        return QAccessible::Table;
    case DcMark::Row:
        return QAccessible::Row;
    case DcMark::ColumnHeader:
        return QAccessible::ColumnHeader;
    case DcMark::RowHeader:
        return QAccessible::RowHeader;
    case DcMark::Cell:
        return QAccessible::Cell;
    case DcMark::Graphic:
        return QAccessible::Graphic;
    }
    return QAccessible::NoRole;
}

class ReportAccessible;

// One item of the report: a page, heading, paragraph, note, graph, table or cell. It keeps a
// copy of what it shows; the report's interface replaces all of them when the report changes.
class NodeAccessible : public QAccessibleInterface,
                       public QAccessibleTableInterface,
                       public QAccessibleTableCellInterface {
  public:
    NodeAccessible(ReportAccessible* root, QAccessibleInterface* parent, const ReportNode& node)
        : root_(root), parent_(parent), kind_(node.kind), text_(QString::fromStdString(node.text)),
          box_(node.left, node.top, node.right - node.left, node.bottom - node.top) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override { return isValid() ? parent_ : nullptr; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? children_[static_cast<std::size_t>(index)]
                                                  : nullptr;
    }
    int childCount() const override { return static_cast<int>(children_.size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto found = std::find(children_.begin(), children_.end(), child);
        return found == children_.end() ? -1 : static_cast<int>(found - children_.begin());
    }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return roleOf(kind_); }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface && kind_ == DcMark::Table) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        if (type == QAccessible::TableCellInterface &&
            (kind_ == DcMark::Cell || kind_ == DcMark::RowHeader)) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    // ---- Table ----
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
            return nullptr;
        }
        return children_[static_cast<std::size_t>(headerCount() + row * columns_ + column)];
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        return column >= 0 && column < headerCount()
                   ? children_[static_cast<std::size_t>(column)]->text_
                   : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return columns_; }
    int rowCount() const override {
        return columns_ == 0 ? 0 : (childCount() - headerCount()) / columns_;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // ---- Cell ----
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        if (table_ == nullptr || column_ >= table_->headerCount()) {
            return {};
        }
        return {table_->children_[static_cast<std::size_t>(column_)]};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        if (table_ == nullptr || column_ == 0) {
            return {};
        }
        QAccessibleInterface* first = table_->cellAt(row_, 0);
        return first != nullptr && first->role() == QAccessible::RowHeader
                   ? QList<QAccessibleInterface*>{first}
                   : QList<QAccessibleInterface*>{};
    }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return table_; }

    // Builds the interfaces of the node's children; a table's are its cells, the header row's
    // first and every row as wide as the widest.
    void addChildren(const ReportNode& node, std::vector<QAccessible::Id>& ids);
    // The first item whose box reaches below y, depth first, in reading order.
    NodeAccessible* firstBelow(int y);
    const QRect& box() const { return box_; }

  private:
    int headerCount() const { return headers_; }
    NodeAccessible* add(const ReportNode& node, std::vector<QAccessible::Id>& ids);

    ReportAccessible* root_;
    QAccessibleInterface* parent_;
    DcMark kind_;
    QString text_;
    QRect box_; // in the report's logical coordinates, top of the report at 0
    std::vector<NodeAccessible*> children_;
    int headers_ = 0;                 // Table: how many of the children are column headers
    int columns_ = 0;                 // Table
    NodeAccessible* table_ = nullptr; // Cell: its table, row and column
    int row_ = 0;
    int column_ = 0;
};

// The report area: the document with the pages as its sections, and the scroll bar after them.
class ReportAccessible : public QAccessibleWidget {
  public:
    explicit ReportAccessible(ResultsWindow* window)
        : QAccessibleWidget(window, QAccessible::Document, "Resultatredovisning") {}
    ~ReportAccessible() override { dropNodes(); }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QStringLiteral("Resultatredovisning")
                                      : QAccessibleWidget::text(t);
    }
    int childCount() const override {
        refresh();
        return static_cast<int>(pages_.size()) + 1;
    }
    QAccessibleInterface* child(int index) const override {
        refresh();
        if (index >= 0 && index < static_cast<int>(pages_.size())) {
            return pages_[static_cast<std::size_t>(index)];
        }
        return index == static_cast<int>(pages_.size())
                   ? QAccessible::queryAccessibleInterface(results()->scrollBar())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        refresh();
        const auto found = std::find(pages_.begin(), pages_.end(), child);
        if (found != pages_.end()) {
            return static_cast<int>(found - pages_.begin());
        }
        return child != nullptr && child->object() == results()->scrollBar()
                   ? static_cast<int>(pages_.size())
                   : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* page = child(i);
            if (page->rect().contains(x, y)) {
                return page;
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return results()->hasFocus() ? itemInView() : nullptr;
    }

    // Where a box of the report lies on the screen, by the window's scroll position.
    QRect screenRect(const QRect& box) const {
        const ResultsWindow* window = results();
        const QPoint origin = window->contentsRect().topLeft() +
                              QPoint(0, -resultsView().firstLine * resultsView().lineHeight);
        const QRect onWindow = box.translated(origin).intersected(window->reportRect());
        return onWindow.isEmpty() ? QRect()
                                  : QRect(window->mapToGlobal(onWindow.topLeft()), onWindow.size());
    }
    bool inView(const QRect& box) const { return !screenRect(box).isEmpty(); }
    ResultsWindow* results() const { return static_cast<ResultsWindow*>(widget()); }

    // The first item at or below the top of the view.
    NodeAccessible* itemInView() const {
        refresh();
        const int top = resultsView().firstLine * resultsView().lineHeight;
        for (NodeAccessible* page : pages_) {
            if (NodeAccessible* item = page->firstBelow(top)) {
                return item;
            }
        }
        return nullptr;
    }

  private:
    // Reads the report again when the window has painted since it was last read, and makes new
    // interfaces when what it says changed.
    void refresh() const {
        if (readAt_ == results()->paintCount() && readOnce_) {
            return;
        }
        readOnce_ = true;
        readAt_ = results()->paintCount();
        // Measured as on screen: the window's resolution, the report's top at y = 0.
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(results()->logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(results()->logicalDpiY() / 0.0254));
        QPainter painter(&image);
        QPainterDc dc(painter);
        ReportDocument document = readReportDocument(dc, 0);
        if (sameAs(document)) {
            return;
        }
        auto* self = const_cast<ReportAccessible*>(this);
        self->dropNodes();
        self->document_ = std::move(document);
        for (const ReportNode& page : document_.pages) {
            auto* node = new NodeAccessible(self, self, page);
            self->ids_.push_back(QAccessible::registerAccessibleInterface(node));
            node->addChildren(page, self->ids_);
            self->pages_.push_back(node);
        }
        QAccessibleEvent reordered(self, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reordered);
    }
    bool sameAs(const ReportDocument& document) const {
        return !pages_.empty() && sameNodes(document.pages, document_.pages);
    }
    static bool sameNodes(const std::vector<ReportNode>& a, const std::vector<ReportNode>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const ReportNode& x, const ReportNode& y) {
                              return x.kind == y.kind && x.text == y.text && x.top == y.top &&
                                     x.left == y.left && x.bottom == y.bottom &&
                                     x.right == y.right && sameNodes(x.children, y.children);
                          });
    }
    void dropNodes() {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
        ids_.clear();
        pages_.clear();
    }

    mutable int readAt_ = 0;
    mutable bool readOnce_ = false;
    ReportDocument document_;
    std::vector<NodeAccessible*> pages_;
    std::vector<QAccessible::Id> ids_;
};

bool NodeAccessible::isValid() const {
    return root_->isValid();
}

QWindow* NodeAccessible::window() const {
    return isValid() ? root_->window() : nullptr;
}

QAccessibleInterface* NodeAccessible::childAt(int x, int y) const {
    for (NodeAccessible* child : children_) {
        if (child->rect().contains(x, y)) {
            return child;
        }
    }
    return nullptr;
}

QString NodeAccessible::text(QAccessible::Text t) const {
    if (kind_ == DcMark::Graphic) {
        // The graph's title names it; its values describe it.
        if (t == QAccessible::Name) {
            return text_.section(':', 0, 0);
        }
        return t == QAccessible::Description ? text_ : QString();
    }
    return t == QAccessible::Name ? text_ : QString();
}

QRect NodeAccessible::rect() const {
    return isValid() ? root_->screenRect(box_) : QRect();
}

QAccessible::State NodeAccessible::state() const {
    QAccessible::State state;
    state.readOnly = true;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.offscreen = !root_->inView(box_);
    state.invisible = state.offscreen;
    state.focusable = kind_ != DcMark::Page && kind_ != DcMark::Table;
    state.focused = root_->results()->hasFocus() && root_->itemInView() == this;
    return state;
}

NodeAccessible* NodeAccessible::add(const ReportNode& node, std::vector<QAccessible::Id>& ids) {
    auto* child = new NodeAccessible(root_, this, node);
    ids.push_back(QAccessible::registerAccessibleInterface(child));
    children_.push_back(child);
    return child;
}

void NodeAccessible::addChildren(const ReportNode& node, std::vector<QAccessible::Id>& ids) {
    if (kind_ == DcMark::Graphic) {
        return; // its labels are its picture; the description lists the values
    }
    if (kind_ != DcMark::Table) {
        for (const ReportNode& child : node.children) {
            add(child, ids)->addChildren(child, ids);
        }
        return;
    }
    std::vector<const ReportNode*> rows;
    for (const ReportNode& row : node.children) {
        const bool headerRow = headers_ == 0 && rows.empty() && !row.children.empty() &&
                               row.children.front().kind == DcMark::ColumnHeader;
        if (headerRow) {
            headers_ = static_cast<int>(row.children.size());
        } else {
            rows.push_back(&row);
        }
        columns_ = std::max(columns_, static_cast<int>(row.children.size()));
    }
    if (headers_ > 0) {
        for (const ReportNode& header : node.children.front().children) {
            add(header, ids);
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<ReportNode>& cells = rows[r]->children;
        for (int c = 0; c < columns_; ++c) {
            // A row with fewer cells (a group's name on its own line) is filled with empty ones
            // where the row is.
            ReportNode empty{DcMark::Cell,    {}, 0, rows[r]->left, rows[r]->top, rows[r]->left,
                             rows[r]->bottom, {}};
            const bool present = c < static_cast<int>(cells.size());
            NodeAccessible* cell = add(present ? cells[static_cast<std::size_t>(c)] : empty, ids);
            cell->table_ = this;
            cell->row_ = static_cast<int>(r);
            cell->column_ = c;
        }
    }
}

NodeAccessible* NodeAccessible::firstBelow(int y) {
    if (box_.bottom() < y) {
        return nullptr;
    }
    const bool leaf = children_.empty() || kind_ == DcMark::Graphic;
    if (leaf) {
        return kind_ == DcMark::Page || kind_ == DcMark::Table ? nullptr : this;
    }
    for (NodeAccessible* child : children_) {
        if (NodeAccessible* found = child->firstBelow(y)) {
            return found;
        }
    }
    return nullptr;
}

QAccessibleInterface* reportFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ResultsWindow")) {
        if (auto* window = qobject_cast<ResultsWindow*>(object)) {
            return new ReportAccessible(window);
        }
    }
    return nullptr;
}

} // namespace

void installReportAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(reportFactory);
        return true;
    }();
    (void)installed;
}

void reportViewMoved(QWidget* resultsWindow) {
    if (!QAccessible::isActive() || !resultsWindow->hasFocus()) {
        return;
    }
    auto* report =
        dynamic_cast<ReportAccessible*>(QAccessible::queryAccessibleInterface(resultsWindow));
    if (report == nullptr) {
        return;
    }
    if (NodeAccessible* item = report->itemInView()) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}
