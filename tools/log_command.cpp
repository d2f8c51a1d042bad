// SPDX-License-Identifier: Apache-2.0
#include "log_command.h"

#include "access_log.h"
#include "db.h"
#include "exit_status.h"
#include "log_formats.h"
#include "safe_file.h"
#include "schema.h"
#include "stored_id.h"
#include "working_database.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr const char* kUsage =
    "Användning: rivo-admin log [--person ID] [--user NAMN] [--from ÅÅÅÅ-MM-DD] [--to ÅÅÅÅ-MM-DD]\n"
    "                           [--json FIL|-] [--csv FIL|-]\n"
    "            rivo-admin log verify\n";

// Where one form of the log goes: standard output, or a file through the safe writer.
class LogSink {
  public:
    LogSink(std::string path, std::string (*line)(const AccessLogRow&))
        : path_(std::move(path)), line_(line) {}

    bool open(const std::string& header, std::string& error) {
        if (path_ != "-" && !file_.open(path_, error)) {
            return false;
        }
        return put(header);
    }
    bool put(const std::string& text) {
        if (path_ == "-") {
            return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
        }
        return file_.write(text);
    }
    bool row(const AccessLogRow& row) { return put(line_(row)); }
    bool commit(std::string& error) {
        if (path_ == "-") {
            if (std::fflush(stdout) != 0) {
                error = "Fel vid skrivning till standard ut.";
                return false;
            }
            return true;
        }
        return file_.commit(error);
    }

  private:
    std::string path_;
    std::string (*line_)(const AccessLogRow&);
    SafeFile file_;
};

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

int verifyLog() {
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    AccessLogCheck check;
    const DbResult verified = DoVerifyAccessLog(check);
    DoDisconnect();
    if (verified != DB_DONE) {
        std::fprintf(stderr, "Åtkomstloggen kunde inte läsas.\n");
        return kExitFailed;
    }
    if (!check.sound) {
        std::printf("%s %d rader före den är oförändrade.\n", check.problem.c_str(),
                    check.soundRows);
        return kExitFailed;
    }
    std::printf("Åtkomstloggen är obruten: alla %d rader är oförändrade.\n", check.soundRows);
    return kExitClean;
}

} // namespace

int runLogCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "verify") {
        return verifyLog();
    }
    LogRequest request;
    std::string error;
    if (!parseLogRequest(args, request, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), kUsage);
        return kExitFailed;
    }
    return listLog(request);
}

int runUpgradeDbCommand(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "Användning: rivo-admin upgrade-db\n");
        return kExitFailed;
    }
    if (!connectWorkingDatabase()) {
        return kExitFailed;
    }
    bool added = false;
    bool failuresAdded = false;
    const DbResult upgraded =
        DoAddAccessLog(&added) == DB_DONE ? DoAddLoginFailures(&failuresAdded) : DB_FAILED;
    DoDisconnect();
    if (upgraded != DB_DONE) {
        std::fprintf(stderr, "Registret kunde inte uppgraderas; det är oförändrat.\n");
        return kExitFailed;
    }
    if (added) {
        std::printf("Registret har fått en åtkomstlogg.\n");
    }
    if (failuresAdded) {
        std::printf("Registret håller nu räkningen på misslyckade inloggningar.\n");
    }
    if (!added && !failuresAdded) {
        std::printf("Registret är redan uppgraderat; inget har ändrats.\n");
    }
    return kExitClean;
}
