#pragma once

#include "age_bands.h"

// Position 0-12 of ageBand among the bands, compared as exact text; -1 when it is none of them
// (for example the subgroup "Referensgrupp" or an empty text).
int ageBandIndex(const char* ageBand);

// The message box shown when the age band of the test occasion is none of the 13 bands.
void showAgeBandError();

inline constexpr const char* kAgeBandErrorText =
    "Error 1445 i normgruppselektering. Kontakta programleverantören.";
