// SPDX-License-Identifier: Apache-2.0
#include "log_command.h"

#include "access_log.h"
#include "anchors.h"
#include "backup_encryption.h"
#include "command_usage.h"
#include "db.h"
#include "exit_status.h"
#include "log_formats.h"
#include "log_sink.h"
#include "passphrase_input.h"
#include "schema.h"
#include "stored_id.h"
#include "swedish_count.h"
#include "transaction.h"
#include "working_database.h"
#include "workstation_role.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

namespace {

bool validDate(const std::string& text) {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    char end = '\0';
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &year, &month, &day, &end) != 3) {
        return false;
    }
    return std::chrono::year_month_day(std::chrono::year(year), std::chrono::month(month),
                                       std::chrono::day(day))
        .ok();
}

struct LogRequest {
    AccessLogFilter filter;
    std::string json;
    std::string csv;
};

bool parseLogRequest(const std::vector<std::string>& args, LogRequest& request,
                     std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        constexpr const char* kOptions[] = {"--person", "--user", "--from",
                                            "--to",     "--json", "--csv"};
        if (std::find(std::begin(kOptions), std::end(kOptions), option) == std::end(kOptions)) {
            error = "Okänt argument: " + option;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = "Värde saknas efter " + option + ".";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--person") {
            error = personIdArgumentProblem(option, value);
            if (!error.empty()) {
                return false;
            }
            std::int32_t id = 0;
            std::from_chars(value.data(), value.data() + value.size(), id);
            request.filter.person = id;
        } else if (option == "--user") {
            request.filter.user = value;
        } else if (option == "--from" || option == "--to") {
            if (!validDate(value)) {
                error = option + " tar ett datum ÅÅÅÅ-MM-DD: " + value;
                return false;
            }
            (option == "--from" ? request.filter.from : request.filter.to) = value;
        } else if (option == "--json" || option == "--csv") {
            (option == "--json" ? request.json : request.csv) = value;
        } else {
            error = "Okänt argument: " + option;
            return false;
        }
        if (value.empty()) {
            error = "Tomt värde efter " + option + ".";
            return false;
        }
    }
    if (!request.json.empty() && request.json == request.csv) {
        error = "--json och --csv kan inte skriva till samma fil.";
        return false;
    }
    return true;
}

int listLog(const LogRequest& request) {
    std::vector<std::unique_ptr<LogSink>> sinks;
    std::vector<std::string> headers;
    if (!request.json.empty()) {
        sinks.push_back(std::make_unique<LogSink>(request.json, accessLogJsonLine));
        headers.emplace_back();
    }
    if (!request.csv.empty()) {
        sinks.push_back(std::make_unique<LogSink>(request.csv, accessLogCsvLine));
        headers.push_back(accessLogCsvHeader());
    }
    if (sinks.empty()) {
        sinks.push_back(std::make_unique<LogSink>("-", accessLogTableLine));
        headers.push_back(accessLogTableHeader());
    }
    std::string error;
    for (std::size_t i = 0; i < sinks.size(); ++i) {
        if (!sinks[i]->open(headers[i], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitFailed;
        }
    }
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    bool written = true;
    const DbResult listed = DoListAccessLog(request.filter, [&](const AccessLogRow& row) {
        for (const std::unique_ptr<LogSink>& sink : sinks) {
            written = sink->row(row) && written;
        }
    });
    DoDisconnect();
    if (listed != DB_DONE) {
        std::fprintf(stderr, "Åtkomstloggen kunde inte läsas; ingen fil har skrivits.\n");
        return kExitFailed;
    }
    for (const std::unique_ptr<LogSink>& sink : sinks) {
        if (!written || !sink->commit(error)) {
            std::fprintf(stderr, "%s\n", error.empty() ? "Fel vid skrivning." : error.c_str());
            return kExitFailed;
        }
    }
    return kExitClean;
}

struct VerifyRequest {
    std::vector<std::string> anchors; // files of heads or folders of copies
    std::vector<std::string> syslogs; // files of the system log's lines
    bool journal = false;
    std::string passphraseFile;
};

bool parseVerifyRequest(const std::vector<std::string>& args, VerifyRequest& request,
                        std::string& error) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--journal") {
            request.journal = true;
            continue;
        }
        if (option != "--anchors" && option != "--syslog" && option != "--passphrase-file") {
            error = "Okänt argument: " + option;
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = "Värde saknas efter " + option + ".";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--anchors") {
            request.anchors.push_back(value);
        } else if (option == "--syslog") {
            request.syslogs.push_back(value);
        } else {
            request.passphraseFile = value;
        }
    }
    return true;
}

// Reads every source asked for, before the register: an anchor newer than the rows read would
// look like rows taken away. Sources that cannot be read are said in warnings.
std::vector<AnchorSource> readSources(const VerifyRequest& request,
                                      std::vector<std::string>& warnings) {
    SecretBuffer passphrase;
    std::string error;
    const bool havePassphrase = !request.passphraseFile.empty() &&
                                (readPassphraseFile(request.passphraseFile, passphrase, error) ||
                                 (warnings.push_back(error), false));
    CopyDecrypter decrypter{isEncryptedBackup, [&](int fd, std::string& plain, std::string& why) {
                                if (!havePassphrase) {
                                    why = "den är krypterad; ange --passphrase-file";
                                    return false;
                                }
                                std::int64_t made = 0;
                                return decryptBackup(
                                    fd,
                                    [&](std::string_view bytes) {
                                        plain.append(bytes);
                                        return true;
                                    },
                                    passphrase.view(), made, why);
                            }};
    std::vector<AnchorSource> sources;
    for (const std::string& path : request.anchors) {
        AnchorSource source;
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored)) {
            std::vector<std::string> errors;
            readBackupAnchors(path, decrypter, source, errors);
            warnings.insert(warnings.end(), errors.begin(), errors.end());
        } else if (!readAnchorFile(path, false, source, error)) {
            warnings.push_back(error);
            continue;
        }
        sources.push_back(std::move(source));
    }
    for (const std::string& path : request.syslogs) {
        AnchorSource source;
        if (readAnchorFile(path, true, source, error)) {
            sources.push_back(std::move(source));
        } else {
            warnings.push_back(error);
        }
    }
    if (request.journal) {
        AnchorSource source;
        if (readJournalAnchors(source, error)) {
            sources.push_back(std::move(source));
        } else {
            warnings.push_back("Systemjournalen hoppades över: " + error + ".");
        }
    }
    return sources;
}

void printResets(const AccessLogCheck& check) {
    for (const AccessLogReset& reset : check.resets) {
        const std::string replaced = reset.replaced
                                         ? "rad " + std::to_string(reset.replaced->seq) +
                                               " (hash " + reset.replaced->hash + ")"
                                         : "en okänd rad (återställningens rad säger det inte)";
        const std::string copyHead = reset.seq > 1
                                         ? check.hashes[static_cast<std::size_t>(reset.seq - 2)]
                                         : std::string(kChainStart);
        std::printf("Rad %d: registret återställdes från en kopia, och loggen börjar om från "
                    "kopians huvud, rad %d (hash %s). Det ersatta registrets logg slutade vid %s; "
                    "dess rader efter rad %d finns inte i detta register.\n",
                    reset.seq, reset.seq - 1, copyHead.c_str(), replaced.c_str(), reset.seq - 1);
    }
}

int verifyLog(const std::vector<std::string>& args) {
    VerifyRequest request;
    std::string error;
    if (!parseVerifyRequest(args, request, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        printCommandUsage(stderr, "log");
        return kExitFailed;
    }
    std::vector<std::string> warnings;
    const std::vector<AnchorSource> sources = readSources(request, warnings);
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    AccessLogCheck check;
    const DbResult verified = DoVerifyAccessLog(check);
    const std::string registerName = accessLogRegisterName();
    DoDisconnect();
    if (verified != DB_DONE) {
        std::fprintf(stderr, "Åtkomstloggen kunde inte läsas.\n");
        return kExitFailed;
    }
    if (!check.sound) {
        std::printf("%s %s före den är %s.\n", check.problem.c_str(),
                    swedishCount(check.soundRows, "rad", "rader").c_str(),
                    check.soundRows == 1 ? "oförändrad" : "oförändrade");
        return kExitFailed;
    }
    std::printf("Kedjan håller: %s.\n", check.soundRows == 1
                                            ? "den enda raden slutar i huvudet"
                                            : ("alla " + std::to_string(check.soundRows) +
                                               " rader hänger ihop och slutar i huvudet")
                                                  .c_str());
    printResets(check);
    const AnchorVerdict verdict =
        checkAnchors(check, registerName, sources, static_cast<std::int64_t>(std::time(nullptr)));
    for (const std::string& note : verdict.notes) {
        std::printf("%s\n", note.c_str());
    }
    for (const std::string& failure : verdict.failures) {
        std::printf("%s\n", failure.c_str());
    }
    for (const std::string& warning : warnings) {
        std::printf("Varning: %s\n", warning.c_str());
    }
    if (!sources.empty() || !warnings.empty()) {
        std::printf("%d ankare stämmer med loggen.\n", verdict.confirmed);
    }
    if (!verdict.failures.empty() || !check.resets.empty()) {
        return kExitFailed;
    }
    if (!warnings.empty()) {
        return kExitWithWarnings;
    }
    std::printf(
        "Åtkomstloggen är obruten: %s.\n",
        check.soundRows == 1
            ? "den enda raden är oförändrad"
            : ("alla " + std::to_string(check.soundRows) + " rader är oförändrade").c_str());
    return kExitClean;
}

int printHead() {
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    AccessLogHead head;
    const DbResult read = DoReadAccessLogHead(head);
    const std::string registerName = accessLogRegisterName();
    DoDisconnect();
    if (read != DB_DONE) {
        std::fprintf(stderr, "Åtkomstloggens huvud kunde inte läsas.\n");
        return kExitFailed;
    }
    std::printf("%s\n", accessLogAnchorLine(head, registerName).c_str());
    return kExitClean;
}

} // namespace

int runLogCommand(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "verify") {
        return verifyLog(args);
    }
    if (args.size() == 1 && args[0] == "head") {
        return printHead();
    }
    LogRequest request;
    std::string error;
    if (!parseLogRequest(args, request, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        printCommandUsage(stderr, "log");
        return kExitFailed;
    }
    return listLog(request);
}

int runUpgradeDbCommand(const std::vector<std::string>& args) {
    std::string workstationRole;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workstation-role" && i + 1 < args.size()) {
            workstationRole = args[++i];
        } else {
            refuseArgument("upgrade-db", args[i]);
            return kExitFailed;
        }
    }
    std::string roleProblem;
    if (!workstationRole.empty() && !workstationRoleNameUsable(workstationRole, roleProblem)) {
        std::fprintf(stderr, "%s\n", roleProblem.c_str());
        return kExitFailed;
    }
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    if (!workstationRole.empty() && !connectedToServer()) {
        DoDisconnect();
        std::fprintf(stderr, "%s\n", kWorkstationRoleNeedsServer);
        return kExitFailed;
    }
    bool added = false;
    bool failuresAdded = false;
    const DbResult upgraded =
        DoAddAccessLog(&added) == DB_DONE ? DoAddLoginFailures(&failuresAdded) : DB_FAILED;
    bool granted = true;
    if (upgraded == DB_DONE && !workstationRole.empty()) {
        Transaction transaction;
        granted = transaction.started() && DoGrantWorkstationRole(workstationRole) == DB_DONE &&
                  transaction.commit();
    }
    DoDisconnect();
    if (upgraded != DB_DONE) {
        std::fprintf(stderr, "Registret kunde inte uppgraderas; det är oförändrat.\n");
        return kExitFailed;
    }
    if (!granted) {
        std::fprintf(stderr, "Rollen %s fick inga nya rättigheter; rättigheterna är som förut.\n",
                     workstationRole.c_str());
        return kExitFailed;
    }
    if (added) {
        std::printf("Registret har fått en åtkomstlogg.\n");
    }
    if (failuresAdded) {
        std::printf("Registret håller nu räkningen på misslyckade inloggningar.\n");
    }
    if (!workstationRole.empty()) {
        std::printf("Rollen %s får nu läsa och ändra registrets uppgifter och skriva i "
                    "åtkomstloggen, men inte ändra loggen eller tabellerna.\n",
                    workstationRole.c_str());
    }
    if (!added && !failuresAdded && workstationRole.empty()) {
        std::printf("Registret är redan uppgraderat; inget har ändrats.\n");
    }
    return kExitClean;
}
