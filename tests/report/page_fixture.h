// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "bitmap_ids.h"
#include "occasion_fixture.h"
#include "recording_dc.h"
#include "report_pages.h"

#include <cstring>
#include <string>
#include <vector>

// Every test starts from an empty test occasion (no scores, every index refused) in the band
// "25-29 år", the results screen's first choices, and a recording device with the marker bitmap.
class PageTest : public OccasionTest {
  protected:
    void SetUp() override {
        OccasionTest::SetUp();
        setBand("25-29 år");
        resultsView() = ResultsView{};
        screen.addBitmapResource(kBitmapMarker, 4, 4);
        paper.addBitmapResource(kBitmapMarker, 4, 4);
    }

    // The pages read the band through its norm description.
    static void setBand(const char* band) {
        OccasionTest::setBand(band);
        std::strcpy(occasion().normDescription, band);
    }
    static void setValidIndex(IndexKey key, int sum, int ik) {
        IndexResult& index = occasion().indexes[key];
        index = IndexResult{};
        index.sum = sum;
        index.IK = ik;
        index.PERC = 50.0f;
        index.KONF_LOW90 = ik - 5;
        index.KONF_HIGH90 = ik + 5;
        index.KONF_LOW95 = ik - 7;
        index.KONF_HIGH95 = ik + 7;
        index.valid = 1;
        index.count = key == HIK ? 10 : 3;
    }

    // Every text drawn with exactly this string.
    static std::vector<RecordingDc::Text> textsOf(const RecordingDc& dc, const std::string& s) {
        std::vector<RecordingDc::Text> found;
        for (const auto& t : dc.texts()) {
            if (t.text == s) {
                found.push_back(t);
            }
        }
        return found;
    }
    // The one text with this string; fails the test when there is not exactly one.
    static RecordingDc::Text textOf(const RecordingDc& dc, const std::string& s) {
        const auto found = textsOf(dc, s);
        EXPECT_EQ(found.size(), 1u) << s;
        return found.empty() ? RecordingDc::Text{} : found.front();
    }
    static unsigned horizontal(const RecordingDc::Text& t) {
        return t.align & TextAlign::HorizontalMask;
    }
    // The width the recording device gives a text.
    static int widthOf(const RecordingDc::Text& t) {
        int characters = 0;
        for (const char c : t.text) {
            characters += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
        }
        return characters * RecordingDc::characterWidth(t.font);
    }

    RecordingDc screen{false};
    RecordingDc paper{true};
};
