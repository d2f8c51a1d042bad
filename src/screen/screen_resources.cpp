// SPDX-License-Identifier: Apache-2.0
#include "screen_resources.h"

FontSpec controlFontSpec() {
    FontSpec spec;
    spec.height = 16;
    spec.face = "MS Sans Serif";
    return spec;
}

FontSpec listFontSpec() {
    return arialFont(16);
}

FontSpec arialFont(int height, int weight) {
    FontSpec spec;
    spec.height = height;
    spec.weight = weight;
    spec.face = "Arial";
    return spec;
}

BrushSpec backgroundBrushSpec() {
    return BrushSpec{BrushStyle::Solid, kBackgroundColour};
}
