// SPDX-License-Identifier: Apache-2.0
#include "text_layout.h"

#include <cstring>
#include <string_view>

namespace {

// The extent of text[start, end) without the one blank that may end it.
int lineWidth(Dc& dc, const char* text, int start, int end) {
    if (end > start && text[end - 1] == ' ') {
        --end;
    }
    dc.setTextJustification(0, 0);
    return dc.textExtent(std::string_view(text + start, static_cast<std::size_t>(end - start))).cx;
}

// The end of the word that starts at position: just after the next blank, or the end of text.
int wordEnd(const char* text, int position, int length) {
    while (position < length && text[position] != ' ') {
        ++position;
    }
    return position < length ? position + 1 : length;
}

FontSpec fitFontSpec(int height, int bold, int italic, int underline, const char* face) {
    FontSpec spec;
    spec.height = height;
    spec.weight = bold == 1 ? kFontWeightBold : kFontWeightDefault;
    spec.italic = italic != 0;
    spec.underline = underline != 0;
    spec.face = face != nullptr ? face : "";
    spec.family = FontFamily::Roman;
    return spec;
}

enum class FitAxis { Width, Height };

DcObject fitFont(Dc& dc, FontSpec spec, FitAxis axis, int limit,
                 const char* sample = kFontSampleText) {
    const auto measure = [&dc, axis, sample] {
        const DcSize size = dc.textExtent(sample);
        return axis == FitAxis::Width ? size.cx : size.cy;
    };
    DcObject font = dc.createFont(spec);
    const DcObject original = dc.selectObject(font);
    while (measure() > limit && spec.height >= 2) {
        --spec.height;
        const DcObject smaller = dc.createFont(spec);
        dc.selectObject(smaller);
        dc.deleteObject(font);
        font = smaller;
    }
    dc.selectObject(original);
    return font;
}

} // namespace

int ab_text_wrap(Dc& dc, int y, const char* text, int x, int right, int draw, int nextX) {
    const TextMetrics metrics = dc.textMetrics();
    const int step = metrics.height + metrics.externalLeading + 2;
    const int length = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    int lineX = x;
    int room = right - x;
    int position = 0;
    do {
        while (position < length && text[position] == ' ') {
            ++position;
        }
        const int start = position;
        int end = position;
        int previousEnd = position;
        int words = 0;
        int width = 0;
        do {
            previousEnd = end;
            end = wordEnd(text, end, length);
            ++words;
            width = lineWidth(dc, text, start, end);
        } while (end < length && width < room);
        if (words > 1 && width >= room) {
            end = previousEnd; // the last word goes to the next line
        }
        if (draw != 0 && end > start) {
            dc.textOut(lineX, y,
                       std::string_view(text + start, static_cast<std::size_t>(end - start)));
        }
        if (nextX != 0) {
            lineX = nextX;
            room = right - nextX;
        }
        y += step;
        position = end;
    } while (position < length);
    return y;
}

DcObject ab_font_fit_width(Dc& dc, int height, int bold, int italic, int underline,
                           const char* face, int maxWidth) {
    return fitFont(dc, fitFontSpec(height, bold, italic, underline, face), FitAxis::Width,
                   maxWidth);
}

DcObject ab_font_fit_height(Dc& dc, int height, int bold, int italic, int underline,
                            const char* face, int maxHeight) {
    return fitFont(dc, fitFontSpec(height, bold, italic, underline, face), FitAxis::Height,
                   maxHeight);
}

DcObject ab_font_fit_sample_width(Dc& dc, const FontSpec& spec, const char* sample, int maxWidth) {
    return fitFont(dc, spec, FitAxis::Width, maxWidth, sample);
}
