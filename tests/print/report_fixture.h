// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>

// A demonstration database in a temporary folder, connected for the whole suite, and a scored
// test occasion: a woman (SEX 0) of 82 at testing, so in the band "80-84 år".
class ReportFixture : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Loads the test person of the given age band into the test occasion and scores it.
    static void scorePerson(int birthYear, int sex);
    std::string pdfPath(const char* name) const { return dir_.file(name).string(); }

    static constexpr const char* kName = "Åsa Provperson";
    static constexpr const char* kToday = "2031-04-09";

    TempDir dir_;
};
