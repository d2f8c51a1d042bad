// SPDX-License-Identifier: Apache-2.0
#include "report_json.h"
#include "stored_results_screen.h"
#include "text_table.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

// The results screen read over the real accessibility bus, as a screen reader on the desktop
// reads it: the program answers on the bus while a reader in another process walks its tree.
// Runs under run-on-x-display and run-with-accessibility-bus.

namespace {

constexpr int kReaderSeconds = 60;

class ReportOnTheBus : public StoredResultsScreen {};

TEST_F(ReportOnTheBus, AReaderFindsTheFullScaleIqInTheIndexTable) {
    ASSERT_EQ(qgetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), "1")
        << "run through tests/support/run-with-accessibility-bus";
    const QJsonObject json = occasionReportJson({});
    const QJsonObject fullScale = json["indexTable"]["rows"].toArray().at(HIK).toObject();
    const QString expected = fullScale["IK"].toString();
    ASSERT_NE(expected, "-") << "the stored person has a full-scale IQ";

    // The reader gets a folder, runtime and settings of its own.
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const std::filesystem::path home = dir_.file("reader");
    std::filesystem::create_directories(home / "runtime");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((home / "runtime").string()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    environment.insert("HOME", QString::fromStdString(home.string()));
    reader.setProcessEnvironment(environment);
    reader.setWorkingDirectory(QString::fromStdString(home.string()));
    reader.start("/usr/bin/python3",
                 {RIVO_READ_TABLE_CELL, QString::number(QCoreApplication::applicationPid()),
                  QString::fromStdString(text(55)), QString::fromStdString(text(252)),
                  QString::fromStdString(text(225)), QString::number(kReaderSeconds)});
    ASSERT_TRUE(reader.waitForStarted(10000)) << reader.errorString().toStdString();

    // The program answers the reader's questions from its event loop, so it keeps turning while
    // the reader works; the reader gives up by itself after its own time.
    const QDeadlineTimer deadline((kReaderSeconds + 30) * 1000);
    while (reader.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        reader.waitForFinished(10);
    }
    if (reader.state() != QProcess::NotRunning) {
        reader.kill();
        reader.waitForFinished(5000);
        FAIL() << "the reader did not finish";
    }
    const QString error = QString::fromUtf8(reader.readAllStandardError());
    EXPECT_EQ(reader.exitCode(), 0) << error.toStdString();
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed().toStdString(),
              expected.toStdString())
        << error.toStdString();
}

} // namespace
