// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>

class QWidget;

// Makes Enter (either key) on a widget run an action instead of reaching the widget, so that a
// list or the report can act as the screen's command 91 while it holds the focus. A drop-down
// list whose list is open keeps Enter for choosing its entry. The filter lives as long as the
// widget.
void runOnEnter(QWidget* widget, std::function<void()> action);
