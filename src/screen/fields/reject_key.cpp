// SPDX-License-Identifier: Apache-2.0
#include "reject_key.h"

#include <QApplication>

#include <utility>

namespace {

BeepHandler& handler() {
    static BeepHandler current;
    return current;
}

} // namespace

void rejectKey() {
    if (handler()) {
        handler()();
    } else {
        QApplication::beep();
    }
}

BeepHandler setBeepHandler(BeepHandler next) {
    return std::exchange(handler(), std::move(next));
}
