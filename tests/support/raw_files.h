// SPDX-License-Identifier: Apache-2.0
#pragma once

// Files and SQLite registers as a test reads and changes them from outside the program: the bytes
// of a file, and SQL run on a register file directly (a test that includes this links SQLite).

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Runs sql on the SQLite file directly (not through the program's layer); fails the test on error.
inline void sql(const std::filesystem::path& database, const std::string& text) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "") << "\n"
        << text.substr(0, 200);
    sqlite3_free(error);
    sqlite3_close(db);
}
