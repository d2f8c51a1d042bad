// SPDX-License-Identifier: Apache-2.0
#include "caption_label.h"

#include <QLabel>
#include <QPalette>
#include <QPointer>

void addCaptionLabel(QWidget& control, const QString& caption, const QRect& place) {
    auto* label = new QLabel(caption, control.parentWidget());
    label->setObjectName(control.objectName() + QStringLiteral("Caption"));
    label->setGeometry(place);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette unseen = label->palette();
    unseen.setColor(QPalette::WindowText, Qt::transparent);
    label->setPalette(unseen);
    label->setAutoFillBackground(false);
    label->setBuddy(&control);
    label->show();
    QPointer<QLabel> owned(label);
    QObject::connect(&control, &QObject::destroyed, [owned] { delete owned.data(); });
}
