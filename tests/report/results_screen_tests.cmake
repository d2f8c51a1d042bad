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

# The report area read through Qt's accessibility API, against the JSON report.
rivo_qt_test(report_accessibility_test
    SOURCES report_accessibility_test.cpp stored_occasion.cpp
    LIBS rivo_shell rivo_report_screen rivo_register rivo_demo_database rivo_report_command)

# The results screen read by another process over the accessibility bus, on an X display.
add_executable(report_atspi_test report_atspi_test.cpp stored_occasion.cpp)
target_link_libraries(report_atspi_test PRIVATE rivo_shell rivo_report_screen rivo_register
    rivo_demo_database rivo_report_command rivo_xtestmain rivo_testsupport GTest::gtest Qt6::Test)
target_compile_definitions(report_atspi_test PRIVATE
    RIVO_READ_TABLE_CELL="${CMAKE_CURRENT_SOURCE_DIR}/read_table_cell.py")
add_test(NAME report_atspi_test
    COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-on-x-display
            ${CMAKE_SOURCE_DIR}/tests/support/run-with-accessibility-bus
            $<TARGET_FILE:report_atspi_test>)
set_tests_properties(report_atspi_test PROPERTIES TIMEOUT 300)

# Copying the report from the results screen to the clipboard.
rivo_qt_test(report_copy_test
    SOURCES report_copy_test.cpp stored_occasion.cpp
    LIBS rivo_shell rivo_report_screen rivo_register rivo_demo_database)
