// SPDX-License-Identifier: Apache-2.0
#include "field_border.h"

#include "screen_resources.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace {

// The style draws a field's frame in its Window colour darkened by this factor (in HSV value,
// percent) and uses that colour for nothing else of a field.
constexpr int kFrameDarkening = 140;

} // namespace

void setFieldBorder(QWidget& field) {
    const QColor border(kFieldBorderColour.r, kFieldBorderColour.g, kFieldBorderColour.b);
    QColor window = border;
    // The lightest Window colour whose darkened shade is still the border colour.
    window.setHsv(border.hsvHue(), border.hsvSaturation(),
                  std::min(255, (border.value() * kFrameDarkening + 99) / 100));
    QPalette palette = field.palette();
    palette.setColor(QPalette::Window, window);
    field.setPalette(palette);
}
