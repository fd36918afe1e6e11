#pragma once
// The printed report of a result file as lines of text: the extruder file and
// the working conditions, the solids conveying and melting parameters, one
// block per feed port, the melting region as a table of its profile points,
// and one block per element row from the end of the melting region to the
// last row. Lengths in mm are the stored radius units times the result's own
// screw radius. The extruder file's line holds at most `room` characters (a
// printed line) where its stored path allows: a path too long for it loses
// its padding, then the middle of its folders. No window, no file.
#include <cstddef>
#include <string>
#include <vector>

#include "records/result_file.h"

namespace reports {

// The result must have passed readResultInput.
std::vector<std::string> resultReport(const records::ResultData& result, std::size_t room);

}  // namespace reports
