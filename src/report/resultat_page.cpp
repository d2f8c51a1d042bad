// SPDX-License-Identifier: Apache-2.0
#include "age_band.h"
#include "index_table.h"
#include "page_tools.h"
#include "report_pages.h"
#include "test_age.h"
#include "text_layout.h"
#include "text_table.h"

#include <cstdio>
#include <string>
#include <vector>

// Page 1: the test person's data in three columns, then the index and IQ table with its notes.

namespace {

constexpr int kColumnWidth = 200;
constexpr int kTableWidth = 630;
// Right ends of the value columns of the index table, from the left margin.
constexpr int kSumRight = 230;
constexpr int kIkRight = 370;
constexpr int kPercentileRight = 470;
constexpr int kIntervalRight = 630;

std::string handednessText(int handedness) {
    switch (handedness) {
    case 1:
        return text(43);
    case 2:
        return text(44);
    case 3:
        return text(341);
    case 4:
        return text(342);
    default:
        return "";
    }
}

struct PersonField {
    int column; // 0, 1 or 2
    unsigned short label;
    std::string value;
};

// One row of labels with the values below them; returns the bottom of the last column drawn.
int personRow(Dc& dc, int top, int left, int right, DcObject labelFont, DcObject valueFont,
              const std::vector<PersonField>& fields) {
    int bottom = top;
    for (const PersonField& field : fields) {
        const DcMarkScope paragraph(dc, {DcMark::Paragraph});
        const int x = left + field.column * kColumnWidth;
        dc.selectObject(labelFont);
        const int labelBottom = ab_text_wrap(dc, top, text(field.label).c_str(), x, right, 1, 0);
        dc.selectObject(valueFont);
        bottom = ab_text_wrap(dc, labelBottom, field.value.c_str(), x, right, 1, 0);
    }
    return bottom;
}

// One data or header cell of a table drawn with textAligned.
void cell(Dc& dc, unsigned align, int x, int top, const std::string& text,
          DcMark kind = DcMark::Cell) {
    const DcMarkScope mark(dc, {kind});
    textAligned(dc, align, x, top, text);
}

int noteRight(int right, int printing) {
    return printing != 0 ? right - 50 : right + 20;
}

// The six rows of the table; returns the bottom of the last one.
int indexRows(Dc& dc, const IndexTable& table, int top, int left, int right) {
    const TextMetrics metrics = dc.textMetrics();
    const int rowHeight = metrics.height + metrics.externalLeading + 2;
    int y = top;
    for (const IndexTableRow& row : table.rows) {
        if (row.key == HIK) {
            y += rowHeight;
        }
        const DcMarkScope mark(dc, {DcMark::Row});
        {
            const DcMarkScope sum(dc, {DcMark::Cell});
            textAligned(dc, TextAlign::Right, left + kSumRight, y, row.sum);
            if (row.sumMark[0] != '\0') {
                textAligned(dc, TextAlign::Left, left + kSumRight, y, row.sumMark);
            }
        }
        cell(dc, TextAlign::Right, left + kIkRight, y, row.IK);
        cell(dc, TextAlign::Right, left + kPercentileRight, y, row.PERC);
        cell(dc, TextAlign::Right, left + kIntervalRight, y, row.interval);
        const DcMarkScope name(dc, {DcMark::RowHeader});
        y = ab_text_wrap(dc, y, row.name, left, right, 1, 0);
    }
    return y;
}

} // namespace

int ab_paint_resultat(Dc& dc, int top, int left, int right, int printing) {
    const PersonRecord& person = testOccasion().person;
    const std::string ageText = testAgeText(person);

    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    const DcMarkScope page(dc, {DcMark::Page, text(94)});
    int y = 0;
    {
        SelectedObject title(dc, dc.createFont(pageFont(26, true, false, printing)));
        const DcMarkScope heading(dc, {DcMark::Heading, {}, 1});
        y = ab_text_wrap(dc, top, text(94).c_str(), left, right, 1, 0);
    }
    const DcObject labelFont = dc.createFont(pageFont(12, false, false, printing));
    const DcObject valueFont = dc.createFont(pageFont(16, false, false, printing));
    const DcObject original = dc.selectObject(labelFont);
    // The rows of labels with their values; a row starts 4 below the one before.
    const std::vector<std::vector<PersonField>> rows = {
        {{0, 17, person.NAMN}},
        {{0, 18, person.ADRESS}},
        {{0, 19, person.TELEFON}, {1, 20, person.NATIONALITET}, {2, 21, person.HOMELANGUAGE}},
        {{0, 22, person.UTBILDNING}},
        {{0, 23, person.TESTAD_VID}, {2, 24, person.TESTLEDARE}},
        {{0, 30, person.OTHER}},
        {{0, 25, storedDateText(person.TESTDATE)},
         {1, 26, storedDateText(person.BORNDATE)},
         {2, 27, ageText}},
        {{0, 28, text(person.SEX == 1 ? 42 : 41)}, {1, 29, handednessText(person.HANDEDNESS)}},
    };
    y += 20 - 4;
    for (const std::vector<PersonField>& row : rows) {
        y = personRow(dc, y + 4, left, right, labelFont, valueFont, row);
    }
    dc.selectObject(original);
    dc.deleteObject(labelFont);
    dc.deleteObject(valueFont);
    return ab_paint_normjamforelse(dc, y + (printing != 0 ? 40 : 20), left, right, printing);
}

int ab_paint_normjamforelse(Dc& dc, int top, int left, int right, int printing) {
    const TestOccasion& occasion = testOccasion();
    const IndexTable table = indexTable(occasion, resultsView().ciLevel);
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);

    const PaperPen pen(dc, 2, printing);
    if (printing == 0) {
        top += 20;
    }

    int y = 0;
    {
        SelectedObject title(dc, dc.createFont(pageFont(20, true, false, printing)));
        const DcMarkScope heading(dc, {DcMark::Heading, {}, 2});
        y = ab_text_wrap(dc, top, text(55).c_str(), left, right, 1, 0);
    }
    {
        SelectedObject font(dc, dc.createFont(pageFont(16, false, false, printing)));
        const std::string normGroup = text(200) + ":   " + occasion.normDescription;
        {
            const DcMarkScope paragraph(dc, {DcMark::Paragraph});
            y = ab_text_wrap(dc, y + 5, normGroup.c_str(), left, right, 1, 0);
        }
        // A test age outside the norms is said beside the group it is compared with.
        if (const std::string note = ageOutsideNormsNote(occasion.person, occasion.ageBand);
            !note.empty()) {
            const DcMarkScope mark(dc, {DcMark::Note});
            y = ab_text_wrap(dc, y, (note + ".").c_str(), left, right, 1, 0);
        }
    }
    if (table.showsNote632 != 0) {
        SelectedObject font(dc, dc.createFont(pageFont(12, false, false, printing)));
        const DcMarkScope note(dc, {DcMark::Note});
        y = ab_text_wrap(dc, y, text(632).c_str(), left, right, 1, 0);
    }
    y += printing != 0 ? 50 : 30;
    {
        const DcMarkScope mark(dc, {DcMark::Table, text(55)});
        drawLine(dc, left, y, left + kTableWidth, y);

        int header = y + 5;
        {
            SelectedObject font(dc, dc.createFont(pageFont(16, false, true, printing)));
            const DcMarkScope row(dc, {DcMark::Row});
            constexpr DcMark kHeader = DcMark::ColumnHeader;
            cell(dc, TextAlign::Left, left, header, text(250), kHeader);
            cell(dc, TextAlign::Right, left + kSumRight, header, text(165), kHeader);
            cell(dc, TextAlign::Right, left + kIkRight, header, text(252), kHeader);
            cell(dc, TextAlign::Right, left + kPercentileRight, header, text(253), kHeader);
            cell(dc, TextAlign::Right, left + kIntervalRight, header, table.intervalHeader,
                 kHeader);
            const TextMetrics metrics = dc.textMetrics();
            header += metrics.height + metrics.externalLeading;
        }
        drawLine(dc, left, header + 5, left + kTableWidth, header + 5);
        {
            SelectedObject font(dc, dc.createFont(pageFont(16, false, false, printing)));
            y = indexRows(dc, table, header + 8, left, right);
        }

        drawLine(dc, left, y + 5, left + kTableWidth, y + 5);
    }
    {
        SelectedObject font(dc, ab_font_fit_height(dc, 14, 0, 0, 0, pageFace(printing), 12));
        y += 10;
        for (int i = 0; i < table.noteCount; ++i) {
            const DcMarkScope note(dc, {DcMark::Note});
            y = ab_text_wrap(dc, y, text(static_cast<unsigned short>(table.notes[i])).c_str(), left,
                             noteRight(right, printing), 1, 0);
        }
    }
    return printing != 0 ? y + 40 : y;
}
