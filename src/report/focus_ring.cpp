// SPDX-License-Identifier: Apache-2.0
#include "focus_ring.h"

#include <QKeyEvent>
#include <QWidget>

void FocusRing::link(QWidget* widget, QWidget* next, QWidget* previous) {
    links_.push_back(Link{widget, next, previous});
    widget->installEventFilter(this);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab) {
        return false;
    }
    for (const Link& link : links_) {
        if (link.widget == watched) {
            QWidget* target = key == Qt::Key_Tab ? link.next : link.previous;
            if (target != nullptr) {
                target->setFocus(key == Qt::Key_Tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            }
            return true;
        }
    }
    return false;
}
