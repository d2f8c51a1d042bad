#include "report_pages.h"

ResultsView& resultsView() {
    static ResultsView view;
    return view;
}
