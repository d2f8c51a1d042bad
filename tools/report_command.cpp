// SPDX-License-Identifier: Apache-2.0
#include "report_command.h"
#include "exit_status.h"

#include "age_band.h"
#include "age_band_index.h"
#include "broken_norm_rules.h"
#include "db.h"
#include "html_report_output.h"
#include "json_report_output.h"
#include "message_box.h"
#include "pdf_report_output.h"
#include "report_log.h"
#include "report_pages.h"
#include "results_opening.h"
#include "test_occasion.h"
#include "working_database.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>

namespace {

constexpr const char* kUsage =
    "Användning: rivo-admin report (--id N | --all) [--age-band TEXT] [--ci 90|95] "
    "[--sw-base 0|1] [--index-base 0|1] [--json FIL] [--pdf FIL] [--html FIL]\n";

// Every output of the command: its option, how it is made and whether one file holds the report
// of one person only. A new output is one more row.
struct OutputOption {
    const char* option;
    ReportOutputFactory make;
    bool onePersonPerFile;
};
constexpr OutputOption kOutputOptions[] = {
    {"--json", makeJsonReportOutput, false},
    {"--pdf", makePdfReportOutput, true},
    {"--html", makeHtmlReportOutput, true},
};

// "--json, --pdf eller --html": the outputs there are, for the message that none was asked for.
std::string outputOptionList() {
    std::string list;
    const std::size_t count = std::size(kOutputOptions);
    for (std::size_t i = 0; i < count; ++i) {
        list += i == 0 ? "" : i + 1 == count ? " eller " : ", ";
        list += kOutputOptions[i].option;
    }
    return list;
}

// An output asked for with --all that writes one person per file, or null.
const char* onePersonOutputWithAll(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        for (const OutputOption& output : kOutputOptions) {
            if (output.onePersonPerFile && arg == output.option) {
                return output.option;
            }
        }
    }
    return nullptr;
}

bool parseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// A choice given as one of two texts: the first gives 0, the second 1.
bool parseChoice(const std::string& text, const char* zero, const char* one, int& value) {
    if (text == zero || text == one) {
        value = text == one ? 1 : 0;
        return true;
    }
    return false;
}

bool parseOption(const std::string& option, const std::string& value, ReportRequest& request) {
    if (option == "--id") {
        return parseInt(value, request.id) && request.id >= 0;
    }
    if (option == "--age-band") {
        request.ageBandGiven = true;
        request.ageBand = value;
        return true;
    }
    if (option == "--ci") {
        return parseChoice(value, "90", "95", request.ciLevel);
    }
    if (option == "--sw-base") {
        return parseChoice(value, "0", "1", request.swBase);
    }
    if (option == "--index-base") {
        return parseChoice(value, "0", "1", request.indexBase);
    }
    for (const OutputOption& output : kOutputOptions) {
        if (option == output.option) {
            request.outputs.push_back(ReportRequest::Output{output.make, value});
            return !value.empty();
        }
    }
    return false;
}

// Records every message box instead of showing it, and answers it with its default button.
class MessageRecorder {
  public:
    explicit MessageRecorder(std::vector<std::string>& texts)
        : previous_(setMessageBoxHandler([&texts](const MessageRequest& request) {
              texts.push_back(request.text);
              if (request.buttons == MessageButtons::Ok) {
                  return int{AnswerOk};
              }
              return int{request.defaultButton == MessageDefault::First ? AnswerYes : AnswerNo};
          })) {}
    ~MessageRecorder() { setMessageBoxHandler(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

  private:
    MessageBoxHandler previous_;
};

// The subgroups list 1 of the results screen offers; false when they could not be read.
bool offeredSubgroups(std::vector<std::string>& subgroups, NormSource& norms) {
    const int failuresBefore = reportedDatabaseFailures();
    norms.listSubgroups(testOccasion().NORMGRUPP,
                        [&subgroups](const char* name) { subgroups.emplace_back(name); });
    return reportedDatabaseFailures() == failuresBefore;
}

// --age-band must name one of the subgroups the results screen offers.
bool ageBandOffered(const ReportRequest& request, NormSource& norms, std::string& error) {
    if (!request.ageBandGiven) {
        return true;
    }
    std::vector<std::string> subgroups;
    if (!offeredSubgroups(subgroups, norms)) {
        error = "Normgrupperna kunde inte läsas ur databasen.";
        return false;
    }
    if (std::find(subgroups.begin(), subgroups.end(), request.ageBand) != subgroups.end()) {
        return true;
    }
    error = "--age-band " + request.ageBand + " finns inte bland normgrupperna. ";
    if (subgroups.empty()) {
        error += "Normgruppen " + std::string(testOccasion().NORMGRUPP) + " har inga normgrupper.";
        return false;
    }
    error += "Välj en av:";
    for (const std::string& subgroup : subgroups) {
        error += " \"" + subgroup + "\"";
    }
    return false;
}

// Why the analyses are left out when the chosen subgroup is none of the 13 age bands, and what to
// choose instead.
std::string ageBandAdvice(const std::string& chosen, const std::string& testAgeBand) {
    if (chosen.empty()) {
        return "Testpersonen har ingen åldersgrupp (teståldern kan inte beräknas), så "
               "jämförelserna, styrkor och svagheter och processpoängen görs inte. Rätta "
               "födelsedatum och testdatum.";
    }
    std::string advice = "Undergruppen \"" + chosen +
                         "\" är ingen av de 13 åldersgrupperna, och bara de har tabeller för "
                         "jämförelserna, styrkor och svagheter och processpoängen: de delarna görs "
                         "inte. ";
    if (ageBandIndex(testAgeBand.c_str()) >= 0) {
        return advice + "Välj testålderns åldersgrupp, --age-band \"" + testAgeBand +
               "\", eller utelämna --age-band.";
    }
    return advice + "Välj en av de 13 åldersgrupperna med --age-band.";
}

// The norm tables' broken rules, which every occasion's messages carry, were said once for the
// run.
void printMessages(const ScoredOccasion& occasion) {
    for (const std::string& message : occasion.messages) {
        if (isBrokenNormRulesMessage(message)) {
            continue;
        }
        if (occasion.idRead) {
            std::fprintf(stderr, "ID %d: %s\n", occasion.id, message.c_str());
        } else {
            std::fprintf(stderr, "%s\n", message.c_str());
        }
    }
}

} // namespace

bool parseReportRequest(const std::vector<std::string>& args, ReportRequest& request,
                        std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--all") {
            request.all = true;
        } else if (args[i] == "--id" && i + 1 < args.size() &&
                   !personIdArgumentProblem(args[i], args[i + 1]).empty()) {
            error = personIdArgumentProblem(args[i], args[i + 1]) + "\n" + kUsage;
            return false;
        } else if (i + 1 < args.size() && args[i].starts_with("--") &&
                   parseOption(args[i], args[i + 1], request)) {
            ++i;
        } else {
            error = "Okänt eller felaktigt argument: " + args[i] + "\n" + kUsage;
            return false;
        }
    }
    if (request.all && request.id >= 0) {
        error = std::string("Ange antingen --id N eller --all, inte båda.\n") + kUsage;
        return false;
    }
    if (!request.all && request.id < 0) {
        error = std::string("Ange vems rapport som ska skrivas: --id N eller --all.\n") + kUsage;
        return false;
    }
    if (request.outputs.empty()) {
        error = "Ange vad som ska skrivas: " + outputOptionList() + " med ett filnamn.\n" + kUsage;
        return false;
    }
    // Refused here, before any file is made or any access-log row written.
    if (const char* option = request.all ? onePersonOutputWithAll(args) : nullptr) {
        error = std::string(option) +
                " skriver en testpersons rapport per fil och går inte med --all; ange --id N "
                "och kör kommandot en gång per testperson.\n" +
                kUsage;
        return false;
    }
    return true;
}

namespace {

// Scores the occasion read into testOccasion() with the request's choices.
void scoreReadOccasion(const ReportRequest& request, NormSource& norms) {
    TestOccasion& occasion = testOccasion();
    resetResultsView();
    ResultsView& view = resultsView();
    view.ciLevel = request.ciLevel;
    view.swBase = request.swBase;
    view.indexBase = request.indexBase;
    scoreOpenedOccasion(occasion, {}, norms);
    const std::string testAgeBand = occasion.ageBand;
    if (request.ageBandGiven) {
        chooseAgeBand(occasion, request.ageBand.c_str(), norms);
    }
    // The results screen's message box has a terse text of its own; here the psychologist is
    // told what is left out and which choice gives the whole report.
    if (ageBandIndex(occasion.ageBand) < 0) {
        showMessage(ageBandAdvice(occasion.ageBand, testAgeBand).c_str());
    }
}

// The occasion of one row of the joined statement, put in testOccasion() and scored with the
// messages its own statements would have given.
void scoreStreamedOccasion(const TestOccasion& read, const StoredOccasionRow& row,
                           const ReportRequest& request, ScoredOccasion& scored,
                           NormSource& norms) {
    scored.id = read.person.ID;
    scored.idRead = true;
    scored.messages.clear();
    MessageRecorder recorder(scored.messages);
    TestOccasion& occasion = testOccasion();
    occasion.person = read.person;
    std::copy(std::begin(read.RawScores), std::end(read.RawScores), occasion.RawScores);
    // Without a TESTDATA row the date of the raw scores is left as it was, as when read alone.
    // A person without raw scores has no test date of their own: never the previous person's.
    occasion.TD_TESTDATE = row.hasScores ? read.TD_TESTDATE : DateValue{};
    occasion.ageBand[0] = '\0';
    occasion.normDescription[0] = '\0';
    reportUnreadablePersonNumbers(scored.id, row.personUnreadable);
    reportUnreadableScoreNumbers(scored.id, row.scoresUnreadable);
    scoreReadOccasion(request, norms);
}

// Hands each occasion, scored, to an output; false stops the run.
using OccasionSink = std::function<bool(bool read, bool doubled, int failuresBefore)>;

// Every stored occasion, in ID order, read with one statement fetched row by row. An ID on more
// than one row (doubled in TESTPERSON or TESTDATA) or one that cannot be read is read again by
// its own statements, which take its first rows as for one person. false when the statement
// failed (reported).
bool scoreEveryStoredOccasion(const ReportRequest& request, NormSource& norms,
                              ScoredOccasion& scored, const OccasionSink& sink) {
    struct Pending {
        TestOccasion occasion{};
        StoredOccasionRow row;
        int rows = 0;
    };
    auto pending = std::make_unique<Pending>();
    auto fetched = std::make_unique<TestOccasion>();
    bool stopped = false;
    const auto flush = [&] {
        if (pending->rows == 0 || stopped) {
            return;
        }
        const int failuresBefore = reportedDatabaseFailures();
        bool read = true;
        bool doubled = false;
        if (!pending->row.idRead) {
            // Its ID holds 0 in place of the stored one, which is never read as person 0.
            scored.id = 0;
            scored.idRead = false;
            const char* stored = pending->row.storedId.c_str();
            scored.messages.assign(
                {"Testpersonen " + std::string(pending->occasion.person.NAMN) + " (" +
                 storedIdName(stored) +
                 "): " + unreadableIdMessage(stored, "ingen rapport skrivs för testpersonen")});
            read = false;
        } else if (pending->rows == 1) {
            scoreStreamedOccasion(pending->occasion, pending->row, request, scored, norms);
        } else {
            const int id = pending->occasion.person.ID;
            doubled = DoCountPD(id) > 1;
            read = scoreStoredOccasion(id, request, scored, norms);
        }
        pending->rows = 0;
        stopped = !sink(read, doubled, failuresBefore);
    };
    TestOccasion& occasion = *fetched;
    const DbResult listed = DoSelectStoredOccasions(
        occasion, [&occasion] { occasion.person = PersonRecord{}; },
        [&](const StoredOccasionRow& row) {
            if (pending->rows > 0 && pending->row.idRead && row.idRead &&
                pending->occasion.person.ID == occasion.person.ID) {
                ++pending->rows;
                return;
            }
            flush();
            pending->occasion = occasion;
            pending->row = row;
            pending->rows = 1;
        });
    if (listed != DB_DONE) {
        return false;
    }
    flush();
    return true;
}

} // namespace

bool scoreStoredOccasion(int id, const ReportRequest& request, ScoredOccasion& scored,
                         NormSource& norms) {
    scored.id = id;
    scored.idRead = true;
    scored.messages.clear();
    MessageRecorder recorder(scored.messages);
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    // Nothing of the person before may stand in this one's report.
    occasion.ageBand[0] = '\0';
    occasion.normDescription[0] = '\0';
    // Without raw scores every subtest reads not administered and there is no test date.
    bool hasScores = false;
    if (DoReadOccasion(id, occasion, hasScores) != DB_DONE) {
        // A missing row is reported with the driver's diagnostic, which is empty then.
        std::erase(scored.messages, std::string());
        scored.messages.push_back("Testperson " + std::to_string(id) + " kan inte läsas.");
        return false;
    }
    scoreReadOccasion(request, norms);
    return true;
}

int writeReports(const ReportRequest& request) {
    std::string error;
    // The norm tables are read, or found current, once for the whole run.
    NormSource& norms = currentNorms();
    // Said once for the run; each occasion's messages carry it too, as its scoring says it.
    const std::string brokenRules = brokenNormRulesMessage(norms);
    if (!brokenRules.empty()) {
        std::fprintf(stderr, "%s\n", brokenRules.c_str());
    }
    if (!ageBandOffered(request, norms, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    std::vector<std::unique_ptr<ReportOutput>> outputs;
    for (const ReportRequest::Output& wanted : request.outputs) {
        std::unique_ptr<ReportOutput> output = wanted.make(wanted.path, error);
        if (!output) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitFailed;
        }
        outputs.push_back(std::move(output));
    }
    // Over everyone a damaged page could end the reading early and leave persons out unseen.
    if (request.all && DoCheckRegisterIntact() != DB_DONE) {
        return kExitFailed;
    }
    if (request.all && !logReportOutputsForEveryone(request)) {
        return kExitFailed;
    }
    bool failed = false;
    bool warned = !brokenRules.empty();
    bool outputFailed = false;
    int delivered = 0;
    ScoredOccasion scored;
    const OccasionSink sink = [&](bool read, bool doubled, int failuresBefore) {
        ++delivered;
        if (doubled) {
            scored.messages.push_back("ID " + std::to_string(scored.id) +
                                      " finns på flera rader i TESTPERSON; den första används.");
        }
        // Every output shows the occasion's messages: the JSON in its own field, all of them
        // here on standard error.
        printMessages(scored);
        if (!read) {
            failed = true;
            return true;
        }
        failed = failed || reportedDatabaseFailures() != failuresBefore;
        warned = warned || !scored.messages.empty();
        // The access log's row comes before the data is written; without it nothing more is.
        // A run over everyone wrote all its rows before it started.
        if (!request.all && !logReportOutputs(request, scored.id)) {
            outputFailed = true;
            return false;
        }
        for (const std::unique_ptr<ReportOutput>& output : outputs) {
            if (!output->write(scored, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                outputFailed = true;
                return false;
            }
        }
        return true;
    };
    if (!request.all) {
        const int failuresBefore = reportedDatabaseFailures();
        const bool read = scoreStoredOccasion(request.id, request, scored, norms);
        sink(read, false, failuresBefore);
    } else if (!scoreEveryStoredOccasion(request, norms, scored, sink)) {
        std::fprintf(stderr, delivered == 0
                                 ? "Testpersonerna kunde inte listas ur databasen; ingen rapport "
                                   "skrevs.\n"
                                 : "Testpersonerna kunde inte läsas färdigt ur databasen; "
                                   "rapporterna är inte fullständiga.\n");
        return kExitFailed;
    }
    // A run that failed leaves no file: unfinished outputs remove their temporaries, and an
    // earlier file of the same name stays as it was.
    if (outputFailed || failed) {
        return kExitFailed;
    }
    for (const std::unique_ptr<ReportOutput>& output : outputs) {
        if (!output->finish(error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return kExitFailed;
        }
    }
    return warned ? kExitWithWarnings : kExitClean;
}

int runReportCommand(const std::vector<std::string>& args) {
    ReportRequest request;
    std::string error;
    if (!parseReportRequest(args, request, error)) {
        std::fprintf(stderr, "%s", error.c_str());
        return kExitFailed;
    }
    // Short reads even for --all: each person's report appends a log row, whose small reads a
    // cursor would make dearer than the joined read of every person saves.
    if (!connectWorkingDatabase(AccessLogNeed::Required)) {
        return kExitFailed;
    }
    std::snprintf(testOccasion().NORMGRUPP, sizeof testOccasion().NORMGRUPP, "%s", "Standardgrupp");
    const int exitCode = writeReports(request);
    DoDisconnect();
    return exitCode;
}
