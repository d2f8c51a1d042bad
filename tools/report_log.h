// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_command.h"

// Logs, before anything of the person is written, one row per output of the request for the
// person: pdf-written, html-written or json-written with the file. false when a row could not be
// written; the refusal has been shown and nothing of the person may be written.
bool logReportOutputs(const ReportRequest& request, int id);

// The same for every stored person at once, in one transaction, before a run over all persons
// starts: the log's writes would otherwise end the statement that streams the persons. A stored
// ID that is no ID of the program (stored_id.h) refuses the run before any row is logged: false,
// with a message naming each such ID.
bool logReportOutputsForEveryone(const ReportRequest& request);
