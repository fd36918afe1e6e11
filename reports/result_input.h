#pragma once
// The one way the result listings, the printed result report and the export
// read a result file (*.flw), what each of them says of a file that holds no
// result, and what it hands on to the shared state.
#include <string>

#include "records/result_file.h"

namespace reports {

// Reads a complete result, the extruder's records included. Besides the
// marker and the counts that the layout itself checks, these readers index
// with the file's own numbers, so a result they accept has at least one port,
// one element row and a screw header, a melting-end element (in the run
// conditions and in the run state) within the element rows, and a melt-start
// element from 0 up to the melting end. Anything else is NotAResultFile and
// `out` is left unchanged. A file that cannot be opened raises.
records::ResultCheck readResultInput(const std::string& path, records::ResultData& out);

// The screw radius in mm: half the screw header's diameter.
float screwRadius(const records::ResultData& result);

enum class CodeTrim { BothEnds, Trailing };

// What every reader of a result file does first: reads it with
// readResultInput; a file that holds no result gets "Incorrect file format."
// under the reader's title and false, the shared state unchanged. A result
// hands on the extruder code of its header as ExtruderCategory (without
// blanks at the given ends) and its ports as PortRecords 1..N. A file that
// cannot be opened raises.
bool takeResult(const std::string& path, const char* title, CodeTrim trim, records::ResultData& out);

}  // namespace reports
