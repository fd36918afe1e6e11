#include "simulation/parameter_file.h"

#include <algorithm>

#include "platform/rt/error.h"
#include "records/markers.h"
#include "records/packed.h"
#include "simulation/core.h"
#include "state/state.h"

namespace sim {

float totalFlowThrough(const records::OneBasedList<records::PortRecord>& ports, int port) {
    float total = 0;
    for (int p = 1; p <= port; ++p) total = total + ports.at(p).FlowRate;
    return total;
}

float totalVolumeThrough(const records::OneBasedList<records::PortRecord>& ports, int port) {
    float total = 0;
    // A port that feeds nothing adds nothing, whatever its density.
    for (int p = 1; p <= port; ++p)
        if (ports.at(p).FlowRate != 0.0f) total = total + ports.at(p).FlowRate / ports.at(p).Density;
    return total;
}

ParameterFileRead readParameterFile(const std::string& path, int portCount, ParameterSet& into,
                                    records::OpenMode mode) {
    records::ByteStream file(path, mode);
    const std::uint64_t length = file.length();
    if (length == 0) return ParameterFileRead::Empty;
    if (length < kParameterFileFixedPart) return ParameterFileRead::WrongFormat;
    ParameterSet set;
    file.read(set.header);
    if (!records::hasMarker(set.header.Marker, records::FileKind::Parameter)) return ParameterFileRead::WrongFormat;
    file.read(set.solids);
    file.read(set.melting);
    set.ports.resize(portCount);
    for (int i = 1; i <= set.ports.count() && length - file.position() >= records::PortRecord::kSize; ++i)
        file.read(set.ports.at(i));
    into = std::move(set);
    return ParameterFileRead::Read;
}

std::vector<std::uint8_t> packParameterFile(const ParameterSet& set) {
    std::vector<std::uint8_t> bytes = records::pack(set.header);
    for (const std::vector<std::uint8_t>& part : {records::pack(set.solids), records::pack(set.melting)})
        bytes.insert(bytes.end(), part.begin(), part.end());
    records::PackWriter w(bytes);
    for (const records::PortRecord& p : set.ports.items()) p.write(w);
    return bytes;
}

void writeParameterFile(const std::string& path, const ParameterSet& set) {
    records::writeOverFromStart(path, packParameterFile(set));
}

std::optional<std::string> calc1TextTooLong(const records::Calc1Values& v) {
    for (const std::string* text : {&v.ParameterFile, &v.ExtruderFile, &v.ExtruderCategory, &v.DieFile})
        if (text->size() > records::kCalc1MaxText) return *text;
    return std::nullopt;
}

void writeCalc1File(const std::string& path, const records::Calc1Values& values) {
    records::rewriteRecordFile(path, records::kCalc1RecordLength, values.toRecords());
}

records::Calc1Values readCalc1File(const std::string& path) {
    using records::kCalc1RecordLength;
    records::ByteStream file(path, records::OpenMode::ReadOnly);
    const std::size_t whole = kCalc1RecordLength * records::Calc1Values::kRecordCount;
    const std::vector<std::uint8_t> bytes =
        file.readRaw(static_cast<std::size_t>(std::min<std::uint64_t>(file.length(), whole)));
    // Bytes of each value; 0 stands for a text (its 2-byte length, then itself).
    // A value that the file does not hold whole is an error, never a zero.
    constexpr std::size_t kValueBytes[] = {4, 4, 2, 2, 4, 0, 0, 0, 0};
    std::vector<std::vector<std::uint8_t>> recs;
    for (std::size_t r = 0; r < records::Calc1Values::kRecordCount; ++r) {
        const std::size_t at = kCalc1RecordLength * r;
        const std::size_t need = kValueBytes[r] != 0 ? kValueBytes[r] : 2;
        if (at + need > bytes.size()) rt::raise(rt::kInputPastEndOfFile, path);
        if (kValueBytes[r] == 0) {
            const std::int16_t n = records::PackReader(bytes.data() + at, 2).i16();
            if (n < 0 || at + 2 + static_cast<std::size_t>(n) > bytes.size()) rt::raise(rt::kInputPastEndOfFile, path);
        }
        const std::size_t end = std::min(at + kCalc1RecordLength, bytes.size());
        std::vector<std::uint8_t> record(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                         bytes.begin() + static_cast<std::ptrdiff_t>(end));
        record.resize(kCalc1RecordLength, 0);
        recs.push_back(std::move(record));
    }
    return records::Calc1Values::fromRecords(recs);
}

records::Calc1Values calc1FromSharedState() {
    records::Calc1Values v;
    v.ScrewRadius = shared::AnalysedScrewRadius;
    v.CenterlineRatio = sim::CenterlineRatio;
    v.TipCount = shared::AnalysedTipCount;
    v.PortCount = shared::PortCount;
    v.EndZoneLength = shared::EndZoneLength;
    v.ParameterFile = shared::ParameterFile;
    v.ExtruderFile = shared::ExtruderFile;
    v.ExtruderCategory = shared::ExtruderCategory;
    v.DieFile = shared::DieFile;
    return v;
}

}  // namespace sim
