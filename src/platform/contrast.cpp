// SPDX-License-Identifier: Apache-2.0
#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double linearChannel(std::uint8_t value) {
    const double channel = value / 255.0;
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(Rgb colour) {
    return 0.2126 * linearChannel(colour.r) + 0.7152 * linearChannel(colour.g) +
           0.0722 * linearChannel(colour.b);
}

double contrastRatio(Rgb first, Rgb second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}
