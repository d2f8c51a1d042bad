// SPDX-License-Identifier: Apache-2.0
#include "qt_dialogs.h"

#include "file_dialog.h"
#include "message_box.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

QPointer<QWidget>& mainWindowPointer() {
    static QPointer<QWidget> window;
    return window;
}

QWidget* ownerOf(void* owner, bool withoutOwner) {
    if (withoutOwner) {
        return nullptr;
    }
    return owner != nullptr ? static_cast<QWidget*>(owner) : mainWindowForDialogs();
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A box with a short text is narrower than its title bar needs: the window manager would cut the
// caption. A spacer across the box keeps it as wide as the caption plus the title bar's buttons.
void makeRoomForCaption(QMessageBox& box) {
    constexpr int kTitleBarButtons = 160;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// A box without an owner on the screen (none, or a main window not shown yet, as before the
// login) is placed in the middle of the screen: centred on a hidden owner it would stand in the
// top left corner.
void centreWithoutOwner(QMessageBox& box) {
    if (box.parentWidget() != nullptr && box.parentWidget()->isVisible()) {
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    box.adjustSize();
    box.move(screen->availableGeometry().center() - box.rect().center());
}

int showQtMessageBox(const MessageRequest& request) {
    QMessageBox box(ownerOf(request.owner, request.withoutOwner));
    box.setObjectName("messageBox");
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setIcon(qtIcon(request.icon));
    makeRoomForCaption(box);
    if (request.buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText("OK");
        centreWithoutOwner(box);
        box.exec();
        return AnswerOk;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText("&Ja");
    box.button(QMessageBox::No)->setText("&Nej");
    box.setDefaultButton(request.defaultButton == MessageDefault::First ? QMessageBox::Yes
                                                                        : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    centreWithoutOwner(box);
    return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

// While it lives, the default locale is Swedish: the file dialog names the types of the files it
// lists ("vanligt textdokument", "SQLite3-databas") in the default locale's language. Only there:
// nothing else of the program takes its language or numbers from the default locale.
class SwedishFileTypeNames {
  public:
    SwedishFileTypeNames() : previous_(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    }
    ~SwedishFileTypeNames() { QLocale::setDefault(previous_); }
    SwedishFileTypeNames(const SwedishFileTypeNames&) = delete;
    SwedishFileTypeNames& operator=(const SwedishFileTypeNames&) = delete;

  private:
    QLocale previous_;
};

std::string askQtSaveFileName(const SaveFileRequest& request) {
    const SwedishFileTypeNames swedishTypes;
    QString start = QString::fromStdString(request.directory);
    if (!request.fileName.empty()) {
        start = start.isEmpty() ? QString::fromStdString(request.fileName)
                                : start + "/" + QString::fromStdString(request.fileName);
    }
    QFileDialog dialog(ownerOf(request.owner, false), QString::fromStdString(request.caption),
                       start, QString::fromStdString(request.filter));
    dialog.setObjectName("saveFileDialog");
    // Qt's own dialog speaks Swedish like the program; a desktop's native one would speak the
    // desktop's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before overwriting a file
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace

void setMainWindowForDialogs(QWidget* mainWindow) {
    mainWindowPointer() = mainWindow;
}

QWidget* mainWindowForDialogs() {
    return mainWindowPointer().data();
}

void installQtDialogHandlers() {
    setMessageBoxHandler(showQtMessageBox);
    setSaveFileHandler(askQtSaveFileName);
}
