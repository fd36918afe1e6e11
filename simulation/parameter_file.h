#pragma once
// The parameter file (*.prm) and the wizard's hand-over to the calculation
// (temp/Calc1.tmp). No window: callers show their own messages.
//
//   *.prm       byte stream  ParameterFileHeader (29), SolidsBlock (40),
//                            MeltingBlock (16), PortRecord (44) per feed port:
//                            85 + 44 N bytes
//   Calc1.tmp   record file  nine 128-byte records, one value at the start of
//                            each (records::Calc1Values); texts of at most
//                            126 characters
//
// A parameter file is read into a temporary set and handed over only when it
// is whole: the marker Chr(6), the header and both blocks. Port records the
// file does not hold in full are zero.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/files.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"

namespace sim {

// The process parameters of one simulation.
struct ParameterSet {
    records::ParameterFileHeader header;
    records::SolidsBlock solids;
    records::MeltingBlock melting;
    records::OneBasedList<records::PortRecord> ports;  // 1..port count
};

// The flow leaving feed port p: the flow rates of ports 1..p added up in
// single precision, as the calculation adds them (0 for p = 0).
float totalFlowThrough(const records::OneBasedList<records::PortRecord>& ports, int port);
// The volume flow leaving feed port p in l/hr: each port's flow rate over its
// density, added up in single precision as the calculation adds them (0 for
// p = 0). The densities of the ports that feed must be above 0.
float totalVolumeThrough(const records::OneBasedList<records::PortRecord>& ports, int port);

// Bytes of the header and the two blocks, and of a file for n ports.
inline constexpr std::size_t kParameterFileFixedPart =
    records::ParameterFileHeader::kSize + records::SolidsBlock::kSize + records::MeltingBlock::kSize;
constexpr std::size_t parameterFileLength(std::size_t ports) {
    return kParameterFileFixedPart + records::PortRecord::kSize * ports;
}

enum class ParameterFileRead {
    Read,        // the set was filled
    Empty,       // the file has no byte; the set is untouched
    WrongFormat, // no Chr(6) marker, or header and blocks not all there; untouched
};

// Reads a parameter file for portCount ports into `into`. With
// CreateIfMissing a missing file is created empty (and reads as Empty).
// Raises rt::Error when the file cannot be opened or read.
ParameterFileRead readParameterFile(const std::string& path, int portCount, ParameterSet& into,
                                    records::OpenMode mode = records::OpenMode::ReadOnly);

// The file's bytes: header, blocks and the port records in order.
std::vector<std::uint8_t> packParameterFile(const ParameterSet& set);
// Writes the file over from its start: a longer old file keeps its tail, and
// a failure leaves the old file as it was. Raises rt::Error on failure.
void writeParameterFile(const std::string& path, const ParameterSet& set);

// The first text of the hand-over that does not fit its 126 characters.
std::optional<std::string> calc1TextTooLong(const records::Calc1Values& values);
// Writes temp/Calc1.tmp whole (the old file stays on failure). Raises
// rt::Error on failure and for a text that does not fit.
void writeCalc1File(const std::string& path, const records::Calc1Values& values);
// Reads temp/Calc1.tmp. A missing file, or one that ends before its ninth
// value, raises rt::Error.
records::Calc1Values readCalc1File(const std::string& path);

// The hand-over as the shared variables hold it after the analysis and the
// wizard.
records::Calc1Values calc1FromSharedState();

}  // namespace sim
