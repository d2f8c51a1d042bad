// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "message_capture.h"
#include "subtest_table.h"
#include "test_occasion.h"

#include <gtest/gtest.h>

#include <cstring>

// Starts every test from an empty test occasion in the band "25-29 år", with every message box
// recorded.
class OccasionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        occasion() = TestOccasion{};
        for (int& raw : occasion().RawScores) {
            raw = NOT_ADMINISTERED;
        }
        setBand("25-29 år");
    }

    static TestOccasion& occasion() { return testOccasion(); }
    static void setBand(const char* band) { std::strcpy(occasion().ageBand, band); }

    static void setIndex(IndexKey key, int ik, int valid = 1) {
        occasion().indexes[key].IK = ik;
        occasion().indexes[key].valid = valid;
    }

    // A scaled score together with an administered raw score behind it.
    static void setScaled(Subscale subscale, int scaled) {
        occasion().ScaledScores[subscale] = scaled;
        occasion().RawScores[kSubscaleRawScore[subscale]] = 10;
    }

    MessageCapture messages;
};
