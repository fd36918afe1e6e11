#pragma once
// The conversion of a result into a columned text file: five profiles along
// the extruder, each a pair of columns (axial position in mm, value):
// pressure, temperature, unmelted solid fraction, average residence time and
// cumulative power. Each profile is put together from the melting-profile
// rows and from the start and starvation points of the element rows. No
// window; the file is written whole or not at all (io::TextOutput).
//
// Every position is the stored position in radius units times the result's
// screw radius, in single precision, and the table keeps singles: two points
// count as one position only when their singles are equal.
#include <array>
#include <string>

#include "platform/rt/array.h"
#include "platform/rt/columns.h"
#include "records/result_file.h"

namespace reports {

// Rows 0 .. 2 nE + M + 1, columns 0 .. 10; pair k (1..5) in columns 2k - 1
// (x, mm) and 2k (value). Row 0 and column 0 stay 0.
using ProfileTable = rt::Array<std::array<float, 11>>;

// The result must have passed readResultInput. A point beyond the table's
// last row raises rt::kSubscriptOutOfRange.
ProfileTable profileTable(const records::ResultData& result);

// The text lines of the table: line 1 holds every value of row 1; every later
// row leaves a pair whose x is 0 blank, and each of its first four pairs ends
// with blanks up to the next pair's column. Values start at the columns 1,
// 10, 20, ..., 90; a value that reaches the next start column pushes what
// follows to that column of a new line.
void writeProfileLines(const ProfileTable& table, rt::ColumnWriter& out);

// Writes the lines to a text file with CR LF line ends; raises the error of a
// failed open or write, leaving an older file of that name as it was.
void writeProfileFile(const std::string& path, const ProfileTable& table);

}  // namespace reports
