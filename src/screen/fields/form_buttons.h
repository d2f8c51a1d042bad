// SPDX-License-Identifier: Apache-2.0
#pragma once

class ScreenHost;

// The two shared buttons of the entry forms, each 120 × 40: button 90 (back or cancel) at
// (20, 515) and button 91 (continue) at (155, 515), captioned from the text table.
void showFormButtons(ScreenHost& host, unsigned short backCaption, unsigned short forwardCaption);
void hideFormButtons(ScreenHost& host);
