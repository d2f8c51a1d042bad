// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"

class ScreenHost;

// The start screen: "&Nytt test", "&Tidigare test" and "&Avsluta" on the start picture. The
// window keeps the focus when the screen opens, so that Enter is "&Nytt test"; Tab and the arrow
// keys then take the focus through the three buttons, and Enter or Space presses the one that
// has it.
class StartScreen : public Screen {
  public:
    explicit StartScreen(ScreenHost& host) : host_(host) {}

    void build() override;
    void paint(Dc& dc) override;
    void command(int id) override;
    void teardown() override;
    ScreenTexts texts() const override;

  private:
    void beginNewTest();
    void openEarlierTests();

    ScreenHost& host_;
};

// Lays out the start screen and makes it current.
void showStartScreen(ScreenHost& host);

// The start screen's buttons from the top: "&Nytt test", "&Tidigare test", "&Avsluta".
inline constexpr int kStartButtonOrder[3] = {91, 92, 90};
