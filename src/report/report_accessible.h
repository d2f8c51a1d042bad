// SPDX-License-Identifier: Apache-2.0
#pragma once

class QWidget;

// The report area of the results screen to a screen reader: a document "Resultatredovisning"
// with one section per page, holding the pages' headings, paragraphs, notes, tables (with their
// header cells) and graphs (described by the values they show), in reading order, read off the
// same painting the screen shows (readReportDocument).

// Makes Qt ask this module for the interface of every ResultsWindow. Once is enough; more calls
// do nothing.
void installReportAccessibility();

// The report was scrolled: the screen reader's focus moves to the first item in view, when
// the report area has the focus and an assistive technology listens.
void reportViewMoved(QWidget* resultsWindow);
