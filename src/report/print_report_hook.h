// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>

// The seam between the results screen's "&Skriv ut" and the print job: the print job installs
// itself here, and the screen (and anything else that prints the report) calls printReport().

// Runs the installed print job. Without one nothing happens.
void printReport();

// Installs the print job that printReport runs and returns the one installed before (empty when
// none). An empty handler removes it.
std::function<void()> setPrintReportHandler(std::function<void()> handler);
