// SPDX-License-Identifier: Apache-2.0
#include "document_opener.h"

#include <QProcess>
#include <QString>
#include <QTimer>

#include <utility>

namespace {

DocumentOpener& currentOpener() {
    static DocumentOpener opener;
    return opener;
}

// The opener runs on its own; it is not ended with the program, since it may have become the
// viewer itself, so the process object is deleted only when the opener has finished.
void startDesktopOpener(const std::string& path, std::function<void()> whenNoViewer) {
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({QString::fromStdString(path)});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    auto failed = std::make_shared<std::function<void()>>(std::move(whenNoViewer));
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, failed](int exitCode, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || exitCode != 0) && *failed) {
                             (*failed)();
                         }
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) {
                             return;
                         }
                         if (*failed) {
                             (*failed)();
                         }
                         opener->deleteLater();
                     });
    opener->start();
}

} // namespace

void openDocument(const std::string& path, std::function<void()> whenNoViewer) {
    if (const DocumentOpener& opener = currentOpener()) {
        if (!opener(path) && whenNoViewer) {
            QTimer::singleShot(0, std::move(whenNoViewer));
        }
        return;
    }
    startDesktopOpener(path, std::move(whenNoViewer));
}

DocumentOpener setDocumentOpener(DocumentOpener opener) {
    return std::exchange(currentOpener(), std::move(opener));
}
