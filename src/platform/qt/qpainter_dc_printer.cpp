// SPDX-License-Identifier: Apache-2.0
#include "qpainter_dc.h"

#include <QPrinter>

QPainterDc::QPainterDc(QPainter& painter, const QPrinter& printer) : QPainterDc(painter, true) {
    monochrome_ = printer.colorMode() == QPrinter::GrayScale;
}
