// SPDX-License-Identifier: Apache-2.0
#include "earlier_tests_screen.h"

#include "enter_key.h"
#include "message_box.h"
#include "person_list_state.h"
#include "person_list_view.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "screen_paint.h"
#include "screen_titles.h"
#include "shell_state.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeView>

#include <functional>
#include <utility>

namespace {

struct ButtonPlace {
    int id;
    unsigned short caption;
    int x;
};

constexpr ButtonPlace kButtons[] = {
    {90, 1, 20}, {91, 2, 140}, {93, 4, 260}, {92, 3, 380}, {94, 5, 500},
};
// After a size change "&Exportera data" (92) stands left of "Ta b&ort" (93).
constexpr int kResizedButtonIds[] = {90, 91, 92, 93, 94};
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 40;

// Ctrl+1 ... Ctrl+9 on the list sort it by column 1 ... 9, as a click on that column's header.
class SortKeys : public QObject {
  public:
    SortKeys(QWidget* list, std::function<void(int)> sortBy)
        : QObject(list), sortBy_(std::move(sortBy)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const int column = sortColumnOfKey(*static_cast<QKeyEvent*>(event));
        if (column < 0) {
            return false;
        }
        sortBy_(column);
        return true;
    }

  private:
    std::function<void(int)> sortBy_;
};

} // namespace

int sortColumnOfKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers =
        key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (modifiers != Qt::ControlModifier || key.key() < Qt::Key_1 ||
        key.key() >= Qt::Key_1 + kPersonListColumns) {
        return -1;
    }
    return key.key() - Qt::Key_1;
}

EarlierTestsScreen::~EarlierTestsScreen() {
    delete list_.data();
}

void EarlierTestsScreen::build() {
    bottomRef() = 600;
    currentScreen() = SCREEN_EARLIER_TESTS;
    host_.placeWindow(screenWidth() / 2 - 400, screenHeight() / 2 - 300, 800, 600);

    delete list_.data();
    list_ = createPersonList(host_.widgetParent(), host_.listFont());
    QObject::connect(list_->header(), &QHeaderView::sectionClicked, list_,
                     [this](int column) { onHeaderClicked(column); });
    // Enter and a double-click on a person are "&Visa resultat".
    runOnEnter(list_, [this] { command(CMD_ENTER); });
    QObject::connect(list_, &QTreeView::doubleClicked, list_, [this] { command(CMD_ENTER); });
    list_->installEventFilter(new SortKeys(list_, [this](int column) { onHeaderClicked(column); }));
    fillPersonList(*list_);
    list_->show();
    selectRow(personListState().rememberedRow);

    for (const ButtonPlace& button : kButtons) {
        host_.setSharedButtonCaption(button.id, button.caption);
        host_.placeSharedButton(button.id, button.x, 515, kButtonWidth, kButtonHeight, true);
    }
    host_.widgetParent()->window()->setWindowTitle(
        QString::fromStdString(windowTitleOf(SCREEN_EARLIER_TESTS)));
    focusList();
    host_.repaint();
}

void EarlierTestsScreen::paint(Dc& dc) {
    ab_paint_earlier_tests(dc);
}

ScreenTexts EarlierTestsScreen::texts() const {
    return earlierTestsTexts();
}

void EarlierTestsScreen::command(int id) {
    switch (id) {
    case CMD_ALT_T:
    case 90:
    case CMD_ESCAPE:
        host_.showScreen(SCREEN_START);
        break;
    case CMD_ENTER:
    case CMD_ALT_V:
        actOnSelection(kShowResultsMode);
        break;
    case 92:
    case CMD_ALT_E:
        exportData();
        focusList();
        break;
    case 93:
    case CMD_ALT_O:
    case CMD_ALT_L:
        actOnSelection(kDeleteMode);
        focusList();
        break;
    case 94:
    case CMD_ALT_S:
        backupDatabase();
        focusList();
        break;
    default:
        break;
    }
}

void EarlierTestsScreen::teardown() {
    if (list_ != nullptr) {
        host_.focusWindow(); // where Enter acts as the next screen's command 91
    }
    delete list_.data();
    host_.hideSharedButtons();
}

void EarlierTestsScreen::resized() {
    if (list_ == nullptr) {
        return;
    }
    const DcSize client = host_.clientSize();
    layoutEarlierTests(client.cx, client.cy);
}

void EarlierTestsScreen::layoutEarlierTests(int width, int height) {
    host_.repaint();
    if (list_ != nullptr) {
        list_->setGeometry(5, 90, width - 8, height - 190);
    }
    int x = 20;
    for (const int id : kResizedButtonIds) {
        host_.placeSharedButton(id, x, height - 53, kButtonWidth, kButtonHeight, true);
        x += 120;
    }
}

// The direction flips on every click, whichever column is clicked. The selected person stays
// selected in the new order.
void EarlierTestsScreen::onHeaderClicked(int column) {
    PersonListState& state = personListState();
    const PersonListModel& model = personListModel(*list_);
    const int selected = selectedPersonRow(*list_);
    const std::int32_t selectedId = model.personIdAt(selected);
    state.sortColumn = column;
    state.descending = 1 - state.descending;
    fillPersonList(*list_);
    selectRow(selected >= 0 ? model.rowOfPerson(selectedId) : -1);
}

// The row becomes current and selected and is scrolled into view; without one the first row
// does, so that the arrows and Enter act on the row shown as selected.
void EarlierTestsScreen::selectRow(int row) {
    const PersonListModel& model = personListModel(*list_);
    if (row < 0 || row >= model.rowCount()) {
        row = 0;
    }
    if (model.rowCount() == 0) {
        return;
    }
    model.prefetch(row, row);
    list_->selectionModel()->setCurrentIndex(
        model.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(model.index(row, 0));
}

void EarlierTestsScreen::focusList() {
    if (list_ != nullptr) {
        list_->setFocus();
    }
}
