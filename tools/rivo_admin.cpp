// SPDX-License-Identifier: Apache-2.0
// rivo-admin: the command-line companion of RIVO-IV. It creates the database and, without a
// display, runs the jobs the program offers on its screens.

#include "access_log.h"
#include "backup_commands.h"
#include "command_usage.h"
#include "data_source.h"
#include "db.h"
#include "demo_database.h"
#include "exit_status.h"
#include "export_command.h"
#include "log_command.h"
#include "norm_commands.h"
#include "password_input.h"
#include "report_command.h"
#include "user_command.h"
#include "workstation_role.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int initDatabase(const std::vector<std::string>& args) {
    std::string user;
    std::string workstationRole;
    bool passwordFromStdin = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--user" && i + 1 < args.size()) {
            user = args[++i];
        } else if (args[i] == "--workstation-role" && i + 1 < args.size()) {
            workstationRole = args[++i];
        } else if (args[i] == "--password-stdin") {
            passwordFromStdin = true;
        } else {
            refuseArgument("init-db", args[i]);
            return kExitFailed;
        }
    }
    if (user.empty()) {
        std::fprintf(stderr, "Ange användarnamnet med --user NAMN.\n");
        return kExitFailed;
    }
    if (!credentialOk(user, "Användarnamnet")) {
        return kExitFailed;
    }
    std::string roleProblem;
    if (!workstationRole.empty() && !workstationRoleNameUsable(workstationRole, roleProblem)) {
        std::fprintf(stderr, "%s\n", roleProblem.c_str());
        return kExitFailed;
    }
    DataSourceSetting setting;
    std::string error;
    if (!readDataSourceSetting(setting, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!workstationRole.empty() && !setting.configured) {
        std::fprintf(stderr, "%s\n", kWorkstationRoleNeedsServer);
        return kExitFailed;
    }
    std::string password;
    if (!readNewPassword(passwordFromStdin, password)) {
        return kExitFailed;
    }
    if (setting.configured) {
        if (!createDemoRegisterOnServer(setting.connectionString, user, password, error,
                                        workstationRole)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("Registret skapat i datakällan från %s med syntetiska demonstrationsnormer "
                    "(inte för kliniskt bruk).\n",
                    setting.file.c_str());
        return 0;
    }
    if (!createDemoDatabase(kDatabaseFileName, user, password, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%s skapad med syntetiska demonstrationsnormer (inte för kliniskt bruk).\n",
                kDatabaseFileName);
    return 0;
}

using CommandRunner = int (*)(const std::vector<std::string>&);

struct Command {
    const char* name;
    CommandRunner run;
};

constexpr Command kCommands[] = {
    {"init-db", initDatabase},
    {"user", runUserCommand},
    {"export", runExportCommand},
    {"report", runReportCommand},
    {"export-norms", runExportNormsCommand},
    {"import-norms", runImportNormsCommand},
    {"check-norms", runCheckNormsCommand},
    {"backup", runBackupCommand},
    {"restore", runRestoreCommand},
    {"log", runLogCommand},
    {"upgrade-db", runUpgradeDbCommand},
};

bool asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Ange ett kommando.\n");
        printFullUsage(stderr);
        return kExitFailed;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h") {
        printFullUsage(stdout);
        return kExitClean;
    }
    if (name == "--version") {
        std::printf("rivo-admin (RIVO-IV) %s\nLicens: %s\n", RIVO_IV_VERSION, RIVO_IV_LICENCE);
        return kExitClean;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (name != command.name) {
            continue;
        }
        // Every command answers --help alike, before its own parser sees the arguments.
        if (asksForHelp(args)) {
            printCommandUsage(stdout, name);
            return kExitClean;
        }
        setAccessLogProgram("rivo-admin");
        setAccessLogUser(operatingSystemUser());
        return command.run(args);
    }
    std::fprintf(stderr, "%s: %s\n", name.starts_with("-") ? "Okänd flagga" : "Okänt kommando",
                 name.c_str());
    printFullUsage(stderr);
    return kExitFailed;
}
