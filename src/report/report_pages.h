// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// The report: five page painters that draw the results of the test occasion through the device
// context, one below the other on screen and one per sheet on paper.
//
// Every painter has the same contract: painter(dc, top, left, right, printing) → bottom.
// - dc: where to draw; the painter creates, selects, restores and deletes its own fonts and pens.
// - top: logical y of the top of the page; may be negative on screen (clipped above the window).
// - left, right: logical x of the text margins; screen 50 and 600, paper 50 and 750.
// - printing: 0 on screen (face "Arial"), 1 on paper (face "Times New Roman").
// - result: the logical y just below the last thing drawn.
// Painters only read the test occasion and the results screen's choices (resultsView()); the
// analyses they run rebuild their own process-wide rows.

// The state of the results screen that painters and analyses read.
struct ResultsView {
    int firstLine = 0;  // first visible scroll line; 0 = top of the report
    int totalLines = 0; // report height in scroll lines from the last paint; 0 before it
    int lineHeight = 10;
    int ciLevel = 1;   // list 2: 0 = 90 % confidence interval, 1 = 95 %
    int swBase = 0;    // list 3: 0 = total mean, 1 = mean of VFI and PFI
    int indexBase = 1; // list 4: 0 = whole norm group, 1 = current IQ level
};

ResultsView& resultsView();

// Page 1, "Resultatredovisning": person data, then the norm comparison (index and IQ table with
// its notes).
int ab_paint_resultat(Dc& dc, int top, int left, int right, int printing);
int ab_paint_normjamforelse(Dc& dc, int top, int left, int right, int printing);
// Page 2, "Grafisk redovisning": the index profile, then the scaled-score profile.
int ab_paint_grafisk(Dc& dc, int top, int left, int right, int printing);
// Page 3, "Sammanställning deltestpoäng".
int ab_paint_deltestpoang(Dc& dc, int top, int left, int right, int printing);
// Page 4, "Analyser": pairwise comparisons and strengths and weaknesses.
int ab_paint_analyser(Dc& dc, int top, int left, int right, int printing);
// Page 5, "Analys av processpoäng".
int ab_paint_analyser_prosess(Dc& dc, int top, int left, int right, int printing);

// The whole report on screen, pages one below the other. On a raster display it returns the
// report height in scroll lines ((y − top + 30) / lineHeight); on any other device the bottom y.
int ab_paint_sidor(Dc& dc, int top, int left, int right, int printing);

// The analyses need an age band that is one of the 13 bands. Painters never raise a message
// box (a modal box inside painting re-enters painting); instead the results screen calls this
// when it opens and when a subgroup is chosen. It shows "Error 1445 i normgruppselektering.
// Kontakta programleverantören." when the test occasion's age band is none of the 13 bands and
// returns 0 then, else 1.
int reportAgeBandProblem();
// The same for the print job, before it starts: silent (0) when the message has already been
// shown for the subgroup that is still chosen.
int reportAgeBandProblemOnce();
// Opening another occasion: the message has not been shown for it yet.
void forgetAgeBandProblem();
