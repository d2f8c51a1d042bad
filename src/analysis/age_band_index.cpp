// SPDX-License-Identifier: Apache-2.0
#include "age_band_index.h"

#include <cstring>

int ageBandIndex(const char* ageBand) {
    for (int i = 0; i < kAgeBandCount; ++i) {
        // Reads ageBand no further than the band's own length and terminator.
        if (std::strncmp(ageBand, kAgeBands[i], std::strlen(kAgeBands[i]) + 1) == 0) {
            return i;
        }
    }
    return -1;
}
