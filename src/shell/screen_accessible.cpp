// SPDX-License-Identifier: Apache-2.0
#include "screen_accessible.h"

#include "main_window.h"
#include "reading_order.h"
#include "shell_state.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <vector>

namespace {

bool sameText(const ScreenText& a, const ScreenText& b) {
    return a.kind == b.kind && a.text == b.text && a.description == b.description && a.x == b.x &&
           a.y == b.y && a.width == b.width && a.height == b.height;
}

// A painted text as a read-only label (or heading) of the window it is painted on.
class PaintedTextAccessible : public QAccessibleInterface {
  public:
    PaintedTextAccessible(QWidget* window, ScreenText text)
        : window_(window), text_(std::move(text)) {}

    bool isValid() const override { return window_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return window_ != nullptr ? window_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(window_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return QString::fromStdString(text_.text);
        case QAccessible::Description:
            return QString::fromStdString(text_.description);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (window_ == nullptr) {
            return {};
        }
        return {window_->mapToGlobal(QPoint(text_.x, text_.y)), QSize(text_.width, text_.height)};
    }
    QAccessible::Role role() const override {
        return text_.kind == ScreenText::Kind::Heading ? QAccessible::Heading
                                                       : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = window_ == nullptr || !window_->isVisible();
        return state;
    }

  private:
    QPointer<QWidget> window_;
    ScreenText text_;
};

// The widgets of a window that a reader should meet: every child that is not hidden and not a
// window of its own.
std::vector<QWidget*> shownChildren(const QWidget& parent) {
    std::vector<QWidget*> shown;
    for (QObject* object : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget != nullptr && !widget->isWindow() && !widget->isHidden()) {
            shown.push_back(widget);
        }
    }
    return shown;
}

// A window whose hidden children stay out of its accessible tree.
class ShownChildrenAccessible : public QAccessibleWidget {
  public:
    ShownChildrenAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> all = children();
        return index >= 0 && index < static_cast<int>(all.size())
                   ? all[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> all = children();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

  protected:
    virtual std::vector<QAccessibleInterface*> children() const {
        std::vector<QAccessibleInterface*> all;
        for (QWidget* widget : shownChildren(*this->widget())) {
            if (QAccessibleInterface* child = QAccessible::queryAccessibleInterface(widget)) {
                all.push_back(child);
            }
        }
        return all;
    }
};

// The main window: the current screen's controls and painted texts, in reading order.
class MainWindowAccessible : public ShownChildrenAccessible {
  public:
    explicit MainWindowAccessible(MainWindow* window)
        : ShownChildrenAccessible(window, QAccessible::Window) {}
    ~MainWindowAccessible() override { forgetPaintedTexts(); }
    MainWindowAccessible(const MainWindowAccessible&) = delete;
    MainWindowAccessible& operator=(const MainWindowAccessible&) = delete;

  protected:
    std::vector<QAccessibleInterface*> children() const override {
        std::vector<QAccessibleInterface*> items;
        std::vector<ScreenPlace> places;
        for (QWidget* widget : shownChildren(*this->widget())) {
            if (QAccessibleInterface* child = QAccessible::queryAccessibleInterface(widget)) {
                const QRect place = widget->geometry();
                items.push_back(child);
                places.push_back({place.x(), place.y(), place.width(), place.height()});
            }
        }
        const ScreenTexts& texts = paintedTexts();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            items.push_back(QAccessible::accessibleInterface(paintedIds_[i]));
            places.push_back({texts[i].x, texts[i].y, texts[i].width, texts[i].height});
        }
        std::vector<QAccessibleInterface*> ordered;
        ordered.reserve(items.size());
        for (const std::size_t index : readingOrder(places)) {
            ordered.push_back(items[index]);
        }
        return ordered;
    }

  private:
    // The current screen's texts, each with a registered interface that lives until the texts
    // change, so that a reader holding one keeps a valid object while the screen stays.
    const ScreenTexts& paintedTexts() const {
        const auto* window = static_cast<const MainWindow*>(widget());
        const Screen* screen = window->screen(currentScreen());
        ScreenTexts now = screen != nullptr ? screen->texts() : ScreenTexts{};
        const bool same = now.size() == texts_.size() &&
                          std::equal(now.begin(), now.end(), texts_.begin(), sameText);
        if (!same) {
            forgetPaintedTexts();
            texts_ = std::move(now);
            for (const ScreenText& text : texts_) {
                paintedIds_.push_back(QAccessible::registerAccessibleInterface(
                    new PaintedTextAccessible(const_cast<QWidget*>(widget()), text)));
            }
        }
        return texts_;
    }

    void forgetPaintedTexts() const {
        for (const QAccessible::Id id : paintedIds_) {
            QAccessible::deleteAccessibleInterface(id);
        }
        paintedIds_.clear();
        texts_.clear();
    }

    mutable ScreenTexts texts_;
    mutable std::vector<QAccessible::Id> paintedIds_;
};

// A shared button of the main window. Its letter is an accelerator of the window rather than a
// shortcut of the button (which would compete with it), so the Alt key is given here, as the
// button's accelerator and as the key of its press action.
class SharedButtonAccessible : public QAccessibleWidget {
  public:
    explicit SharedButtonAccessible(QPushButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return button()->accessibleName().isEmpty() ? spokenCaption(button()->text())
                                                        : button()->accessibleName();
        case QAccessible::Accelerator:
            return altKeyOfCaption(button()->text());
        default:
            return QAccessibleWidget::text(kind);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && button()->isEnabled()) {
            button()->animateClick();
        }
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QString key = altKeyOfCaption(button()->text());
        return action == pressAction() && !key.isEmpty() ? QStringList{key} : QStringList{};
    }

  private:
    QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
};

QAccessibleInterface* screenAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QPushButton") &&
        object->objectName().startsWith(QLatin1String("sharedButton"))) {
        return new SharedButtonAccessible(static_cast<QPushButton*>(object));
    }
    if (className == QLatin1String("MainWindow")) {
        if (auto* window = qobject_cast<MainWindow*>(object)) {
            return new MainWindowAccessible(window);
        }
    }
    if (className == QLatin1String("LoginDialog")) {
        if (auto* dialog = qobject_cast<QWidget*>(object)) {
            return new ShownChildrenAccessible(dialog, QAccessible::Dialog);
        }
    }
    return nullptr;
}

} // namespace

QString altKeyOfCaption(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            continue;
        }
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i; // a written "&"
            continue;
        }
        if (caption[i + 1].isSpace()) {
            return {};
        }
        return QStringLiteral("Alt+") + caption[i + 1].toUpper();
    }
    return {};
}

QString spokenCaption(const QString& caption) {
    QString spoken;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
        }
        spoken += caption[i];
    }
    return spoken.trimmed();
}

void installScreenAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(screenAccessible);
        installed = true;
    }
}
