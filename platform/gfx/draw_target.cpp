#include "platform/gfx/draw_target.h"

namespace gfx {

Twips charWidth(float fontSize) { return fontSize * 12.0f; }
Twips lineHeight(float fontSize) { return fontSize * 24.0f; }

void DrawTarget::addLine(Twips x1, Twips y1, Twips x2, Twips y2, Color color, bool foreground, LineStyle style) {
    DrawOp op;
    op.kind = style == LineStyle::Plain ? OpKind::Segment : style == LineStyle::Box ? OpKind::Box : OpKind::FilledBox;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.color = color;
    op.foreground = foreground;
    op.lineWidth = drawWidth_;
    currentX_ = x2;
    currentY_ = y2;
    record(std::move(op));
}

void DrawTarget::line(Twips x1, Twips y1, Twips x2, Twips y2, LineStyle style) {
    addLine(x1, y1, x2, y2, foreColor_, true, style);
}
void DrawTarget::line(Twips x1, Twips y1, Twips x2, Twips y2, Color color, LineStyle style) {
    addLine(x1, y1, x2, y2, color, false, style);
}
void DrawTarget::lineStep(Twips x1, Twips y1, Twips dx, Twips dy, LineStyle style) {
    addLine(x1, y1, x1 + dx, y1 + dy, foreColor_, true, style);
}
void DrawTarget::lineStep(Twips x1, Twips y1, Twips dx, Twips dy, Color color, LineStyle style) {
    addLine(x1, y1, x1 + dx, y1 + dy, color, false, style);
}
void DrawTarget::lineTo(Twips x2, Twips y2, LineStyle style) {
    addLine(currentX_, currentY_, x2, y2, foreColor_, true, style);
}
void DrawTarget::lineTo(Twips x2, Twips y2, Color color, LineStyle style) {
    addLine(currentX_, currentY_, x2, y2, color, false, style);
}

Twips DrawTarget::textWidth(std::string_view text) const {
    return charWidth(fontSize_) * static_cast<float>(text.size());
}
Twips DrawTarget::textHeight() const { return lineHeight(fontSize_); }

void DrawTarget::print(std::string_view text) {
    beforeText();
    if (!text.empty()) {
        DrawOp op;
        op.kind = OpKind::Text;
        op.x1 = op.x2 = currentX_;
        op.y1 = op.y2 = currentY_;
        op.color = foreColor_;
        op.foreground = true;
        op.lineWidth = drawWidth_;
        op.fontSize = fontSize_;
        op.text = std::string(text);
        record(std::move(op));
    }
    currentX_ += textWidth(text);
}

void DrawTarget::printLine(std::string_view text) {
    print(text);
    currentX_ = 0;
    currentY_ += textHeight();
}

void DrawTarget::printText(Twips x, Twips y, std::string_view text) {
    currentX_ = x;
    currentY_ = y;
    printLine(text);
}

void WindowTarget::setBackColor(Color c) { backColor_ = c; }

void WindowTarget::clear() {
    list_.clear();
    resetCurrentPoint();
    drawingChanged();
}

void WindowTarget::record(DrawOp op) {
    list_.add(std::move(op));
    drawingChanged();
}

void PrinterTarget::setPageSize(Twips width, Twips height) {
    if (width > 0) width_ = width;
    if (height > 0) height_ = height;
}

void PrinterTarget::begin() {
    if (started_) return;
    started_ = true;
    if (pages_.empty()) pages_.emplace_back();
    began();
}

void PrinterTarget::newPage() {
    begin();
    pages_.emplace_back();
    resetCurrentPoint();
}

std::vector<DisplayList> PrinterTarget::takePages() {
    std::vector<DisplayList> pages = std::move(pages_);
    pages_.clear();
    started_ = false;
    resetCurrentPoint();
    return pages;
}

void PrinterTarget::discard() {
    pages_.clear();
    started_ = false;
    resetCurrentPoint();
}

void PrinterTarget::clear() {
    if (!pages_.empty()) pages_.back().clear();
    resetCurrentPoint();
}

void PrinterTarget::record(DrawOp op) {
    begin();
    pages_.back().add(std::move(op));
}

void PrinterTarget::beforeText() {
    begin();
    // A line that would run past the bottom of the printable area goes to
    // the top of a new page.
    if (currentY() > 0 && currentY() + textHeight() > height_) newPage();
}

}  // namespace gfx
