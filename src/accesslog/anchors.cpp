// SPDX-License-Identifier: Apache-2.0
#include "anchors.h"

#include <cstdio>
#include <ctime>

namespace {

bool isHash(std::string_view text) {
    return text.size() == kChainStart.size() &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The value after "key=" up to the next blank (or, for the register, the line's end).
std::optional<std::string_view> valueOf(std::string_view line, std::string_view key, bool rest) {
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos || (at > 0 && line[at - 1] != ' ')) {
        return std::nullopt;
    }
    std::string_view value = line.substr(at + key.size());
    if (!rest) {
        value = value.substr(0, value.find(' '));
    }
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) {
        value.remove_suffix(1);
    }
    return value;
}

std::int64_t unixSeconds(const std::string& time) {
    std::tm parts{};
    if (std::sscanf(time.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &parts.tm_year, &parts.tm_mon,
                    &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec) != 6) {
        return 0;
    }
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    return timegm(&parts);
}

std::string headText(const AccessLogHead& head) {
    return "rad " + std::to_string(head.seq) + " (hash " + head.hash.substr(0, 16) + "…)";
}

// The restore whose replaced register reached the anchor's number, when there is one.
const AccessLogReset* restoreExplaining(const AccessLogCheck& chain,
                                        const AccessLogAnchor& anchor) {
    for (const AccessLogReset& reset : chain.resets) {
        if (reset.replaced && anchor.head.seq <= reset.replaced->seq &&
            anchor.head.seq >= reset.seq) {
            return &reset;
        }
    }
    return nullptr;
}

void checkOne(const AccessLogCheck& chain, const AccessLogAnchor& anchor, AnchorVerdict& verdict) {
    const auto last = static_cast<std::int32_t>(chain.hashes.size());
    const std::int32_t seq = anchor.head.seq;
    const std::string& expected = seq == 0      ? std::string(kChainStart)
                                  : seq <= last ? chain.hashes[static_cast<std::size_t>(seq - 1)]
                                                : std::string();
    if (seq <= last && expected == anchor.head.hash) {
        ++verdict.confirmed;
        return;
    }
    if (const AccessLogReset* reset = restoreExplaining(chain, anchor)) {
        verdict.notes.push_back("Ankaret " + headText(anchor.head) + " i " + anchor.source +
                                " hör till registret som återställningen på rad " +
                                std::to_string(reset->seq) + " ersatte.");
        return;
    }
    verdict.failures.push_back(
        "Ankaret " + headText(anchor.head) + " i " + anchor.source +
        (seq > last ? " pekar bortom loggens sista rad " + std::to_string(last) +
                          ": rader har tagits bort eller loggen har skrivits om."
                    : " stämmer inte: rad " + std::to_string(seq) +
                          " har en annan hash i registret, så loggen har skrivits om från "
                          "den raden eller tidigare."));
}

// Rows after the complete source's newest anchor were never sent to the system log.
void checkCompleteness(const AccessLogCheck& chain, const AnchorSource& source,
                       const AccessLogAnchor* newest, std::int64_t now, AnchorVerdict& verdict) {
    if (newest == nullptr) {
        verdict.notes.push_back(source.name + " har inga rader om detta register; inga rader "
                                              "har kunnat jämföras med den.");
        return;
    }
    const auto last = static_cast<std::int32_t>(chain.hashes.size());
    for (std::int32_t seq = newest->head.seq + 1; seq <= last; ++seq) {
        const std::string& time = chain.times[static_cast<std::size_t>(seq - 1)];
        const std::int64_t age = now - unixSeconds(time);
        if (age >= -60 && age <= 60) {
            continue; // may be on its way to the system log
        }
        verdict.failures.push_back("Rad " + std::to_string(seq) + " (" + time + ") finns inte i " +
                                   source.name +
                                   ": programmet skickar varje rad dit, så raden har lagts till "
                                   "utanför programmet.");
        return;
    }
}

} // namespace

std::optional<AccessLogAnchor> parseAnchorLine(std::string_view line) {
    const auto seqText = valueOf(line, "rad=", false);
    const auto hash = valueOf(line, "hash=", false);
    if (!seqText || !hash || !isHash(*hash) || seqText->empty() || seqText->size() > 9 ||
        seqText->find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    AccessLogAnchor anchor;
    anchor.head.seq = std::stoi(std::string(*seqText));
    anchor.head.hash = std::string(*hash);
    if (const auto name = valueOf(line, "register=", true)) {
        anchor.registerName = std::string(*name);
    }
    return anchor;
}

AnchorVerdict checkAnchors(const AccessLogCheck& chain, const std::string& registerName,
                           const std::vector<AnchorSource>& sources, std::int64_t now) {
    AnchorVerdict verdict;
    for (const AnchorSource& source : sources) {
        const AccessLogAnchor* newest = nullptr;
        for (const AccessLogAnchor& anchor : source.anchors) {
            if (!anchor.registerName.empty() && anchor.registerName != registerName) {
                continue; // another register's line in a shared system log
            }
            newest = &anchor;
            checkOne(chain, anchor, verdict);
        }
        if (source.complete) {
            checkCompleteness(chain, source, newest, now, verdict);
        }
    }
    return verdict;
}
