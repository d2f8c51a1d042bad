// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "shared_resources.h"

#include <QWidget>

#include <array>
#include <memory>

class QPushButton;

// The main window: a fixed 800 × 600 client area that shows one screen at a time. It owns the
// five shared buttons (ids 90-94) and the screens, and hands painting, commands (buttons,
// accelerators, Enter as 91) and size changes to the current screen, and is the screens' host.
class MainWindow : public QWidget, public ScreenHost {
    Q_OBJECT

  public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // ---- Screens ----
    void setScreen(int screenId, std::unique_ptr<Screen> screen);
    Screen* screen(int screenId) const;
    bool hasScreen(int screenId) const override { return screen(screenId) != nullptr; }
    // Tears the current screen down, hides the shared buttons, makes the screen current and
    // builds it.
    void showScreen(int screenId) override;
    // Hands a command to the current screen.
    void command(int id);

    // ---- Shared resources ----
    void createSharedFonts();
    const SharedFonts* fonts() const { return fonts_.get(); }
    void createSharedButtons();
    QPushButton* sharedButton(int id) const override;
    void placeSharedButton(int id, int x, int y, int width, int height, bool visible) override;
    // The "&" of a caption marks the letter but the key itself is an accelerator of the main
    // window.
    void setSharedButtonCaption(int id, unsigned short textId) override;
    void setSharedButtonCaption(int id, const QString& caption);
    void hideSharedButtons() override;

    // ---- Host of the screens ----
    QWidget* widgetParent() override { return this; }
    const QFont& controlFont() const override;
    const QFont& listFont() const override;
    void endProgram() override { destroyWindow(); }
    void placeWindow(int x, int y, int width, int height) override;
    DcSize clientSize() const override { return DcSize{width(), height()}; }
    void repaint() override { update(); }
    void focusWindow() override { setFocus(); }

    void loadAccelerators();

    // Ends the program: the window is closed and destroyed, the connection closed.
    void destroyWindow();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    std::unique_ptr<SharedFonts> fonts_;
    std::array<QPushButton*, kSharedButtonCount> buttons_{};
    std::array<std::unique_ptr<Screen>, kScreenIdLimit> screens_;
};
