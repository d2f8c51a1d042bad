// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "results_scroll.h"

#include <QFrame>

class QScrollBar;

// The ResultsWindow: the whole report painted as one column of pages on a white background, with
// a vertical scroll bar. Up, Down, Page Up, Page Down, Home and End, the scroll bar and the mouse
// wheel scroll it by lines of ResultsView::lineHeight units; a left click gives it the focus.
//
// Scrolling moves what is drawn (QWidget::scroll) and paints only the uncovered strip. Every paint
// draws the whole report, clipped to what needs painting, and measures its height: a new height
// sets the scroll bar's range, a new window height its page. Either keeps the view where it was,
// moved back to the last full page when it would lie beyond it, and the bar at firstLine.
class ResultsWindow : public QFrame {
    Q_OBJECT

  public:
    explicit ResultsWindow(QWidget* parent);

    // Carries out one scroll request; thumb is the position of ThumbPosition and ThumbTrack.
    void scrollReport(ScrollRequest request, int thumb = 0);
    // The lines of one page, from the window's height including its frame.
    int page() const { return page_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    // Where the report is drawn: inside the frame, left of the scroll bar.
    QRect reportRect() const;
    // How often the report has been painted: what is read off it for a screen reader is read
    // again only after a paint.
    int paintCount() const { return paintCount_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void scrollBarAction(int action);
    void wheel(int angle);
    // Keeps firstLine within the report for the current height and page, and the bar at it.
    // Repaints when the view had to move.
    void settleView();
    void syncScrollBar();

    QScrollBar* scrollBar_;
    int page_ = 0;
    int paintCount_ = 0;
};
