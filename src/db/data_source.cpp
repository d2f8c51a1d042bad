// SPDX-License-Identifier: Apache-2.0
#include "data_source.h"

#include "db.h"
#include "message_box.h"
#include "register_lock.h"
#include "system_error_text.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr const char* kSettingsFileName = "datakalla.ini";
constexpr const char* kConnectionKey = "odbc";

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool readSettingsFile(const std::filesystem::path& file, DataSourceSetting& setting,
                      std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "Inställningsfilen " + file.string() + " kan inte läsas: " + systemErrorText(errno);
        return false;
    }
    std::string line;
    std::string connection;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos &&
            lowered(trimmed(line.substr(0, equals))) == kConnectionKey) {
            connection = trimmed(line.substr(equals + 1));
        }
    }
    if (connection.empty()) {
        error = "Inställningsfilen " + file.string() +
                " anger ingen datakälla (en rad ODBC=DSN=namn saknas).";
        return false;
    }
    if (connectionStringHasPassword(connection)) {
        struct stat status {};
        if (::stat(file.c_str(), &status) != 0 || (status.st_mode & (S_IRGRP | S_IROTH)) != 0) {
            error = "Inställningsfilen " + file.string() +
                    " innehåller ett lösenord men kan läsas av andra. Ta bort lösenordet ur "
                    "filen och lägg det i ~/.pgpass, eller gör filen läsbar bara för ägaren "
                    "(chmod 600).";
            return false;
        }
    }
    setting.configured = true;
    setting.connectionString = connection;
    setting.file = file;
    return true;
}

} // namespace

std::filesystem::path systemDataSourceFile() {
    return std::filesystem::path("/etc/RIVO-IV") / kSettingsFileName;
}

std::filesystem::path userDataSourceFile() {
    std::filesystem::path base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "/") / ".config";
    }
    return base / "RIVO-IV" / kSettingsFileName;
}

bool connectionStringHasPassword(const std::string& connectionString) {
    // Attributes are KEY=VALUE separated by ';'; a value in braces may itself hold ';'.
    std::size_t position = 0;
    while (position < connectionString.size()) {
        const std::size_t equals = connectionString.find('=', position);
        if (equals == std::string::npos) {
            return false;
        }
        const std::string key =
            lowered(trimmed(connectionString.substr(position, equals - position)));
        std::size_t end = equals + 1;
        if (end < connectionString.size() && connectionString[end] == '{') {
            end = connectionString.find('}', end);
            end = end == std::string::npos ? connectionString.size() : end + 1;
        }
        end = std::min(connectionString.find(';', end), connectionString.size());
        const std::string value = trimmed(connectionString.substr(equals + 1, end - equals - 1));
        if ((key == "pwd" || key == "password") && !value.empty() && value != "{}") {
            return true;
        }
        // A driver option may pass a password on inside its value (pqopt={password=...}).
        if (lowered(value).find("password=") != std::string::npos) {
            return true;
        }
        position = end + 1;
    }
    return false;
}

bool readDataSourceSetting(const std::filesystem::path& systemFile,
                           const std::filesystem::path& userFile, DataSourceSetting& setting,
                           std::string& error) {
    setting = DataSourceSetting{};
    std::error_code ignored;
    if (std::filesystem::exists(userFile, ignored)) {
        return readSettingsFile(userFile, setting, error);
    }
    if (std::filesystem::exists(systemFile, ignored)) {
        return readSettingsFile(systemFile, setting, error);
    }
    return true;
}

bool readDataSourceSetting(DataSourceSetting& setting, std::string& error) {
    return readDataSourceSetting(systemDataSourceFile(), userDataSourceFile(), setting, error);
}

namespace {

// The driver's refusal, often the driver manager's English, comes after a Swedish sentence that
// names the settings file which chose the data source and says what to check.
int connectConfigured(const DataSourceSetting& setting, RegisterReads reads, std::string& error) {
    std::string driverText;
    const MessageBoxHandler previous =
        setMessageBoxHandler([&driverText](const MessageRequest& request) {
            driverText += (driverText.empty() ? "" : " ") + request.text;
            return int{AnswerOk};
        });
    const int connected =
        DoConnectString(serverConnectionString(setting.connectionString, reads).c_str());
    setMessageBoxHandler(previous);
    if (connected != 1) {
        error = "Registret kunde inte nås genom datakällan som " + setting.file.string() +
                " anger. Kontrollera att datakällans namn där finns i /etc/odbc.ini (odbcinst "
                "-q -s listar dem), att drivrutinen är installerad och att servern går att nå; "
                "ta bort filen för att arbeta med " +
                kDatabaseFileName + " i arbetskatalogen. Drivrutinens svar: " + driverText;
    }
    return connected;
}

} // namespace

std::string serverConnectionString(const std::string& configured, RegisterReads reads) {
    std::string connection = configured;
    while (!connection.empty() && (connection.back() == ' ' || connection.back() == ';')) {
        connection.pop_back();
    }
    connection += kServerDriverOptions;
    if (reads == RegisterReads::Long) {
        connection += ";UseDeclareFetch=1;Fetch=" + std::to_string(kLongReadFetchRows);
    }
    return connection;
}

int connectRegister(std::string& error, RegisterReads reads) {
    error.clear();
    DataSourceSetting setting;
    if (!readDataSourceSetting(setting, error)) {
        return 0;
    }
    if (setting.configured) {
        return connectConfigured(setting, reads, error);
    }
    std::error_code ignored;
    // Held until the process ends: a restore must not replace the file while it is open here.
    if (!holdRegisterLock(std::filesystem::current_path(ignored).string(), RegisterLockMode::Shared,
                          error)) {
        return 0;
    }
    char user[19];
    char password[13];
    unscrambleDatabaseCredentials(user, password);
    const std::filesystem::path database =
        std::filesystem::current_path(ignored) / kDatabaseFileName;
    const int connected = DoConnect(user, password, database.c_str());
    std::memset(user, 0, sizeof user);
    std::memset(password, 0, sizeof password);
    return connected;
}
