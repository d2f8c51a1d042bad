// SPDX-License-Identifier: Apache-2.0
#pragma once

// Where the register is kept. By default it is the SQLite file DODODA.db in the working
// directory. A clinic that shares one register on a database server sets an ODBC connection
// string (typically "DSN=name" of an odbc.ini entry) in a settings file: the system-wide
// /etc/RIVO-IV/datakalla.ini, which a user's own $XDG_CONFIG_HOME/RIVO-IV/datakalla.ini
// (~/.config/RIVO-IV/) overrides. The file holds one line
//
//     ODBC=DSN=rivo
//
// (blank lines, lines starting with '#' or ';' and section headers are ignored). A password does
// not belong in a file others can read: a file whose connection string can carry one (a PWD or
// Password attribute, or any value holding "password=", such as pqopt={password=x}, in any
// case) is refused unless only its owner may read it. The server's password is best kept in the
// user's ~/.pgpass, which the PostgreSQL driver reads.

#include <filesystem>
#include <string>

struct DataSourceSetting {
    bool configured = false; // false: the default SQLite file
    std::string connectionString;
    std::filesystem::path file; // the settings file the string came from
};

std::filesystem::path systemDataSourceFile();
std::filesystem::path userDataSourceFile();

// Reads the setting from the user's file when it exists, otherwise from the system-wide one;
// neither existing gives the default. false, with a Swedish message in error, when the file that
// applies cannot be read, names no connection string, or holds a password others may read.
bool readDataSourceSetting(const std::filesystem::path& systemFile,
                           const std::filesystem::path& userFile, DataSourceSetting& setting,
                           std::string& error);
bool readDataSourceSetting(DataSourceSetting& setting, std::string& error);

// Whether an ODBC connection string carries a password: a PWD or Password attribute with a
// value, or any attribute whose value holds "password=" (case-insensitive).
bool connectionStringHasPassword(const std::string& connectionString);

// The PostgreSQL driver's options the program needs, whatever the DSN says:
//  - CommLog=0;Debug=0: no logs. Debian registers the driver with CommLog=1, which leaves a log
//    file anyone may read, per process, in the temporary folder.
//  - Protocol=7.4-1: a failed statement rolls back its whole transaction, as the program treats
//    it anyway. The driver's default, rolling back the statement alone, brackets every statement
//    inside a transaction with a savepoint of its own: a round trip more each.
//  - UseServerSidePrepare=0: the driver writes the bound parameters into the statement, quoted,
//    and sends it as one query. A statement prepared on the server costs a round trip to remove
//    when its handle is freed, and the program frees every statement after its one use.
inline constexpr const char* kServerDriverOptions =
    ";CommLog=0;Debug=0;Protocol=7.4-1;UseServerSidePrepare=0";

// What a process reads: short answers (a person, the norms) or also long lists (an export of
// every person). For long lists the server's driver reads through a cursor, kLongReadFetchRows
// rows a round trip, so that its memory stays flat as the program's does; it costs a round trip
// more for each short read, so only the processes that read long lists ask for it.
enum class RegisterReads { Short, Long };
inline constexpr int kLongReadFetchRows = 2000;

// The connection string sent to the server for a configured one: the same with
// kServerDriverOptions last, so that they win over the string and the DSN alike, and for long
// reads the cursor options after them.
std::string serverConnectionString(const std::string& configured,
                                   RegisterReads reads = RegisterReads::Short);

// Connects to the register the settings name. For the default file the database user name and
// password are passed as always; a configured string is sent as written but for its logs
// (serverConnectionString; a server takes its user from the DSN and its password from ~/.pgpass).
// The file's register lock (register_lock.h) is taken shared first and held until the process ends.
// 1 when connected; 0 when not: a settings problem, a refused lock or the driver's refusal of a
// configured data source (after a sentence naming the settings file that chose it) is put in
// error; the driver's refusal of the default file has been shown (DoSQLError) and error is empty.
int connectRegister(std::string& error, RegisterReads reads = RegisterReads::Short);
