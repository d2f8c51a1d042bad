// SPDX-License-Identifier: Apache-2.0
#include "working_database.h"

#include "data_source.h"
#include "db.h"
#include "schema.h"

#include <cstdio>
#include <filesystem>
#include <string>

bool connectWorkingDatabase(AccessLogNeed need, RegisterReads reads) {
    DataSourceSetting setting;
    std::string problem;
    if (!readDataSourceSetting(setting, problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return false;
    }
    if (!setting.configured && !std::filesystem::exists(kDatabaseFileName)) {
        std::fprintf(stderr, "%s finns inte i arbetskatalogen.\n", kDatabaseFileName);
        return false;
    }
    if (connectRegister(problem, reads) != 1) {
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
        }
        DoDisconnect();
        return false;
    }
    if (need == AccessLogNeed::Required && !DoHasAccessLog()) {
        std::fprintf(stderr,
                     "Registret är från en äldre version av RIVO-IV och har ingen åtkomstlogg, "
                     "så kommandot görs inte. Kör `rivo-admin upgrade-db` (med RIVO-IV stängt) "
                     "och försök sedan igen.\n");
        DoDisconnect();
        return false;
    }
    return true;
}
