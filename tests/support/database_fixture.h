#pragma once

#include "db.h"
#include "message_capture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>

// A fresh database file with the program's schema in a temporary directory, connected through
// the SQLite3 ODBC driver for the length of one test.
class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a statement of the test's own; fails the test when the driver refuses it.
    void exec(const std::string& sql);

    TempDir dir_;
    MessageCapture messages_;
};

// Fills a person with recognisable values.
PersonRecord samplePerson(const char* name);
