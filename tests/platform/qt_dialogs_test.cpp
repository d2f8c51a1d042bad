// SPDX-License-Identifier: Apache-2.0
#include "file_dialog.h"
#include "message_box.h"
#include "print_dialog.h"
#include "qt_dialogs.h"
#include "temp_dir.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

// Runs check on the message box as soon as it is shown, then presses the button with the given
// text.
void answerNextBox(std::function<void(QMessageBox&)> check, const QString& buttonText) {
    QTimer::singleShot(0, [check, buttonText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        }
        box->reject();
        FAIL() << "no button " << buttonText.toStdString();
    });
}

class QtDialogs : public ::testing::Test {
  protected:
    void SetUp() override { installQtDialogHandlers(); }
    void TearDown() override {
        setMessageBoxHandler({});
        setSaveFileHandler({});
        setMainWindowForDialogs(nullptr);
    }
};

TEST_F(QtDialogs, MessageBoxShowsCaptionTextAndIsOwnedByTheMainWindow) {
    QWidget mainWindow;
    setMainWindowForDialogs(&mainWindow);
    bool checked = false;
    answerNextBox(
        [&](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "RIVO-IV");
            EXPECT_EQ(box.text(), QString::fromUtf8("Säkerhetskopiering klar."));
            EXPECT_EQ(box.parentWidget(), &mainWindow);
            EXPECT_EQ(box.buttons().size(), 1);
            checked = true;
        },
        "OK");
    EXPECT_EQ(showMessage("Säkerhetskopiering klar."), AnswerOk);
    EXPECT_TRUE(checked);
}

// A box with a one-word text is still wide enough for the title bar to show "RIVO-IV" whole
// beside its buttons.
TEST_F(QtDialogs, ShortMessageLeavesRoomForTheCaption) {
    for (const char* message : {"OK.", "Klart"}) {
        int width = 0;
        int caption = 0;
        answerNextBox(
            [&](QMessageBox& box) {
                width = box.width();
                caption = box.fontMetrics().horizontalAdvance(box.windowTitle());
            },
            "OK");
        showMessage(message);
        EXPECT_GE(width, caption + 120) << message;
    }
}

TEST_F(QtDialogs, YesNoBoxAnswersAndHonoursTheDefaultAndTheOwner) {
    QWidget mainWindow;
    QWidget dialog;
    setMainWindowForDialogs(&mainWindow);
    MessageRequest request;
    request.text = "Vill du verkligen ta bort?";
    request.caption = kProgramCaption;
    request.buttons = MessageButtons::YesNo;
    request.defaultButton = MessageDefault::Second;
    request.icon = MessageIcon::Question;
    request.owner = &dialog;
    answerNextBox(
        [&](QMessageBox& box) {
            EXPECT_EQ(box.parentWidget(), &dialog);
            EXPECT_EQ(box.defaultButton()->text(), "&Nej");
            EXPECT_EQ(box.icon(), QMessageBox::Question);
        },
        "&Ja");
    EXPECT_EQ(showMessageBox(request), AnswerYes);
    answerNextBox([](QMessageBox&) {}, "&Nej");
    EXPECT_EQ(showMessageBox(request), AnswerNo);
}

TEST_F(QtDialogs, BoxWithoutOwnerHasNoParent) {
    QWidget mainWindow;
    setMainWindowForDialogs(&mainWindow);
    MessageRequest request;
    request.text = "Programmet behöver minst 800 * 600";
    request.caption = kProgramCaption;
    request.withoutOwner = true;
    answerNextBox([](QMessageBox& box) { EXPECT_EQ(box.parentWidget(), nullptr); }, "OK");
    EXPECT_EQ(showMessageBox(request), AnswerOk);
}

TEST_F(QtDialogs, SaveDialogStartsInTheFolderWithTheNameAndAddsTheDefaultSuffix) {
    TempDir dir;
    SaveFileRequest request;
    request.caption = "RIVO-IV  Spara textfil";
    request.directory = dir.path().string();
    request.fileName = "Export RIVO-IV";
    request.filter = "Alla filer (*)";
    request.defaultSuffix = "txt";
    QString shownName;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "RIVO-IV  Spara textfil");
        EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(request.directory));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        shownName = dialog->selectedFiles().value(0);
        dialog->selectFile("kopia");
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(askSaveFileName(request), (dir.path() / "kopia.txt").string());
    EXPECT_EQ(shownName, QString::fromStdString((dir.path() / "Export RIVO-IV.txt").string()));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(askSaveFileName(request), "");
}

// The dialog lists files with Swedish type names; afterwards the default locale is as before.
TEST_F(QtDialogs, SaveDialogNamesFileTypesInSwedish) {
    TempDir dir;
    std::ofstream(dir.file("kopia1.txt")) << "text";
    SaveFileRequest request;
    request.directory = dir.path().string();
    request.filter = "Alla filer (*)";
    const QLocale before;
    QString type;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        const QString file = QString::fromStdString(dir.file("kopia1.txt").string());
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->index(file).isValid(); }, 5000));
        type = model->type(model->index(file));
        dialog->close();
    });
    EXPECT_EQ(askSaveFileName(request), "");
    EXPECT_EQ(type, "vanligt textdokument");
    EXPECT_EQ(QLocale(), before);
}

// A box whose owner is not on the screen yet (the main window before the login) stands in the
// middle of the screen, not in its corner.
TEST_F(QtDialogs, BoxOfAHiddenOwnerIsCentredOnTheScreen) {
    QWidget hidden;
    setMainWindowForDialogs(&hidden);
    MessageRequest request;
    request.text = "Ingen databas";
    request.caption = kProgramCaption;
    QPoint centre;
    answerNextBox([&](QMessageBox& box) { centre = box.geometry().center(); }, "OK");
    EXPECT_EQ(showMessageBox(request), AnswerOk);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(centre.x(), screen.center().x(), 2);
    EXPECT_NEAR(centre.y(), screen.center().y(), 2);
}

TEST_F(QtDialogs, PrintDialogSeamHandsThePrinterToTheHandler) {
    QPrinter printer;
    bool asked = false;
    PrintDialogHandler previous = setPrintDialogHandler([&asked](QPrinter& chosen) {
        chosen.setOutputFormat(QPrinter::PdfFormat);
        asked = true;
        return false;
    });
    EXPECT_FALSE(askPrintSettings(printer, nullptr));
    EXPECT_TRUE(asked);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    setPrintDialogHandler(previous);
}

} // namespace
