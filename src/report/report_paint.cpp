// SPDX-License-Identifier: Apache-2.0
#include "report_pages.h"

int ab_paint_sidor(Dc& dc, int top, int left, int right, int printing) {
    int y = ab_paint_resultat(dc, top, left, right, printing) + 50;
    y = ab_paint_grafisk(dc, y, left, right, printing) + 20;
    y = ab_paint_deltestpoang(dc, y, left, right, printing) + 20;
    y = ab_paint_analyser(dc, y, left, right, printing) + 20;
    y = ab_paint_analyser_prosess(dc, y, left, right, printing) + 20;
    if (dc.isPrinter()) {
        return y;
    }
    return (y - top + 30) / resultsView().lineHeight;
}
