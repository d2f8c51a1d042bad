// SPDX-License-Identifier: Apache-2.0
#include "document_dc.h"
#include "index_table.h"
#include "page_fixture.h"
#include "report_document.h"
#include "text_table.h"

#include <functional>

namespace {

class ReportDocumentTest : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        for (int key = VFI; key <= GAI; ++key) {
            setValidIndex(static_cast<IndexKey>(key), 30 + key, 100 - 5 * key);
        }
        setScaled(SUB_LIKHETER, 12);
        setScaled(SUB_MATRISER, 7);
    }

    // Depth first, the first node for which the predicate holds, or nullptr.
    static const ReportNode* find(const std::vector<ReportNode>& nodes,
                                  const std::function<bool(const ReportNode&)>& wanted) {
        for (const ReportNode& node : nodes) {
            if (wanted(node)) {
                return &node;
            }
            if (const ReportNode* inside = find(node.children, wanted)) {
                return inside;
            }
        }
        return nullptr;
    }
    static const ReportNode* findKind(const ReportDocument& document, DcMark kind,
                                      const std::string& text) {
        return find(document.pages,
                    [&](const ReportNode& node) { return node.kind == kind && node.text == text; });
    }
    static std::vector<std::string> texts(const ReportNode& row) {
        std::vector<std::string> result;
        for (const ReportNode& cell : row.children) {
            result.push_back(cell.text);
        }
        return result;
    }
};

// Reading the document must not change one thing that is painted, on screen or on paper.
TEST_F(ReportDocumentTest, MarksChangeNothingPainted) {
    for (const int printing : {0, 1}) {
        RecordingDc plain(printing != 0);
        RecordingDc read(printing != 0);
        plain.addBitmapResource(kBitmapMarker, 4, 4);
        read.addBitmapResource(kBitmapMarker, 4, 4);
        const int right = printing != 0 ? 750 : 600;
        ab_paint_sidor(plain, 0, 50, right, printing);
        const ReportDocument document = readReportDocument(read, printing);
        EXPECT_EQ(document.pages.size(), 5u);

        ASSERT_EQ(plain.texts().size(), read.texts().size()) << printing;
        for (std::size_t i = 0; i < plain.texts().size(); ++i) {
            const auto& a = plain.texts()[i];
            const auto& b = read.texts()[i];
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.text == b.text &&
                        a.font.height == b.font.height && a.align == b.align &&
                        a.colour == b.colour)
                << a.text << " / " << b.text;
        }
        ASSERT_EQ(plain.lines().size(), read.lines().size());
        for (std::size_t i = 0; i < plain.lines().size(); ++i) {
            const auto& a = plain.lines()[i];
            const auto& b = read.lines()[i];
            EXPECT_TRUE(a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 &&
                        a.pen.style == b.pen.style && a.pen.colour == b.pen.colour);
        }
        EXPECT_EQ(plain.shapes().size(), read.shapes().size());
        EXPECT_EQ(plain.bitmaps().size(), read.bitmaps().size());
        EXPECT_EQ(read.liveObjectCount(), 0);
    }
}

TEST_F(ReportDocumentTest, FivePagesEachOpenedByItsTitle) {
    const ReportDocument document = readReportDocument();
    EXPECT_EQ(document.title, "Resultatredovisning");
    const unsigned short titles[] = {94, 164, 57, 56, 400};
    ASSERT_EQ(document.pages.size(), std::size(titles));
    for (std::size_t i = 0; i < std::size(titles); ++i) {
        const ReportNode& page = document.pages[i];
        EXPECT_EQ(page.kind, DcMark::Page);
        EXPECT_EQ(page.text, text(titles[i]));
        ASSERT_FALSE(page.children.empty());
        EXPECT_EQ(page.children.front().kind, DcMark::Heading);
        EXPECT_EQ(page.children.front().level, 1);
        EXPECT_EQ(page.children.front().text, text(titles[i]));
        if (i > 0) {
            EXPECT_GT(page.top, document.pages[i - 1].top) << "reading order";
        }
    }
}

// The index table reads as painted, the name first although it is drawn last.
TEST_F(ReportDocumentTest, IndexTableRowsReadLeftToRight) {
    occasion().indexes[PFI].prorated = 1;
    const ReportDocument document = readReportDocument();
    const ReportNode* table = findKind(document, DcMark::Table, text(55));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->children.size(), 7u);
    EXPECT_EQ(texts(table->children[0]),
              (std::vector<std::string>{text(250), text(165), text(252), text(253),
                                        "95% konfidensintervall"}));
    const IndexTable cells = indexTable(occasion(), 1);
    const struct {
        IndexKey key;
        std::vector<std::string> row;
    } expected[] = {
        {VFI, {cells.rows[VFI].name, "30", "100", "50.0", "93 - 107"}},
        {PFI, {cells.rows[PFI].name, "31 UPP", "95", "50.0", "88 - 102"}},
        {GAI, {cells.rows[GAI].name, "35", "75", "50.0", "68 - 82"}},
    };
    for (const auto& want : expected) {
        const ReportNode& row = table->children[1 + want.key];
        EXPECT_EQ(texts(row), want.row);
        EXPECT_EQ(row.children.front().kind, DcMark::RowHeader);
        EXPECT_EQ(row.children.back().kind, DcMark::Cell);
    }
}

TEST_F(ReportDocumentTest, GraphsDescribeTheirValues) {
    occasion().indexes[SI].valid = 0;
    const ReportDocument document = readReportDocument();
    EXPECT_NE(findKind(document, DcMark::Graphic,
                       "Index- och IK-profil: VFI 100, PFI 95, AI 90, SI -, HIK 80, GAI 75"),
              nullptr);
    const ReportNode* profile = find(document.pages, [](const ReportNode& node) {
        return node.kind == DcMark::Graphic && node.text.rfind("Skalpoängsprofil: ", 0) == 0;
    });
    ASSERT_NE(profile, nullptr);
    EXPECT_NE(profile->text.find("Li 12, Or -"), std::string::npos) << profile->text;
    EXPECT_NE(profile->text.find("Ma 7,"), std::string::npos) << profile->text;
    EXPECT_TRUE(profile->children.empty()) << "a graph's labels are its picture, not its text";
}

// The box of a text follows its alignment (recording metrics: height 16, 8 per character).
TEST(DocumentDc, TextBoxFollowsAlignment) {
    const struct {
        unsigned align;
        int left;
        int top;
    } cases[] = {
        {TextAlign::Left | TextAlign::Top, 100, 200},
        {TextAlign::Right | TextAlign::Top, 68, 200},
        {TextAlign::Center | TextAlign::Top, 84, 200},
        {TextAlign::Left | TextAlign::Bottom, 100, 184},
        {TextAlign::Left | TextAlign::Baseline, 100, 187},
    };
    for (const auto& c : cases) {
        RecordingDc recording;
        DocumentDc dc(recording);
        dc.beginMark({DcMark::Page, "Sida"});
        dc.beginMark({DcMark::Paragraph});
        dc.setTextAlign(c.align);
        dc.textOut(100, 200, "abcd");
        dc.endMark();
        dc.endMark();
        const ReportDocument document = dc.takeDocument();
        ASSERT_EQ(document.pages.size(), 1u);
        const ReportNode& paragraph = document.pages[0].children.at(0);
        EXPECT_EQ(paragraph.left, c.left) << c.align;
        EXPECT_EQ(paragraph.top, c.top) << c.align;
        EXPECT_EQ(paragraph.right, c.left + 32) << c.align;
        EXPECT_EQ(paragraph.bottom, c.top + 16) << c.align;
        EXPECT_EQ(document.pages[0].bottom, c.top + 16) << "the page holds what it holds";
    }
}

TEST(DocumentDc, RowHeaderFirstAndOnlyCellTextRead) {
    RecordingDc recording;
    DocumentDc dc(recording);
    dc.textOut(0, 0, "outside every mark");
    dc.beginMark({DcMark::Page, "Sida"});
    dc.beginMark({DcMark::Table, "Tabell"});
    dc.beginMark({DcMark::Row});
    const auto cell = [&](DcMark kind, int x, const char* text) {
        dc.beginMark({kind});
        if (text[0] != '\0') {
            dc.textOut(x, 0, text);
        }
        dc.endMark();
    };
    cell(DcMark::Cell, 300, "12");
    dc.textOut(350, 0, "=");
    cell(DcMark::Cell, 400, "");
    cell(DcMark::Cell, 500, " 7 ");
    cell(DcMark::RowHeader, 10, "Likheter");
    dc.endMark();
    dc.endMark();
    dc.beginMark({DcMark::Table, "open at the end"});
    const ReportDocument document = dc.takeDocument();

    ASSERT_EQ(document.pages.size(), 0u) << "a page still open is not read";
    dc.endMark();
    dc.endMark();
    const ReportDocument closed = dc.takeDocument();
    ASSERT_EQ(closed.pages.size(), 1u);
    const ReportNode& table = closed.pages[0].children.at(0);
    EXPECT_EQ(table.text, "Tabell");
    const ReportNode& row = table.children.at(0);
    const std::vector<std::string> expected{"Likheter", "12", "", "7"};
    std::vector<std::string> read;
    for (const ReportNode& c : row.children) {
        read.push_back(c.text);
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(row.children.front().kind, DcMark::RowHeader);
}

} // namespace
