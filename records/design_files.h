#pragma once
// Readers and writers of the element database and of the design files:
//
//   screwgeo/<code>.gs  record file (36)  ScrewGeoRec 1..n, no header
//   kneadgeo/<code>.gk  record file (38)  KneadGeoRec 1..n, no header
//   brlkgeo/<code>.gb   record file (36)  BarrelRec blocks 1..n, no header
//   *.srw               record file (39)  header, "Screw Root", N elements, "Screw Head"
//   *.brl               record file (36)  header, N blocks
//   *.die               record file (27)  one DieRec
//   *.ext               byte stream       ExtHeader, nS ScrewRec, nB BarrelRec
//
// Record files are read with the rounded record count; a last record that
// lies partly beyond the end of the file reads as blank text and zero numbers.
// Files are rewritten whole (the old content is replaced only when every
// write succeeded). Marker checks are left to the callers, which each have
// their own message; see hasMarker below.
//
// Every function raises rt::Error on a failed file operation and on a file
// whose structure does not hold what it announces.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/design_records.h"
#include "records/files.h"
#include "records/markers.h"

namespace records {

// How a reader takes a record count of 0: as no record, or as record 1 of
// the empty file, which reads as a blank record.
enum class ReadCount { AsIs, ZeroAsOne };

// --- Markers of the header records --------------------------------------

inline bool hasMarker(const ScrewRec& header) { return hasMarker(header.Kind, FileKind::Screw); }
inline bool hasMarker(const BarrelRec& header) { return hasMarker(header.Type, FileKind::Barrel); }
inline bool hasMarker(const DieRec& die) { return hasMarker(die.Marker, FileKind::Die); }
inline bool hasMarker(const ExtHeader& header) { return hasMarker(header.Marker, FileKind::Extruder); }

// --- Element database ---------------------------------------------------

// All records, 1..record count. By default a missing file is an error
// (kFileNotFound) and is not created: reading never makes an element file.
// The element editors, which write the file they open, open it with
// CreateIfMissing, so that a new code starts from an empty file.
std::vector<ScrewGeoRec> readScrewGeoFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly,
                                          ReadCount count = ReadCount::AsIs);
std::vector<KneadGeoRec> readKneadGeoFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly,
                                          ReadCount count = ReadCount::AsIs);
std::vector<BarrelRec> readBarrelGeoFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly,
                                         ReadCount count = ReadCount::AsIs);

// A library that its code may not have yet, as the designers list it: a
// missing file (in a folder that exists) reads as no record and is not
// created. Every other failure raises as above.
std::vector<KneadGeoRec> readKneadLibrary(const std::string& path);
std::vector<BarrelRec> readBarrelLibrary(const std::string& path);

// Rewrites the whole file with exactly these records (none: an empty file).
void writeScrewGeoFile(const std::string& path, const std::vector<ScrewGeoRec>& recs);
void writeKneadGeoFile(const std::string& path, const std::vector<KneadGeoRec>& recs);
void writeBarrelGeoFile(const std::string& path, const std::vector<BarrelRec>& recs);

// --- Screw file -----------------------------------------------------------

// A library element in radius units, R = D / 2 of that same record. A
// diameter of 0 raises kDivisionByZero.
ScrewRec screwElementFrom(const ScrewGeoRec& g);
ScrewRec screwElementFrom(const KneadGeoRec& k);

// The fixed records around the elements.
ScrewRec screwRootRecord();
ScrewRec screwHeadRecord();

// Header of a screw file: code, marker Chr(1), the design's diameter (mm) and
// the totals of the elements (count, conveying count, sum of L/R, left-handed
// count as a Single, kneading count). A kind counts as conveying when it is
// "s" in either case; every other kind counts as kneading.
ScrewRec screwFileHeader(std::string_view code, float diameter, const std::vector<ScrewRec>& elements);

// Every record of a screw file in file order (header, root, elements, head
// for a well-formed file). By default a missing file is an error and is not
// created.
std::vector<ScrewRec> readScrewFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly,
                                    ReadCount count = ReadCount::AsIs);
// Writes header, root, the elements in order and head: (N + 3) x 39 bytes.
// More elements than 16-bit record numbers can address raise kOverflow.
void writeScrewFile(const std::string& path, const ScrewRec& header, const std::vector<ScrewRec>& elements);

// --- Barrel file ----------------------------------------------------------

// The accumulated L/D of barrel blocks: each block's length / D added up in
// single precision, in design order. D = 0 raises kDivisionByZero.
float barrelLengthOverD(float diameter, const std::vector<BarrelRec>& blocks);

// Header of a barrel file: code, marker Chr(2), the design's diameter D (mm),
// hopper and vent counts, total length and block count, computed as the
// barrel designer does: the length is the sum of length / D times D. A block
// type counts as vent or hopper after upper-casing. D = 0 raises
// kDivisionByZero.
BarrelRec barrelFileHeader(std::string_view code, float diameter, const std::vector<BarrelRec>& blocks);

// Every record of a barrel file in file order (header, blocks).
std::vector<BarrelRec> readBarrelFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly,
                                      ReadCount count = ReadCount::AsIs);
// Writes the header and the blocks: (N + 1) x 36 bytes.
void writeBarrelFile(const std::string& path, const BarrelRec& header, const std::vector<BarrelRec>& blocks);

// --- Die file -------------------------------------------------------------

// Record 1 of a die file (blank text and zero numbers for what the file does
// not hold). The die designer opens "noname" with CreateIfMissing.
DieRec readDieFile(const std::string& path, OpenMode mode = OpenMode::ReadOnly);
void writeDieFile(const std::string& path, const DieRec& die);

// --- Extruder file --------------------------------------------------------

struct ExtruderFileContent {
    ExtHeader header;
    std::vector<ScrewRec> screw;    // header.ScrewCount records: screw header, root, elements, head
    std::vector<BarrelRec> barrel;  // header.BarrelCount records: barrel header, blocks in radius units, die
};

// Byte length of the records of an extruder file.
constexpr std::size_t extruderFileLength(std::size_t nS, std::size_t nB) {
    return ExtHeader::kSize + ScrewRec::kSize * nS + BarrelRec::kSize * nB;
}

// The header alone, so a caller can check its marker before anything else.
// A file shorter than a header raises kInputPastEndOfFile.
ExtHeader readExtHeader(const std::string& path);

// Header and the nS + nB records it announces. Negative counts raise
// kBadRecordLength, counts that reach past the end of the file raise
// kInputPastEndOfFile, both before anything is allocated. Bytes after the
// announced records (left by a write over a longer file) are ignored.
ExtruderFileContent readExtruderFile(const std::string& path);
// The same from bytes already in memory.
ExtruderFileContent parseExtruderFile(const std::vector<std::uint8_t>& bytes);

enum class ExtruderWrite {
    Replace,       // the file afterwards holds exactly the new records
    OverExisting,  // written from byte 0; a longer old file keeps its tail
};
// The header's counts must match the record lists (kInvalidCall otherwise).
void writeExtruderFile(const std::string& path, const ExtruderFileContent& content,
                       ExtruderWrite mode = ExtruderWrite::Replace);
std::vector<std::uint8_t> packExtruderFile(const ExtruderFileContent& content);

}  // namespace records
