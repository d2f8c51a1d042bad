#pragma once

#include "screen.h"

class MainWindow;

// The start screen: "&Nytt test", "&Tidigare test" and "&Avsluta" on the start picture.
class StartScreen : public Screen {
  public:
    explicit StartScreen(MainWindow& window) : window_(window) {}

    void build() override;
    void paint(Dc& dc) override;
    void command(int id) override;

  private:
    void beginNewTest();
    void openEarlierTests();

    MainWindow& window_;
};

// Lays out the start screen and makes it current.
void showStartScreen(MainWindow& window);
