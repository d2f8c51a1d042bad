// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "qpainter_dc.h"
#include "sheet_printer.h"

#include <QImage>
#include <QPainter>

#include <functional>
#include <optional>

class QPrinter;

// The report's sheets on a QPrinter: a CUPS queue or a PDF file. The document is begun with the
// painter and each further sheet with newPage. Measuring happens on a one-pixel image with the
// same fonts (text metrics do not depend on the device).
//
// Qt's PDF and CUPS engines cannot abort a document once begun: aborting ends it and removes the
// output file when the printer writes to one; a CUPS queue receives what was drawn. The user's
// cancel therefore comes before the document (see printReportSheets).
class QPrinterSheets : public SheetPrinter {
  public:
    // Returns true to go on, false when the user cancelled.
    using AbortCheck = std::function<bool()>;

    explicit QPrinterSheets(QPrinter& printer, AbortCheck abortCheck = {});
    ~QPrinterSheets() override;
    QPrinterSheets(const QPrinterSheets&) = delete;
    QPrinterSheets& operator=(const QPrinterSheets&) = delete;

    bool startDocument() override;
    bool startSheet() override;
    void endSheet() override;
    bool endDocument() override;
    void abortDocument() override;
    bool abortCheck() override;

    Dc& dc() override { return *dc_; }
    Dc& measuringDc() override;
    DcSize printableArea() const override;
    int printableBottom() const override;

  private:
    QPrinter& printer_;
    AbortCheck abortCheck_;
    QPainter painter_;
    std::optional<QPainterDc> dc_;
    QImage measureImage_{1, 1, QImage::Format_RGB32};
    QPainter measurePainter_;
    std::optional<QPainterDc> measureDc_;
    bool firstSheet_ = true;
};
