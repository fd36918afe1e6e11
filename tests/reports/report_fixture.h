#pragma once
// The program run headless on the sample files, and the printed lines read
// back from its printouts.
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/io/files.h"
#include "platform/ui/backend.h"
#include "sample_files.h"
#include "shell/shell_fixture.h"

namespace reporttest {

// The lines of a printout: text at line k of a page stands at y = 240 k (the
// printer's 10-point font), and a full page holds 67 lines. Blank lines after
// the last text of the printout leave no trace.
inline std::vector<std::string> printedLines(const ui::PrintJob& job) {
    constexpr int kLineHeight = 240, kLinesPerPage = 67;
    std::vector<std::string> lines;
    for (std::size_t p = 0; p < job.pages.size(); ++p) {
        const std::size_t base = lines.size();
        for (const gfx::DrawOp& op : job.pages[p]) {
            if (op.kind != gfx::OpKind::Text) continue;
            const auto k = static_cast<std::size_t>(std::lround(op.y1 / kLineHeight));
            if (lines.size() < base + k + 1) lines.resize(base + k + 1);
            lines[base + k] = op.text;
        }
        if (p + 1 < job.pages.size()) lines.resize(base + kLinesPerPage);
    }
    return lines;
}

}  // namespace reporttest
