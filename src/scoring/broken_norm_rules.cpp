// SPDX-License-Identifier: Apache-2.0
#include "broken_norm_rules.h"

#include "message_box.h"

namespace {

constexpr const char* kLead = "Normtabellerna i databasen bryter mot ";
// A box taller than the screen helps no one; check-norms lists them all.
constexpr std::size_t kMostNamed = 20;

} // namespace

std::string brokenNormRulesMessage(const NormSource& norms) {
    const std::vector<std::string>& broken = norms.brokenRules();
    if (broken.empty()) {
        return {};
    }
    std::string text = kLead + std::to_string(broken.size()) +
                       (broken.size() == 1 ? " regel" : " regler") +
                       ", och poäng som räknas med dem kan bli fel:";
    for (std::size_t i = 0; i < broken.size() && i < kMostNamed; ++i) {
        text += "\n" + broken[i];
    }
    if (broken.size() > kMostNamed) {
        text += "\n… och " + std::to_string(broken.size() - kMostNamed) +
                " till, som rivo-admin check-norms visar.";
    }
    return text + "\nLäs in rättade normtabeller med rivo-admin import-norms.";
}

bool isBrokenNormRulesMessage(const std::string& text) {
    return text.starts_with(kLead);
}

void reportBrokenNormRules(const NormSource& norms) {
    if (const std::string text = brokenNormRulesMessage(norms); !text.empty()) {
        showMessage(text);
    }
}
