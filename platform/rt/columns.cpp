#include "platform/rt/columns.h"

#include <utility>

#include "platform/rt/numtext.h"

namespace rt {

ColumnWriter& ColumnWriter::tab(long n) {
    auto target = static_cast<std::size_t>(n < 1 ? 0 : n - 1);  // 0-based start
    if (line_.size() > target) endLine();
    line_.append(target - line_.size(), ' ');
    return *this;
}

ColumnWriter& ColumnWriter::text(std::string_view s) {
    line_.append(s);
    return *this;
}

ColumnWriter& ColumnWriter::number(double value) { return text(numberItem(value)); }
ColumnWriter& ColumnWriter::number(int value) { return text(numberItem(value)); }

ColumnWriter& ColumnWriter::endLine() {
    lines_.push_back(std::move(line_));
    line_.clear();
    return *this;
}

std::vector<std::string> ColumnWriter::takeLines() {
    std::vector<std::string> out = std::move(lines_);
    lines_.clear();
    return out;
}

std::string ColumnWriter::takeCurrentLine() {
    std::string out = std::move(line_);
    line_.clear();
    return out;
}

}  // namespace rt
