// SPDX-License-Identifier: Apache-2.0
#include "report_html.h"

#include "report_graphic_values.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

constexpr const char* kStyleSheet = R"(@page { size: A4; margin: 15mm; }
body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 11pt; color: #000; background: #fff; margin: 1em; }
main > section { break-after: page; page-break-after: always; }
main > section:last-child { break-after: auto; page-break-after: auto; }
h1 { font-size: 16pt; } h2 { font-size: 13pt; } h3, h4, h5, h6 { font-size: 11pt; }
table { border-collapse: collapse; margin: 0.5em 0 1em; break-inside: avoid; page-break-inside: avoid; }
caption { text-align: left; font-weight: bold; padding: 0.2em 0; }
th, td { border: 1px solid #444; padding: 0.15em 0.5em; }
th { text-align: left; background: #eee; }
td { text-align: right; font-variant-numeric: tabular-nums; }
figure { margin: 0.5em 0 1em; break-inside: avoid; page-break-inside: avoid; }
figure svg { display: block; max-width: 100%; height: auto; }
figure table { min-width: 18em; }
p.not { font-size: 9pt; }
div.observera { border: 2px solid #000; padding: 0 1em; margin-bottom: 1em; }
@media print { body { margin: 0; } th { background: none; } }
)";

// The graph picture's size, in SVG user units.
constexpr int kGraphWidth = 640;
constexpr int kGraphHeight = 220;
constexpr int kGraphMargin = 40;

class HtmlWriter {
  public:
    std::string write(const ReportDocument& document, const std::vector<std::string>& problems) {
        out_ += "<!DOCTYPE html>\n<html lang=\"sv\">\n<head>\n<meta charset=\"utf-8\">\n";
        out_ += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
        out_ += "<title>" + escapeHtml(document.title) + "</title>\n";
        out_ += "<style>\n";
        out_ += kStyleSheet;
        out_ += "</style>\n</head>\n<body>\n<main>\n";
        writeProblems(problems);
        for (const ReportNode& page : document.pages) {
            writePage(page);
        }
        out_ += "</main>\n</body>\n</html>\n";
        return std::move(out_);
    }

  private:
    void writeProblems(const std::vector<std::string>& problems) {
        if (problems.empty()) {
            return;
        }
        out_ += "<div class=\"observera\">\n<p><strong>Att observera</strong></p>\n<ul>\n";
        for (const std::string& problem : problems) {
            out_ += "<li>" + escapeHtml(problem) + "</li>\n";
        }
        out_ += "</ul>\n</div>\n";
    }

    void writePage(const ReportNode& page) {
        out_ += "<section>\n";
        // A page whose painter gave it no heading of its own is headed by its title, so that
        // every page can be reached by its heading.
        const bool headed =
            std::any_of(page.children.begin(), page.children.end(),
                        [](const ReportNode& n) { return n.kind == DcMark::Heading; });
        if (!headed && !page.text.empty()) {
            writeHeading(1, page.text);
        }
        writeChildren(page);
        out_ += "</section>\n";
    }

    void writeChildren(const ReportNode& parent) {
        for (const ReportNode& child : parent.children) {
            writeNode(child);
        }
    }

    void writeNode(const ReportNode& node) {
        switch (node.kind) {
        case DcMark::Page:
            writePage(node);
            break;
        case DcMark::Heading:
            writeHeading(node.level, node.text);
            break;
        case DcMark::Paragraph:
            writeParagraph("<p>", node.text);
            break;
        case DcMark::Note:
            writeParagraph("<p class=\"not\">", node.text);
            break;
        case DcMark::Table:
            writeTable(node);
            break;
        case DcMark::Graphic:
            writeGraphic(node);
            break;
        case DcMark::Row:
        case DcMark::ColumnHeader:
        case DcMark::RowHeader:
        case DcMark::Cell:
            // Cells outside a table are read as running text.
            writeParagraph("<p>", node.text);
            break;
        }
    }

    // Levels never skip one on the way down (h1 then h3 reads as a missing section): each heading
    // is one below the nearest heading before it that was painted higher, and level with one
    // painted as high; within h1..h6.
    void writeHeading(int painted, const std::string& text) {
        if (text.empty()) {
            return;
        }
        while (!open_.empty() && open_.back().painted > painted) {
            open_.pop_back();
        }
        int level = 1;
        if (!open_.empty() && open_.back().painted == painted) {
            level = open_.back().written;
            open_.pop_back();
        } else if (!open_.empty()) {
            level = std::min(6, open_.back().written + 1);
        }
        open_.push_back({painted, level});
        const std::string tag = "h" + std::to_string(level);
        out_ += "<" + tag + ">" + escapeHtml(text) + "</" + tag + ">\n";
    }

    void writeParagraph(const char* open, const std::string& text) {
        if (!text.empty()) {
            out_ += open + escapeHtml(text) + "</p>\n";
        }
    }

    void writeTable(const ReportNode& table) {
        out_ += "<table>\n";
        if (!table.text.empty()) {
            out_ += "<caption>" + escapeHtml(table.text) + "</caption>\n";
        }
        for (const ReportNode& row : table.children) {
            if (row.kind != DcMark::Row) {
                continue;
            }
            out_ += "<tr>";
            for (const ReportNode& cell : row.children) {
                writeCell(cell);
            }
            out_ += "</tr>\n";
        }
        out_ += "</table>\n";
    }

    // A header cell with no text (the corner above the row headers) heads nothing: it is
    // written as an empty data cell.
    void writeCell(const ReportNode& cell) {
        const std::string text = escapeHtml(cell.text);
        if (cell.kind == DcMark::ColumnHeader && !cell.text.empty()) {
            out_ += "<th scope=\"col\">" + text + "</th>";
        } else if (cell.kind == DcMark::RowHeader && !cell.text.empty()) {
            out_ += "<th scope=\"row\">" + text + "</th>";
        } else {
            out_ += "<td>" + text + "</td>";
        }
    }

    void writeGraphic(const ReportNode& graphic) {
        const GraphicValues split = splitGraphicLabel(graphic.text);
        out_ += "<figure>\n<figcaption>" + escapeHtml(split.title) + "</figcaption>\n";
        writeGraphPicture(graphic.text, split);
        if (!split.values.empty()) {
            out_ += "<table>\n<caption>" + escapeHtml(split.title) + ", värden</caption>\n";
            out_ += "<tr><th scope=\"col\">Mått</th><th scope=\"col\">Värde</th></tr>\n";
            for (const GraphicValue& value : split.values) {
                out_ += "<tr><th scope=\"row\">" + escapeHtml(value.name) + "</th><td>" +
                        escapeHtml(value.value) + "</td></tr>\n";
            }
            out_ += "</table>\n";
        }
        out_ += "</figure>\n";
    }

    // The values as points joined by a line, each named under its place, on the scale of their
    // kind with its mean as a dashed line; a value that is no number (a subtest not given) leaves
    // a gap. The picture's text alternative is the label, which lists the values.
    void writeGraphPicture(const std::string& label, const GraphicValues& split) {
        out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" viewBox=\"0 0 " +
                std::to_string(kGraphWidth) + " " + std::to_string(kGraphHeight) + "\" width=\"" +
                std::to_string(kGraphWidth) + "\" height=\"" + std::to_string(kGraphHeight) +
                "\" aria-label=\"" + escapeHtml(label) + "\">\n<title>" + escapeHtml(label) +
                "</title>\n";
        std::vector<double> numbers(split.values.size());
        std::vector<bool> known(split.values.size());
        double lowest = 0;
        double highest = 0;
        bool any = false;
        for (std::size_t i = 0; i < split.values.size(); ++i) {
            known[i] = graphicValueNumber(split.values[i].value, numbers[i]);
            if (known[i]) {
                lowest = any ? std::min(lowest, numbers[i]) : numbers[i];
                highest = any ? std::max(highest, numbers[i]) : numbers[i];
                any = true;
            }
        }
        const GraphScale scale = graphScale(lowest, highest);
        const double left = kGraphMargin;
        const double right = kGraphWidth - kGraphMargin / 2;
        const double top = kGraphMargin / 2;
        const double bottom = kGraphHeight - kGraphMargin;
        const auto yOf = [&](double value) {
            return bottom - (value - scale.low) / (scale.high - scale.low) * (bottom - top);
        };
        out_ += "<rect x=\"" + format(left) + "\" y=\"" + format(top) + "\" width=\"" +
                format(right - left) + "\" height=\"" + format(bottom - top) +
                "\" fill=\"none\" stroke=\"#444\"/>\n";
        if (!any) {
            out_ += "</svg>\n";
            return;
        }
        std::vector<double> marks = {scale.low, scale.high};
        if (scale.hasMean) {
            marks.push_back(scale.mean);
            out_ += "<line x1=\"" + format(left) + "\" y1=\"" + format(yOf(scale.mean)) +
                    "\" x2=\"" + format(right) + "\" y2=\"" + format(yOf(scale.mean)) +
                    "\" stroke=\"#444\" stroke-dasharray=\"4 3\"/>\n";
        }
        for (const double mark : marks) {
            out_ += "<text x=\"" + format(left - 4) + "\" y=\"" + format(yOf(mark) + 4) +
                    "\" font-size=\"11\" text-anchor=\"end\" fill=\"#000\">" + number(mark) +
                    "</text>\n";
        }
        const double step = (right - left) / static_cast<double>(split.values.size());
        std::string points;
        for (std::size_t i = 0; i < split.values.size(); ++i) {
            const double x = left + step * (static_cast<double>(i) + 0.5);
            out_ += "<text x=\"" + format(x) + "\" y=\"" + format(bottom + 16) +
                    "\" font-size=\"11\" text-anchor=\"middle\" fill=\"#000\">" +
                    escapeHtml(split.values[i].name) + "</text>\n";
            if (!known[i]) {
                if (points.find(' ') != std::string::npos) {
                    polyline(points);
                }
                points.clear();
                continue;
            }
            const double y = yOf(numbers[i]);
            out_ += "<circle cx=\"" + format(x) + "\" cy=\"" + format(y) +
                    "\" r=\"4\" fill=\"#000\"/>\n";
            points += (points.empty() ? "" : " ") + format(x) + "," + format(y);
        }
        if (points.find(' ') != std::string::npos) {
            polyline(points);
        }
        out_ += "</svg>\n";
    }

    void polyline(const std::string& points) {
        out_ += "<polyline points=\"" + points +
                "\" fill=\"none\" stroke=\"#000\" stroke-width=\"1.5\"/>\n";
    }

    // A scale mark as a whole number where it is one.
    static std::string number(double value) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value);
        return std::string(text, result.ptr);
    }

    // With a decimal point whatever the locale.
    static std::string format(double value) {
        char text[32];
        const auto result =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
        return std::string(text, result.ptr);
    }

    struct OpenHeading {
        int painted;
        int written;
    };
    std::string out_;
    std::vector<OpenHeading> open_;
};

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string reportHtml(const ReportDocument& document, const std::vector<std::string>& problems) {
    return HtmlWriter().write(document, problems);
}
