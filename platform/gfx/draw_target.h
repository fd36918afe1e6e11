#pragma once
// Drawing surfaces. A painter draws on a DrawTarget: a window's retained
// surface (WindowTarget) or the printer's pages (PrinterTarget). Every
// operation is recorded as passed into a DisplayList; the backend shows or
// prints the recorded list, it never asks the program to redraw.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/display_list.h"
#include "platform/gfx/types.h"

namespace gfx {

enum class LineStyle { Plain, Box, FilledBox };

// Text metrics of the fixed-pitch font used for text output: a character is
// 0.6 em wide and a line 1.2 em high (10 points: 120 by 240 twips).
Twips charWidth(float fontSize);
Twips lineHeight(float fontSize);

class DrawTarget {
public:
    virtual ~DrawTarget() = default;

    // A line between two points in the foreground colour or the given one:
    // a segment, an outline box or a filled box. The current point moves to
    // the second point.
    void line(Twips x1, Twips y1, Twips x2, Twips y2, LineStyle style = LineStyle::Plain);
    void line(Twips x1, Twips y1, Twips x2, Twips y2, Color color, LineStyle style = LineStyle::Plain);
    // The second point given relative to the first.
    void lineStep(Twips x1, Twips y1, Twips dx, Twips dy, LineStyle style = LineStyle::Plain);
    void lineStep(Twips x1, Twips y1, Twips dx, Twips dy, Color color, LineStyle style = LineStyle::Plain);
    // From the current point to the given point.
    void lineTo(Twips x2, Twips y2, LineStyle style = LineStyle::Plain);
    void lineTo(Twips x2, Twips y2, Color color, LineStyle style = LineStyle::Plain);

    Twips currentX() const { return currentX_; }
    Twips currentY() const { return currentY_; }
    void setCurrentX(Twips x) { currentX_ = x; }
    void setCurrentY(Twips y) { currentY_ = y; }

    float drawWidth() const { return drawWidth_; }
    void setDrawWidth(float pixels) { drawWidth_ = pixels < 1 ? 1 : pixels; }
    Color foreColor() const { return foreColor_; }
    virtual void setForeColor(Color c) { foreColor_ = c; }
    float fontSize() const { return fontSize_; }
    void setFontSize(float points) { fontSize_ = points > 0 ? points : fontSize_; }

    // Text at the current point; the current point moves to the end of it.
    void print(std::string_view text);
    // Text at the current point, then to the start of the next line.
    void printLine(std::string_view text = {});
    // Text whose top left corner is (x, y), then to the next line.
    void printText(Twips x, Twips y, std::string_view text);
    Twips textWidth(std::string_view text) const;
    Twips textHeight() const;

    // Erases the surface (window) or the current page (printer); the current
    // point goes back to (0, 0).
    virtual void clear() = 0;
    // Ends the current page (printer); a window has no pages.
    virtual void endPage() = 0;

protected:
    explicit DrawTarget(float fontSize) : fontSize_(fontSize) {}
    // Takes one resolved operation.
    virtual void record(DrawOp op) = 0;
    // Called before text is placed at the current point; a paged target may
    // start a new page here.
    virtual void beforeText() {}
    void resetCurrentPoint() { currentX_ = 0; currentY_ = 0; }

private:
    void addLine(Twips x1, Twips y1, Twips x2, Twips y2, Color color, bool foreground, LineStyle style);

    Twips currentX_ = 0, currentY_ = 0;
    float drawWidth_ = 1;
    Color foreColor_ = kBlack;
    float fontSize_;
};

// A window's retained surface: what was drawn stays until the next clear.
class WindowTarget : public DrawTarget {
public:
    WindowTarget() : DrawTarget(8.25f) {}

    const DisplayList& displayList() const { return list_; }
    Color backColor() const { return backColor_; }
    virtual void setBackColor(Color c);

    void clear() override;
    void endPage() override {}

protected:
    void record(DrawOp op) override;
    // Told after every change of the drawing.
    virtual void drawingChanged() {}

private:
    DisplayList list_;
    Color backColor_ = rgb(212, 208, 200);
};

// Pages of a printout. Text that would run past the bottom of the printable
// area starts a new page.
class PrinterTarget : public DrawTarget {
public:
    PrinterTarget() : DrawTarget(10.0f) {}

    // The printable area in twips.
    Twips scaleWidth() const { return width_; }
    Twips scaleHeight() const { return height_; }
    void setPageSize(Twips width, Twips height);

    // Starts a new page: the current one is kept, the current point goes to
    // the top left.
    void newPage();
    // True once anything was drawn or printed since the document began.
    bool started() const { return started_; }
    // The pages so far, the current one last.
    const std::vector<DisplayList>& pages() const { return pages_; }
    // Hands over the pages and starts afresh.
    std::vector<DisplayList> takePages();
    // Throws away everything drawn since the document began.
    void discard();

    void clear() override;
    void endPage() override { newPage(); }

protected:
    void record(DrawOp op) override;
    void beforeText() override;
    // Told when a document begins (its first output).
    virtual void began() {}

private:
    void begin();

    std::vector<DisplayList> pages_;
    bool started_ = false;
    Twips width_ = 11185, height_ = 16118;  // A4 less 6.35 mm margins
};

}  // namespace gfx
