// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "age_bands.h"

// Position 0-12 of ageBand among the bands, compared as exact text; -1 when it is none of them
// (for example the subgroup "Referensgrupp" or an empty text).
int ageBandIndex(const char* ageBand);

// The message for an age band that is none of the 13 bands. The analyses only report that
// condition (they return 0); the results screen and the print job show this text, never a
// painter, since a modal box inside painting re-enters painting.
inline constexpr const char* kAgeBandErrorText =
    "Error 1445 i normgruppselektering. Kontakta programleverantören.";
