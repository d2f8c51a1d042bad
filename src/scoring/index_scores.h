#pragma once

#include "norm_source.h"
#include "test_occasion.h"

// Sums the scaled scores into the four indexes, the full scale (HIK) and GAI, with substitution,
// proration and validity, and looks up each one's score, percentile and confidence limits. Every
// index is computed and looked up, valid or not; the VFI to HIK records must be cleared first.
void computeIndexScores(TestOccasion& occasion, NormSource& norms = databaseNorms());
