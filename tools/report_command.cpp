#include "report_command.h"

#include "age_band.h"
#include "db.h"
#include "json_report_output.h"
#include "message_box.h"
#include "pdf_report_output.h"
#include "report_log.h"
#include "report_pages.h"
#include "results_opening.h"
#include "test_occasion.h"
#include "working_database.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kUsage =
    "Användning: rivo-admin report (--id N | --all) [--age-band TEXT] [--ci 90|95] "
    "[--sw-base 0|1] [--index-base 0|1] [--json FIL] [--pdf FIL]\n";

// Every output of the command: its option and how it is made. A new output is one more row.
struct OutputOption {
    const char* option;
    ReportOutputFactory make;
};
constexpr OutputOption kOutputOptions[] = {
    {"--json", makeJsonReportOutput},
    {"--pdf", makePdfReportOutput},
};

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

std::vector<int> storedIds() {
    std::vector<int> ids;
    DoListPD(9, 0, [&ids](const PersonListRow& row) { ids.push_back(row.ID); });
    return ids;
}

void printMessages(const ScoredOccasion& occasion) {
    for (const std::string& message : occasion.messages) {
        std::fprintf(stderr, "ID %d: %s\n", occasion.id, message.c_str());
    }
}

} // namespace

bool parseReportRequest(const std::vector<std::string>& args, ReportRequest& request,
                        std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--all") {
            request.all = true;
        } else if (i + 1 < args.size() && args[i].starts_with("--") &&
                   parseOption(args[i], args[i + 1], request)) {
            ++i;
        } else {
            error = "Okänt eller felaktigt argument: " + args[i] + "\n" + kUsage;
            return false;
        }
    }
    if (request.all == (request.id >= 0) || request.outputs.empty()) {
        error = kUsage;
        return false;
    }
    return true;
}

bool scoreStoredOccasion(int id, const ReportRequest& request, ScoredOccasion& scored) {
    scored.id = id;
    scored.messages.clear();
    MessageRecorder recorder(scored.messages);
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    if (DoReadPD(id, occasion.person) != DB_DONE) {
        // A missing row is reported with the driver's diagnostic, which is empty then.
        std::erase(scored.messages, std::string());
        scored.messages.push_back("Testperson " + std::to_string(id) + " kan inte läsas.");
        return false;
    }
    // Without raw scores every subtest stays not administered.
    if (DoReadTD(occasion) == DB_FAILED) {
        return false;
    }
    resetResultsView();
    ResultsView& view = resultsView();
    view.ciLevel = request.ciLevel;
    view.swBase = request.swBase;
    view.indexBase = request.indexBase;
    scoreOpenedOccasion(occasion);
    if (request.ageBandGiven) {
        chooseAgeBand(occasion, request.ageBand.c_str());
    }
    reportAgeBandProblem();
    return true;
}

int writeReports(const ReportRequest& request) {
    std::vector<std::unique_ptr<ReportOutput>> outputs;
    for (const ReportRequest::Output& wanted : request.outputs) {
        std::string error;
        std::unique_ptr<ReportOutput> output = wanted.make(wanted.path, error);
        if (!output) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        outputs.push_back(std::move(output));
    }
    const std::vector<int> ids = request.all ? storedIds() : std::vector<int>{request.id};
    int exitCode = 0;
    ScoredOccasion scored;
    for (const int id : ids) {
        if (!scoreStoredOccasion(id, request, scored)) {
            printMessages(scored);
            exitCode = 1;
            continue;
        }
        if (!logReportOutputs(request, id)) {
            return 1;
        }
        for (const std::unique_ptr<ReportOutput>& output : outputs) {
            std::string error;
            if (!output->write(scored, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
        }
    }
    for (const std::unique_ptr<ReportOutput>& output : outputs) {
        std::string error;
        if (!output->finish(error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            exitCode = 1;
        }
    }
    return exitCode;
}

int runReportCommand(const std::vector<std::string>& args) {
    ReportRequest request;
    std::string error;
    if (!parseReportRequest(args, request, error)) {
        std::fprintf(stderr, "%s", error.c_str());
        return 2;
    }
    if (!connectWorkingDatabase()) {
        return 1;
    }
    std::snprintf(testOccasion().NORMGRUPP, sizeof testOccasion().NORMGRUPP, "%s", "Standardgrupp");
    const int exitCode = writeReports(request);
    DoDisconnect();
    return exitCode;
}
