#pragma once
// What the geometry views read and write: the design and extruder files they
// draw, the work files they keep in "temp/", and the screw diameter they take
// from the element database. The views change no design or extruder file and
// never create an element file; a work file is always rewritten whole.
//
// A design file that cannot be opened, or is shorter than one record, raises
// rt::Error: the window then shows nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/design_files.h"
#include "records/design_records.h"

namespace views {

// TempDir & name.
std::string workFilePath(std::string_view name);

// Record 1 of a screw, barrel or die file.
records::ScrewRec readScrewHeader(const std::string& path);
records::DieRec lastDieRecord(const std::string& path);
records::DieRec firstDieRecord(const std::string& path);

// Copies the blocks of a barrel file (records 2..N) into the work file,
// which then holds exactly those; returns the header (record 1).
records::BarrelRec copyBarrelBlocks(const std::string& barrelFile, const std::string& workFile);
// The blocks of the work file, records 1..N.
std::vector<records::BarrelRec> readBarrelBlocks(const std::string& workFile);

// Copies the elements of a screw file (records 3..N−1, without header, root
// and head) into the work file, which then holds exactly those; returns them.
std::vector<records::ScrewRec> copyScrewElements(const std::string& screwFile, const std::string& workFile);

// Record 1 of the code's screw element file; nothing when the file is missing
// or empty or the code cannot name it.
std::optional<records::ScrewGeoRec> categoryScrewGeo(const std::string& code);
// The radius a screw is drawn with: half the given diameter (of the code's
// screw elements), or, when that is no positive number, half the screw's
// own header diameter.
float drawingRadius(float elementDiameter, float headerDiameter);

// A file's extruder code becomes the current one only when it can name the
// element files (not blank, no character a file name cannot hold). True
// when it was taken.
bool adoptExtruderCode(const std::string& code);

// An extruder file read whole and checked before anything is taken from it.
enum class ExtruderCheck {
    Good,
    MissingOrEmpty,  // no such file, or 0 bytes
    BadFormat,       // not marked as an extruder file, truncated, or fewer than 3 screw or 1 barrel records
};
struct CheckedExtruder {
    ExtruderCheck check = ExtruderCheck::MissingOrEmpty;
    records::ExtruderFileContent content;
};
CheckedExtruder readCheckedExtruder(const std::string& path);

// The length in mm an extruder drawing is fitted to: the barrel's total
// length, plus the die's length when the header names a die file.
double drawnLength(const records::ExtruderFileContent& extruder, float radius);

}  // namespace views
