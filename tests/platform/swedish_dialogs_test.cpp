#include "file_dialog.h"
#include "qt_dialogs.h"
#include "swedish_translations.h"
#include "temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <functional>
#include <string>

namespace {

QStringList buttonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
        for (const QAbstractButton* button : box->buttons()) {
            texts << button->text();
        }
    }
    return texts;
}

QStringList labelTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

// Runs check on the next modal dialog once it is shown, then presses Esc in it.
void inspectThenEscape(std::function<void(QWidget&)> check) {
    QTimer::singleShot(0, [check] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        check(*dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
}

class SwedishDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(installSwedishTranslations()) << "qt_sv.qm (qt6-translations-l10n) is missing";
        installQtDialogHandlers();
    }
    void TearDown() override {
        setSaveFileHandler({});
        removeSwedishTranslations();
    }
};

TEST_F(SwedishDialogs, SaveFileDialogSpeaksSwedishAndEscCancels) {
    TempDir dir;
    SaveFileRequest request;
    request.caption = "RIVO-IV  Spara textfil";
    request.directory = dir.path().string();
    request.fileName = "Export RIVO-IV.txt";
    request.filter = "Textfiler (*.txt)";
    bool checked = false;
    inspectThenEscape([&](QWidget& dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(fileDialog, nullptr);
        EXPECT_TRUE(fileDialog->testOption(QFileDialog::DontUseNativeDialog));
        const QStringList buttons = buttonTexts(dialog);
        EXPECT_TRUE(buttons.contains("&Spara")) << buttons.join('|').toStdString();
        EXPECT_TRUE(buttons.contains("Avbryt")) << buttons.join('|').toStdString();
        const QStringList labels = labelTexts(dialog);
        EXPECT_TRUE(labels.contains("Leta i:")) << labels.join('|').toStdString();
        EXPECT_TRUE(labels.contains("Fil&namn:")) << labels.join('|').toStdString();
        EXPECT_TRUE(labels.contains("Filer av typen:")) << labels.join('|').toStdString();
        QDir().mkpath(RIVO_SCREENSHOT_DIR);
        EXPECT_TRUE(dialog.grab().save(RIVO_SCREENSHOT_DIR "/save_file_dialog.png"));
        checked = true;
    });
    EXPECT_EQ(askSaveFileName(request), "");
    EXPECT_TRUE(checked);
}

TEST_F(SwedishDialogs, PrintDialogAndStandardButtonsSpeakSwedish) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    inspectThenEscape([](QWidget& dialog) {
        const QStringList buttons = buttonTexts(dialog);
        EXPECT_TRUE(buttons.contains("&Skriv ut")) << buttons.join('|').toStdString();
        EXPECT_TRUE(buttons.contains("Avbryt")) << buttons.join('|').toStdString();
        EXPECT_TRUE(labelTexts(dialog).contains("&Namn:"));
        QDir().mkpath(RIVO_SCREENSHOT_DIR);
        EXPECT_TRUE(dialog.grab().save(RIVO_SCREENSHOT_DIR "/print_dialog.png"));
    });
    QPrintDialog dialog(&printer);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    // Buttons that Qt names itself, as in a box with standard buttons only.
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Open |
                           QMessageBox::Close | QMessageBox::Save);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nej");
    EXPECT_EQ(box.button(QMessageBox::Open)->text(), QString::fromUtf8("Öppna"));
    EXPECT_EQ(box.button(QMessageBox::Close)->text(), QString::fromUtf8("Stäng"));
    EXPECT_EQ(box.button(QMessageBox::Save)->text(), "Spara");
}

TEST_F(SwedishDialogs, NumbersKeepTheirDecimalPointAndRemovalRestoresEnglish) {
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%0.2f", 13.03);
    EXPECT_STREQ(formatted, "13.03");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(QLocale(), QLocale::system()); // the default locale is not made Swedish

    removeSwedishTranslations();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    ASSERT_TRUE(installSwedishTranslations());
    EXPECT_TRUE(installSwedishTranslations()); // a second call changes nothing
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Avbryt");
}

} // namespace
