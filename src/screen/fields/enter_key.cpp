// SPDX-License-Identifier: Apache-2.0
#include "enter_key.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

#include <utility>

namespace {

class EnterAction : public QObject {
  public:
    EnterAction(QWidget* widget, std::function<void()> action)
        : QObject(widget), action_(std::move(action)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
            return false;
        }
        if (const auto* combo = qobject_cast<QComboBox*>(watched);
            combo != nullptr && combo->view()->isVisible()) {
            return false;
        }
        action_();
        return true;
    }

  private:
    std::function<void()> action_;
};

} // namespace

void runOnEnter(QWidget* widget, std::function<void()> action) {
    widget->installEventFilter(new EnterAction(widget, std::move(action)));
}
