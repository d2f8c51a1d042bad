// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "norm_source.h"

#include <string>

// The one message about norm tables that break the rules of check-norms, said once for each job
// that scores with them (results opened, a print job, an export, a report run): the number of
// broken rules and each one with its table and row. Empty when the tables keep every rule.
std::string brokenNormRulesMessage(const NormSource& norms);

// Whether text is that message, which concerns the whole job rather than one person.
bool isBrokenNormRulesMessage(const std::string& text);

// Shows the message in a message box, when there is one.
void reportBrokenNormRules(const NormSource& norms);
