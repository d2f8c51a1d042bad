// SPDX-License-Identifier: Apache-2.0
// The one style of time stamp in the program's file names, and the older styles still read.

#include "file_time_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

class StockholmTime : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        previous_ = tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "Europe/Stockholm", 1);
        tzset();
    }
    void TearDown() override {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::optional<std::string> previous_;
};

// 2026-12-07 02:15:30 in Stockholm (UTC+1 in winter) and 2026-07-01 23:59:59 (UTC+2 in summer).
constexpr std::time_t kWinter = 1'796'606'130;
constexpr std::time_t kSummer = 1'782'943'199;

TEST_F(StockholmTime, NamesAreStampedInLocalTimeToTheSecond) {
    EXPECT_EQ(fileTimeStamp(kWinter), "2026-12-07T021530");
    EXPECT_EQ(fileTimeStamp(kSummer), "2026-07-01T235959");
}

TEST_F(StockholmTime, TheCurrentAndTheEarlierStylesAreRead) {
    const struct {
        const char* text;
        std::time_t when; // 0: not a stamp
        std::size_t length;
    } cases[] = {
        {"2026-12-07T021530", kWinter, 17},
        {"2026-12-07T021530-2.db", kWinter, 17},
        {"2026-07-01T235959.db.krypterad", kSummer, 17},
        {"2026-12-07T0215.db", kWinter - 30, 15},   // a dated copy of an earlier version
        {"2026-12-07T0215-3.db", kWinter - 30, 15}, // its third in that minute
        {"20261207-011530.db", kWinter, 15},        // a norm import's kept copy, in UTC
        {"2026-13-07T0215.db", 0, 0},
        {"2026-12-07T2515.db", 0, 0},
        {"2026-12-07 0215.db", 0, 0},
        {"2026-12-07T02", 0, 0},
        {"20261207-0115", 0, 0},
        {"anteckningar", 0, 0},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        const auto stamp = readFileTimeStamp(c.text);
        if (c.when == 0) {
            EXPECT_FALSE(stamp.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(stamp.has_value()) << c.text;
        EXPECT_EQ(stamp->when, c.when) << c.text;
        EXPECT_EQ(stamp->length, c.length) << c.text;
    }
    EXPECT_EQ(readFileTimeStamp(fileTimeStamp(kSummer))->when, kSummer);
}

} // namespace
