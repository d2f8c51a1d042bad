// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>

class QObject;
class QPrinter;
class QWidget;

// The one way the program asks which printer to use. By default a QPrintDialog; tests install a
// handler that sets the printer up (for example to print into a PDF file) and answers.
using PrintDialogHandler = std::function<bool(QPrinter&)>;

// True when the user chose to print; the printer is then set up as chosen. The dialog offers
// only what the print job does: no page range, no odd or even pages, one page per sheet.
bool askPrintSettings(QPrinter& printer, QWidget* owner);

// Hides the controls of a print dialog (or its properties dialog) that the job does not act on,
// and takes the completion list off its file name, so that Enter there prints at once.
void trimPrintDialog(QWidget& dialog);

// While it lives, those controls are hidden again whenever a print dialog or its properties
// dialog shows them.
class PrintDialogTrimming {
  public:
    PrintDialogTrimming();
    ~PrintDialogTrimming();
    PrintDialogTrimming(const PrintDialogTrimming&) = delete;
    PrintDialogTrimming& operator=(const PrintDialogTrimming&) = delete;

  private:
    QObject* hider_;
};

// Installs a handler and returns the previous one (an empty handler restores the real dialog).
PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler);
