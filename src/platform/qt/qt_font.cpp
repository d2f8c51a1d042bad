// SPDX-License-Identifier: Apache-2.0
#include "qt_font.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

struct Alias {
    const char* face;
    const char* twin;
};

constexpr Alias kMetricTwins[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

bool installed(const QString& family) {
    static const QStringList families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

QString familyFor(const FontSpec& spec) {
    const QString face = QString::fromStdString(spec.face);
    if (!face.isEmpty() && installed(face)) {
        return face;
    }
    for (const Alias& alias : kMetricTwins) {
        if (face.compare(QLatin1String(alias.face), Qt::CaseInsensitive) == 0 &&
            installed(QLatin1String(alias.twin))) {
            return QLatin1String(alias.twin);
        }
    }
    switch (spec.family) {
    case FontFamily::Roman:
        return installed("Liberation Serif") ? QStringLiteral("Liberation Serif")
                                             : QStringLiteral("serif");
    case FontFamily::Modern:
        return installed("Liberation Mono") ? QStringLiteral("Liberation Mono")
                                            : QStringLiteral("monospace");
    case FontFamily::Swiss:
    case FontFamily::DontCare:
        break;
    }
    return installed("Liberation Sans") ? QStringLiteral("Liberation Sans")
                                        : QStringLiteral("sans-serif");
}

QFont::StyleHint styleHintFor(FontFamily family) {
    switch (family) {
    case FontFamily::Roman:
        return QFont::Serif;
    case FontFamily::Modern:
        return QFont::Monospace;
    case FontFamily::Swiss:
        return QFont::SansSerif;
    case FontFamily::DontCare:
        break;
    }
    return QFont::AnyStyle;
}

QFont makeFont(const FontSpec& spec) {
    QFont font(familyFor(spec));
    font.setStyleHint(styleHintFor(spec.family));
    font.setWeight(spec.weight >= kFontWeightBold ? QFont::Bold : QFont::Normal);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setKerning(false);
    if (spec.height < 0) {
        font.setPixelSize(std::max(1, -spec.height));
        return font;
    }
    const int cell = spec.height > 0 ? spec.height : 16;
    font.setPixelSize(cell);
    const int measured = QFontMetrics(font).height();
    if (measured > 0 && measured != cell) {
        int pixels = std::max(1, (cell * cell + measured / 2) / measured);
        font.setPixelSize(pixels);
        // Settle on the largest size whose cell is not taller than asked.
        while (pixels > 1 && QFontMetrics(font).height() > cell) {
            font.setPixelSize(--pixels);
        }
        while (true) {
            QFont larger = font;
            larger.setPixelSize(pixels + 1);
            if (QFontMetrics(larger).height() > cell) {
                break;
            }
            font = larger;
            ++pixels;
        }
    }
    return font;
}

QString cacheKey(const FontSpec& spec) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(spec.height)
        .arg(spec.weight)
        .arg(int(spec.italic))
        .arg(int(spec.underline))
        .arg(QString::fromStdString(spec.face))
        .arg(static_cast<int>(spec.family));
}

} // namespace

QFont qtFont(const FontSpec& spec) {
    static QHash<QString, QFont> cache;
    const QString key = cacheKey(spec);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd()) {
        return *found;
    }
    const QFont font = makeFont(spec);
    cache.insert(key, font);
    return font;
}

QColor qtColor(Rgb colour) {
    return QColor(colour.r, colour.g, colour.b);
}
