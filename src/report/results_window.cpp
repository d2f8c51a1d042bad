// SPDX-License-Identifier: Apache-2.0
#include "results_window.h"

#include "qpainter_dc.h"
#include "report_accessible.h"
#include "report_pages.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr Rgb kReportBackground{255, 227, 113};
constexpr int kReportLeft = 50;
constexpr int kReportRight = 600;

ScrollRequest keyRequest(int key) {
    switch (key) {
    case Qt::Key_Up:
        return ScrollRequest::LineUp;
    case Qt::Key_Down:
        return ScrollRequest::LineDown;
    case Qt::Key_PageUp:
        return ScrollRequest::PageUp;
    case Qt::Key_PageDown:
        return ScrollRequest::PageDown;
    case Qt::Key_Home:
        return ScrollRequest::Top;
    case Qt::Key_End:
        return ScrollRequest::Bottom;
    default:
        return ScrollRequest::None;
    }
}

ScrollRequest sliderRequest(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return ScrollRequest::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return ScrollRequest::LineDown;
    case QAbstractSlider::SliderPageStepSub:
        return ScrollRequest::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return ScrollRequest::PageDown;
    case QAbstractSlider::SliderToMinimum:
        return ScrollRequest::Top;
    case QAbstractSlider::SliderToMaximum:
        return ScrollRequest::Bottom;
    case QAbstractSlider::SliderMove:
        return ScrollRequest::ThumbTrack;
    default:
        return ScrollRequest::None;
    }
}

} // namespace

ResultsWindow::ResultsWindow(QWidget* parent) : QFrame(parent), scrollBar_(new QScrollBar(this)) {
    installReportAccessibility();
    setObjectName("resultsWindow");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    scrollBar_->setObjectName("resultsScrollBar");
    scrollBar_->setOrientation(Qt::Vertical);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setRange(0, 0);
    scrollBar_->installEventFilter(this);
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &ResultsWindow::scrollBarAction);
}

QRect ResultsWindow::reportRect() const {
    QRect area = contentsRect();
    area.setRight(scrollBar_->geometry().left() - 1);
    return area;
}

void ResultsWindow::scrollReport(ScrollRequest request, int thumb) {
    ResultsView& view = resultsView();
    const int delta = scrollDelta(request, page_, view.firstLine, view.totalLines, thumb);
    if (delta == 0) {
        syncScrollBar();
        return;
    }
    view.firstLine += delta;
    const QRect area = reportRect();
    const int dy = -delta * view.lineHeight;
    scroll(0, dy, area);
    syncScrollBar();
    reportViewMoved(this);
    // The strip that the move uncovered, painted now.
    QRect strip = area;
    if (dy < 0) {
        strip.setTop(std::max(area.top(), area.bottom() + 1 + dy));
    } else {
        strip.setBottom(std::min(area.bottom(), area.top() + dy - 1));
    }
    repaint(strip);
}

void ResultsWindow::paintEvent(QPaintEvent* event) {
    const QRegion reportRegion = event->region().intersected(reportRect());
    if (reportRegion.isEmpty()) {
        // Only the frame or what lies under the scroll bar: the report is not touched.
        QFrame::paintEvent(event);
        return;
    }
    ResultsView& view = resultsView();
    ++paintCount_;
    int lines = 0;
    {
        QPainter painter(this);
        painter.setClipRegion(reportRegion);
        painter.translate(contentsRect().topLeft());
        QPainterDc dc(painter);
        dc.followDarkDesktop(reportRect().translated(-contentsRect().topLeft()));
        dc.setBkColor(kReportBackground);
        dc.setBkMode(BackgroundMode::Transparent);
        lines =
            ab_paint_sidor(dc, -(view.firstLine * view.lineHeight), kReportLeft, kReportRight, 0);
    }
    QFrame::paintEvent(event); // the frame
    if (lines != view.totalLines) {
        view.totalLines = lines;
        settleView();
    }
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect inside = contentsRect();
    const int width = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(inside.right() + 1 - width, inside.top(), width, inside.height());
    page_ = scrollPage(height(), resultsView().lineHeight);
    settleView();
}

void ResultsWindow::keyPressEvent(QKeyEvent* event) {
    const ScrollRequest request = keyRequest(event->key());
    if (request == ScrollRequest::None) {
        QFrame::keyPressEvent(event);
        return;
    }
    scrollReport(request);
}

void ResultsWindow::wheelEvent(QWheelEvent* event) {
    wheel(event->angleDelta().y());
    event->accept();
}

void ResultsWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
    }
    QFrame::mousePressEvent(event);
}

// The wheel over the scroll bar scrolls as over the report.
bool ResultsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scrollBar_ && event->type() == QEvent::Wheel) {
        wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void ResultsWindow::wheel(int angle) {
    if (angle > 0) {
        scrollReport(ScrollRequest::WheelUp);
    } else if (angle < 0) {
        scrollReport(ScrollRequest::WheelDown);
    }
}

// Called while the bar carries out an action, before it takes its new position: the bar is set
// to where the view went, which is where it then stays.
void ResultsWindow::scrollBarAction(int action) {
    scrollReport(sliderRequest(action), scrollBar_->sliderPosition());
    scrollBar_->setSliderPosition(resultsView().firstLine);
}

void ResultsWindow::settleView() {
    ResultsView& view = resultsView();
    const int first = clampedFirstLine(view.firstLine, view.totalLines, page_);
    if (first != view.firstLine) {
        view.firstLine = first;
        update();
        reportViewMoved(this);
    }
    syncScrollBar();
}

void ResultsWindow::syncScrollBar() {
    const ResultsView& view = resultsView();
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setRange(0, std::max(0, view.totalLines - page_));
    scrollBar_->setPageStep(std::max(1, page_));
    scrollBar_->setSingleStep(1);
    scrollBar_->setValue(view.firstLine);
}
