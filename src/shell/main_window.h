#pragma once

#include "screen.h"
#include "screen_ids.h"
#include "shared_resources.h"

#include <QWidget>

#include <array>
#include <memory>

class QPushButton;

// The main window: a fixed 800 × 600 client area that shows one screen at a time. It owns the
// five shared buttons (ids 90-94) and the screens, and hands painting, commands (buttons,
// accelerators, Enter as 91) and size changes to the current screen.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // ---- Screens ----
    void setScreen(int screenId, std::unique_ptr<Screen> screen);
    Screen* screen(int screenId) const;
    // Makes the screen current and builds it.
    void showScreen(int screenId);
    // Hands a command to the current screen.
    void command(int id);

    // ---- Shared resources ----
    void createSharedFonts();
    const SharedFonts* fonts() const { return fonts_.get(); }
    void createSharedButtons();
    QPushButton* sharedButton(int id) const;
    // Places a shared button and shows or hides it.
    void placeSharedButton(int id, int x, int y, int width, int height, bool visible);
    // Sets a button's caption from the text table (at most 63 characters). The "&" marks the
    // letter but the key itself is an accelerator of the main window.
    void setSharedButtonCaption(int id, unsigned short textId);
    void setSharedButtonCaption(int id, const QString& caption);

    void loadAccelerators();

    // Ends the program: the window is closed and destroyed, the connection closed.
    void destroyWindow();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::unique_ptr<SharedFonts> fonts_;
    std::array<QPushButton*, kSharedButtonCount> buttons_{};
    std::array<std::unique_ptr<Screen>, kScreenIdLimit> screens_;
};

// Hides the five shared buttons.
void hideSharedButtons(MainWindow& window);
