// SPDX-License-Identifier: Apache-2.0
#include "contrast.h"

#include <gtest/gtest.h>

namespace {

// Figures from the guidelines' own examples and from well-known pairs at the limits.
TEST(Contrast, RatiosOfKnownPairs) {
    struct Case {
        Rgb first;
        Rgb second;
        double ratio;
    };
    const Case cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {255, 255, 255}, 1.0},
        {{118, 118, 118}, {255, 255, 255}, 4.54}, // the lightest grey that passes on white
        {{119, 119, 119}, {255, 255, 255}, 4.48},
        {{255, 0, 0}, {255, 255, 255}, 4.00},
        {{0, 0, 255}, {0, 0, 0}, 2.44},
        {{171, 171, 171}, {255, 227, 113}, 1.80}, // a default field border on the yellow screen
    };
    for (const Case& test : cases) {
        EXPECT_NEAR(contrastRatio(test.first, test.second), test.ratio, 0.01)
            << int(test.first.r) << "," << int(test.first.g) << "," << int(test.first.b);
        EXPECT_DOUBLE_EQ(contrastRatio(test.first, test.second),
                         contrastRatio(test.second, test.first));
    }
}

} // namespace
