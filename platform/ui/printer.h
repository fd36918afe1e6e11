#pragma once
// The printer. Everything drawn or printed between two ends of document is
// one printout. Text goes out in a fixed-pitch font; report lines are built
// by print columns and break to a new page at the bottom of the printable
// area. A printout that is not ended by the time the user's command is over
// (the command failed half way) is discarded, never merged into the next.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/gfx/draw_target.h"
#include "platform/rt/columns.h"
#include "platform/ui/backend.h"

namespace ui {

class Printer : public gfx::PrinterTarget {
public:
    Printer() = default;

    // Report lines: an item placed at column n starts there, or at column n
    // of the next line when the line already reaches past n.
    Printer& tab(long column);
    Printer& text(std::string_view s);
    Printer& number(double value);
    Printer& number(int value);
    // Prints the line built so far and goes to the next one.
    Printer& endLine();
    // How many characters of the current font a line of the printable area
    // holds, on the page of the printer that printouts go to.
    std::size_t charactersPerLine();

    // Ends the document and sends it to the printer. A document that cannot
    // be printed is discarded and the error raised.
    void endDoc();
    // Discards the document.
    void killDoc();
    // The page end of a printed drawing sends the document.
    void endPage() override { endDoc(); }

    // The printer every printout goes to (the printer setup dialog sets it).
    const PrinterSettings& settings();
    void setSettings(PrinterSettings settings);

    // The event nesting depth at which the current document began.
    int beganDepth() const { return beganDepth_; }

protected:
    void began() override;

private:
    void flushColumns(bool all);
    void resetDocument();

    rt::ColumnWriter columns_;
    PrinterSettings settings_;
    bool haveSettings_ = false;
    int beganDepth_ = 0;
};

Printer& printer();

}  // namespace ui
