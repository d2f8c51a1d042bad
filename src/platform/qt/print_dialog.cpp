// SPDX-License-Identifier: Apache-2.0
#include "print_dialog.h"

#include "qt_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace {

PrintDialogHandler& currentHandler() {
    static PrintDialogHandler handler;
    return handler;
}

// Controls of Qt's print dialog and of its properties dialog that the print job does not act on:
// the report is always printed whole, one page on each sheet. Copies, collation, reverse order,
// paper, orientation and margins stay; the job obeys them.
constexpr const char* kIgnoredControls[] = {
    "gbPrintRange",             // all pages, "Pages from ... to", current page, selection
    "pageSetLabel",             // "Page Set:" all, odd or even pages
    "pageSetCombo",             //
    "pagesPerSheetButtonGroup", // pages per sheet and their order
};

bool isIgnoredControl(const QObject& object) {
    if (!object.isWidgetType() ||
        !static_cast<const QWidget&>(object).window()->inherits("QDialog")) {
        return false;
    }
    for (const char* name : kIgnoredControls) {
        if (object.objectName() == QLatin1String(name)) {
            return true;
        }
    }
    return false;
}

void hideIgnoredControls(QWidget& dialog) {
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (isIgnoredControl(*control)) {
            control->hide();
        }
    }
}

// The file name of "print to file" completes from the folder in a popup list. While that list is
// open it takes Enter for itself, so a name that begins like a file already there ("rapport"
// beside "rapport-1.pdf") needs Enter twice, and the first one seems lost. Without the list Enter
// prints at once; the "..." button still browses the folders.
void dropFileNameCompletion(QWidget& dialog) {
    if (auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))) {
        fileName->setCompleter(nullptr);
    }
}

// The dialogs show these controls again whenever they update themselves (on showing, on
// "Options >>", on another printer), and the properties dialog is made only when its button is
// pressed: each time one of them is shown, it is hidden again before the next paint.
class IgnoredControlsHider : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow() && watched->inherits("QDialog")) {
            hideIgnoredControls(*static_cast<QWidget*>(watched));
            dropFileNameCompletion(*static_cast<QWidget*>(watched));
        }
        if (event->type() == QEvent::ShowToParent && isIgnoredControl(*watched)) {
            QMetaObject::invokeMethod(static_cast<QWidget*>(watched), &QWidget::hide,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void trimPrintDialog(QWidget& dialog) {
    hideIgnoredControls(dialog);
    dropFileNameCompletion(dialog);
}

PrintDialogTrimming::PrintDialogTrimming() : hider_(new IgnoredControlsHider) {
    QCoreApplication::instance()->installEventFilter(hider_);
}

PrintDialogTrimming::~PrintDialogTrimming() {
    delete hider_;
}

bool askPrintSettings(QPrinter& printer, QWidget* owner) {
    if (const PrintDialogHandler& handler = currentHandler()) {
        return handler(printer);
    }
    QPrintDialog dialog(&printer, owner != nullptr ? owner : mainWindowForDialogs());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    const PrintDialogTrimming trimming;
    trimPrintDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler) {
    return std::exchange(currentHandler(), std::move(handler));
}
