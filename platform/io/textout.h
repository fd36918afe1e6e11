#pragma once
// A text output file written line by line with CR LF line ends, its lines
// laid out by print columns. The file is replaced only by close(): the
// lines are gathered in memory and then written whole beside the target
// (io::replaceFileContents), so a failure while writing, or an output that
// is abandoned by an error before close(), leaves the old file untouched.
// The name is checked when the output is opened, as an open would: an
// invalid name, a missing folder or a read-only target fail at once.
#include <string>
#include <string_view>

#include "platform/rt/columns.h"

namespace io {

class TextOutput {
public:
    explicit TextOutput(std::string_view path);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    TextOutput& tab(long column) {
        columns_.tab(column);
        return *this;
    }
    TextOutput& text(std::string_view s) {
        columns_.text(s);
        return *this;
    }
    TextOutput& number(double value) {
        columns_.number(value);
        return *this;
    }
    TextOutput& number(int value) {
        columns_.number(value);
        return *this;
    }
    TextOutput& endLine() {
        columns_.endLine();
        return *this;
    }
    rt::ColumnWriter& columns() { return columns_; }

    // Writes the file: every finished line with CR LF, then an unfinished
    // last line as it stands. Raises the error of a failed write.
    void close();
    bool closed() const { return closed_; }

private:
    std::string path_;
    rt::ColumnWriter columns_;
    bool closed_ = false;
};

}  // namespace io
