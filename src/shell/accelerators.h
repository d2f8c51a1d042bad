// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QKeySequence>

// Accelerator table 113: the keys that the main window turns into commands.
struct Accelerator {
    QKeyCombination keys;
    int command;
};

extern const Accelerator kAccelerators[];
extern const int kAcceleratorCount;
