// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"

#include <sodium.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

struct EventText {
    AccessEvent event;
    const char* code;
    const char* name;
};

constexpr EventText kEvents[kAccessEventCount] = {
    {AccessEvent::Login, "login", "Inloggning"},
    {AccessEvent::LoginFailed, "login-failed", "Misslyckad inloggning"},
    {AccessEvent::PasswordChanged, "password-changed", "Lösenord bytt"},
    {AccessEvent::OccasionCreated, "occasion-created", "Nytt test sparat"},
    {AccessEvent::PersonChanged, "person-changed", "Personuppgifter ändrade"},
    {AccessEvent::RawScoresChanged, "raw-scores-changed", "Råpoäng ändrade"},
    {AccessEvent::ResultsViewed, "results-viewed", "Resultat visade"},
    {AccessEvent::Printed, "printed", "Rapport utskriven"},
    {AccessEvent::PdfWritten, "pdf-written", "Rapport som PDF"},
    {AccessEvent::JsonWritten, "json-written", "Resultat som JSON"},
    {AccessEvent::Exported, "exported", "Export"},
    {AccessEvent::Backup, "backup", "Säkerhetskopia"},
    {AccessEvent::PersonDeleted, "person-deleted", "Testperson borttagen"},
    {AccessEvent::UserAdded, "user-added", "Användare tillagd"},
    {AccessEvent::UserRemoved, "user-removed", "Användare borttagen"},
    {AccessEvent::PasswordsRehashed, "passwords-rehashed", "Lösenord omhashade"},
    {AccessEvent::NormsImported, "norms-imported", "Normer inlästa"},
    {AccessEvent::Restored, "restored", "Register återställt"},
    {AccessEvent::HtmlWritten, "html-written", "Rapport som HTML"},
    {AccessEvent::ReportCopied, "report-copied", "Rapport kopierad"},
};

const EventText& textOf(AccessEvent event) {
    return kEvents[static_cast<int>(event)];
}

void appendItem(std::string& encoded, std::string_view item) {
    encoded.append(std::to_string(item.size())).append(":").append(item).append("\n");
}

} // namespace

const char* accessEventCode(AccessEvent event) {
    return textOf(event).code;
}

const char* accessEventName(AccessEvent event) {
    return textOf(event).name;
}

const char* accessEventNameOfCode(std::string_view code) {
    for (const EventText& text : kEvents) {
        if (code == text.code) {
            return text.name;
        }
    }
    return nullptr;
}

std::string accessLogHash(std::string_view previousHash, const AccessLogRow& row) {
    std::string encoded;
    appendItem(encoded, previousHash);
    appendItem(encoded, std::to_string(row.seq));
    appendItem(encoded, row.time);
    appendItem(encoded, row.user);
    appendItem(encoded, row.workstation);
    appendItem(encoded, row.program);
    appendItem(encoded, row.event);
    appendItem(encoded, row.person ? std::to_string(*row.person) : row.storedPerson);
    appendItem(encoded, row.detail);
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(encoded.data()),
                       encoded.size());
    char hex[2 * crypto_hash_sha256_BYTES + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    return hex;
}

std::string accessLogTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(milliseconds));
    return text;
}
