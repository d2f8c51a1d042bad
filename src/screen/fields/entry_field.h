// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QRect>
#include <QString>

class QFont;
class QLineEdit;
class QWidget;

// A single-line entry field of a form, as the form table describes it.
struct EntryFieldSpec {
    QString objectName;
    QRect geometry;
    int maxLength = 0;
    bool readOnly = false;
    bool upperCase = false; // letters typed are turned into capitals
    bool centred = false;
    // The painted label is no part of the field, so a screen reader gets it from here.
    QString accessibleName;
    QString accessibleDescription;
};

// Creates the field, hidden, as a child of parent in the given font.
QLineEdit* makeEntryField(QWidget* parent, const QFont& font, const EntryFieldSpec& spec);
