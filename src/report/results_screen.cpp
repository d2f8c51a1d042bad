// SPDX-License-Identifier: Apache-2.0
#include "results_screen.h"

#include "access_log.h"
#include "age_band.h"
#include "caption_label.h"
#include "enter_key.h"
#include "field_border.h"
#include "focus_ring.h"
#include "print_report_hook.h"
#include "report_copy.h"
#include "report_pages.h"
#include "results_opening.h"
#include "results_screen_paint.h"
#include "results_window.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "shell_state.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

namespace {

struct ListPlace {
    const char* objectName;
    int x;
    int width;
};

// Lists 1-4 by id - 1. All four stand at y = 105; their height of 400 includes the drop-down.
constexpr ListPlace kLists[4] = {{"ageBandList_1", 20, 90},
                                 {"confidenceList_2", 130, 200},
                                 {"swBaseList_3", 510, 240},
                                 {"indexBaseList_4", 340, 150}};
// The painted caption over each list, its name to a screen reader.
constexpr unsigned short kListCaptions[4] = {175, 176, 177, 241};
constexpr int kListY = 105;
constexpr int kListHeight = 400;
// How far a list may grow to the right for its longest entry: up to the next list, or the edge
// of the window.
constexpr int kListGap = 10;
constexpr int kClientWidth = 800;

constexpr int kAvbryt = 90;
constexpr int kChangeRawScores = 91;
constexpr int kPrint = 92;
// The copy button stands right of "&Skriv ut", as wide as the shared buttons.
constexpr int kCopyX = 380;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 40;

QString qtText(unsigned short id) {
    return QString::fromStdString(text(id));
}

// Esc in an open drop-down closes the drop-down and nothing else: it is kept from the window's
// Esc accelerator ("&Avbryt"), which would otherwise see it as well.
class EscapeClosesTheDropDown : public QObject {
  public:
    explicit EscapeClosesTheDropDown(QComboBox* list) : QObject(list), list_(list) {
        list->view()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || !list_->view()->isVisible()) {
            return false;
        }
        key->accept(); // an accepted override is no shortcut
        if (event->type() == QEvent::KeyPress) {
            list_->hidePopup();
        }
        return true;
    }

  private:
    QComboBox* list_;
};

} // namespace

ResultsScreen::ResultsScreen(ScreenHost& host) : host_(host) {}

ResultsScreen::~ResultsScreen() {
    teardown();
}

void ResultsScreen::build() {
    currentScreen() = SCREEN_RESULTS;
    bottomRef() = 600;
    resetResultsView();
    host_.placeWindow(screenWidth() / 2 - 400, 10, 800, screenHeight() - 70);
    host_.repaint();
    createControls();

    TestOccasion& occasion = testOccasion();
    QComboBox* ageBands = lists_[0];
    scoreOpenedOccasion(occasion,
                        [ageBands](const char* name) { ageBands->addItem(QString(name)); });
    fillChoiceLists();
    fitListWidths();
    ageBands->setCurrentIndex(
        ageBands->findText(QString(occasion.ageBand), Qt::MatchExactly | Qt::MatchCaseSensitive));
    connectLists();

    window_->setFocus();
    resized();
    host_.repaint();
    // After the screen stands, so that the box is shown over it and never from a paint.
    reportAgeBandProblem();
}

void ResultsScreen::createControls() {
    QWidget* parent = host_.widgetParent();
    window_ = new ResultsWindow(parent);
    window_->setGeometry(20, 140, 760, 390);
    window_->setAccessibleName(QStringLiteral("Resultatredovisning"));
    window_->show();
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        auto* list = new QComboBox(parent);
        list->setObjectName(kLists[i].objectName);
        setFieldBorder(*list);
        list->setFont(host_.controlFont());
        list->setFocusPolicy(Qt::StrongFocus);
        const int fieldHeight = list->sizeHint().height();
        list->setGeometry(kLists[i].x, kListY, kLists[i].width, fieldHeight);
        list->setMaxVisibleItems(std::max(1, (kListHeight - fieldHeight) / fieldHeight));
        list->show();
        addCaptionLabel(*list, qtText(kListCaptions[i]),
                        QRect(kLists[i].x, kListCaptionY, kLists[i].width, kListY - kListCaptionY));
        lists_[i] = list;
    }

    // In the order the controls stand on the screen: report, Normgrupp, Konfidensintervall,
    // Diskrepansanalyser (list 4), Styrkor och svagheter (list 3), report.
    focusRing_ = std::make_unique<FocusRing>();
    focusRing_->link(window_, lists_[0], lists_[2]);
    focusRing_->link(lists_[0], lists_[1], window_);
    focusRing_->link(lists_[1], lists_[3], lists_[0]);
    focusRing_->link(lists_[3], lists_[2], lists_[1]);
    focusRing_->link(lists_[2], window_, lists_[3]);

    // Enter on the report or on a closed list is "Ä&ndra råpoäng", as on the window itself.
    runOnEnter(window_, [this] { command(kChangeRawScores); });
    for (QComboBox* list : lists_) {
        runOnEnter(list, [this] { command(kChangeRawScores); });
        new EscapeClosesTheDropDown(list);
    }

    host_.setSharedButtonCaption(kAvbryt, 95);
    host_.setSharedButtonCaption(kChangeRawScores, 173);
    host_.setSharedButtonCaption(kPrint, 174);
    createCopyButton();
}

// Like the shared buttons it takes no focus by Tab (Enter on the screen is "Ä&ndra råpoäng");
// it is reached by Alt+K, and Ctrl+C copies from anywhere on the screen.
void ResultsScreen::createCopyButton() {
    copyButton_ = new QPushButton(QStringLiteral("&Kopiera"), host_.widgetParent());
    copyButton_->setObjectName(QStringLiteral("copyReportButton"));
    copyButton_->setFont(host_.controlFont());
    copyButton_->setAutoDefault(false);
    copyButton_->setFocusPolicy(Qt::NoFocus);
    // The underlined letter is the window's Alt+K accelerator, which sends its own command.
    copyButton_->setShortcut(QKeySequence());
    copyButton_->setToolTip(QStringLiteral("Kopierar rapporten som HTML och som text med "
                                           "tabbseparerade tabeller (Ctrl+C)"));
    QObject::connect(copyButton_, &QPushButton::clicked, copyButton_,
                     [] { copyReportToClipboard(); });
    copyButton_->show();
    auto* copy = new QShortcut(QKeySequence::Copy, window_);
    copy->setContext(Qt::WindowShortcut);
    QObject::connect(copy, &QShortcut::activated, window_, [] { copyReportToClipboard(); });
}

void ResultsScreen::fillChoiceLists() {
    ResultsView& view = resultsView();
    lists_[1]->addItems({qtText(238), qtText(239)});
    lists_[2]->addItems({qtText(140), qtText(141)});
    lists_[3]->addItems({qtText(630), qtText(631)});
    view.swBase = 0;
    view.indexBase = 1;
    view.ciLevel = 1;
    lists_[2]->setCurrentIndex(view.swBase);
    lists_[3]->setCurrentIndex(view.indexBase);
    lists_[1]->setCurrentIndex(view.ciLevel);
}

// Each list as wide as its longest entry where there is room before the next list (the lists
// keep their places), its drop-down always wide enough to show every entry whole, and the whole
// chosen entry in its tooltip where the field is too narrow for it.
void ResultsScreen::fitListWidths() {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        QComboBox* list = lists_[i];
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        const int needed = list->sizeHint().width();
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        int limit = kClientWidth - kListGap;
        for (const ListPlace& other : kLists) {
            if (other.x > kLists[i].x) {
                limit = std::min(limit, other.x - kListGap);
            }
        }
        const int width = std::max(kLists[i].width, std::min(needed, limit - kLists[i].x));
        list->setGeometry(kLists[i].x, kListY, width, list->height());
        list->view()->setMinimumWidth(needed);
        list->setToolTip(list->currentText());
        QObject::connect(list, &QComboBox::currentTextChanged, list, &QWidget::setToolTip);
    }
}

// Only after filling: a list acts on a change of selection by the user.
void ResultsScreen::connectLists() {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        QObject::connect(lists_[i], &QComboBox::currentIndexChanged, lists_[i],
                         [this, id] { command(id); });
    }
}

void ResultsScreen::paint(Dc& dc) {
    ab_paint_results_screen(dc);
}

ScreenTexts ResultsScreen::texts() const {
    return resultsHeaderTexts();
}

void ResultsScreen::command(int id) {
    switch (id) {
    case 1:
    case 2:
    case 3:
    case 4:
        listChanged(id);
        break;
    case CMD_ALT_N:
    case kChangeRawScores:
        changeRawScores();
        break;
    case CMD_ESCAPE:
        // Esc on an open drop-down only closes it; the next Esc leaves.
        if (closeOpenList()) {
            break;
        }
        host_.showScreen(SCREEN_EARLIER_TESTS);
        break;
    case kAvbryt:
    case CMD_ALT_A:
        host_.showScreen(SCREEN_EARLIER_TESTS);
        break;
    case kPrint:
    case CMD_ALT_S:
        prepareForPrintJob(testOccasion());
        printReport();
        break;
    case CMD_ALT_K:
        copyReportToClipboard();
        break;
    default:
        break;
    }
}

void ResultsScreen::listChanged(int id) {
    QComboBox* list = lists_[static_cast<std::size_t>(id - 1)];
    if (list == nullptr || window_ == nullptr || list->currentIndex() < 0) {
        return;
    }
    ResultsView& view = resultsView();
    switch (id) {
    case 1:
        if (!logAgeBandChoice(list)) {
            return;
        }
        chooseAgeBand(testOccasion(), list->currentText().toUtf8().constData(), currentNorms());
        reportAgeBandProblem();
        break;
    case 2:
        view.ciLevel = list->currentIndex();
        break;
    case 3:
        view.swBase = list->currentIndex();
        break;
    case 4:
        view.indexBase = list->currentIndex();
        break;
    default:
        return;
    }
    window_->update();
}

// Scores for another age band are another view of the results: logged before they are computed.
// When the row cannot be written the list goes back to the band shown.
bool ResultsScreen::logAgeBandChoice(QComboBox* list) {
    const std::string band = list->currentText().toStdString();
    if (logBeforeReading(AccessEvent::ResultsViewed, testOccasion().person.ID,
                         "åldersgrupp " + band)) {
        return true;
    }
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(
        list->findText(QString(testOccasion().ageBand), Qt::MatchExactly | Qt::MatchCaseSensitive));
    return false;
}

// Until the raw-score form is in the program there is nowhere to go, and nothing changes.
void ResultsScreen::changeRawScores() {
    if (!host_.hasScreen(SCREEN_RAW_SCORES)) {
        return;
    }
    rawScoreMode() = 1;
    host_.showScreen(SCREEN_RAW_SCORES);
}

bool ResultsScreen::closeOpenList() {
    for (QComboBox* list : lists_) {
        if (list != nullptr && list->view()->isVisible()) {
            list->hidePopup();
            return true;
        }
    }
    return false;
}

void ResultsScreen::teardown() {
    if (window_ == nullptr) {
        return;
    }
    host_.focusWindow(); // where Enter acts as the next screen's command 91
    focusRing_.reset();
    delete copyButton_.data();
    copyButton_ = nullptr;
    for (QPointer<QComboBox>& list : lists_) {
        delete list.data();
        list = nullptr;
    }
    delete window_.data();
    window_ = nullptr;
}

void ResultsScreen::resized() {
    if (window_ == nullptr) {
        return;
    }
    const DcSize client = host_.clientSize();
    window_->setGeometry(20, 140, client.cx - 40, client.cy - 240);
    const int buttonY = client.cy - 58;
    host_.placeSharedButton(kAvbryt, 20, buttonY, 110, 40, true);
    host_.placeSharedButton(kChangeRawScores, 140, buttonY, 110, 40, true);
    host_.placeSharedButton(kPrint, 260, buttonY, 110, 40, true);
    copyButton_->setGeometry(kCopyX, buttonY, kButtonWidth, kButtonHeight);
    bottomRef() = client.cy;
    host_.repaint();
}
