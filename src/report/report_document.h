// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

#include <string>
#include <vector>

// The report as a reader meets it: pages, headings, tables with their header cells, graphs with
// the values they show, and notes, in reading order. It is read off the very painting that the
// screen, the paper and the PDF get (the painters' marks, see Dc::beginMark), so every number
// in it is the number painted. The accessible tree of the results screen, the HTML report and
// the copied text are all written from it.
struct ReportNode {
    DcMark kind = DcMark::Paragraph;
    // Heading, Paragraph, Note and cells: the texts drawn inside, joined by one space.
    // Page, Table, Graphic: the mark's label (title, caption, description with the values).
    std::string text;
    int level = 0; // Heading only
    // Logical bounding box of everything drawn inside, in the coordinates the painters used
    // (the screen's report coordinates when read off the screen layout): where it is on the page,
    // so that a screen reader's focus can follow the scroll position.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::vector<ReportNode> children;
};

// The whole report: the five Page nodes in order, each holding its headings, tables, graphs and
// notes.
struct ReportDocument {
    std::string title; // "Resultatredovisning"
    std::vector<ReportNode> pages;
};

// Paints the report of the open test occasion (the one the results screen shows, with its
// chosen norm group, interval and bases in resultsView()) onto a device that records the marks,
// and returns the document. Needs the same state as ab_paint_sidor. `printing` chooses the
// screen layout (0) or the paper layout (1); the texts are the same.
ReportDocument readReportDocument(int printing = 0);

// The same, measured by the given device (which is painted on as well): the boxes then are
// where the items stand on that device, such as the screen with its own fonts, with the
// report's top at y = 0.
ReportDocument readReportDocument(Dc& measuring, int printing);
