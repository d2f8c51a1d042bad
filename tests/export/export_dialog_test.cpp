// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "document_opener.h"
#include "export_dialog.h"
#include "file_dialog.h"
#include "safe_file.h"
#include "scoring_fixture.h"
#include "screen_size.h"
#include "subtest_table.h"
#include "text_table.h"
#include "working_directory.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The access log's newest row (empty when there is none).
AccessLogRow newestLogRow() {
    AccessLogRow newest;
    DoListAccessLog({}, [&newest](const AccessLogRow& row) { newest = row; });
    return newest;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The export dialog, shown, over a database with norm rows for 25-29 år; the save-file dialog
// answers with a path in the test folder and the opening of the file is recorded.
class ExportDialogTest : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '25-29 år', 4, '25-29 år')");
        insertNormRows("25-29 år", evenBounds());
        insertNormRows("Referensgrupp", evenBounds());
        insertIndexRows();
        completeNormTables();
        workingDirectory_ = std::make_unique<WorkingDirectory>(dir_.path());
        path_ = dir_.file("Export RIVO-IV.txt");
        setSaveFileHandler([this](const SaveFileRequest& request) {
            asked_.push_back(request);
            return answer_;
        });
        answer_ = path_.string();
        setDocumentOpener([this](const std::string& path) {
            opened_.push_back(path);
            return true;
        });
        // The program's occasion, as start-up leaves it.
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
        font_ = QFont("Liberation Sans", 10);
        dialog_ = std::make_unique<ExportDialog>(nullptr, font_);
        dialog_->show();
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    }
    void TearDown() override {
        dialog_.reset();
        setSaveFileHandler({});
        setDocumentOpener({});
        ExportDialog::progressDelayMs = 500;
        workingDirectory_.reset();
        ScoringTest::TearDown();
    }

    void addPerson(const char* name) {
        TestOccasion stored{};
        stored.person = samplePerson(name);
        stored.person.TESTDATE = DateValue{2010, 3, 7};
        stored.person.BORNDATE = DateValue{1985, 1, 2};
        EXPECT_EQ(DoInsertPD(stored.person), DB_DONE);
        // Every raw score 10, the spans at their form maxima, the digit-span parts adding up to
        // their total: what the form could store.
        for (int i = 0; i < kRawScoreCount; ++i) {
            const int maximum = kSubtests[i].formMax;
            stored.RawScores[i] = maximum > 0 && maximum < 10 ? maximum : 10;
        }
        splitDigitSpanTotal(stored.RawScores);
        EXPECT_EQ(DoInsertTD(stored), DB_DONE);
    }
    QListWidget* groupList() { return dialog_->findChild<QListWidget*>("groupList_1020"); }
    QPushButton* button(const char* name) { return dialog_->findChild<QPushButton*>(name); }
    void choose(std::initializer_list<int> groups) {
        groupList()->clearSelection();
        for (const int group : groups) {
            groupList()->item(group)->setSelected(true);
        }
    }
    void ok() { QTest::mouseClick(button("okButton_1"), Qt::LeftButton); }

    std::unique_ptr<WorkingDirectory> workingDirectory_;
    std::filesystem::path path_;
    std::string answer_;
    std::vector<SaveFileRequest> asked_;
    std::vector<std::string> opened_;
    QFont font_;
    std::unique_ptr<ExportDialog> dialog_;
};

TEST_F(ExportDialogTest, OpensWithItsTextsGroupsAndPlaces) {
    EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("RIVO-IV  Exportera data"));
    EXPECT_EQ(dialog_->size(), QSize(500, 280));
    const ScreenSize screen = screenSize();
    EXPECT_EQ(dialog_->pos(), QPoint((screen.width - 500) / 2, (screen.height - 280) / 2));
    auto* prompt = dialog_->findChild<QLabel*>("promptLabel_1009");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), QString::fromStdString(text(150)));
    EXPECT_EQ(prompt->geometry(), QRect(10, 10, 470, 80));
    EXPECT_EQ(groupList()->geometry(), QRect(10, 90, 470, 90));
    EXPECT_EQ(groupList()->selectionMode(), QAbstractItemView::ExtendedSelection);
    ASSERT_EQ(groupList()->count(), 4);
    for (int group = 0; group < 4; ++group) {
        EXPECT_EQ(groupList()->item(group)->text(),
                  QString::fromStdString(text(static_cast<unsigned short>(640 + group))));
        EXPECT_EQ(groupList()->item(group)->isSelected(), group == 0);
    }
    EXPECT_EQ(button("okButton_1")->geometry(), QRect(10, 200, 100, 40));
    EXPECT_EQ(button("cancelButton_2")->geometry(), QRect(130, 200, 100, 40));
    EXPECT_EQ(button("okButton_1")->font(), font_);
    EXPECT_EQ(groupList()->font(), font_);
    EXPECT_EQ(QApplication::focusWidget(), groupList());
}

TEST_F(ExportDialogTest, OnlyGroupThreeWritesItsHeaderAndOpensTheFile) {
    addPerson("Ett");
    choose({3});
    ok();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].fileName, "Export RIVO-IV");
    EXPECT_EQ(asked_[0].defaultSuffix, "txt");
    EXPECT_EQ(asked_[0].caption, "RIVO-IV  Spara textfil");
    EXPECT_EQ(asked_[0].directory, std::filesystem::current_path().string());
    EXPECT_EQ(asked_[0].owner, dialog_.get());
    const std::string bytes = readBytes(path_);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")),
              "NID\tNORMGRP\tSS_HIK\tSS_GAI\tSS_VFI\tSS_PFI\tSS_AI\tSS_SI\tI_HIK\tI_GAI\tI_VFI\t"
              "I_PFI\tI_AI\tI_SI\t");
    EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2, 11), "1\t25-29 \xE5r\t");
    EXPECT_EQ(opened_, std::vector<std::string>{path_.string()});
    EXPECT_EQ(dialog_->lastResult(), ExportResult::Written);
    const AccessLogRow logged = newestLogRow();
    EXPECT_EQ(logged.event, "exported");
    EXPECT_EQ(logged.person, std::nullopt);
    EXPECT_NE(logged.detail.find("1 testperson"), std::string::npos) << logged.detail;
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_TRUE(messages_.texts().empty());
}

// The desktop's opener cannot be started (none on the PATH): the user is told where the file is.
TEST_F(ExportDialogTest, WithoutAViewerTheMessageSaysWhereTheFileIs) {
    addPerson("Ett");
    setDocumentOpener({});
    const std::filesystem::path empty = dir_.path() / "inga-program";
    std::filesystem::create_directory(empty);
    ScopedEnvironment noPrograms("PATH", empty.string());
    choose({3});
    ok();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !messages_.texts().empty(); }, 5000));
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{noViewerMessage(path_.string())});
    EXPECT_NE(messages_.texts().front().find(path_.string()), std::string::npos);
    EXPECT_EQ(dialog_->lastResult(), ExportResult::Written);
    EXPECT_TRUE(std::filesystem::exists(path_));
}

// Norm tables that break a rule: one box for the whole export names the rule, the table and the
// row, however many persons it holds, and the file is still written and opened.
TEST_F(ExportDialogTest, BrokenNormRulesAreSaidInOneBoxForTheWholeExport) {
    for (const char* name : {"Ett", "Två", "Tre"}) {
        addPerson(name);
    }
    exec("UPDATE INDEX_NORMER SET PERC = 250 WHERE \"INDEX\" = 'SI' AND SKAL = 10");
    choose({0, 1, 2, 3});
    ok();
    const std::vector<std::string> said = messages_.texts();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("INDEX_NORMER (Standardgrupp, SI, 10): PERC 250 ligger utanför 0-100"),
              std::string::npos)
        << said[0];
    EXPECT_EQ(dialog_->lastResult(), ExportResult::Written);
    EXPECT_EQ(opened_, std::vector<std::string>{path_.string()});
}

TEST_F(ExportDialogTest, NoGroupGivesTheMessageAndAnEmptyFileThatIsNotOpened) {
    addPerson("Ett");
    choose({});
    ok();
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{text(38)});
    ASSERT_TRUE(std::filesystem::exists(path_));
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
    EXPECT_TRUE(opened_.empty());
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(ExportDialogTest, DatabaseErrorIsNeverReportedAsSuccess) {
    addPerson("Ett");
    execAsOwner("DROP TABLE INDEX_NORMER");
    choose({3});
    ok();
    EXPECT_EQ(dialog_->lastResult(), ExportResult::ReadFailed);
    EXPECT_TRUE(opened_.empty());
    ASSERT_FALSE(messages_.texts().empty());
    EXPECT_NE(messages_.texts().front().find("INDEX_NORMER"), std::string::npos);
    EXPECT_EQ(messages_.texts().back(), kExportIncomplete);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(ExportDialogTest, CancelledSaveDialogWritesNothing) {
    answer_.clear();
    ok();
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(path_));
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(ExportDialogTest, FileThatCannotBeCreatedKeepsTheDialogOpen) {
    answer_ = (dir_.path() / "saknas" / "export.txt").string();
    ok();
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_TRUE(messages_.texts()[0].starts_with(
        "Fel vid skrivning av fil (code 1829)\nFel vid skrivning av " + answer_))
        << messages_.texts()[0];
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(opened_.empty());
    // Another name then works.
    messages_.clear();
    answer_ = path_.string();
    ok();
    EXPECT_EQ(opened_, std::vector<std::string>{path_.string()});
}

TEST_F(ExportDialogTest, CancellingTheProgressKeepsTheEarlierFileAndLeavesNoPartialOne) {
    for (const char* name : {"Ett", "Två", "Tre", "Fyra"}) {
        addPerson(name);
    }
    std::ofstream(path_, std::ios::binary) << "en tidigare export\r\n";
    ExportDialog::progressDelayMs = 0;
    bool progressSeen = false;
    QTimer canceller;
    canceller.setInterval(0);
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        auto* progress = dialog_->findChild<QProgressDialog*>("exportProgress");
        if (progress != nullptr && progress->isVisible()) {
            progressSeen = true;
            EXPECT_EQ(progress->windowTitle(), QString::fromUtf8("RIVO-IV  Exportera data"));
            progress->cancel();
            canceller.stop();
        }
    });
    canceller.start();
    choose({0, 1, 2, 3});
    ok();
    EXPECT_TRUE(progressSeen);
    EXPECT_EQ(dialog_->lastResult(), ExportResult::Cancelled);
    EXPECT_EQ(readBytes(path_), "en tidigare export\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path())) {
        EXPECT_EQ(entry.path().filename().string().find(kTemporaryMarker), std::string::npos);
    }
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kExportCancelled});
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(dialog_->findChild<QProgressDialog*>("exportProgress"), nullptr);
}

TEST_F(ExportDialogTest, ShortExportShowsNoProgress) {
    addPerson("Ett");
    bool progressSeen = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        progressSeen = progressSeen || dialog_->findChild<QProgressDialog*>() != nullptr;
    });
    watcher.start();
    ok();
    EXPECT_FALSE(progressSeen);
    EXPECT_EQ(dialog_->lastResult(), ExportResult::Written);
}

TEST_F(ExportDialogTest, KeyboardTabEnterAndEscape) {
    addPerson("Ett");
    QWidget* list = groupList();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("okButton_1"));
    QTest::keyClick(button("okButton_1"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("cancelButton_2"));
    QTest::keyClick(button("cancelButton_2"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list);

    // Shift+Down adds the next group; Enter in the list is OK.
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_EQ(readBytes(path_).substr(0, 8), "NID\tNAMN");
    EXPECT_NE(readBytes(path_).find("\tBl\t"), std::string::npos);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);

    // Enter on a focused Cancel cancels, as does Esc anywhere.
    dialog_->show();
    button("cancelButton_2")->setFocus();
    QTest::keyClick(button("cancelButton_2"), Qt::Key_Return);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    dialog_->show();
    button("okButton_1")->setFocus();
    QTest::keyClick(button("okButton_1"), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(ExportDialogTest, Screenshot) {
    choose({0, 2});
    const QDir folder(RIVO_SCREENSHOT_DIR);
    folder.mkpath(".");
    EXPECT_TRUE(dialog_->grab().save(folder.filePath("export_dialog.png"), "PNG"));
}

} // namespace
