#include "age_band.h"

#include "message_box.h"

#include <cstring>

const char* const kAgeBands[kAgeBandCount] = {
    "16-17 år", "18-19 år", "20-24 år", "25-29 år", "30-34 år", "35-44 år", "45-54 år",
    "55-64 år", "65-69 år", "70-74 år", "75-79 år", "80-84 år", "85-90 år",
};

int ageBandIndex(const char* ageBand) {
    for (int i = 0; i < kAgeBandCount; ++i) {
        // Reads ageBand no further than the band's own length and terminator.
        if (std::strncmp(ageBand, kAgeBands[i], std::strlen(kAgeBands[i]) + 1) == 0) {
            return i;
        }
    }
    return -1;
}

void showAgeBandError() {
    showMessage(kAgeBandErrorText);
}
