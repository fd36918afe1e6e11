#include "records/result_file.h"

#include <limits>
#include <utility>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "records/markers.h"

namespace records {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int16_t>::max();

// The longest file that any counts can describe: every count at its largest.
const std::uint64_t kLongestResult =
    resultOffsets(kMaxCount, kMaxCount, kMaxCount, kMaxCount, kMaxCount).end;

std::int16_t countOf(std::size_t n) {
    if (n > static_cast<std::size_t>(kMaxCount)) rt::raise(rt::kOverflow, "too many records for a result file");
    return static_cast<std::int16_t>(n);
}

template <class Rec>
void readAll(PackReader& r, std::vector<Rec>& out, std::size_t n) {
    out.resize(n);
    for (Rec& rec : out) rec.read(r);
}

}  // namespace

ResultOffsets resultOffsets(std::int64_t elementCount, std::int64_t lastProfileRow, std::int64_t portCount,
                            std::int64_t screwCount, std::int64_t barrelCount) {
    ResultOffsets o;
    o.elements = AnalysisHeader::kSize;
    o.runState = o.elements + ElementRecord::kSize * static_cast<std::uint64_t>(elementCount);
    o.profile = o.runState + RunState::kSize;
    o.solids = o.profile + MeltProfileRow::kSize * static_cast<std::uint64_t>(lastProfileRow + 1);
    o.melting = o.solids + SolidsBlock::kSize;
    o.ports = o.melting + MeltingBlock::kSize;
    o.screw = o.ports + PortRecord::kSize * static_cast<std::uint64_t>(portCount);
    o.barrel = o.screw + ScrewRec::kSize * static_cast<std::uint64_t>(screwCount);
    o.end = o.barrel + BarrelRec::kSize * static_cast<std::uint64_t>(barrelCount);
    return o;
}

std::vector<std::uint8_t> packResult(const ResultData& data, ResultExtent extent) {
    const bool withExtruder = extent == ResultExtent::WithExtruder;
    AnalysisHeader header = data.header;
    header.ElementCount = countOf(data.elements.size());
    header.PortCount = countOf(data.ports.size());
    if (withExtruder) {
        header.ExtruderHeader.ScrewCount = countOf(data.screw.size());
        header.ExtruderHeader.BarrelCount = countOf(data.barrel.size());
    }
    const std::int16_t last = data.runState.LastProfileRow;
    if (last < 0 || static_cast<std::size_t>(last) >= data.profile.size())
        rt::raise(rt::kSubscriptOutOfRange, "profile rows 0 .. LastProfileRow");

    const ResultOffsets o =
        resultOffsets(header.ElementCount, last, header.PortCount, withExtruder ? header.ExtruderHeader.ScrewCount : 0,
                      withExtruder ? header.ExtruderHeader.BarrelCount : 0);
    std::vector<std::uint8_t> out;
    out.reserve(o.end);
    PackWriter w(out);
    header.write(w);
    for (const ElementRecord& e : data.elements) e.write(w);
    data.runState.write(w);
    for (std::int16_t j = 0; j <= last; ++j) data.profile[static_cast<std::size_t>(j)].write(w);
    data.solids.write(w);
    data.melting.write(w);
    for (const PortRecord& p : data.ports) p.write(w);
    if (withExtruder) {
        for (const ScrewRec& s : data.screw) s.write(w);
        for (const BarrelRec& b : data.barrel) b.write(w);
    }
    return out;
}

void writeResultFile(std::string_view path, const ResultData& data, ResultExtent extent) {
    io::replaceFileContents(path, packResult(data, extent));
}

ResultCheck parseResult(const std::uint8_t* bytes, std::size_t size, ResultExtent extent, ResultData& out) {
    if (size < AnalysisHeader::kSize || size > kLongestResult) return ResultCheck::NotAResultFile;

    ResultData d;
    PackReader r(bytes, size);
    d.header.read(r);
    if (!hasMarker(d.header.Marker, FileKind::Analysis)) return ResultCheck::NotAResultFile;
    const std::int64_t nE = d.header.ElementCount;
    const std::int64_t N = d.header.PortCount;
    const std::int64_t nS = d.header.ExtruderHeader.ScrewCount;
    const std::int64_t nB = d.header.ExtruderHeader.BarrelCount;
    if (nE < 0 || N < 0 || nS < 0 || nB < 0) return ResultCheck::NotAResultFile;

    // The run state sits after the element rows; its last field counts the
    // profile rows, which fixes every later offset.
    const ResultOffsets before = resultOffsets(nE, 0, N, nS, nB);
    if (before.runState + RunState::kSize > size) return ResultCheck::NotAResultFile;
    PackReader stateReader(bytes + before.runState, RunState::kSize);
    RunState state;
    state.read(stateReader);
    if (state.LastProfileRow < 0) return ResultCheck::NotAResultFile;

    const ResultOffsets o = resultOffsets(nE, state.LastProfileRow, N, nS, nB);
    bool withExtruder = false;
    if (size == o.end) {
        withExtruder = extent == ResultExtent::WithExtruder;
    } else if (size == o.screw && extent == ResultExtent::UpToPorts) {
        withExtruder = false;
    } else {
        return ResultCheck::NotAResultFile;
    }

    // Every count now fits the length: reading cannot run past the end.
    readAll(r, d.elements, static_cast<std::size_t>(nE));
    d.runState.read(r);
    readAll(r, d.profile, static_cast<std::size_t>(state.LastProfileRow) + 1);
    d.solids.read(r);
    d.melting.read(r);
    readAll(r, d.ports, static_cast<std::size_t>(N));
    if (withExtruder) {
        readAll(r, d.screw, static_cast<std::size_t>(nS));
        readAll(r, d.barrel, static_cast<std::size_t>(nB));
    }
    out = std::move(d);
    return ResultCheck::Ok;
}

ResultCheck readResultFile(std::string_view path, ResultExtent extent, ResultData& out) {
    io::File file(path, io::OpenMode::ReadOnly);
    const std::uint64_t length = file.length();
    if (length < AnalysisHeader::kSize || length > kLongestResult) return ResultCheck::NotAResultFile;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (file.readAt(0, bytes.data(), bytes.size()) != bytes.size()) rt::raise(rt::kInputPastEndOfFile);
    return parseResult(bytes, extent, out);
}

}  // namespace records
