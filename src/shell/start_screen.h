// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"

class ScreenHost;

// The start screen: "&Nytt test", "&Tidigare test" and "&Avsluta" on the start picture.
class StartScreen : public Screen {
  public:
    explicit StartScreen(ScreenHost& host) : host_(host) {}

    void build() override;
    void paint(Dc& dc) override;
    void command(int id) override;

  private:
    void beginNewTest();
    void openEarlierTests();

    ScreenHost& host_;
};

// Lays out the start screen and makes it current.
void showStartScreen(ScreenHost& host);
