// SPDX-License-Identifier: Apache-2.0
#include "report_pages.h"

ResultsView& resultsView() {
    static ResultsView view;
    return view;
}
