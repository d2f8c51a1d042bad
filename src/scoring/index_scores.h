// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "norm_source.h"
#include "test_occasion.h"

// Sums the scaled scores into the four indexes, the full scale (HIK) and GAI, with substitution,
// proration and validity, and looks up each one's score, percentile and confidence limits. Every
// index is computed and looked up, valid or not; the VFI to HIK records must be cleared first.
void computeIndexScores(TestOccasion& occasion, NormSource& norms = databaseNorms());

// The subtest that takes the place of a missing core subtest of PFI for this occasion:
// Figurvikter when the test age is under 70 whole years and it was given, else
// Bildkomplettering when it was given, else -1. A RawScore position.
int pfiSubstitute(const TestOccasion& occasion);
