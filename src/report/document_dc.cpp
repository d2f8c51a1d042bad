// SPDX-License-Identifier: Apache-2.0
#include "document_dc.h"

#include <algorithm>
#include <utility>

namespace {

// The text without the blanks that begin or end it.
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string joined(const std::vector<std::string>& texts) {
    std::string result;
    for (const std::string& text : texts) {
        if (!result.empty()) {
            result += ' ';
        }
        result += text;
    }
    return result;
}

// A row's header cells first: painters draw a row's numbers before its name. The other cells
// keep the order they were drawn in, which is left to right.
void headersFirst(std::vector<ReportNode>& cells) {
    std::stable_partition(cells.begin(), cells.end(),
                          [](const ReportNode& cell) { return cell.kind == DcMark::RowHeader; });
}

} // namespace

bool marksText(DcMark kind) {
    switch (kind) {
    case DcMark::Heading:
    case DcMark::Paragraph:
    case DcMark::Note:
    case DcMark::ColumnHeader:
    case DcMark::RowHeader:
    case DcMark::Cell:
        return true;
    default:
        return false;
    }
}

DocumentDc::DocumentDc(Dc& inner) : inner_(inner) {}

ReportDocument DocumentDc::takeDocument() {
    ReportDocument document = std::move(document_);
    document_ = ReportDocument{};
    document.title = "Resultatredovisning";
    return document;
}

unsigned DocumentDc::setTextAlign(unsigned align) {
    align_ = align;
    return inner_.setTextAlign(align);
}

void DocumentDc::textOut(int x, int y, std::string_view text) {
    inner_.textOut(x, y, text);
    if (open_.empty()) {
        return;
    }
    const DcSize size = inner_.textExtent(text);
    int left = x;
    switch (align_ & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        left = x - size.cx;
        break;
    case TextAlign::Center:
        left = x - size.cx / 2;
        break;
    default:
        break;
    }
    int top = y;
    switch (align_ & TextAlign::VerticalMask) {
    case TextAlign::Bottom:
        top = y - size.cy;
        break;
    case TextAlign::Baseline:
        top = y - inner_.textMetrics().ascent;
        break;
    default:
        break;
    }
    const std::string_view words = trimmed(text);
    if (words.empty()) {
        return;
    }
    widen(left, top, left + size.cx, top + size.cy);
    OpenNode& innermost = open_.back();
    if (marksText(innermost.node.kind)) {
        innermost.texts.emplace_back(words);
    }
}

void DocumentDc::moveTo(int x, int y) {
    inner_.moveTo(x, y);
    currentX_ = x;
    currentY_ = y;
}

void DocumentDc::lineTo(int x, int y) {
    inner_.lineTo(x, y);
    if (!open_.empty()) {
        widen(std::min(currentX_, x), std::min(currentY_, y), std::max(currentX_, x),
              std::max(currentY_, y));
    }
    currentX_ = x;
    currentY_ = y;
}

void DocumentDc::rectangle(int left, int top, int right, int bottom) {
    inner_.rectangle(left, top, right, bottom);
    if (!open_.empty()) {
        widen(left, top, right, bottom);
    }
}

void DocumentDc::ellipse(int left, int top, int right, int bottom) {
    inner_.ellipse(left, top, right, bottom);
    if (!open_.empty()) {
        widen(left, top, right, bottom);
    }
}

void DocumentDc::drawBitmap(DcObject bitmap, int x, int y) {
    inner_.drawBitmap(bitmap, x, y);
    const DcSize size = inner_.bitmapSize(bitmap);
    if (!open_.empty()) {
        widen(x, y, x + size.cx, y + size.cy);
    }
}

void DocumentDc::stretchBitmap(DcObject bitmap, int x, int y, int width, int height) {
    inner_.stretchBitmap(bitmap, x, y, width, height);
    if (!open_.empty()) {
        widen(x, y, x + width, y + height);
    }
}

void DocumentDc::widen(int left, int top, int right, int bottom) {
    OpenNode& innermost = open_.back();
    ReportNode& node = innermost.node;
    if (!innermost.boxed) {
        node.left = left;
        node.top = top;
        node.right = right;
        node.bottom = bottom;
        innermost.boxed = true;
        return;
    }
    node.left = std::min(node.left, left);
    node.top = std::min(node.top, top);
    node.right = std::max(node.right, right);
    node.bottom = std::max(node.bottom, bottom);
}

void DocumentDc::beginMark(const DcMarkSpec& mark) {
    inner_.beginMark(mark);
    OpenNode open;
    open.node.kind = mark.kind;
    open.node.text = mark.label;
    open.node.level = mark.level;
    open_.push_back(std::move(open));
}

void DocumentDc::endMark() {
    inner_.endMark();
    if (open_.empty()) {
        return;
    }
    OpenNode open = std::move(open_.back());
    open_.pop_back();
    close(std::move(open));
}

void DocumentDc::close(OpenNode open) {
    ReportNode& node = open.node;
    if (marksText(node.kind)) {
        node.text = joined(open.texts);
    }
    if (node.kind == DcMark::Row) {
        headersFirst(node.children);
    }
    if (open_.empty()) {
        if (node.kind == DcMark::Page) {
            document_.pages.push_back(std::move(node));
        }
        return;
    }
    if (open.boxed) {
        widen(node.left, node.top, node.right, node.bottom);
    }
    open_.back().node.children.push_back(std::move(node));
}
