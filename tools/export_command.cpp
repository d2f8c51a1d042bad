// SPDX-License-Identifier: Apache-2.0
#include "export_command.h"
#include "exit_status.h"

#include "broken_norm_rules.h"
#include "command_usage.h"
#include "db.h"
#include "export_writer.h"
#include "message_box.h"
#include "swedish_count.h"
#include "test_occasion.h"
#include "working_database.h"

#include <cstdio>
#include <sstream>

namespace {

bool parseGroups(const std::string& list, ExportSelection& selection) {
    std::stringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.size() != 1 || item[0] < '0' || item[0] >= '0' + kExportGroupCount) {
            return false;
        }
        selection.groups[item[0] - '0'] = true;
    }
    return selection.any();
}

} // namespace

int runExportCommand(const std::vector<std::string>& args) {
    ExportSelection selection;
    std::string path;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--groups" && i + 1 < args.size()) {
            if (!parseGroups(args[++i], selection)) {
                std::fprintf(stderr, "Grupperna anges som en kommaseparerad lista av 0-3, "
                                     "till exempel --groups 0,1,2,3.\n");
                return kExitFailed;
            }
        } else if (path.empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            refuseArgument("export", args[i]);
            return kExitFailed;
        }
    }
    if (path.empty() || !selection.any()) {
        std::fprintf(stderr, "%s\n",
                     path.empty() ? "Ange filen som exporten ska skrivas till."
                                  : "Ange grupperna som ska exporteras med --groups.");
        printCommandUsage(stderr, "export");
        return kExitFailed;
    }
    if (!connectWorkingDatabase(AccessLogNeed::Required, RegisterReads::Long)) {
        return kExitFailed;
    }
    // Every message of the run goes to standard error as it arises; any at all makes the export
    // one written with warnings. A message about a person's data names the person, as the
    // report's do; a database error is the driver's own, and the norm tables' broken rules
    // concern every person.
    TestOccasion& occasion = testOccasion();
    int messages = 0;
    int failuresSeen = reportedDatabaseFailures();
    const MessageBoxHandler previous =
        setMessageBoxHandler([&messages, &failuresSeen, &occasion](const MessageRequest& box) {
            ++messages;
            const bool databaseError = reportedDatabaseFailures() != failuresSeen;
            failuresSeen = reportedDatabaseFailures();
            const std::string id = std::to_string(occasion.person.ID);
            // A message that names an ID names this row's: the ID as read, or as stored when
            // it could not be read and ID holds 0 in its place.
            const bool named =
                box.text.find("(ID ") != std::string::npos || isBrokenNormRulesMessage(box.text);
            const std::string prefix = databaseError || named ? "" : "ID " + id + ": ";
            std::fprintf(stderr, "\n%s%s", prefix.c_str(), box.text.c_str());
            return int{AnswerOk};
        });
    std::snprintf(occasion.NORMGRUPP, sizeof occasion.NORMGRUPP, "%s", "Standardgrupp");
    int exported = 0;
    const ExportResult result = writeExport(path, selection, occasion, [&](int count) {
        exported = count;
        if (count % 500 == 0) {
            std::fprintf(stderr, "\rExporterar: %d testpersoner", count);
        }
    });
    DoDisconnect();
    setMessageBoxHandler(previous);
    if (messages > 0) {
        std::fprintf(stderr, "\n");
    }
    if (result == ExportResult::ReadFailed) {
        std::fprintf(stderr,
                     "\nExporten misslyckades: ett databasfel (se meddelandet ovan). %s har "
                     "inte skrivits.\n",
                     path.c_str());
        return kExitFailed;
    }
    if (result != ExportResult::Written) {
        return kExitFailed;
    }
    std::fprintf(stderr, "\rExporterade %s till %s\n",
                 swedishCount(exported, "testperson", "testpersoner").c_str(), path.c_str());
    if (messages > 0) {
        std::fprintf(stderr, "%s ovan gäller data i exporten; kontrollera %s.\n",
                     swedishCount(messages, "meddelande", "meddelanden").c_str(),
                     messages == 1 ? "det" : "dem");
        return kExitWithWarnings;
    }
    return kExitClean;
}
