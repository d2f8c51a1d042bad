// SPDX-License-Identifier: Apache-2.0
#include "start_screen.h"

#include "db.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "screen_paint.h"
#include "screen_titles.h"
#include "shell_state.h"
#include "test_occasion.h"

#include <QKeyEvent>
#include <QPushButton>

#include <array>

namespace {

std::array<QPushButton*, 3> startButtons(const ScreenHost& host) {
    std::array<QPushButton*, 3> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = host.sharedButton(kStartButtonOrder[i]);
    }
    return buttons;
}

// The arrow keys on a start-screen button move the focus to the button above or below it, round
// the three.
class ArrowKeysBetweenButtons : public QObject {
  public:
    // Owned by the top button; a deleted filter leaves the buttons' filter lists by itself.
    explicit ArrowKeysBetweenButtons(std::array<QPushButton*, 3> buttons)
        : QObject(buttons[0]), buttons_(buttons) {
        setObjectName(kName);
        for (QPushButton* button : buttons_) {
            button->installEventFilter(this);
        }
    }

    static constexpr const char* kName = "startArrowKeys";

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        int step = 0;
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Right) {
            step = 1;
        } else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Left) {
            step = -1;
        }
        if (step == 0 || key->modifiers() != Qt::NoModifier) {
            return false;
        }
        const int count = static_cast<int>(buttons_.size());
        for (int i = 0; i < count; ++i) {
            if (buttons_[static_cast<std::size_t>(i)] == watched) {
                buttons_[static_cast<std::size_t>((i + step + count) % count)]->setFocus(
                    Qt::TabFocusReason);
                return true;
            }
        }
        return false;
    }

  private:
    std::array<QPushButton*, 3> buttons_;
};

// The three buttons take the focus by Tab (a click still leaves it where it was) and answer
// Enter themselves; on every other screen the shared buttons are reached by click and Alt key.
void letButtonsTakeTheFocus(const ScreenHost& host, bool take) {
    const std::array<QPushButton*, 3> buttons = startButtons(host);
    for (QPushButton* button : buttons) {
        button->setFocusPolicy(take ? Qt::TabFocus : Qt::NoFocus);
        button->setAutoDefault(take);
        if (!take) {
            // A button that had the focus stays the default one after it loses its auto-default.
            button->setDefault(false);
        }
    }
    delete buttons[0]->findChild<ArrowKeysBetweenButtons*>(ArrowKeysBetweenButtons::kName,
                                                           Qt::FindDirectChildrenOnly);
    if (take) {
        QWidget::setTabOrder(buttons[0], buttons[1]);
        QWidget::setTabOrder(buttons[1], buttons[2]);
        new ArrowKeysBetweenButtons(buttons);
    }
}

} // namespace

void showStartScreen(ScreenHost& host) {
    currentScreen() = SCREEN_START;
    bottomRef() = 600;
    host.placeWindow(screenWidth() / 2 - 400, screenHeight() / 2 - 300, 800, 600);
    host.placeSharedButton(91, 58, 320, 110, 40, true);
    host.placeSharedButton(92, 58, 370, 110, 40, true);
    host.placeSharedButton(90, 58, 420, 110, 40, true);
    host.placeSharedButton(93, 70, 430, 110, 40, false);
    host.placeSharedButton(94, 70, 430, 110, 40, false);
    host.setSharedButtonCaption(90, 91);
    host.setSharedButtonCaption(91, 92);
    host.setSharedButtonCaption(92, 93);
    letButtonsTakeTheFocus(host, true);
    // The window keeps the focus, where Enter is "&Nytt test"; Tab goes on to the buttons.
    host.focusWindow();
    host.widgetParent()->window()->setWindowTitle(
        QString::fromStdString(windowTitleOf(SCREEN_START)));
    // Read each time, so that norms imported while the program runs are seen on return here.
    syntheticNorms() = DoReadNormsSynthetic();
    host.repaint();
}

void StartScreen::build() {
    showStartScreen(host_);
}

void StartScreen::paint(Dc& dc) {
    ab_paint_start(dc);
}

void StartScreen::teardown() {
    letButtonsTakeTheFocus(host_, false);
}

// The program's name as the heading, then the rest of the painted notice.
ScreenTexts StartScreen::texts() const {
    const std::string notice = startNoticeText();
    const std::size_t end = notice.find(". ");
    ScreenText heading;
    heading.kind = ScreenText::Kind::Heading;
    heading.text = notice.substr(0, end);
    heading.x = 210;
    heading.y = 493;
    heading.width = 570;
    heading.height = 16;
    ScreenText rest;
    rest.text = end == std::string::npos ? std::string() : notice.substr(end + 2);
    rest.x = 210;
    rest.y = 509;
    rest.width = 570;
    rest.height = 64;
    return {heading, rest};
}

void StartScreen::command(int id) {
    switch (id) {
    case CMD_ALT_N:
    case 91:
        beginNewTest();
        break;
    case CMD_ALT_T:
    case 92:
        openEarlierTests();
        break;
    case 90:
    case CMD_ALT_A:
    case CMD_ESCAPE:
        host_.endProgram();
        break;
    default:
        break;
    }
}

// Until the personal-data form exists in the program, a new test cannot begin.
void StartScreen::beginNewTest() {
    if (!host_.hasScreen(SCREEN_PERSONAL_DATA)) {
        return;
    }
    rawScoreMode() = 0;
    DoReadNameID();
    host_.hideSharedButtons();
    resetTestOccasion();
    occasionUnsaved() = false;
    host_.showScreen(SCREEN_PERSONAL_DATA);
}

void StartScreen::openEarlierTests() {
    if (!host_.hasScreen(SCREEN_EARLIER_TESTS)) {
        return;
    }
    host_.hideSharedButtons();
    host_.showScreen(SCREEN_EARLIER_TESTS);
}
