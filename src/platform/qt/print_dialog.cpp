#include "print_dialog.h"

#include "qt_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace {

PrintDialogHandler& currentHandler() {
    static PrintDialogHandler handler;
    return handler;
}

} // namespace

bool askPrintSettings(QPrinter& printer, QWidget* owner) {
    if (const PrintDialogHandler& handler = currentHandler()) {
        return handler(printer);
    }
    QPrintDialog dialog(&printer, owner != nullptr ? owner : mainWindowForDialogs());
    // The whole report is printed: no page range, no selection, no current page; every CUPS
    // printer, "print to file", paper size and copies stay.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler) {
    return std::exchange(currentHandler(), std::move(handler));
}
