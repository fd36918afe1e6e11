#pragma once
// The result layout: the flow work file temp/flow.tmp and every saved result
// (*.flw). One writer and one reader, used by the calculation and by every
// later reader of results.
//
//   0                      AnalysisHeader (327, marker Chr(5))
//   327 + 119 (i - 1)      ElementRecord i, i = 1 .. nE
//   E = 327 + 119 nE       RunState (16)
//   E + 16 + 24 j          MeltProfileRow j, j = 0 .. M
//   P = E + 16 + 24 (M+1)  SolidsBlock (40), then MeltingBlock (16)
//   P + 56 + 44 (k - 1)    PortRecord k, k = 1 .. N
//   Q = P + 56 + 44 N      ScrewRec 1 .. nS (39 each), then BarrelRec 1 .. nB (36 each)
//
// The flow work file as the iteration leaves it ends after the last port
// record; the last step of the calculation appends the extruder's records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/analysis_records.h"
#include "records/design_records.h"
#include "records/parameter_records.h"
#include "records/result_records.h"

namespace records {

struct ResultData {
    AnalysisHeader header;
    std::vector<ElementRecord> elements;  // element rows 1 .. nE
    RunState runState;
    std::vector<MeltProfileRow> profile;  // rows 0 .. LastProfileRow
    SolidsBlock solids;
    MeltingBlock melting;
    std::vector<PortRecord> ports;        // ports 1 .. N
    std::vector<ScrewRec> screw;          // empty while the extruder is not appended
    std::vector<BarrelRec> barrel;
    bool operator==(const ResultData&) const = default;
};

// How much of the layout a file holds.
enum class ResultExtent {
    UpToPorts,     // the flow work file before the extruder is appended
    WithExtruder,  // a complete result: screw and barrel records after the ports
};

// Byte offsets of the blocks for given counts.
struct ResultOffsets {
    std::uint64_t elements = 0;   // first element record
    std::uint64_t runState = 0;   // E
    std::uint64_t profile = 0;    // first profile row
    std::uint64_t solids = 0;     // P
    std::uint64_t melting = 0;
    std::uint64_t ports = 0;
    std::uint64_t screw = 0;      // Q
    std::uint64_t barrel = 0;
    std::uint64_t end = 0;        // file length of a complete result
};
ResultOffsets resultOffsets(std::int64_t elementCount, std::int64_t lastProfileRow, std::int64_t portCount,
                            std::int64_t screwCount, std::int64_t barrelCount);

// The packed file. The header's element and port counts are written as the
// numbers of element rows and ports given, and with WithExtruder the screw and
// barrel counts of its extruder-header copy as the numbers of records
// appended, so the file always reads back as written. Profile rows 0 ..
// LastProfileRow are written; a profile with fewer rows, a negative
// LastProfileRow or more than 32767 records of a kind raise rt::Error before
// anything is packed.
std::vector<std::uint8_t> packResult(const ResultData& data, ResultExtent extent);

// Rewrites the whole file with packResult's bytes.
void writeResultFile(std::string_view path, const ResultData& data, ResultExtent extent);

enum class ResultCheck {
    Ok,
    NotAResultFile,  // wrong marker, impossible counts or a length that does not fit them
};

// Reads a result from bytes. The marker and every count are checked against
// the length before anything is allocated or read: a truncated, padded or
// garbage file is NotAResultFile and `out` is left unchanged. UpToPorts also
// accepts a complete result and then leaves the extruder records out.
ResultCheck parseResult(const std::uint8_t* bytes, std::size_t size, ResultExtent extent, ResultData& out);
inline ResultCheck parseResult(const std::vector<std::uint8_t>& bytes, ResultExtent extent, ResultData& out) {
    return parseResult(bytes.data(), bytes.size(), extent, out);
}

// Reads a result file (opened read-only). A file that cannot be opened or read
// raises the platform's file error; a file of the wrong form gives
// NotAResultFile, which each reader turns into its own message.
ResultCheck readResultFile(std::string_view path, ResultExtent extent, ResultData& out);

}  // namespace records
