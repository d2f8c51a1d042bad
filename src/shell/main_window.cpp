// SPDX-License-Identifier: Apache-2.0
#include "main_window.h"

#include "accelerators.h"
#include "bitmap_ids.h"
#include "db.h"
#include "message_box.h"
#include "qpainter_dc.h"
#include "qt_dialogs.h"
#include "qt_font.h"
#include "screen_resources.h"
#include "screen_titles.h"
#include "shell_state.h"
#include "text_table.h"
#include "window_placement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

namespace {

constexpr int kCaptionLimit = 63;

} // namespace

MainWindow::MainWindow() {
    setObjectName("mainWindow");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kProgramCaption);
    setWindowIcon(QIcon(QPainterDc::bitmapPath(kIconProgram)));
    setAttribute(Qt::WA_DeleteOnClose);
    // The program gives the window the focus where Enter is to act as command 91; a click on the
    // background never takes it from the field the user is typing in.
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(800, 600);
    setMainWindowForDialogs(this);
}

// Closing the window from any screen ends the program the same way.
MainWindow::~MainWindow() {
    DoDisconnect();
    for (QPushButton*& button : buttons_) {
        delete button;
        button = nullptr;
    }
    fonts_.reset();
    if (mainWindowForDialogs() == this) {
        setMainWindowForDialogs(nullptr);
    }
    QCoreApplication::quit();
}

void MainWindow::setScreen(int screenId, std::unique_ptr<Screen> screen) {
    screens_.at(static_cast<std::size_t>(screenId)) = std::move(screen);
}

Screen* MainWindow::screen(int screenId) const {
    if (screenId < 0 || screenId >= kScreenIdLimit) {
        return nullptr;
    }
    return screens_[static_cast<std::size_t>(screenId)].get();
}

void MainWindow::showScreen(int screenId) {
    Screen* next = screen(screenId);
    if (next == nullptr) {
        return;
    }
    if (Screen* current = screen(currentScreen())) {
        current->teardown();
    }
    hideSharedButtons();
    currentScreen() = screenId;
    setWindowTitle(QString::fromStdString(windowTitleOf(screenId)));
    next->build();
}

void MainWindow::command(int id) {
    if (Screen* current = screen(currentScreen())) {
        current->command(id);
    }
}

void MainWindow::createSharedFonts() {
    fonts_ = std::make_unique<SharedFonts>();
}

void MainWindow::createSharedButtons() {
    const unsigned short captions[kSharedButtonCount] = {91, 92, 93, 0, 0};
    for (int i = 0; i < kSharedButtonCount; ++i) {
        const int id = kSharedButtonIds[i];
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("sharedButton%1").arg(id));
        button->setAutoDefault(false);
        // Click and accelerators only: a button that took the focus by Tab would swallow the
        // Enter that acts as command 91.
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, 0, 0, 0);
        button->hide();
        if (fonts_) {
            button->setFont(fonts_->controlFont);
        }
        connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
        buttons_[static_cast<std::size_t>(i)] = button;
        if (captions[i] != 0) {
            setSharedButtonCaption(id, captions[i]);
        }
    }
    setSharedButtonCaption(93, QStringLiteral("&Inställningar"));
    setSharedButtonCaption(94, QStringLiteral(" "));
}

QPushButton* MainWindow::sharedButton(int id) const {
    const int index = id - kSharedButtonFirst;
    if (index < 0 || index >= kSharedButtonCount) {
        return nullptr;
    }
    return buttons_[static_cast<std::size_t>(index)];
}

void MainWindow::placeSharedButton(int id, int x, int y, int width, int height, bool visible) {
    if (QPushButton* button = sharedButton(id)) {
        button->setGeometry(x, y, width, height);
        button->setVisible(visible);
    }
}

void MainWindow::setSharedButtonCaption(int id, unsigned short textId) {
    setSharedButtonCaption(id, QString::fromStdString(text(textId)).left(kCaptionLimit));
}

void MainWindow::setSharedButtonCaption(int id, const QString& caption) {
    if (QPushButton* button = sharedButton(id)) {
        button->setText(caption);
        // The underlined letter is reached through the accelerators, which send their own
        // command ids; a button mnemonic would compete with them.
        button->setShortcut(QKeySequence());
    }
}

void MainWindow::hideSharedButtons() {
    for (QPushButton* button : buttons_) {
        if (button != nullptr) {
            button->hide();
        }
    }
}

const QFont& MainWindow::controlFont() const {
    return fonts_->controlFont;
}

const QFont& MainWindow::listFont() const {
    return fonts_->listFont;
}

// The client area is fixed at the size given: the user cannot resize the window, the results
// screen does so by its own rules. Every placement positions the client area (never the frame),
// so the screens stand in the same place whether the window manager has framed the window yet
// or not; the frame is kept inside the screen's available area.
void MainWindow::placeWindow(int x, int y, int width, int height) {
    setFixedSize(width, height);
    QMargins frame(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    if (isVisible()) {
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const QScreen* display = QWidget::screen();
    const QRect available =
        display != nullptr ? display->availableGeometry() : QRect(x, y, width, height);
    setGeometry(fittedClientRect(QRect(x, y, width, height), frame, available));
}

void MainWindow::loadAccelerators() {
    for (int i = 0; i < kAcceleratorCount; ++i) {
        const int id = kAccelerators[i].command;
        auto* shortcut = new QShortcut(QKeySequence(kAccelerators[i].keys), this);
        shortcut->setObjectName(QStringLiteral("accelerator%1").arg(id));
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, id] { command(id); });
    }
}

void MainWindow::destroyWindow() {
    close();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), qtColor(kBackgroundColour));
    Screen* current = screen(currentScreen());
    if (current == nullptr) {
        return;
    }
    QPainterDc dc(painter);
    const DcObject font = dc.createFont(controlFontSpec());
    const DcObject brush = dc.createBrush(backgroundBrushSpec());
    const DcObject oldFont = dc.selectObject(font);
    const DcObject oldBrush = dc.selectObject(brush);
    dc.setBkColor(kBackgroundColour);
    current->paint(dc);
    dc.selectObject(oldFont);
    dc.selectObject(oldBrush);
    dc.deleteObject(font);
    dc.deleteObject(brush);
}

// Enter acts as button 91 only while the main window itself has the keyboard focus; a focused
// button or field does not pass it on as a command.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && hasFocus()) {
        command(CMD_ENTER);
    }
    event->accept();
}

// The close box, Alt+F4 and the system menu end the program from any screen, but a screen with
// unsaved entries may keep it open.
void MainWindow::closeEvent(QCloseEvent* event) {
    Screen* current = screen(currentScreen());
    if (current != nullptr && !current->mayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    mainClientArea() = DcSize{width(), height()};
    if (Screen* current = screen(currentScreen())) {
        current->resized();
    }
}
