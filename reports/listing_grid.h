#pragma once
// The heading row, column widths and cells of the listing grids.
#include <array>
#include <cstddef>
#include <string>

#include "platform/ui/controls.h"

namespace reports {

struct GridColumn {
    const char* heading;
    gfx::Twips width;
};

template <std::size_t N>
void setGridColumns(ui::Grid& grid, const std::array<GridColumn, N>& columns) {
    for (std::size_t c = 0; c < N; ++c) {
        grid.setTextMatrix(0, static_cast<int>(c), columns[c].heading);
        grid.setColWidth(static_cast<int>(c), columns[c].width);
    }
}

template <std::size_t N>
void setGridRow(ui::Grid& grid, int row, const std::array<std::string, N>& cells) {
    for (std::size_t c = 0; c < N; ++c) grid.setTextMatrix(row, static_cast<int>(c), cells[c]);
}

}  // namespace reports
