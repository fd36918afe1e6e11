#include "simulation/calculation_inputs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "records/files.h"
#include "records/markers.h"
#include "records/packed.h"
#include "records/work_files.h"
#include "simulation/analysis.h"
#include "simulation/numerics.h"
#include "simulation/parameter_file.h"
#include "state/state.h"

namespace sim {

using records::AnalysisRecord;
using records::ElementRecord;
using records::PortRecord;

namespace {

std::string workFile(const std::string& tempDir, std::string_view name) { return tempDir + std::string(name); }

[[noreturn]] void stopMismatch() { throw CalculationStop{handOverMismatch()}; }

// The process parameters of the hand-over as the run takes them, or a stop.
bool takeParameters(CalculationUser& user, const records::Calc1Values& handOver, ParameterSet& set) {
    const std::string& path = handOver.ParameterFile;
    const ParameterFileRead read = readingFile(path, [&] { return readParameterFile(path, handOver.PortCount, set); });
    if (read != ParameterFileRead::Read) {
        // A file that starts as a parameter file but ends before its blocks
        // is cut short; anything else is no parameter file.
        const bool marked = readingFile(path, [&] {
            records::ByteStream file(path, records::OpenMode::ReadOnly);
            return file.length() > 0 && file.readRaw(1)[0] == static_cast<std::uint8_t>(records::FileKind::Parameter);
        });
        if (marked) stopUnreadable(path, rt::kInputPastEndOfFile);
        user.message({"Incorrect file format.", kCalculationTitle, MessageIcon::None});
        shared::ParameterFile.clear();
        return false;
    }
    if (set.header.Code.rtrimmed() != handOver.ExtruderCategory) {
        const UserMessage question{"Parameters may not be appropriate for" + handOver.ExtruderFile + "\nProceed?",
                                   "Calculate", MessageIcon::Critical};
        if (!user.ask(question)) {
            shared::ParameterFile.clear();
            return false;
        }
    }
    return true;
}

// Every port needs its melt's density, heat capacity, consistency and
// power-law index, and the first port a flow: a wizard page left untouched
// leaves zeros there.
void requireCompletePorts(const records::OneBasedList<PortRecord>& ports) {
    for (int p = 1; p <= ports.count(); ++p) {
        const PortRecord& r = ports.at(p);
        const bool complete = r.Density > 0 && r.HeatCapacity > 0 && r.Consistency > 0 && r.PowerLawIndex > 0 &&
                              (p > 1 || r.FlowRate > 0);
        if (!complete)
            stopCalculation("Parameters of port " + std::to_string(p) +
                            " are incomplete. Specify the parameters again.");
    }
}

// The melt that a port removes (a vent) never takes all of it: the flow
// after every port stays above 0, in mass and in the volume the screw
// carries, as the wizard requires. Either left at 0 or below gives the
// mixture no positive density, and the run no finite value. The densities
// are above 0 (requireCompletePorts).
void requirePositiveFlows(const records::OneBasedList<PortRecord>& ports, const std::string& path) {
    for (int p = 1; p <= ports.count(); ++p) {
        const float total = totalFlowThrough(ports, p);
        if (!(total > 0))
            stopCalculation("The parameter file " + path + "\nleaves a total flow of " + rt::generalForm(total) +
                            " kg/hr after port " + std::to_string(p) + ". Specify the parameters again.");
        const float volume = totalVolumeThrough(ports, p);
        if (!(volume > 0) || !std::isfinite(volume))
            stopCalculation("The parameter file " + path + "\nleaves a volume flow of " + rt::generalForm(volume) +
                            " l/hr after port " + std::to_string(p) + ". Specify the parameters again.");
    }
}

// A die pressure the run takes as given (without a die, or kept in place of
// the die's own) is never negative: below 0 downstream, the backward pass has
// no case for the last screw row.
void requireUsableDiePressure(const RunData& run, const std::string& path) {
    if (!run.calculateDiePressure && run.specifiedDiePressure < 0)
        stopCalculation("The parameter file " + path + "\ngives a negative die pressure (" +
                        rt::generalForm(run.specifiedDiePressure) + " MPa). Specify the parameters again.");
}

// A die whose dimensions describe no die is refused before anything is
// computed: a dimension that is not a finite number, a diameter not above 0,
// a length below 0, a capillary zone longer than the whole die (beyond the
// same-place rule) or no hole. The die designer takes any number; the run
// names the die file to mend.
void requireSoundDie(const records::DieRec& die, const std::string& path) {
    const auto refuse = [&path](const std::string& why) { stopForDie(path, why); };
    const std::pair<float, const char*> dimensions[] = {{die.EntranceDiameter, "entrance diameter"},
                                                        {die.CapillaryDiameter, "capillary diameter"},
                                                        {die.TotalLength, "total length"},
                                                        {die.CapillaryZoneLength, "capillary zone length"}};
    for (const auto& [value, name] : dimensions)
        if (!std::isfinite(value)) refuse("describes no die: its " + std::string(name) + " is not a finite number.");
    if (!(die.EntranceDiameter > 0)) refuse("describes no die: its entrance diameter is not above 0.");
    if (!(die.CapillaryDiameter > 0)) refuse("describes no die: its capillary diameter is not above 0.");
    if (!(die.TotalLength >= 0)) refuse("describes no die: its total length is below 0.");
    if (!(die.CapillaryZoneLength >= 0)) refuse("describes no die: its capillary zone length is below 0.");
    if (die.CapillaryZoneLength > die.TotalLength && !samePlace(die.CapillaryZoneLength, die.TotalLength))
        refuse("describes no die: its capillary zone is longer than the die.");
    if (die.Holes < 1)
        refuse("has " + std::to_string(die.Holes) + " holes; the calculation needs at least one.");
}

ElementRecord fromPart(const AnalysisRecord& part) {
    ElementRecord e;
    static_cast<AnalysisRecord&>(e) = part;
    return e;
}

}  // namespace

void stopUnreadable(const std::string& path, int errorNumber) {
    stopCalculation("The file " + path + "\ncould not be read (" + rt::errorDescription(errorNumber) + ").");
}

UserMessage handOverMismatch() {
    return calculationError(
        "The analysis and the parameters do not belong together.\nAnalyse the extruder and specify the parameters "
        "again.");
}

records::Calc1Values readHandOver(const std::string& tempDir) {
    const std::string path = workFile(tempDir, records::workfile::kCalc1);
    return readingFile(path, [&] { return readCalc1File(path); });
}

void takeHandOver(const records::Calc1Values& v) {
    shared::ScrewRadius = v.ScrewRadius;
    sim::CenterlineRatio = v.CenterlineRatio;
    shared::TipCount = v.TipCount;
    shared::PortCount = v.PortCount;
    shared::EndZoneLength = v.EndZoneLength;
    shared::ParameterFile = v.ParameterFile;
    shared::ExtruderFile = v.ExtruderFile;
    shared::ExtruderCategory = v.ExtruderCategory;
    shared::DieFile = v.DieFile;
}

AnalysisHandOver readCalc2(const std::string& tempDir) {
    const std::string path = analysisWorkFiles(tempDir)[1];
    return readingFile(path, [&] {
        records::ByteStream file(path, records::OpenMode::ReadOnly);
        // A failed analysis leaves its work files empty.
        if (file.length() == 0) stopMismatch();
        AnalysisHandOver h;
        file.read(h.die);
        file.read(h.header);
        return h;
    });
}

std::vector<AnalysisRecord> readAnalysisRecords(const std::string& path) {
    return readingFile(path, [&] {
        records::ByteStream file(path, records::OpenMode::ReadOnly);
        const std::uint64_t count = file.length() / AnalysisRecord::kSize;
        if (count > 32767) rt::raise(rt::kOverflow, path);
        if (file.length() % AnalysisRecord::kSize != 0) rt::raise(rt::kInputPastEndOfFile, path);
        const std::vector<std::uint8_t> bytes = file.readRaw(static_cast<std::size_t>(count) * AnalysisRecord::kSize);
        std::vector<AnalysisRecord> parts(static_cast<std::size_t>(count));
        records::PackReader reader(bytes.data(), bytes.size());
        for (AnalysisRecord& r : parts) r.read(reader);
        return parts;
    });
}

void requireSameExtruder(const records::Calc1Values& handOver, const records::AnalysisHeader& header) {
    if (handOver.PortCount != header.PortCount || handOver.PortCount < 1) stopMismatch();
    if (rt::rtrim(rt::left(handOver.ExtruderFile, records::FixedText<64>::size())) != header.ExtruderFile.rtrimmed())
        stopMismatch();
}

void requirePartsOnPorts(const std::vector<AnalysisRecord>& parts, int portCount) {
    if (parts.empty()) stopMismatch();
    for (const AnalysisRecord& r : parts)
        if (r.PortIndex < 1 || r.PortIndex > portCount) stopMismatch();
}

records::OneBasedList<DistinctElement> distinctElements(const std::vector<AnalysisRecord>& parts,
                                                        const records::OneBasedList<PortRecord>& ports) {
    records::OneBasedList<DistinctElement> table;
    for (const AnalysisRecord& r : parts) {
        DistinctElement d;
        d.code = r.Code.rtrimmed();
        d.kind = r.Kind.rtrimmed();
        d.helixAngle = r.HelixAngle;
        d.elementLength = r.ElementLength;
        d.port = r.PortIndex;
        d.n = ports.at(r.PortIndex).PowerLawIndex;
        d.tips = r.Tips;
        table.push_back(d);
    }
    return table;
}

void requireDistinctForEveryPart(const std::vector<AnalysisRecord>& parts,
                                 const records::OneBasedList<DistinctElement>& distinct, const std::string& path) {
    for (const AnalysisRecord& part : parts)
        if (findDistinct(distinct, part) == 0) stopUnreadable(path, rt::kInputPastEndOfFile);
}

bool lookUpTables(DistinctElement& d, const records::OneBasedList<float>& A, const TableSource& source) {
    if (d.tips < 1)
        stopCalculation("Element " + d.code + " has " + std::to_string(d.tips) +
                        " tips; the calculation needs at least one.");
    const auto take = [](const TableResult& r) {
        if (!r.found() && r.miss != TableMiss::UnknownType) stopCalculation(r.missText());
        return r.hasValue ? single(r.value) : 0.0f;
    };
    const std::string kind = rt::rtrim(d.kind);
    d.Qd = A.at(static_cast<int>(std::nearbyint(d.port))) / static_cast<float>(2 * d.tips - 1);
    d.dragCapacity = take(ReadFlowTable(source, kind, d.code, d.Qd, d.n));
    d.gradient = take(ReadFlowTable2(source, kind, d.code, d.Qd, d.n));
    d.heatAtQd = take(ReadHeatTable(source, kind, d.code, d.Qd, d.n));
    d.heatAtDrag = take(ReadHeatTable(source, kind, d.code, d.dragCapacity, d.n));
    const std::string upper = rt::ucase(kind);
    if (upper == "S") {
        const float sine = single(std::sin(d.helixAngle));
        requireDivisor(sine, "sine of the helix angle of element " + d.code);
        d.gradient = d.gradient / sine;
    } else if (upper == "K") {
        requireDivisor(d.elementLength, "length of element " + d.code);
        d.gradient = d.gradient / d.elementLength;
        d.heatAtQd = d.heatAtQd / d.elementLength;
        d.heatAtDrag = d.heatAtDrag / d.elementLength;
    } else {
        return false;
    }
    return true;
}

TableSource tableSource(const CalculationPaths& paths, const std::string& category, CalculationUser& user,
                        std::shared_ptr<TableFiles> files) {
    TableSource source;
    source.appDir = paths.appDir;
    source.category = category;
    source.notify = [&user](const std::string& text, const std::string& title) {
        user.message({text, title, MessageIcon::None});
    };
    source.closeCalculation = [&user] { user.closeCalculation(); };
    source.files = std::move(files);
    return source;
}

bool prepareRun(const CalculationPaths& paths, CalculationUser& user, RunData& run) {
    // The hand-over is checked against the analysis before it replaces
    // anything: a stopped run leaves the run variables as they were.
    const records::Calc1Values handOver = readHandOver(paths.tempDir);
    const std::vector<std::string> files = analysisWorkFiles(paths.tempDir);  // Analysis, Calc2, DiffElem
    const AnalysisHandOver analysis = readCalc2(paths.tempDir);
    const std::vector<AnalysisRecord> parts = readAnalysisRecords(files[0]);
    const std::vector<AnalysisRecord> kinds = readAnalysisRecords(files[2]);
    requireSameExtruder(handOver, analysis.header);
    requirePartsOnPorts(parts, handOver.PortCount);
    requirePartsOnPorts(kinds, handOver.PortCount);
    // The element rows: the parts, the end zone and, with a die, the die.
    const long nParts = static_cast<long>(parts.size());
    if (analysis.header.ElementCount != nParts + 1 && analysis.header.ElementCount != nParts + 2) stopMismatch();
    run.header = analysis.header;
    run.die = analysis.die;
    const auto nRec = static_cast<std::int16_t>(parts.size());
    run.hasDie = analysis.header.ElementCount == nRec + 2;
    run.nE = analysis.header.ElementCount;
    // The die the analysis read, which the hand-over of parameters specified
    // for an earlier extruder may not name.
    run.dieFile = analysis.header.ExtruderHeader.DieFile.rtrimmed();
    if (run.hasDie) requireSoundDie(run.die, run.dieFile);

    const float c = handOver.CenterlineRatio * 0.5f;
    if (!(c > 0 && c < 1)) stopCalculation("The centre-line ratio of the extruder lies outside 0 to 2.");
    run.psi = single(std::atan(std::sqrt(1.0 - static_cast<double>(c) * c) / c));

    ParameterSet set;
    if (!takeParameters(user, handOver, set)) return false;
    shared::ParameterHeader = set.header;
    shared::SolidsParams = set.solids;
    shared::MeltingParams = set.melting;
    shared::PortRecords = set.ports;
    records::ParameterFileHeader& conditions = run.header.RunConditions;
    conditions.Marker = set.header.Marker;
    conditions.Code = set.header.Code;
    conditions.ScrewSpeed = set.header.ScrewSpeed;
    conditions.DiePressure = set.header.DiePressure;
    requireCompletePorts(set.ports);
    requirePositiveFlows(set.ports, handOver.ParameterFile);

    run.screwRadius = handOver.ScrewRadius;
    run.endZoneLength = handOver.EndZoneLength;
    run.solids = set.solids;
    run.melting = set.melting;
    run.ports = set.ports;
    run.N = set.header.ScrewSpeed / 60;
    if (!(run.N > 0) || !std::isfinite(run.N))
        stopCalculation("The screw speed is 0; the calculation cannot divide by it.");
    if (!(run.screwRadius > 0) || !std::isfinite(run.screwRadius))
        stopCalculation("The screw radius is 0; the calculation cannot divide by it.");
    run.Tinit = std::max(set.melting.MeltingTemperature, set.solids.FeedTemperature);
    run.A = portThroughputs(set.ports, run.screwRadius, run.N);
    conditions.TotalThroughput = totalFlowThrough(set.ports, set.ports.count());
    run.Qh = run.A.at(run.A.count());
    if (run.hasDie) run.Qh = run.Qh / run.die.Holes;
    run.specifiedDiePressure = set.header.DiePressure;

    // The analysed parts, the end zone "p" behind the last one and the die "d".
    for (const AnalysisRecord& part : parts) run.elements.push_back(fromPart(part));
    ElementRecord endZone;
    endZone.Code = "";
    endZone.Kind = std::string(1, records::kEndZoneKind);
    endZone.RegionCode = records::kEndZoneRegion;
    endZone.SegmentStart = analysis.header.ExtruderHeader.TotalLength;
    endZone.SegmentLength = run.endZoneLength;
    endZone.PortIndex = parts.back().PortIndex;
    endZone.FillLeft = endZone.FillRight = 1.0f;
    if (!run.hasDie) endZone.PressureEnd = run.specifiedDiePressure;
    run.elements.push_back(endZone);
    if (run.hasDie) {
        ElementRecord die;
        die.Code = "";
        die.Kind = std::string(1, records::kDieKind);
        die.RegionCode = records::kDieRegion;
        die.SegmentLength = run.die.TotalLength;
        die.SegmentStart = endZone.SegmentStart + endZone.SegmentLength;
        die.PortIndex = endZone.PortIndex;
        die.StarvationPoint = run.die.CapillaryZoneLength;
        die.FillLeft = die.FillRight = 1.0f;
        run.elements.push_back(die);
    }

    run.distinct = distinctElements(kinds, set.ports);
    requireDistinctForEveryPart(parts, run.distinct, files[2]);
    const TableSource source = tableSource(paths, handOver.ExtruderCategory, user, run.tables);
    for (DistinctElement& d : run.distinct.items()) {
        run.currentIndex = d.n;
        if (!lookUpTables(d, run.A, source))
            throw CalculationStop{{"Invalid element type", kCalculationTitle, MessageIcon::None}};
    }

    for (ElementRecord& e : run.elements.items()) e.TempStart = e.TempStarvation = e.TempEnd = run.Tinit;

    run.calculateDiePressure = false;
    if (run.hasDie) {
        run.calculateDiePressure = true;
        if (!isZeroPressure(run.specifiedDiePressure)) {
            const UserMessage question{
                "Conflicting die pressure specification. Your decision is needed.\n"
                "Do you calculate die pressure?(yes) or Use specified Die pressure?(No)",
                "Calculating", MessageIcon::Critical};
            run.calculateDiePressure = user.ask(question);
        }
    }
    requireUsableDiePressure(run, handOver.ParameterFile);
    takeHandOver(handOver);
    return true;
}

}  // namespace sim
