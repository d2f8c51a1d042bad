// SPDX-License-Identifier: Apache-2.0
#pragma once

// A fingerprint of the three norm tables: the SHA-256 of their rows in a fixed order (each table
// sorted by its key, every value as text), as 64 hexadecimal digits. Two sets of tables have the
// same fingerprint exactly when they hold the same values, whatever order their rows came in and
// whatever file lines they were read from. It tells the demonstration norms re-imported from an
// exported template apart from norms that differ from them.

#include "norm_tables.h"

#include <string>

std::string normTablesFingerprint(const NormTables& tables);
