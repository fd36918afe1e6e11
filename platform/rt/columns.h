#pragma once
// Text lines built by print columns, as printed reports and text output
// files lay them out. Columns count from 1. An item placed by tab(n) starts
// at column n of the current line (the gap filled with blanks), or at column
// n of a new line when the current line already reaches column n or beyond.
// Finished lines are collected until taken.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

class ColumnWriter {
public:
    // Moves to print column n (n below 1 counts as 1).
    ColumnWriter& tab(long n);
    // Appends text at the current position.
    ColumnWriter& text(std::string_view s);
    // Appends a printed number item: blank or minus, digits, one blank.
    ColumnWriter& number(double value);  // taken as a single
    ColumnWriter& number(int value);
    // Finishes the current line (an empty one too).
    ColumnWriter& endLine();

    // The column where the next item starts (1-based).
    std::size_t column() const { return line_.size() + 1; }
    const std::string& currentLine() const { return line_; }
    const std::vector<std::string>& lines() const { return lines_; }
    // Hands over the finished lines and forgets them.
    std::vector<std::string> takeLines();
    // Hands over the unfinished line and starts a fresh one.
    std::string takeCurrentLine();

private:
    std::string line_;
    std::vector<std::string> lines_;
};

}  // namespace rt
