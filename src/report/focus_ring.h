// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;

// Moves the keyboard focus with Tab and Shift+Tab along links of its own instead of the
// widgets' tab order. A widget without a link keeps its normal Tab.
class FocusRing : public QObject {
  public:
    explicit FocusRing(QObject* parent = nullptr) : QObject(parent) {}

    // Tab in widget goes to next, Shift+Tab to previous.
    void link(QWidget* widget, QWidget* next, QWidget* previous);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Link {
        QPointer<QWidget> widget;
        QPointer<QWidget> next;
        QPointer<QWidget> previous;
    };
    std::vector<Link> links_;
};
