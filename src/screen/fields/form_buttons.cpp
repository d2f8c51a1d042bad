// SPDX-License-Identifier: Apache-2.0
#include "form_buttons.h"

#include "screen_host.h"

namespace {

void placeFormButtons(ScreenHost& host, bool visible) {
    host.placeSharedButton(90, 20, 515, 120, 40, visible);
    host.placeSharedButton(91, 155, 515, 120, 40, visible);
}

} // namespace

void showFormButtons(ScreenHost& host, unsigned short backCaption, unsigned short forwardCaption) {
    host.setSharedButtonCaption(90, backCaption);
    host.setSharedButtonCaption(91, forwardCaption);
    placeFormButtons(host, true);
}

void hideFormButtons(ScreenHost& host) {
    placeFormButtons(host, false);
}
