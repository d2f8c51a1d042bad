#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The one way the program asks which printer to use. By default a QPrintDialog; tests install a
// handler that sets the printer up (for example to print into a PDF file) and answers.
using PrintDialogHandler = std::function<bool(QPrinter&)>;

// True when the user chose to print; the printer is then set up as chosen.
bool askPrintSettings(QPrinter& printer, QWidget* owner);

// Installs a handler and returns the previous one (an empty handler restores the real dialog).
PrintDialogHandler setPrintDialogHandler(PrintDialogHandler handler);
