# The scroll rules and the results screen's own painting, without Qt.
rivo_test(results_view_test
    SOURCES results_scroll_test.cpp results_screen_paint_test.cpp
    LIBS rivo_report_pages)
