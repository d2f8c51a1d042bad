// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// A printer as the print job sees it: a device context plus the document and sheet calls of a
// printing system, a measuring context, and the abort check. Sheets are drawn one at a time
// between startSheet and endSheet; a document that is not ended is aborted. Implementations: the
// Qt printer (CUPS or PDF file) and, in tests, recording ones.
class SheetPrinter {
  public:
    virtual ~SheetPrinter() = default;

    // Opens the document; false when the printing system refuses (nothing is open then).
    virtual bool startDocument() = 0;
    // Starts the next sheet; false when it cannot be started.
    virtual bool startSheet() = 0;
    virtual void endSheet() = 0;
    // Ends the document and hands it over; false when that failed.
    virtual bool endDocument() = 0;
    // Drops the open document: as little of it as the printing system allows is printed or left
    // behind.
    virtual void abortDocument() = 0;
    // Lets waiting events run (the results screen stays usable); false once the user cancelled.
    virtual bool abortCheck() = 0;

    // The device context of the open document.
    virtual Dc& dc() = 0;
    // A device context that draws nowhere but measures as dc() does: pages are laid out on it
    // first to learn how much room they need.
    virtual Dc& measuringDc() = 0;
    // The printable area of a sheet in device pixels (the width and height that GDI calls
    // HORZRES and VERTRES).
    virtual DcSize printableArea() const = 0;
    // The lower edge of the printable area in the logical units of the current mapping.
    virtual int printableBottom() const = 0;
};
