// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "memory_norm_source.h"
#include "test_occasion.h"

#include <functional>

// What the results screen does to the test occasion and to its own choices, apart from its
// windows; the machine-readable report runs the same steps.

// The state every opening starts with: at the top, before the first paint, lines of 10 units,
// the 95 % interval, the total-mean basis and the current-IQ-level basis.
void resetResultsView();

// Opening: the rules the norm tables break and the stored values the forms cannot hold said, the
// age band from the test age and its description, every subgroup of the norm group handed to
// onSubgroup (list 1) in SEKVENS order, then every derived score.
void scoreOpenedOccasion(TestOccasion& occasion,
                         const std::function<void(const char*)>& onSubgroup = {},
                         NormSource& norms = currentNorms());

// Before a print job: when the norm tables were replaced since the occasion was scored, the
// occasion is scored again against the new ones, in the age band it has; the rules the norm
// tables break are said once for the job.
void prepareForPrintJob(TestOccasion& occasion);
