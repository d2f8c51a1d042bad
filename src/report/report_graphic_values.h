// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A graph's label split into its title and the values it lists: "Indexprofil: VFI 104, PFI 100"
// gives the title "Indexprofil" and the pairs (VFI, 104), (PFI, 100). The value is the last word
// of each item, so a name may hold spaces ("Talserier framlänges 9"); a decimal comma without a
// space after it stays inside the value. A label without a colon is all title.
struct GraphicValue {
    std::string name;
    std::string value;
};

struct GraphicValues {
    std::string title;
    std::vector<GraphicValue> values;
};

GraphicValues splitGraphicLabel(std::string_view label);

// The value as a number when it is one ("104", "-1,5", "2.5"); false for "–" or an empty value.
bool graphicValueNumber(std::string_view value, double& number);

// The vertical scale a graph of the values is drawn on: the scaled scores' 1-19 around 10, the
// index scores' 40-160 around 100, so that a profile looks as flat or as steep as it is; values
// outside both are drawn on their own range, without a mean line.
struct GraphScale {
    double low = 0;
    double high = 0;
    bool hasMean = false;
    double mean = 0;
};

GraphScale graphScale(double lowest, double highest);
