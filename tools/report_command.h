// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "memory_norm_source.h"

#include <memory>
#include <string>
#include <vector>

// rivo-admin report (--id N | --all) [--age-band TEXT] [--ci 90|95] [--sw-base 0|1]
//                   [--index-base 0|1] [--json FILE] [--pdf FILE]
// The results of stored test occasions, scored as the results screen scores them and with its
// choices (95 %, total mean, current IQ level unless told otherwise), written by every output
// asked for. FILE "-" is standard output.

// The report of one scored occasion, held in testOccasion() and resultsView() while an output
// writes it.
struct ScoredOccasion {
    int id = 0;
    // false when the stored ID is no ID of the program: id is then no one's, and the messages
    // name the ID as stored.
    bool idRead = true;
    // Texts of the message boxes raised while it was read and scored.
    std::vector<std::string> messages;
};

// One way of writing the reports: it gets the occasions one by one, in ID order.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    // false when writing failed; error then says why.
    virtual bool write(const ScoredOccasion& occasion, std::string& error) = 0;
    virtual bool finish(std::string& error) = 0;
};

// Makes the output for a file name ("-" = standard output); null with error when it cannot.
using ReportOutputFactory = std::unique_ptr<ReportOutput> (*)(const std::string& path,
                                                              std::string& error);

struct ReportRequest {
    int id = -1;      // --id N
    bool all = false; // --all
    bool ageBandGiven = false;
    std::string ageBand; // --age-band TEXT: the subgroup chosen in list 1
    int ciLevel = 1;     // --ci 90 → 0, 95 → 1
    int swBase = 0;
    int indexBase = 1;
    struct Output {
        ReportOutputFactory make;
        std::string path;
    };
    std::vector<Output> outputs;
};

// Reads the arguments after "report"; false with error when they are wrong.
bool parseReportRequest(const std::vector<std::string>& args, ReportRequest& request,
                        std::string& error);

// Reads and scores the stored occasion with the given ID as the results screen does, with the
// request's choices. false when the person cannot be read; occasion.messages then says why.
bool scoreStoredOccasion(int id, const ReportRequest& request, ScoredOccasion& occasion,
                         NormSource& norms = currentNorms());

// Writes the reports of the request over the open connection; every occasion's messages also go
// to standard error. Returns the exit status (exit_status.h): 1 when the age band is not offered,
// the persons cannot be listed, a person cannot be read, a database error struck or a file
// failed; else 2 when an occasion written had messages; else 0.
int writeReports(const ReportRequest& request);

// The whole command: arguments, the database in the working directory, the reports.
int runReportCommand(const std::vector<std::string>& args);
