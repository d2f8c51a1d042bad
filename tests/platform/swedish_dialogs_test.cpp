// SPDX-License-Identifier: Apache-2.0
#include "file_dialog.h"
#include "print_dialog.h"
#include "qt_dialogs.h"
#include "swedish_translations.h"
#include "temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <functional>
#include <set>
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

// Every text a user can see in a window: its title, labels, buttons, group titles, tabs and the
// entries of drop-down lists. Printer names and paper names ("A4", "JIS B5", "Letter") are names,
// not words to translate.
void collectVisibleTexts(QWidget& window, std::set<QString>& texts) {
    texts.insert(window.windowTitle());
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            texts.insert(label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            texts.insert(button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            texts.insert(group->title());
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                texts.insert(tabs->tabText(i));
            }
        } else if (auto* box = qobject_cast<QComboBox*>(widget);
                   box != nullptr && box->objectName() != "pageSizeCombo") {
            for (int i = 0; i < box->count(); ++i) {
                if (!printers.contains(box->itemText(i))) {
                    texts.insert(box->itemText(i));
                }
            }
        }
    }
}

// A window and each page of its tabs in turn, as the user leafs through them.
void collectTextsOfEveryTab(QWidget& window, std::set<QString>& texts) {
    collectVisibleTexts(window, texts);
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->isTabVisible(i)) {
                tabs->setCurrentIndex(i);
                QApplication::processEvents();
                collectVisibleTexts(window, texts);
            }
        }
    }
}

QWidget* shownWindowOfClass(const char* className) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits(className)) {
            return widget;
        }
    }
    return nullptr;
}

// Opens the program's print dialog, with its options shown, then its properties dialog, collects
// what both show and closes them. Screenshots are taken when a prefix is given.
std::set<QString> printDialogTexts(const char* screenshotPrefix) {
    std::set<QString> texts;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = shownWindowOfClass("QPrintDialog");
        ASSERT_NE(dialog, nullptr);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text().endsWith(">>")) {
                button->click(); // "&Options >>"
            }
        }
        QApplication::processEvents();
        collectTextsOfEveryTab(*dialog, texts);
        if (screenshotPrefix != nullptr) {
            QDir().mkpath(RIVO_SCREENSHOT_DIR);
            EXPECT_TRUE(
                dialog->grab().save(QString(RIVO_SCREENSHOT_DIR "/%1.png").arg(screenshotPrefix)));
        }
        QTimer::singleShot(0, [&, dialog] {
            QWidget* properties = shownWindowOfClass("QPrintPropertiesDialog");
            EXPECT_NE(properties, nullptr);
            if (properties != nullptr) {
                EXPECT_EQ(properties->findChild<QWidget*>("pagesPerSheetButtonGroup")
                              ->isVisibleTo(properties),
                          false);
                collectTextsOfEveryTab(*properties, texts);
                if (screenshotPrefix != nullptr) {
                    auto* tabs = properties->findChild<QTabWidget*>();
                    tabs->setCurrentIndex(0);
                    EXPECT_TRUE(properties->grab().save(
                        QString(RIVO_SCREENSHOT_DIR "/%1_properties.png").arg(screenshotPrefix)));
                }
                QTest::keyClick(properties, Qt::Key_Escape);
            }
            QTimer::singleShot(0, [dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
        });
        dialog->findChild<QPushButton*>("properties")->click();
    });
    QPrinter printer;
    EXPECT_FALSE(askPrintSettings(printer, nullptr));
    return texts;
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

// Every text of the print dialog, its properties dialog and the page settings in it is Swedish:
// none but a few international names stays as it is without the translations.
TEST_F(SwedishDialogs, PrintDialogAndItsPropertiesHaveNoEnglishLeft) {
    removeSwedishTranslations();
    const std::set<QString> english = printDialogTexts(nullptr);
    ASSERT_TRUE(installSwedishTranslations());
    const std::set<QString> swedish = printDialogTexts("print_dialog_options");
    ASSERT_TRUE(english.count("Printer Properties") == 1 && english.count("Paper") == 1)
        << "the properties dialog was not reached";
    const std::set<QString> names = {"OK", "Standard", "Cicero (CC)", "Didot (DD)",
                                     QString::fromUtf8("Pica (P\u0338)")};
    QStringList untranslated;
    for (const QString& text : swedish) {
        const bool hasLetter =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
        if (hasLetter && english.count(text) == 1 && names.count(text) == 0) {
            untranslated << text;
        }
    }
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(" | ").toStdString();
    // What the print job does not do is not offered.
    for (const QString& hidden : {QString("Pages from"), QString("Page Set:"),
                                  QString("Pages per sheet:"), QString::fromUtf8("Sidor från")}) {
        EXPECT_EQ(english.count(hidden) + swedish.count(hidden), 0u) << hidden.toStdString();
    }
}

} // namespace
