// SPDX-License-Identifier: Apache-2.0
#include "screen_size.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

ScreenSize& overriddenSize() {
    static ScreenSize size;
    return size;
}

} // namespace

ScreenSize screenSize() {
    if (overriddenSize().width > 0) {
        return overriddenSize();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return ScreenSize{};
    }
    const QSize size = screen->size();
    return ScreenSize{size.width(), size.height()};
}

void setScreenSizeOverride(ScreenSize size) {
    overriddenSize() = size;
}
