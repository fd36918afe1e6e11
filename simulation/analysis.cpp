#include "simulation/analysis.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <set>

#include "platform/io/files.h"
#include "platform/rt/convert.h"
#include "platform/rt/error.h"
#include "records/files.h"
#include "records/work_files.h"
#include "simulation/core.h"
#include "simulation/numerics.h"
#include "state/state.h"

namespace sim {

namespace {

using records::AnalysisRecord;
using records::BarrelRec;
using records::ScrewRec;

constexpr const char* kCaution = "Caution";

UserMessage caution(std::string text) { return {std::move(text), kCaution, MessageIcon::None}; }

// Where a part under an opening was found; the texts differ slightly.
enum class WarningForm { BeforeTheWalk, EndsAtRegionEnd, InsideRegion };

std::optional<UserMessage> regionWarning(const ScrewRec& element, WarningForm form) {
    if (element.Hand < 0) {
        const char* first = form == WarningForm::EndsAtRegionEnd ? "left handed element in hopper or vent region."
                                                                 : "Left handed element in hopper or vent region.";
        return caution(std::string(first) + "\nVent flush may occur. Continue anyway.");
    }
    if (element.kind() == records::kKneadingKind) {
        const char* first = form == WarningForm::InsideRegion ? "Kneading disk element in hopper or vent region"
                                                              : "Kneading disk element in hopper or vent region.";
        return caution(std::string(first) + "\nThis may cause vent flush.");
    }
    return std::nullopt;
}

struct Port {
    char type = 0;
    float width = 0;
    float centre = 0;
};

void requireFinite(float v) {
    if (!std::isfinite(v)) rt::raise(rt::kInvalidCall, "extruder file holds a number that is not finite");
}

std::int16_t toCount(long n) {
    if (n > std::numeric_limits<std::int16_t>::max()) rt::raise(rt::kOverflow, "too many analysed parts");
    return static_cast<std::int16_t>(n);
}

// The walk of the screw elements against the port regions (positions
// already shifted). Elements are the screw records between root and head.
class Walk {
public:
    Walk(const std::vector<ScrewRec>& elements, float firstStart, ExtruderAnalysis& out)
        : elements_(elements), out_(out), firstStart_(firstStart) {
        float x = firstStart;
        for (const ScrewRec& e : elements_) {
            x = x + e.Length;
            requireFinite(x);
            ends_.push_back(x);
        }
    }

    // Where the last element truly ends (the start when there is none).
    float end(float firstStart) const { return ends_.empty() ? firstStart : ends_.back(); }

    // False when the first element starts downstream of position 0.
    bool findStart(float firstStart) {
        if (samePlace(firstStart, 0.0f)) return true;
        if (firstStart > 0.0f) return false;
        // Elements and parts upstream of position 0 are not recorded.
        for (; k_ < elements_.size(); ++k_) {
            const float q = ends_[k_];
            if (samePlace(q, 0.0f)) {
                ++k_;
                break;
            }
            if (q > 0.0f) {
                warn(WarningForm::BeforeTheWalk);
                break;
            }
        }
        return true;
    }

    // The walk of one port's region [s, e] and the closed barrel up to t,
    // where the next region (or the screw end) begins.
    void port(std::int16_t index, float s, float e, float t, std::int16_t code, bool last) {
        float p = s;
        while (k_ < elements_.size()) {
            const float q = ends_[k_];
            if (samePlace(q, e)) {
                warn(WarningForm::EndsAtRegionEnd);
                write(p, e, code, index);
                p = e;
                ++k_;
            } else if (q < e) {
                warn(WarningForm::InsideRegion);
                write(p, q, code, index);
                p = q;
                ++k_;
            } else if (last && q > t && !samePlace(q, t)) {
                k_ = elements_.size();  // the walk ends; nothing beyond the screw end is recorded
                return;
            } else if (p < e && !samePlace(p, e)) {
                // The part straddles the region end: its part inside first.
                warn(WarningForm::InsideRegion);
                write(p, e, code, index);
                p = e;
            } else if (samePlace(q, t)) {
                const float from = samePlace(p, e) ? e : p;
                write(from, q, records::kClosedRegion, index);
                if (!last) ++k_;
                return;
            } else if (q > t) {
                const float from = samePlace(p, e) ? e : p;
                // Openings that touch leave no closed barrel between them.
                if (!samePlace(t, from)) write(from, t, records::kClosedRegion, index);
                return;  // the rest of this element starts the next port's walk
            } else {
                const float from = samePlace(p, e) ? e : p;
                write(from, q, records::kClosedRegion, index);
                p = q;
                ++k_;
            }
        }
    }

private:
    void warn(WarningForm form) {
        if (auto m = regionWarning(elements_[k_], form)) out_.messages.push_back(*m);
    }
    // Where element k truly starts: the end of the one before it.
    float start(std::size_t k) const { return k == 0 ? firstStart_ : ends_[k - 1]; }

    // Appends the part of the current element from `from` to `to`. A part
    // that is the whole element, neither cut nor snapped, has the element's
    // own length: the difference of the running ends may be off by a few ulps.
    void write(float from, float to, std::int16_t code, std::int16_t portIndex) {
        const ScrewRec& e = elements_[k_];
        const bool whole = from == start(k_) && to == ends_[k_];
        AnalysisRecord r;
        r.Code = e.Code;
        r.Kind = e.Kind;
        r.CenterlineRatio = e.CenterlineRatio;
        r.Tips = e.Tips;
        r.Hand = e.Hand;
        r.HelixAngle = e.HelixAngle;
        r.Disks = e.Disks;
        r.StaggerAngle = e.StaggerAngle;
        r.SegmentStart = from;
        r.SegmentLength = whole ? e.Length : to - from;
        r.ElementLength = e.Length;
        r.RegionCode = code;
        r.PortIndex = portIndex;
        out_.parts.push_back(r);
    }

    const std::vector<ScrewRec>& elements_;
    ExtruderAnalysis& out_;
    float firstStart_;
    std::vector<float> ends_;
    std::size_t k_ = 0;
};

// The first part of each combination of code (all 16 characters), kind and
// port, in walk order.
std::vector<AnalysisRecord> distinctParts(const std::vector<AnalysisRecord>& parts) {
    const auto before = [](const AnalysisRecord* a, const AnalysisRecord* b) {
        const int code = std::memcmp(a->Code.data(), b->Code.data(), a->Code.size());
        if (code != 0) return code < 0;
        if (a->Kind[0] != b->Kind[0]) return a->Kind[0] < b->Kind[0];
        return a->PortIndex < b->PortIndex;
    };
    std::set<const AnalysisRecord*, decltype(before)> seen(before);
    std::vector<AnalysisRecord> distinct;
    for (const AnalysisRecord& r : parts)
        if (seen.insert(&r).second) distinct.push_back(r);
    return distinct;
}

}  // namespace

ExtruderAnalysis analyseExtruder(const records::ExtruderFileContent& file, const std::string& extruderFile) {
    const records::ExtHeader& h = file.header;
    const std::vector<ScrewRec>& screw = file.screw;
    const std::vector<BarrelRec>& barrel = file.barrel;
    if (screw.size() < 3 || barrel.empty())
        rt::raise(rt::kInvalidCall, "extruder file without screw root and head or barrel header");

    ExtruderAnalysis a;
    a.ScrewFile = h.ScrewFile.rtrimmed();
    a.BarrelFile = h.BarrelFile.rtrimmed();
    a.DieFile = h.DieFile.rtrimmed();
    a.ExtScrewOffset = h.ScrewOffset;
    a.ExtOverhang = h.BarrelOverhang;

    // The openings in barrel order; x runs along the blocks from the overhang.
    const long portCount = static_cast<long>(rt::cint(barrel[0].headerHopperCount())) +
                           static_cast<long>(rt::cint(barrel[0].headerVentCount()));
    a.PortCount = toCount(portCount);
    a.reached = AnalysisStage::Ports;
    std::vector<Port> ports;
    float x = a.ExtOverhang;
    for (std::size_t b = 1; b < barrel.size(); ++b) {
        const BarrelRec& block = barrel[b];
        if (block.blockType() == records::kHopperBlock || block.blockType() == records::kVentBlock)
            ports.push_back({block.blockType(), block.OpeningWidth, block.OpeningLocation + x});
        x = x + block.Length;
    }
    if (!a.DieFile.empty()) {
        const BarrelRec& d = barrel.back();
        a.die.EntranceDiameter = d.dieEntranceDiameter();
        a.die.CapillaryDiameter = d.dieCapillaryDiameter();
        a.die.CapillaryZoneLength = d.dieCapillaryZoneLength();
        a.die.TotalLength = d.dieTotalLength();
        a.die.Holes = rt::cint(d.dieHoles());
    }
    if (ports.empty()) {
        a.messages.push_back(caution("There is no input port for the extruder\nYou have to re-design the barrel"));
        return a;
    }
    if (ports[0].type != records::kHopperBlock) {
        a.messages.push_back(caution("first port must be a hopper. You have to re-design the barrel"));
        return a;
    }
    if (static_cast<long>(ports.size()) != portCount) {
        a.messages.push_back(caution("The hopper and vent counts of the barrel do not match its openings.\n"
                                     "You have to re-design the barrel"));
        return a;
    }

    // Derived values, every one a single; the shift moves the first hopper's
    // region to start at 0.
    const float radius = screw[0].headerScrewDiameter() / 2.0f;
    const float rootLength = screw[1].Length;
    const float shift = ports[0].width * 0.5f - ports[0].centre;
    const float gap = h.Gap + shift;
    const float screwEnd = gap + (screw[0].headerTotalLength() + rootLength);
    const float endZone = a.ExtScrewOffset + screw.back().Length;
    for (Port& p : ports) p.centre = p.centre + shift;
    for (float v : {radius, shift, gap, screwEnd, endZone}) requireFinite(v);
    std::vector<float> regionStart(ports.size()), regionEnd(ports.size()), nextStart(ports.size());
    for (std::size_t i = 0; i < ports.size(); ++i) {
        regionStart[i] = i == 0 ? 0.0f : ports[i].centre - ports[i].width * 0.5f;
        regionEnd[i] = ports[i].width + regionStart[i];
        requireFinite(regionEnd[i]);
    }
    for (std::size_t i = 0; i < ports.size(); ++i) nextStart[i] = i + 1 < ports.size() ? regionStart[i + 1] : screwEnd;

    // Every region lies on the screw elements (wherever the screw header
    // says they end) and ends before the next one begins.
    const std::vector<ScrewRec> elements(screw.begin() + 2, screw.end() - 1);
    const float firstStart = gap + rootLength;
    Walk walk(elements, firstStart, a);
    const float elementsEnd = walk.end(firstStart);
    bool regionsFit = !elements.empty();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const float s = regionStart[i], e = regionEnd[i], t = nextStart[i];
        const auto beyond = [e](float limit) { return e > limit && !samePlace(e, limit); };
        if ((e < s && !samePlace(e, s)) || beyond(t) || beyond(elementsEnd)) regionsFit = false;
    }
    const UserMessage regionsDoNotFit = caution(
        "Port regions overlap or reach beyond the screw.\nThe extruder may not be properly assembled.");
    if (!regionsFit) {
        a.messages.push_back(regionsDoNotFit);
        return a;
    }
    a.CenterlineRatio = elements[0].CenterlineRatio;
    a.EndZoneLength = endZone;
    a.ExtOverhang = a.ExtOverhang + shift;
    a.reached = AnalysisStage::Geometry;

    a.header.Code = h.Code;
    a.header.Marker = records::markerFor(records::FileKind::Analysis);
    a.header.ExtruderFile = extruderFile;
    a.header.PortCount = a.PortCount;
    a.header.ExtruderHeader.ScrewFile = h.ScrewFile;
    a.header.ExtruderHeader.BarrelFile = h.BarrelFile;
    a.header.ExtruderHeader.DieFile = h.DieFile;
    a.header.ExtruderHeader.ScrewCount = h.ScrewCount;
    a.header.ExtruderHeader.BarrelCount = h.BarrelCount;
    a.header.ExtruderHeader.ScrewOffset = a.ExtScrewOffset;
    a.header.ExtruderHeader.Gap = gap;
    a.header.ExtruderHeader.BarrelOverhang = a.ExtOverhang;
    a.header.ExtruderHeader.TotalLength = screwEnd;

    if (!walk.findStart(firstStart)) {
        a.messages.push_back(caution(" screw root appears in the hopper region.\n"
                                     "The extruder may not be properly assembled."));
        return a;
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::int16_t code =
            ports[i].type == records::kHopperBlock ? records::kHopperRegion : records::kOtherPortRegion;
        walk.port(static_cast<std::int16_t>(i + 1), regionStart[i], regionEnd[i], nextStart[i], code,
                  i + 1 == ports.size());
    }
    if (a.parts.empty()) {  // the elements end before the first region
        a.messages.push_back(regionsDoNotFit);
        return a;
    }

    a.AnalysedTipCount = elements[0].Tips;
    a.AnalysedScrewRadius = radius;
    a.header.ElementCount = toCount(static_cast<long>(a.parts.size()) + (a.DieFile.empty() ? 1 : 2));
    a.distinctParts = distinctParts(a.parts);
    a.reached = AnalysisStage::Complete;
    return a;
}

void publishAnalysis(const ExtruderAnalysis& a) {
    shared::ScrewFile = a.ScrewFile;
    shared::BarrelFile = a.BarrelFile;
    shared::DieFile = a.DieFile;
    shared::ExtScrewOffset = a.ExtScrewOffset;
    shared::ExtOverhang = a.ExtOverhang;
    if (a.reached < AnalysisStage::Ports) return;
    shared::PortCount = a.PortCount;
    if (a.reached < AnalysisStage::Geometry) return;
    sim::CenterlineRatio = a.CenterlineRatio;
    shared::EndZoneLength = a.EndZoneLength;
    if (a.reached < AnalysisStage::Complete) return;
    shared::AnalysedTipCount = a.AnalysedTipCount;
    shared::AnalysedScrewRadius = a.AnalysedScrewRadius;
}

std::vector<std::string> analysisWorkFiles(const std::string& tempDir) {
    using namespace records::workfile;
    return {tempDir + std::string(kAnalysis), tempDir + std::string(kCalc2), tempDir + std::string(kDiffElem)};
}

std::optional<std::string> emptyAnalysisWorkFiles(const std::string& tempDir) {
    for (const std::string& path : analysisWorkFiles(tempDir)) {
        const bool emptied = rt::endQuietlyOnError([&] {
            if (io::fileExists(path) && io::fileLen(path) > 0) io::replaceFileContents(path, std::string_view());
        });
        if (!emptied) return path;
    }
    return std::nullopt;
}

std::optional<std::string> writeAnalysisWorkFiles(const std::string& tempDir, const ExtruderAnalysis& a) {
    const std::vector<std::string> paths = analysisWorkFiles(tempDir);
    std::vector<std::uint8_t> calc2 = records::pack(a.die);
    const std::vector<std::uint8_t> header = records::pack(a.header);
    calc2.insert(calc2.end(), header.begin(), header.end());
    const std::vector<std::function<void(const std::string&)>> writers = {
        [&](const std::string& p) { records::rewriteRecords(p, AnalysisRecord::kSize, a.parts); },
        [&](const std::string& p) { io::replaceFileContents(p, calc2); },
        [&](const std::string& p) { records::rewriteRecords(p, AnalysisRecord::kSize, a.distinctParts); },
    };
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (rt::endQuietlyOnError([&] { writers[i](paths[i]); })) continue;
        // No half hand-over: what was written is emptied again.
        for (std::size_t j = 0; j < i; ++j)
            rt::endQuietlyOnError([&] { io::replaceFileContents(paths[j], std::string_view()); });
        return paths[i];
    }
    return std::nullopt;
}

}  // namespace sim
