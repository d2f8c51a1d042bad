// SPDX-License-Identifier: Apache-2.0
#include "report_plain_text.h"

#include "report_graphic_values.h"

#include <algorithm>

namespace {

// A tab or line break inside a text would split its cell or row: it is read as a space.
std::string oneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return line;
}

class PlainTextWriter {
  public:
    std::string write(const ReportDocument& document) {
        block(oneLine(document.title) + "\n");
        for (const ReportNode& page : document.pages) {
            writeNode(page);
        }
        return std::move(out_);
    }

  private:
    void block(const std::string& text) {
        if (text.empty()) {
            return;
        }
        if (!out_.empty()) {
            out_ += "\n";
        }
        out_ += text;
    }

    void writeNode(const ReportNode& node) {
        switch (node.kind) {
        case DcMark::Page: {
            const bool headed =
                std::any_of(node.children.begin(), node.children.end(),
                            [](const ReportNode& child) { return child.kind == DcMark::Heading; });
            if (!headed && !node.text.empty()) {
                block(oneLine(node.text) + "\n");
            }
            for (const ReportNode& child : node.children) {
                writeNode(child);
            }
            break;
        }
        case DcMark::Table:
            writeTable(node);
            break;
        case DcMark::Graphic:
            writeGraphic(node);
            break;
        default:
            if (!node.text.empty()) {
                block(oneLine(node.text) + "\n");
            }
            break;
        }
    }

    void writeTable(const ReportNode& table) {
        std::string text = table.text.empty() ? "" : oneLine(table.text) + "\n";
        for (const ReportNode& row : table.children) {
            if (row.kind != DcMark::Row) {
                continue;
            }
            for (std::size_t i = 0; i < row.children.size(); ++i) {
                text += (i == 0 ? "" : "\t") + oneLine(row.children[i].text);
            }
            text += "\n";
        }
        block(text);
    }

    void writeGraphic(const ReportNode& graphic) {
        const GraphicValues split = splitGraphicLabel(graphic.text);
        std::string text = oneLine(split.title) + "\n";
        for (const GraphicValue& value : split.values) {
            text += oneLine(value.name) + "\t" + oneLine(value.value) + "\n";
        }
        block(text);
    }

    std::string out_;
};

} // namespace

std::string reportPlainText(const ReportDocument& document) {
    return PlainTextWriter().write(document);
}
