// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "norm_tables.h"

// The synthetic demonstration norms as the rows of the three norm tables, in the norm group the
// program reads.
NormTables demoNormTables();
