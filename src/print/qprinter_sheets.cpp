// SPDX-License-Identifier: Apache-2.0
#include "qprinter_sheets.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <utility>

QPrinterSheets::QPrinterSheets(QPrinter& printer, AbortCheck abortCheck)
    : printer_(printer), abortCheck_(std::move(abortCheck)) {}

QPrinterSheets::~QPrinterSheets() {
    if (painter_.isActive()) {
        abortDocument();
    }
}

bool QPrinterSheets::startDocument() {
    if (!painter_.begin(&printer_)) {
        return false;
    }
    dc_.emplace(painter_, printer_);
    firstSheet_ = true;
    return true;
}

// QPainter::begin has already started the first sheet.
bool QPrinterSheets::startSheet() {
    if (!painter_.isActive()) {
        return false;
    }
    if (!firstSheet_ && !printer_.newPage()) {
        return false;
    }
    firstSheet_ = false;
    return true;
}

// A Qt printer ends a sheet when the next one starts or the document ends.
void QPrinterSheets::endSheet() {}

bool QPrinterSheets::abortCheck() {
    return !abortCheck_ || abortCheck_();
}

bool QPrinterSheets::endDocument() {
    dc_.reset();
    return painter_.end();
}

void QPrinterSheets::abortDocument() {
    printer_.abort();
    dc_.reset();
    if (painter_.isActive()) {
        painter_.end();
    }
    // Only a file this job wrote: never a device or a pipe the output was sent to.
    const QString file = printer_.outputFileName();
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        QFile::remove(file);
    }
}

Dc& QPrinterSheets::measuringDc() {
    if (!measureDc_) {
        measurePainter_.begin(&measureImage_);
        measureDc_.emplace(measurePainter_, true);
    }
    return *measureDc_;
}

DcSize QPrinterSheets::printableArea() const {
    return DcSize{printer_.width(), printer_.height()};
}

int QPrinterSheets::printableBottom() const {
    const QTransform toDevice = painter_.combinedTransform();
    return qRound(toDevice.inverted().map(QPointF(0, printer_.height())).y());
}
