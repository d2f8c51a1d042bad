// SPDX-License-Identifier: Apache-2.0
#include "swedish_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initRivoTranslations() {
    Q_INIT_RESOURCE(rivo_translations);
}

namespace {

struct Translators {
    std::unique_ptr<QTranslator> qt;
    std::unique_ptr<QTranslator> own;
};

Translators& installed() {
    static Translators translators;
    return translators;
}

} // namespace

bool installSwedishTranslations() {
    Translators& translators = installed();
    if (translators.own) {
        return translators.qt != nullptr;
    }
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    auto qt = std::make_unique<QTranslator>();
    const bool qtLoaded =
        qt->load(swedish, "qt", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (qtLoaded) {
        QCoreApplication::installTranslator(qt.get());
        translators.qt = std::move(qt);
    }
    initRivoTranslations();
    // Installed last, so it is asked first: its texts win over Qt's older ones.
    auto own = std::make_unique<QTranslator>();
    if (own->load(":/translations/rivo_qt_sv.qm")) {
        QCoreApplication::installTranslator(own.get());
    }
    translators.own = std::move(own);
    return qtLoaded;
}

void removeSwedishTranslations() {
    Translators& translators = installed();
    if (translators.own) {
        QCoreApplication::removeTranslator(translators.own.get());
    }
    if (translators.qt) {
        QCoreApplication::removeTranslator(translators.qt.get());
    }
    translators.own.reset();
    translators.qt.reset();
}
