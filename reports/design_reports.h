#pragma once
// The printed reports of the design files: a screw file, a barrel file, a die
// file and an assembled extruder file, as lines of text laid out by print
// columns. Each report reads what it reports and returns all its lines; it
// prints nothing itself, so a report that fails half way (a file that cannot
// be opened, a read past the end, a division by zero) raises before a single
// line reaches the printer. No window.
//
// Stored design files are read as they are: no marker is checked, a record
// file's missing records read as blank ones. A banner holds at most `room`
// characters (a printed line): a path too long for it loses the middle of
// its folders, the file's name stays whole.
#include <cstddef>
#include <string>
#include <vector>

#include "records/design_files.h"

namespace reports {

// Banner, element table (conveying and kneading elements only, numbered by
// record number - 2) and the totals of the screw header. `path` is also the
// banner's text.
std::vector<std::string> screwReport(const std::string& path, std::size_t room);
// Banner, block table with the port locations and the barrel length: the
// blocks that the header counts, as far as the file holds them.
std::vector<std::string> barrelReport(const std::string& path, std::size_t room);
// Banner and the five dimensions of the die.
std::vector<std::string> dieReport(const std::string& path, std::size_t room);
// General data, screw table and totals, barrel table and L/D, and the die
// section when the last barrel record is the die ("D"). The banners name the
// header's screw, barrel and die paths without blanks at either end.
std::vector<std::string> extruderReport(const records::ExtruderFileContent& extruder, std::size_t room);

}  // namespace reports
