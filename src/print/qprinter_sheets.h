#pragma once

#include "qpainter_dc.h"
#include "sheet_printer.h"

#include <QImage>
#include <QPainter>

#include <functional>
#include <optional>

class QPrinter;

// The report's sheets on a QPrinter: a CUPS queue or a PDF file. The document is begun with the
// painter and each further sheet with newPage; the abort check runs after every sheet.
//
// Qt's PDF and CUPS engines cannot abort a document. Aborting here therefore stops at once (no
// further sheet is started) and removes the output file when the printer writes to one; on a
// CUPS queue the sheets already drawn are handed over when the painter ends.
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
    bool cancelled() const override { return cancelled_; }

    Dc& dc() override { return *dc_; }
    Dc& measuringDc() override;
    DcSize printableArea() const override;
    int printableBottom() const override;

  private:
    QPrinter& printer_;
    AbortCheck abortCheck_;
    QPainter painter_;
    std::optional<QPainterDc> dc_;
    // Measuring: the same fonts on a one-pixel image (text metrics do not depend on the device).
    QImage measureImage_{1, 1, QImage::Format_RGB32};
    QPainter measurePainter_;
    std::optional<QPainterDc> measureDc_;
    bool firstSheet_ = true;
    bool cancelled_ = false;
};
