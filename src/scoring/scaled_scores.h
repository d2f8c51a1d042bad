// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "norm_source.h"
#include "test_occasion.h"

#include <span>

// The scaled score (1-19) that a raw score earns under a norm row S1..S19; 0 when the raw
// score is NOT_ADMINISTERED or the row has no norms (S18 = -9).
int scaledScoreFor(int raw, std::span<const std::int32_t, kSubscaleCount> S);

// Converts every raw score against the age band (ScaledScores) and against the reference group
// (ReferenceScaledScores), then computes the index scores. A missing norm row is reported with a
// message and gives the scaled score 0; the computation always completes. Without an age band
// (empty ageBand: the person has no test age) nothing is looked up and every score is 0.
void computeScaledScores(TestOccasion& occasion, NormSource& norms = databaseNorms());
