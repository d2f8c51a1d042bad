// SPDX-License-Identifier: Apache-2.0
#pragma once

class QWidget;

// Gives an entry field or drop-down list a border that stands out 3:1 from the yellow
// background (kFieldBorderColour); its face and text stay as they are.
void setFieldBorder(QWidget& field);
