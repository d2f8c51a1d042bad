// SPDX-License-Identifier: Apache-2.0
// The HTML report and the copied text, written from report documents built by hand.
#include "report_graphic_values.h"
#include "report_html.h"
#include "report_plain_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ReportNode node(DcMark kind, std::string text, std::vector<ReportNode> children = {}) {
    ReportNode made;
    made.kind = kind;
    made.text = std::move(text);
    made.children = std::move(children);
    return made;
}

ReportNode heading(int level, std::string text) {
    ReportNode made = node(DcMark::Heading, std::move(text));
    made.level = level;
    return made;
}

// The index table as the painters mark it: an empty corner, column headers, one row per index.
ReportNode indexTable() {
    return node(
        DcMark::Table, "Indexpoäng",
        {node(DcMark::Row, "",
              {node(DcMark::ColumnHeader, ""), node(DcMark::ColumnHeader, "Index"),
               node(DcMark::ColumnHeader, "Percentil"), node(DcMark::ColumnHeader, "95 % KI")}),
         node(DcMark::Row, "",
              {node(DcMark::RowHeader, "VFI"), node(DcMark::Cell, "104"), node(DcMark::Cell, "61"),
               node(DcMark::Cell, "98-110")}),
         node(DcMark::Row, "",
              {node(DcMark::RowHeader, "PFI"), node(DcMark::Cell, "100"), node(DcMark::Cell, "50"),
               node(DcMark::Cell, "")})});
}

ReportDocument oneDocument(std::vector<ReportNode> pages) {
    ReportDocument document;
    document.title = "Resultatredovisning";
    document.pages = std::move(pages);
    return document;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST(ReportHtml, IsOneSwedishDocumentWithAPageBreakBetweenPagesAndNoScript) {
    const std::string html = reportHtml(oneDocument(
        {node(DcMark::Page, "Resultat", {heading(1, "Resultat")}),
         node(DcMark::Page, "Grafisk profil", {}), node(DcMark::Page, "Analyser", {})}));
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"sv\">"));
    EXPECT_NE(html.find("<title>Resultatredovisning</title>"), std::string::npos);
    EXPECT_EQ(count(html, "<section>"), 3U);
    EXPECT_EQ(count(html, "<style>"), 1U);
    EXPECT_NE(html.find("@page { size: A4"), std::string::npos);
    EXPECT_NE(html.find("page-break-after: always"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<link"), std::string::npos);
    // A page without a heading of its own is headed by its title; one with a heading is not
    // headed twice.
    EXPECT_EQ(count(html, "<h1>Resultat</h1>"), 1U);
    EXPECT_EQ(count(html, "<h1>Grafisk profil</h1>"), 1U);
}

TEST(ReportHtml, EscapesEveryTextWhereverItStands) {
    const std::string hostile = "<b>&\"x'</b>";
    const std::string escaped = "&lt;b&gt;&amp;&quot;x&#39;&lt;/b&gt;";
    const std::vector<ReportNode> places = {
        heading(2, hostile),
        node(DcMark::Paragraph, hostile),
        node(DcMark::Note, hostile),
        node(DcMark::Table, hostile),
        node(DcMark::Table, "T", {node(DcMark::Row, "", {node(DcMark::ColumnHeader, hostile)})}),
        node(DcMark::Table, "T", {node(DcMark::Row, "", {node(DcMark::RowHeader, hostile)})}),
        node(DcMark::Table, "T", {node(DcMark::Row, "", {node(DcMark::Cell, hostile)})}),
        node(DcMark::Graphic, hostile + ": A 1"),
        node(DcMark::Graphic, "Profil: " + hostile + " 1"),
    };
    for (const ReportNode& place : places) {
        ReportDocument document = oneDocument({node(DcMark::Page, "Sida", {place})});
        document.title = "Titel";
        const std::string html = reportHtml(document);
        SCOPED_TRACE(html);
        EXPECT_EQ(html.find("<b>"), std::string::npos);
        EXPECT_EQ(html.find("x'"), std::string::npos);
        EXPECT_NE(html.find("&lt;b&gt;&amp;"), std::string::npos);
        if (place.kind != DcMark::Graphic) {
            EXPECT_NE(html.find(escaped), std::string::npos);
        }
    }
    EXPECT_EQ(escapeHtml("a<b>&\"'"), "a&lt;b&gt;&amp;&quot;&#39;");
}

TEST(ReportHtml, TheOccasionsProblemsStandAboveTheFirstPage) {
    const ReportDocument document = oneDocument({node(DcMark::Page, "Resultat", {})});
    EXPECT_EQ(reportHtml(document).find("Att observera"), std::string::npos);
    const std::string html =
        reportHtml(document, {"Testpersonen är yngre än normerna.", "Normen <saknas> & mer"});
    const std::size_t list = html.find("<p><strong>Att observera</strong></p>\n<ul>\n"
                                       "<li>Testpersonen är yngre än normerna.</li>\n"
                                       "<li>Normen &lt;saknas&gt; &amp; mer</li>\n</ul>");
    ASSERT_NE(list, std::string::npos) << html;
    EXPECT_LT(list, html.find("<section>"));
}

TEST(ReportHtml, TablesHaveTheirCaptionAndScopedHeaderCells) {
    const std::string html =
        reportHtml(oneDocument({node(DcMark::Page, "Resultat", {indexTable()})}));
    const char* expected =
        "<table>\n<caption>Indexpoäng</caption>\n"
        "<tr><td></td><th scope=\"col\">Index</th><th scope=\"col\">Percentil</th>"
        "<th scope=\"col\">95 % KI</th></tr>\n"
        "<tr><th scope=\"row\">VFI</th><td>104</td><td>61</td><td>98-110</td></tr>\n"
        "<tr><th scope=\"row\">PFI</th><td>100</td><td>50</td><td></td></tr>\n"
        "</table>\n";
    EXPECT_NE(html.find(expected), std::string::npos) << html;
}

TEST(ReportHtml, HeadingLevelsNeverSkipOneOnTheWayDown) {
    struct Case {
        std::vector<int> painted;
        std::string written;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3}, "123"},     {{1, 3}, "12"},
        {{2, 2}, "11"},         {{1, 3, 3, 2, 5}, "12223"},
        {{1, 9, 9, 8}, "1222"}, {{1, 2, 3, 4, 5, 6, 7, 8}, "12345666"},
        {{0, 2}, "12"},
    };
    for (const Case& c : cases) {
        std::vector<ReportNode> headings;
        for (const int level : c.painted) {
            headings.push_back(heading(level, "R"));
        }
        const std::string html = reportHtml(oneDocument({node(DcMark::Page, "S", headings)}));
        std::string written;
        for (std::size_t at = html.find("<h"); at != std::string::npos;
             at = html.find("<h", at + 1)) {
            if (html[at + 2] >= '1' && html[at + 2] <= '6') {
                written += html[at + 2];
            }
        }
        EXPECT_EQ(written, c.written) << html;
    }
}

TEST(ReportHtml, AGraphIsATableOfItsValuesAndAPictureNamedByThem) {
    const std::string label = "Indexprofil: VFI 104, PFI 100, AMI –";
    const std::string html = reportHtml(
        oneDocument({node(DcMark::Page, "Grafisk profil", {node(DcMark::Graphic, label)})}));
    EXPECT_NE(html.find("<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\""),
              std::string::npos);
    EXPECT_NE(html.find("aria-label=\"" + label + "\""), std::string::npos);
    EXPECT_NE(html.find("<title>" + label + "</title>"), std::string::npos);
    EXPECT_NE(html.find("<figcaption>Indexprofil</figcaption>"), std::string::npos);
    EXPECT_NE(html.find("<caption>Indexprofil, värden</caption>"), std::string::npos);
    EXPECT_NE(html.find("<tr><th scope=\"row\">VFI</th><td>104</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<tr><th scope=\"row\">AMI</th><td>–</td></tr>"), std::string::npos);
    // Two numbers, two points; the missing value is no point.
    EXPECT_EQ(count(html, "<circle"), 2U);
    EXPECT_EQ(count(html, "<polyline"), 1U);
}

TEST(GraphicLabel, SplitsIntoTitleAndNamedValues) {
    struct Case {
        std::string label;
        std::string title;
        std::vector<std::pair<std::string, std::string>> values;
    };
    const std::vector<Case> cases = {
        {"Indexprofil: VFI 104, PFI 100", "Indexprofil", {{"VFI", "104"}, {"PFI", "100"}}},
        {"Deltestprofil: Talserier framlänges 9, Matriser –",
         "Deltestprofil",
         {{"Talserier framlänges", "9"}, {"Matriser", "–"}}},
        {"Process: Kvot 1,5, Diff -2", "Process", {{"Kvot", "1,5"}, {"Diff", "-2"}}},
        {"Utan värden", "Utan värden", {}},
        {"Tom:", "Tom", {}},
        {"Ensam: namn", "Ensam", {{"namn", ""}}},
        {"Luft:  A 1 ,  B 2 ", "Luft", {{"A", "1"}, {"B", "2"}}},
    };
    for (const Case& c : cases) {
        const GraphicValues split = splitGraphicLabel(c.label);
        EXPECT_EQ(split.title, c.title) << c.label;
        std::vector<std::pair<std::string, std::string>> values;
        for (const GraphicValue& value : split.values) {
            values.emplace_back(value.name, value.value);
        }
        EXPECT_EQ(values, c.values) << c.label;
    }
}

TEST(GraphicLabel, ReadsNumbersAsPaintedWhateverTheDecimalSign) {
    struct Case {
        std::string value;
        bool number;
        double expected;
    };
    const std::vector<Case> cases = {
        {"104", true, 104},
        {"1,5", true, 1.5},
        {"2.25", true, 2.25},
        {"-3", true, -3},
        {"\xE2\x88\x92"
         "4",
         true, -4},
        {"–", false, 0},
        {"", false, 0},
        {"12a", false, 0},
    };
    for (const Case& c : cases) {
        double number = 0;
        EXPECT_EQ(graphicValueNumber(c.value, number), c.number) << c.value;
        if (c.number) {
            EXPECT_DOUBLE_EQ(number, c.expected) << c.value;
        }
    }
}

TEST(GraphicLabel, DrawsScoresOnTheScaleOfTheirKind) {
    struct Case {
        double lowest;
        double highest;
        double low;
        double high;
        bool hasMean;
    };
    const std::vector<Case> cases = {
        {6, 10, 1, 19, true},      {1, 19, 1, 19, true},      {89, 100, 40, 160, true},
        {40, 160, 40, 160, true},  {0, 12, 0, 12, false},     {20, 30, 20, 30, false},
        {35, 120, 35, 120, false}, {90, 170, 90, 170, false}, {25, 25, 24, 26, false},
    };
    for (const Case& c : cases) {
        const GraphScale scale = graphScale(c.lowest, c.highest);
        EXPECT_EQ(scale.low, c.low) << c.lowest << "-" << c.highest;
        EXPECT_EQ(scale.high, c.high) << c.lowest << "-" << c.highest;
        EXPECT_EQ(scale.hasMean, c.hasMean) << c.lowest << "-" << c.highest;
    }
    EXPECT_EQ(graphScale(6, 10).mean, 10);
    EXPECT_EQ(graphScale(89, 100).mean, 100);
}

TEST(ReportPlainText, TablesAreTabSeparatedRowsAndGraphsTheirValues) {
    ReportNode page = node(DcMark::Page, "Resultat",
                           {heading(1, "Resultat"), node(DcMark::Paragraph, "Namn:\tAnna\nBerg"),
                            indexTable(), node(DcMark::Note, "KI = konfidensintervall"),
                            node(DcMark::Graphic, "Indexprofil: VFI 104, PFI 100")});
    EXPECT_EQ(reportPlainText(oneDocument({page, node(DcMark::Page, "Analyser", {})})),
              "Resultatredovisning\n"
              "\nResultat\n"
              "\nNamn: Anna Berg\n"
              "\nIndexpoäng\n\tIndex\tPercentil\t95 % KI\nVFI\t104\t61\t98-110\nPFI\t100\t50\t\n"
              "\nKI = konfidensintervall\n"
              "\nIndexprofil\nVFI\t104\nPFI\t100\n"
              "\nAnalyser\n");
}

} // namespace
