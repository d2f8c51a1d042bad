#include "working_database.h"

#include "db.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

bool connectWorkingDatabase() {
    if (!std::filesystem::exists(kDatabaseFileName)) {
        std::fprintf(stderr, "%s finns inte i arbetskatalogen.\n", kDatabaseFileName);
        return false;
    }
    char user[19];
    char password[13];
    unscrambleDatabaseCredentials(user, password);
    const int connected = DoConnect(user, password, kDatabaseFileName);
    std::memset(user, 0, sizeof user);
    std::memset(password, 0, sizeof password);
    if (connected != 1) {
        DoDisconnect();
        return false;
    }
    return true;
}
