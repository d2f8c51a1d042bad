# SPDX-License-Identifier: Apache-2.0
# The scroll rules and the results screen's own painting, without Qt.
rivo_test(results_view_test
    SOURCES results_scroll_test.cpp results_screen_paint_test.cpp report_paint_test.cpp
    LIBS rivo_report_pages)

# The results screen in the main window, on the offscreen platform.
rivo_qt_test(results_screen_test
    SOURCES results_screen_test.cpp stored_occasion.cpp
    LIBS rivo_shell rivo_report_screen rivo_register rivo_demo_database)
target_compile_definitions(results_screen_test PRIVATE
    RIVO_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")

# Copying the report from the results screen to the clipboard.
rivo_qt_test(report_copy_test
    SOURCES report_copy_test.cpp stored_occasion.cpp
    LIBS rivo_shell rivo_report_screen rivo_register rivo_demo_database)
