#include "tools/demo_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "design/extruder_assembly.h"
#include "platform/io/files.h"
#include "records/catalog_records.h"
#include "records/design_files.h"
#include "records/files.h"
#include "records/markers.h"
#include "records/packed.h"
#include "records/parameter_records.h"
#include "records/work_files.h"
#include "simulation/analysis.h"
#include "simulation/calculation.h"
#include "simulation/core.h"
#include "simulation/parameter_file.h"
#include "simulation/tables.h"
#include "state/state.h"

namespace demo {

namespace {

double radius() { return kDiameter / 2.0; }

// Rounded to single, as the core stores every geometry value.
double single(double v) { return static_cast<double>(static_cast<float>(v)); }

records::ScrewGeoRec screwElement(const char* code, float lead, float length, std::int16_t hand) {
    records::ScrewGeoRec e;
    e.Code = code;
    e.Diameter = kDiameter;
    e.CenterlineDistance = kCenterline;
    e.Tips = kTips;
    e.Lead = lead;
    e.Length = length;
    e.Hand = hand;
    return e;
}

records::KneadGeoRec kneadingBlock(const char* code, float stagger, float length, std::int16_t disks,
                                   std::int16_t hand) {
    records::KneadGeoRec k;
    k.Code = code;
    k.Diameter = kDiameter;
    k.CenterlineDistance = kCenterline;
    k.Tips = kTips;
    k.StaggerAngle = stagger;
    k.Length = length;
    k.Disks = disks;
    k.Hand = hand;
    return k;
}

records::BarrelRec barrelBlock(const char* code, char type, float length, float width, float location) {
    records::BarrelRec b;
    b.Code = code;
    b.BoreDiameter = kDiameter;
    b.CenterlineSpacing = kCenterline;
    b.Type = std::string(1, type);
    b.Length = length;
    b.OpeningWidth = width;
    b.OpeningLocation = location;
    return b;
}

template <class Rec>
std::vector<std::uint8_t> packAll(const std::vector<Rec>& recs) {
    std::vector<std::uint8_t> out;
    records::PackWriter w(out);
    for (const Rec& r : recs) r.write(w);
    return out;
}

// The record of a demo database list with this code, or none.
template <class Rec>
const Rec* withCode(const std::vector<Rec>& list, const std::string& code) {
    for (const Rec& r : list)
        if (r.Code.rtrimmed() == code) return &r;
    return nullptr;
}

// A path in the application directory, as the program builds it.
std::string join(const std::string& appDir, const std::string& rel) { return io::folderPath(appDir) + rel; }

}  // namespace

Channel channel() {
    // The core's own geometry, from the centre-line ratio as a screw record
    // stores it.
    sim::ChannelGeometry g;
    const float ratio = static_cast<float>(static_cast<double>(kCenterline) / radius());
    sim::ComputeChannelGeometry(ratio, kTips, g);
    Channel c;
    c.area = g.ChannelArea;
    c.span = g.ChannelSpan;
    c.depth = g.MeanChannelDepth;
    return c;
}

double ElementModel::dragCapacity(const Channel& c) const {
    return 0.5 * c.area * std::sin(helix) * std::cos(helix) * hand * efficiency;
}

double ElementModel::downChannelGradient(const Channel& c, double q, double n) const {
    const double H = c.depth;
    return 12.0 * std::pow(H, 1.0 - n) * (dragCapacity(c) - q) / (leakage * c.area * std::sin(helix) * H * H);
}

double ElementModel::gradientValue(const Channel& c, double q, double n) const {
    const double g = downChannelGradient(c, q, n);
    // A block has no channel direction of its own: its table holds the
    // axial gradient over the whole block.
    return kneading() ? g / std::sin(helix) * blockLength : g;
}

double ElementModel::heatValue(const Channel& c, double q, double n) const {
    const double s = std::sin(helix), co = std::cos(helix);
    const double shape = co * co + 4.0 * s * s;
    const double g = downChannelGradient(c, q, n);
    // Drag work plus the pressure term. Far above the drag capacity the
    // pressure term outweighs the drag work (the melt would drive the screw);
    // the drive takes no power back, so such rows hold 0. The sign does not
    // depend on n (both terms scale with H^-n), so a row is either all 0 or
    // all positive and the interpolation in n stays non-negative.
    const double perAxialLength =
        std::max(0.0, c.span * shape * std::pow(c.depth, -n) + 0.5 * c.area * g * hand * co * efficiency);
    return kneading() ? perAxialLength * blockLength : perAxialLength;
}

ElementModel modelOf(const records::ScrewGeoRec& e) {
    ElementModel m;
    m.helix = single(std::atan(static_cast<double>(e.Lead) / (static_cast<double>(e.Diameter) * kPi)));
    m.hand = e.Hand < 0 ? -1.0 : 1.0;
    return m;
}

ElementModel modelOf(const records::KneadGeoRec& k) {
    ElementModel m;
    const double R = static_cast<double>(k.Diameter) / 2.0;
    const float lengthR = static_cast<float>(static_cast<double>(k.Length) / R);
    // The core's equivalent helix angle: disk width over stagger angle, in
    // single precision as the core takes them.
    const float diskWidth = lengthR / static_cast<float>(k.Disks);
    const float stagger = static_cast<float>(static_cast<double>(k.StaggerAngle) * kPi / 180.0);
    m.helix = single(std::atan(static_cast<double>(diskWidth / stagger)));
    m.hand = k.Hand < 0 ? -1.0 : 1.0;
    m.efficiency = std::max(std::cos(static_cast<double>(stagger)), kMinKneadEfficiency);
    m.leakage = kKneadLeakage;
    m.blockLength = lengthR;
    return m;
}

std::vector<records::ScrewGeoRec> screwElements() {
    // Right-handed elements come before any left-handed one whose code
    // shares their table search text.
    return {
        screwElement("SE42/42", 42.0f, 42.0f, records::kRightHanded),
        screwElement("SE28/28", 28.0f, 28.0f, records::kRightHanded),
        screwElement("SE20/20", 20.0f, 20.0f, records::kRightHanded),
        screwElement("SE20/20LH", 20.0f, 20.0f, records::kLeftHanded),
    };
}

std::vector<records::KneadGeoRec> kneadingBlocks() {
    return {
        kneadingBlock("KB45/5/30", 45.0f, 30.0f, 5, records::kRightHanded),
        kneadingBlock("KB60/5/30", 60.0f, 30.0f, 5, records::kRightHanded),
        kneadingBlock("KB90/5/30", 90.0f, 30.0f, 5, records::kRightHanded),
        kneadingBlock("KB45/5/30LH", 45.0f, 30.0f, 5, records::kLeftHanded),
    };
}

std::vector<records::BarrelRec> barrelBlocks() {
    return {
        barrelBlock("HOPPER120", records::kHopperBlock, 120.0f, 60.0f, 60.0f),
        barrelBlock("PLANE120", records::kPlaneBlock, 120.0f, 0.0f, 0.0f),
        barrelBlock("VENT120", records::kVentBlock, 120.0f, 40.0f, 60.0f),
    };
}

float rowFlowRate(int row) { return static_cast<float>(static_cast<double>(row - 27) / 100.0); }

std::vector<unsigned char> tableRecord(const std::string& key, const ElementModel& m, bool heat) {
    const Channel c = channel();
    std::vector<std::uint8_t> out;
    records::PackWriter w(out);
    w.text(records::FixedText<sim::kTableKeySize>(key));
    // Row 1: q unused, then the drag capacity for n = 1.0 .. 0.1.
    w.f32(0.0f);
    const float capacity = static_cast<float>(m.dragCapacity(c));
    for (std::size_t k = 1; k <= sim::kTableValues; ++k) w.f32(capacity);
    for (int row = 2; row <= static_cast<int>(sim::kTableRowCount); ++row) {
        const float q = rowFlowRate(row);
        w.f32(q);
        for (std::size_t k = 1; k <= sim::kTableValues; ++k) {
            const double n = static_cast<double>(11 - k) * 0.1;
            w.f32(static_cast<float>(heat ? m.heatValue(c, q, n) : m.gradientValue(c, q, n)));
        }
    }
    return {out.begin(), out.end()};
}

namespace {

// Writes one table file (every element a record keyed by its code) and checks
// that each code finds its own record through the lookups' key rule.
template <class Rec>
void writeTable(const std::string& path, const std::vector<Rec>& elements, const char* type, bool heat,
                std::vector<std::string>& problems) {
    std::vector<std::uint8_t> bytes;
    for (const Rec& e : elements) {
        auto rec = tableRecord(e.Code.rtrimmed(), modelOf(e), heat);
        bytes.insert(bytes.end(), rec.begin(), rec.end());
    }
    io::replaceFileContents(path, bytes);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const std::string code = elements[i].Code.rtrimmed();
        const auto found = sim::FindTableRecord(path, type, code);
        if (!found || *found != static_cast<std::int64_t>(i))
            problems.push_back("element " + code + " does not resolve to its own record in " + path);
        const double capacity = modelOf(elements[i]).dragCapacity(channel());
        if (std::fabs(capacity) > 0.25)
            problems.push_back("drag capacity of " + code + " lies outside the table rows");
    }
}

}  // namespace

std::optional<std::string> demoResultLeftOut(const std::string& appDir) {
    for (const char* name : {"demo.prm", "demo.ext"}) {
        const std::string path = join(appDir, name);
        if (path.size() > records::kCalc1MaxText)
            return "demo.flw left out: the calculation hands over paths of at most " +
                   std::to_string(records::kCalc1MaxText) + " characters, and " + path + " has " +
                   std::to_string(path.size()) + " characters";
    }
    return std::nullopt;
}

std::vector<std::string> writeDemoData(const std::string& appDir, std::string* leftOut) {
    std::vector<std::string> problems;
    const std::string code = kCode;

    records::CatalogSeriesRec series;
    series.SeriesName = kSeries;
    io::replaceFileContents(join(appDir, "maincat.dat"), packAll(std::vector{series}));
    records::CatalogCodeRec codeRec;
    codeRec.SeriesName = kSeries;
    codeRec.Code = code;
    io::replaceFileContents(join(appDir, "maincode.dat"), packAll(std::vector{codeRec}));

    const auto screws = screwElements();
    const auto blocks = kneadingBlocks();
    const auto barrels = barrelBlocks();
    records::writeScrewGeoFile(shared::screwElementPath(code, appDir), screws);
    records::writeKneadGeoFile(shared::kneadElementPath(code, appDir), blocks);
    records::writeBarrelGeoFile(shared::barrelElementPath(code, appDir), barrels);

    // The tables go where the calculation looks them up.
    sim::TableSource tables;
    tables.appDir = io::folderPath(appDir);
    tables.category = code;
    writeTable(sim::TablePath(tables, "S", ".dp1"), screws, "S", false, problems);
    writeTable(sim::TablePath(tables, "S", ".het"), screws, "S", true, problems);
    writeTable(sim::TablePath(tables, "K", ".dp1"), blocks, "K", false, problems);
    writeTable(sim::TablePath(tables, "K", ".het"), blocks, "K", true, problems);

    records::DieRec die;
    die.Code = code;
    die.Marker = records::markerFor(records::FileKind::Die);
    die.EntranceDiameter = 20.0f;
    die.CapillaryDiameter = 4.0f;
    die.CapillaryZoneLength = 12.0f;
    die.TotalLength = 40.0f;
    die.Holes = 2;
    records::writeDieFile(join(appDir, "demo.die"), die);

    // Sample screw, from the feed end: conveying under the hopper, a
    // kneading zone sealed by a left-handed element, open conveying under
    // the vent, then pressure build-up towards the die. 606 mm. Sample
    // barrel: hopper, two plain blocks, the vent (opening 400 .. 440), a
    // plain block. 600 mm.
    const std::vector<std::string> screw = {
        "SE42/42",   "SE42/42",   "SE42/42", "SE42/42", "SE42/42",  //   0 .. 210
        "SE28/28",                                                  // 210 .. 238
        "KB45/5/30", "KB60/5/30", "KB90/5/30",                      // 238 .. 328
        "SE20/20LH",                                                // 328 .. 348
        "SE42/42",   "SE42/42",   "SE42/42",                        // 348 .. 474, under the vent
        "SE28/28",   "SE28/28",   "SE28/28", "SE28/28",             // 474 .. 586
        "SE20/20"};                                                 // 586 .. 606
    const std::vector<std::string> barrel = {"HOPPER120", "PLANE120", "PLANE120", "VENT120", "PLANE120"};
    const auto extruderProblems = writeDemoExtruder(appDir, "demo", screw, barrel);
    problems.insert(problems.end(), extruderProblems.begin(), extruderProblems.end());
    if (!problems.empty()) return problems;

    sim::writeParameterFile(join(appDir, "demo.prm"), demoParameters());
    if (const auto why = demoResultLeftOut(appDir)) {
        if (leftOut)
            *leftOut = *why;
        else
            problems.push_back(*why);
        return problems;
    }
    const auto runProblems = writeDemoResult(appDir);
    problems.insert(problems.end(), runProblems.begin(), runProblems.end());
    return problems;
}

std::vector<std::string> writeDemoExtruder(const std::string& appDir, const std::string& name,
                                           const std::vector<std::string>& elements,
                                           const std::vector<std::string>& blocks) {
    std::vector<std::string> problems;
    const std::string code = kCode;
    const auto screws = screwElements();
    const auto kneading = kneadingBlocks();
    const auto barrels = barrelBlocks();
    std::vector<records::ScrewRec> screw;
    for (const std::string& c : elements) {
        if (const auto* s = withCode(screws, c))
            screw.push_back(records::screwElementFrom(*s));
        else if (const auto* k = withCode(kneading, c))
            screw.push_back(records::screwElementFrom(*k));
        else
            problems.push_back("no element " + c + " in the demo database");
    }
    std::vector<records::BarrelRec> barrel;
    for (const std::string& c : blocks) {
        if (const auto* b = withCode(barrels, c))
            barrel.push_back(*b);
        else
            problems.push_back("no barrel block " + c + " in the demo database");
    }
    if (!problems.empty()) return problems;
    const std::string screwName = name + ".srw", barrelName = name + ".brl";
    records::writeScrewFile(join(appDir, screwName), records::screwFileHeader(code, kDiameter, screw), screw);
    records::writeBarrelFile(join(appDir, barrelName), records::barrelFileHeader(code, kDiameter, barrel), barrel);

    // Assembled from the files as the assembly's Make does, with their bare
    // names as the paths and the screw where Make places it.
    const auto screwFile = records::readScrewFile(join(appDir, screwName));
    const auto barrelFile = records::readBarrelFile(join(appDir, barrelName));
    records::RecordFile dieRecords(join(appDir, "demo.die"), records::DieRec::kSize, records::OpenMode::ReadOnly);
    const auto dieFile = dieRecords.read<records::DieRec>(1);
    const int dieCount = dieRecords.recordCount();
    dieRecords.close();
    for (const std::string& fault : {design::screwFileFault(screwFile, code), design::barrelFileFault(barrelFile, code),
                                     design::dieFileFault(dieFile, dieCount, code)})
        if (!fault.empty()) problems.push_back("the extruder " + name + " is refused: " + fault);
    if (!problems.empty()) return problems;
    const design::Assembly extruder =
        design::assemble(code, screwFile, barrelFile, dieFile, {screwName, barrelName, "demo.die"});
    if (!extruder.placement.screwReachesLastOpening())
        problems.push_back("the screw of " + name + " stops short of the last barrel opening");
    records::writeExtruderFile(join(appDir, name + ".ext"), extruder.file);
    return problems;
}

sim::ParameterSet demoParameters() {
    sim::ParameterSet set;
    set.header.Marker = records::markerFor(records::FileKind::Parameter);
    set.header.Code = kCode;
    set.header.ScrewSpeed = 200;  // RPM
    set.header.DiePressure = 0;   // calculated
    // Bulk density, heat capacity, conductivity, barrel and screw friction,
    // barrel and screw heat transfer, barrel, screw and feed temperatures.
    set.solids = {0.5f, 2.2f, 0.2f, 0.45f, 0.30f, 300, 100, 210, 200, 25};
    // Density, heat capacity, melting temperature, heat of fusion.
    set.melting = {0.75f, 2.2f, 165, 100};
    // Flow, b, Tref, m0, n, density, heat capacity, barrel and screw heat
    // transfer, barrel and screw temperatures.
    const records::PortRecord hopper{10, 0.01f, 210, 5, 0.35f, 0.75f, 2.2f, 300, 100, 210, 200};
    records::PortRecord vent = hopper;
    vent.FlowRate = 0;
    set.ports = {hopper, vent};
    return set;
}

namespace {

// The shared variables a calculation sets, kept and given back, so that a
// caller's state survives the demo run.
struct SharedCalculationState {
    SharedCalculationState()
        : radius(shared::ScrewRadius), centerline(sim::CenterlineRatio), tips(shared::TipCount),
          ports(shared::PortCount), endZone(shared::EndZoneLength), parameterFile(shared::ParameterFile),
          extruderFile(shared::ExtruderFile), category(shared::ExtruderCategory), dieFile(shared::DieFile),
          resultFile(shared::ResultFile), header(shared::ParameterHeader), solids(shared::SolidsParams),
          melting(shared::MeltingParams), portRecords(shared::PortRecords) {}
    ~SharedCalculationState() {
        shared::ScrewRadius = radius;
        sim::CenterlineRatio = centerline;
        shared::TipCount = tips;
        shared::PortCount = ports;
        shared::EndZoneLength = endZone;
        shared::ParameterFile = parameterFile;
        shared::ExtruderFile = extruderFile;
        shared::ExtruderCategory = category;
        shared::DieFile = dieFile;
        shared::ResultFile = resultFile;
        shared::ParameterHeader = header;
        shared::SolidsParams = solids;
        shared::MeltingParams = melting;
        shared::PortRecords = portRecords;
    }
    float radius, centerline;
    std::int16_t tips, ports;
    float endZone;
    std::string parameterFile, extruderFile, category, dieFile, resultFile;
    records::ParameterFileHeader header;
    records::SolidsBlock solids;
    records::MeltingBlock melting;
    records::OneBasedList<records::PortRecord> portRecords;
};

// The demo run's user: answers Yes to the save question and saves to
// demo.flw; any other message or question is a problem.
class DemoUser : public sim::CalculationUser {
public:
    DemoUser(std::string target, std::vector<std::string>& problems) : target_(std::move(target)), problems_(problems) {}
    void message(const sim::UserMessage& m) override { problems_.push_back("the demo run says: " + m.text); }
    bool ask(const sim::UserMessage& q) override {
        if (q.text == "Calculations are finished. Do You want to save result?") return true;
        problems_.push_back("the demo run asks: " + q.text);
        return false;
    }
    void showProgress(int iteration, float) override { iterations = iteration + 1; }
    void closeProgress() override {}
    void pause(int) override {}
    std::optional<std::string> chooseResultFile() override { return target_; }

    int iterations = 1;

private:
    std::string target_;
    std::vector<std::string>& problems_;
};

}  // namespace

std::vector<std::string> prepareDemoRun(const std::string& appDir, const std::string& tempDir,
                                        const std::string& parameterFile, const std::string& extruder) {
    std::vector<std::string> problems;
    const std::string extruderPath = join(appDir, extruder);
    const sim::ExtruderAnalysis analysis = sim::analyseExtruder(records::readExtruderFile(extruderPath), extruderPath);
    for (const sim::UserMessage& m : analysis.messages) problems.push_back("the demo analysis says: " + m.text);
    if (!analysis.completed()) return problems;
    if (auto failed = sim::writeAnalysisWorkFiles(tempDir, analysis)) {
        problems.push_back("work file not written: " + *failed);
        return problems;
    }
    records::Calc1Values handOver;
    handOver.ScrewRadius = analysis.AnalysedScrewRadius;
    handOver.CenterlineRatio = analysis.CenterlineRatio;
    handOver.TipCount = analysis.AnalysedTipCount;
    handOver.PortCount = analysis.PortCount;
    handOver.EndZoneLength = analysis.EndZoneLength;
    handOver.ParameterFile = parameterFile;
    handOver.ExtruderFile = extruderPath;
    handOver.ExtruderCategory = kCode;
    handOver.DieFile = analysis.DieFile;
    sim::writeCalc1File(tempDir + std::string(records::workfile::kCalc1), handOver);
    return problems;
}

std::vector<std::string> writeDemoResult(const std::string& appDir) {
    namespace fs = std::filesystem;
    std::string scratch = (fs::temp_directory_path() / "velkor-demo-run-XXXXXX").string();
    if (::mkdtemp(scratch.data()) == nullptr) return {"no scratch folder for the demo run"};
    struct Cleanup {
        std::string dir;
        ~Cleanup() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } cleanup{scratch};
    const std::string tempDir = scratch + "/";
    std::vector<std::string> problems = prepareDemoRun(appDir, tempDir, join(appDir, "demo.prm"));
    if (!problems.empty()) return problems;

    const std::string result = join(appDir, "demo.flw");
    SharedCalculationState keep;
    DemoUser user(result, problems);
    const bool finished = sim::runCalculation({join(appDir, ""), tempDir}, user);
    if (!finished || !io::fileExists(result)) problems.push_back("the demo run wrote no demo.flw");
    if (user.iterations < 2) problems.push_back("the demo run ends in its first iteration");
    return problems;
}

}  // namespace demo
