// SPDX-License-Identifier: Apache-2.0
#pragma once

// The print job of "&Skriv ut": asks for the printer with the print dialog, then prints the
// report of the current test occasion on five sheets while a modeless cancel dialog lets the
// user stop it. The results screen stays usable meanwhile (waiting events are handled after each
// page is laid out); a second request while a job runs is ignored. A cancelled job sends nothing
// to the printer.
//
// Cancelling the print dialog prints nothing and says nothing; cancelling the job stops it
// without a message; a document or sheet that cannot be started or finished ends the job with
// one message that printing failed.
void printReportJob();

// The message shown when printing failed.
inline constexpr const char* kPrintFailedMessage =
    "Utskriften misslyckades. Rapporten skrevs inte ut.";
