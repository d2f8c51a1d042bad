// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "occasion_fixture.h"
#include "recording_dc.h"
#include "report_pages.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Where a text is expected: its characters (the nth drawing of them), reference point and
// horizontal alignment.
struct Placed {
    const char* text;
    int x;
    int y;
    unsigned align = TextAlign::Left;
    int nth = 0;
};

// An empty test occasion in "25-29 år" with the results screen's opening choices, a recording
// device context and lookups of what was drawn on it.
class AnalysisPageTest : public OccasionTest {
  protected:
    void SetUp() override {
        OccasionTest::SetUp();
        resultsView() = ResultsView{};
    }

    // The nth text drawn with exactly these characters; fails the test when there is none.
    const RecordingDc::Text& drawn(std::string_view text, int nth = 0) const {
        for (const RecordingDc::Text& t : dc.texts()) {
            if (t.text == text && nth-- == 0) {
                return t;
            }
        }
        ADD_FAILURE() << "not drawn: \"" << text << "\"";
        static const RecordingDc::Text none{};
        return none;
    }

    int count(std::string_view text) const {
        int n = 0;
        for (const RecordingDc::Text& t : dc.texts()) {
            n += t.text == text ? 1 : 0;
        }
        return n;
    }

    // Every text drawn at the given y, in drawing order.
    std::vector<std::string> textsAt(int y) const {
        std::vector<std::string> found;
        for (const RecordingDc::Text& t : dc.texts()) {
            if (t.y == y) {
                found.push_back(t.text);
            }
        }
        return found;
    }

    // The y of every line drawn, in drawing order.
    std::vector<int> ruleYs() const {
        std::vector<int> ys;
        for (const RecordingDc::Line& line : dc.lines()) {
            ys.push_back(line.y1);
        }
        return ys;
    }

    static unsigned horizontal(const RecordingDc::Text& t) {
        return t.align & TextAlign::HorizontalMask;
    }

    void expectPlaced(const Placed& expected) const {
        SCOPED_TRACE(expected.text);
        const RecordingDc::Text& t = drawn(expected.text, expected.nth);
        EXPECT_EQ(t.x, expected.x);
        EXPECT_EQ(t.y, expected.y);
        EXPECT_EQ(horizontal(t), expected.align);
    }

    void expectPlaced(std::initializer_list<Placed> expected) const {
        for (const Placed& p : expected) {
            expectPlaced(p);
        }
    }

    void setSpan(int rawScore, int span) { occasion().RawScores[rawScore] = span; }

    RecordingDc dc;
};
