// SPDX-License-Identifier: Apache-2.0
#include "document_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <utility>

namespace {

DocumentOpener& currentOpener() {
    static DocumentOpener opener;
    return opener;
}

} // namespace

void openDocument(const std::string& path) {
    if (const DocumentOpener& opener = currentOpener()) {
        opener(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

DocumentOpener setDocumentOpener(DocumentOpener opener) {
    return std::exchange(currentOpener(), std::move(opener));
}
