#include "reports/printing.h"

#include "platform/ui/printer.h"

namespace reports {

void printLines(const std::vector<std::string>& lines) {
    ui::Printer& printer = ui::printer();
    for (const std::string& line : lines) printer.text(line).endLine();
    printer.endDoc();
}

std::size_t printedLineRoom() { return ui::printer().charactersPerLine(); }

}  // namespace reports
