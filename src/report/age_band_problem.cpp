#include "age_band_index.h"
#include "message_box.h"
#include "report_pages.h"
#include "test_occasion.h"

int reportAgeBandProblem() {
    if (ageBandIndex(testOccasion().ageBand) >= 0) {
        return 1;
    }
    showMessage(kAgeBandErrorText);
    return 0;
}
