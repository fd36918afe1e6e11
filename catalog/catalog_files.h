#pragma once
// The catalog files: maincat.dat (series, 64-byte records) and maincode.dat
// (codes, 72-byte records) in the application directory. Both are read
// whole with a record count of 0 taken as 1; a record is the bytes the file
// holds, then zero bytes (record 1 of an empty file is an empty entry).
// Deletes and renames rewrite the file whole; additions append one record.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalog_records.h"

namespace catalog {

using records::CatalogCodeRec;
using records::CatalogSeriesRec;
using SeriesName = records::FixedText<64>;
using CodeField = records::FixedText<8>;

// AppDir & "maincat.dat", AppDir & "maincode.dat".
std::string seriesFilePath();
std::string codeFilePath();

// Records 1 .. count (count 0 taken as 1); a missing file is created empty.
std::vector<CatalogSeriesRec> readSeriesTable(const std::string& path);
std::vector<CatalogCodeRec> readCodeTable(const std::string& path);

// Rewrites the file with exactly these records.
void writeSeriesTable(const std::string& path, const std::vector<CatalogSeriesRec>& table);
void writeCodeTable(const std::string& path, const std::vector<CatalogCodeRec>& table);

// Add Series: written as record count + 1 with a count of 0 taken as 1, so
// the first series of an empty file becomes record 2.
long appendSeries(const std::string& path, std::string_view name);
// Add Extruder: written as record count + 1 (an empty file gets record 1).
long appendCode(const std::string& path, const SeriesName& series, std::string_view code);

// A text field as a list shows it: all its characters, trailing blanks kept,
// up to the first zero byte (a never-set field shows as empty).
template <std::size_t N>
std::string entryText(const records::FixedText<N>& field) {
    std::string s = field.str();
    std::size_t nul = s.find('\0');
    return nul == std::string::npos ? s : s.substr(0, nul);
}

// The code fields of the records filed under this series, in table order.
std::vector<CodeField> codesOfSeries(const std::vector<CatalogCodeRec>& codes, const SeriesName& series);

// True when a record's code, trimmed, equals the typed code (upper-cased by
// the caller, not trimmed), whatever its series.
bool codeExists(const std::vector<CatalogCodeRec>& codes, std::string_view typedCode);

// Removes every code record of this series and code; returns how many. The
// table never drops below one record: when every record matched, the first
// one stays (as the only record of a file always did).
int removeCodes(std::vector<CatalogCodeRec>& codes, const SeriesName& series, const CodeField& code);
// Gives every code record of this series and code the new code; returns how many.
int renameCodes(std::vector<CatalogCodeRec>& codes, const SeriesName& series, const CodeField& code,
                std::string_view newCode);

// Removes every series record of this name (the table may become empty);
// returns how many.
int removeSeries(std::vector<CatalogSeriesRec>& series, const SeriesName& name);
int renameSeries(std::vector<CatalogSeriesRec>& series, const SeriesName& name, std::string_view newName);

// An extruder code becomes part of file names (screwgeo/<code>.gs ...).
// Returns why the code cannot, or empty when it can: a character that no
// file name may hold (\ / : * ? " < > | or a control character), or a code
// whose stored 8 characters are "." or ".." once blanks are removed.
std::string codeNameFault(std::string_view code);
// A code typed into the catalog: as above, and its stored 8 characters, once
// blanks are removed from both ends, hold no blank, since a design file's
// header gives its code only up to the first blank. Returns why the code is
// refused, or empty.
std::string typedCodeFault(std::string_view code);
// The message shown when a typed code is refused.
std::string refusedCodeMessage(std::string_view code);

}  // namespace catalog
