// SPDX-License-Identifier: Apache-2.0
#include "print_report_hook.h"

#include <utility>

namespace {

std::function<void()>& printReportHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void printReport() {
    // A copy, so that a print job that installs another handler does not destroy itself.
    const std::function<void()> handler = printReportHandler();
    if (handler) {
        handler();
    }
}

std::function<void()> setPrintReportHandler(std::function<void()> handler) {
    return std::exchange(printReportHandler(), std::move(handler));
}
