#include "simulation/residence_power.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "records/design_files.h"
#include "records/work_files.h"
#include "simulation/analysis.h"
#include "simulation/calculation_inputs.h"
#include "simulation/numerics.h"
#include "state/state.h"

namespace sim {

using records::ElementRecord;
using records::MeltProfileRow;
using records::PortRecord;

namespace {

constexpr double kGravity = 9.81;

std::string rowName(int i) { return "element row " + std::to_string(i); }

// The channel of a screw segment as the power terms use it.
struct Channel {
    float area = 0;   // free cross-section A, R^2
    float span = 0;   // W
    float depth = 0;  // H
    float tipAngle = 0;
    std::int16_t tips = 0;
    char kind = 's';
    float helixAngle = 0;
};

// The melt and solids terms of the ports met so far along the screw.
class PortMix {
public:
    PortMix(const records::ResultData& r, float omega, float radius) : r_(r), omega_(omega), radius_(radius) {}

    // Takes the element's port on when it differs from the current one.
    void reach(int port) {
        if (port == current_) return;
        const PortRecord& p = r_.ports.at(static_cast<std::size_t>(port - 1));
        flow_ = flow_ + p.FlowRate;
        volume_ = volume_ + p.FlowRate / p.Density;
        requireDivisor(volume_, "volume flow of the feed streams");
        rho_ = flow_ / volume_;
        b = p.ViscositySensitivity;
        Tref = p.ReferenceTemperature;
        n = p.PowerLawIndex;
        const double Rm = radius_ / 1000.0;
        Pm = single(p.Consistency * std::pow(static_cast<double>(omega_), static_cast<double>(n)) * Rm * Rm * Rm *
                    omega_);
        Ps = single(Rm * Rm * Rm * omega_ * Rm * rho_ * kGravity);
        requireDivisor(r_.solids.BulkDensity, "bulk density of the solids");
        ratio = rho_ / r_.solids.BulkDensity;
        requireDivisor(ratio, "ratio of melt to bulk density");
        current_ = port;
    }
    int current() const { return current_; }
    // exp(-b (T - Tref)) of the current port.
    float shift(float T) const { return single(std::exp(static_cast<double>(-b * (T - Tref)))); }

    float b = 0, Tref = 0, n = 0, Pm = 0, Ps = 0, ratio = 0;

private:
    const records::ResultData& r_;
    float omega_, radius_;
    int current_ = 0;
    float flow_ = 0, volume_ = 0, rho_ = 0;
};

class ResidencePower {
public:
    ResidencePower(records::ResultData& r, const ResidenceInputs& in)
        : r_(r),
          in_(in),
          omega_(single(kTwoPi * (r.header.RunConditions.ScrewSpeed / 60))),
          mix_(r, omega_, in.screwRadius) {}

    void run();

private:
    ElementRecord& E(int i) { return r_.elements.at(static_cast<std::size_t>(i - 1)); }
    MeltProfileRow& row(int j) { return r_.profile.at(static_cast<std::size_t>(j)); }

    // Residence time over length l of cross-section X at fill f.
    float dt(float X, float l, float f, float densityRatio) const {
        return single(f * X * l / (omega_ * q_.at(mix_.current()) * densityRatio) / 60);
    }
    Channel channel(int i);
    void solidsZone();
    void meltingZone();
    void meltZone();
    // Residence times of an element as the melting zone reaches it.
    void enterMelting(int i);
    // The end zone or the die: residence time only, the power carried over.
    void endRow(int i, float densityRatio, float dieTipFactor, float power);
    void rowPower(int j, int i);

    records::ResultData& r_;
    const ResidenceInputs& in_;
    float omega_ = 0;
    PortMix mix_;
    float psi_ = 0;
    records::OneBasedList<float> q_;
    int nE_ = 0;
    Channel last_;  // the last screw segment whose channel was computed
};

Channel ResidencePower::channel(int i) {
    const ElementRecord& e = E(i);
    ChannelGeometry g;
    if (!ComputeChannelGeometry(in_.centerlineRatio, e.Tips, g))
        stopCalculation("The channel of " + rowName(i) + " has no geometry: " + std::to_string(e.Tips) +
                        " tips, centre-line ratio " + std::to_string(in_.centerlineRatio) + ".");
    Channel c;
    c.area = g.FreeArea;
    c.span = g.ChannelSpan;
    c.depth = g.MeanChannelDepth;
    c.tipAngle = g.TipAngle;
    c.tips = e.Tips;
    c.kind = static_cast<char>(std::tolower(static_cast<unsigned char>(e.kind())));
    c.helixAngle = e.HelixAngle;
    last_ = c;
    return c;
}

void ResidencePower::endRow(int i, float densityRatio, float dieTipFactor, float power) {
    ElementRecord& e = E(i);
    const float t0 = i > 1 ? E(i - 1).ResTimeEnd : 0.0f;
    e.ResTimeStart = t0;
    e.ResTimeStarvation = t0;
    if (e.kind() == records::kEndZoneKind) {
        e.ResTimeEnd = t0 + dt(single(kPi - psi_), e.SegmentLength, 1, densityRatio);
    } else {
        const float q = q_.at(mix_.current());
        e.ResTimeEnd = t0 + single(dieVolume(in_.die) / (dieTipFactor * omega_ * q * densityRatio) / 60);
        if (!std::isfinite(e.ResTimeEnd)) stopForDie(in_.dieFile, "gives no finite residence time.");
    }
    e.PowerStart = e.PowerStarvation = e.PowerEnd = power;
}

// Zone 1: solids conveying, elements 1 .. MeltStartElement.
void ResidencePower::solidsZone() {
    const int meltStart = r_.runState.MeltStartElement;
    E(1).ResTimeStart = 0;
    E(1).PowerStart = 0;
    for (int i = 1; i <= meltStart; ++i) {
        ElementRecord& e = E(i);
        mix_.reach(e.PortIndex);
        const float r = mix_.ratio;
        if (e.isEndRow()) {
            endRow(i, r, static_cast<float>(2 * in_.tipCount - 1), i > 1 ? E(i - 1).PowerEnd : 0.0f);
            continue;
        }
        const Channel c = channel(i);
        const float G = single(r_.solids.ScrewFriction * mix_.Ps * c.span * c.depth * (2 * c.tips - 1) / r);
        const float x = e.StarvationPoint, f = e.heldFill(), L = e.SegmentLength;
        const float t0 = e.ResTimeStart, P0 = e.PowerStart;
        if (i == meltStart) {
            const float s = r_.runState.MeltStartPosition;
            const float ts = t0 + dt(c.area, s, f, r);
            e.ResTimeStarvation = ts + dt(c.area, x - s, f, 1);
            e.ResTimeEnd = e.ResTimeStarvation + dt(c.area, L - x, 1, 1);
            e.PowerStarvation = s * f * G + P0;
        } else if (atStart(x)) {
            e.ResTimeEnd = t0 + dt(c.area, L, 1, r);
            e.ResTimeStarvation = t0;
            e.PowerEnd = G * L + P0;
            e.PowerStarvation = P0;
        } else if (samePoint(L, x)) {
            e.ResTimeEnd = t0 + dt(c.area, L, f, r);
            e.ResTimeStarvation = e.ResTimeEnd;
            e.PowerEnd = L * f * G + P0;
            e.PowerStarvation = e.PowerEnd;
        } else {
            e.ResTimeStarvation = t0 + dt(c.area, x, f, r);
            e.ResTimeEnd = e.ResTimeStarvation + dt(c.area, L - x, 1, r);
            e.PowerStarvation = x * f * G + P0;
            e.PowerEnd = (L - x) * G + e.PowerStarvation;
        }
        if (i < nE_) {
            E(i + 1).ResTimeStart = e.ResTimeEnd;
            E(i + 1).PowerStart = e.PowerEnd;
        }
    }
    row(0).CumulativePower = E(meltStart).PowerStarvation;
}

void ResidencePower::enterMelting(int i) {
    ElementRecord& e = E(i);
    mix_.reach(e.PortIndex);
    if (e.isEndRow()) {
        endRow(i, 1, 1, E(i - 1).PowerEnd);
        return;
    }
    const Channel c = channel(i);
    const float x = e.StarvationPoint, f = e.heldFill(), L = e.SegmentLength, t0 = e.ResTimeStart;
    if (atStart(x)) {
        e.ResTimeEnd = t0 + dt(c.area, L, 1, 1);
        e.ResTimeStarvation = t0;
    } else if (samePoint(L, x)) {
        e.ResTimeEnd = t0 + dt(c.area, L, f, 1);
        e.ResTimeStarvation = e.ResTimeEnd;
    } else {
        e.ResTimeStarvation = t0 + dt(c.area, x, f, 1);
        e.ResTimeEnd = e.ResTimeStarvation + dt(c.area, L - x, 1, 1);
    }
    if (i < nE_) E(i + 1).ResTimeStart = e.ResTimeEnd;
}

void ResidencePower::rowPower(int j, int i) {
    const ElementRecord& e = E(i);
    // Points inside the end zone or the die take the last screw segment's
    // channel, tips included.
    const Channel& c = last_;
    const std::int16_t tips = e.isEndRow() ? c.tips : e.Tips;
    if (tips < 1)
        stopCalculation("The melting profile reaches past the screw elements at point " + std::to_string(j) + ".");
    const char kind = e.isEndRow() ? c.kind : static_cast<char>(std::tolower(static_cast<unsigned char>(e.kind())));
    const float helix = e.isEndRow() ? c.helixAngle : e.HelixAngle;
    const float dx = row(j).AxialPosition - row(j - 1).AxialPosition;
    const float X = row(j).SolidFraction;
    const float n = mix_.n;
    const float melting = mix_.shift(r_.melting.MeltingTemperature);
    const float clearance =
        single(2 * tips * c.tipAngle * mix_.Pm * melting * dx / std::pow(0.005, static_cast<double>(n)));
    const double sine = std::sin(static_cast<double>(helix)), cosine = std::cos(static_cast<double>(helix));
    const float shape = kind == 'k' ? 4.0f : single(4 * sine * sine + cosine * cosine);
    const float Hm = (1 - X) * c.depth;
    requireDivisor(Hm, "melt depth at point " + std::to_string(j) + " of the melting profile");
    const float w = single(melting * std::pow(static_cast<double>(Hm), 1.0 - n) * shape * dx / Hm);
    float viscous = mix_.Pm * w * c.span * static_cast<float>(2 * tips - 1);
    if (isZeroPressure(row(j).Pressure)) viscous = viscous * e.heldFill();
    row(j).CumulativePower = requireFinite(row(j - 1).CumulativePower + viscous + clearance,
                                           "power at point " + std::to_string(j) + " of the melting profile");
}

// Zone 2: the melting region along the profile points. A point moves the
// current element on by its position, over every element it has passed.
void ResidencePower::meltingZone() {
    int i = r_.runState.MeltStartElement;
    const int last = r_.runState.LastProfileRow;
    for (int j = 1; j <= last; ++j) {
        const float position = row(j).AxialPosition;
        while (i < nE_ && reaches(position, E(i + 1).SegmentStart)) enterMelting(++i);
        mix_.reach(E(i).PortIndex);
        rowPower(j, i);
    }
    // The element where melting ends has its residence times from here.
    while (i < r_.runState.MeltEndElement) enterMelting(++i);
}

// Zone 3: melt conveying, MeltEndElement .. the last row.
void ResidencePower::meltZone() {
    const int meltEnd = r_.runState.MeltEndElement;
    const float meltPower = row(r_.runState.LastProfileRow).CumulativePower;
    float C = 0, D = 0;
    for (int i = meltEnd; i <= nE_; ++i) {
        ElementRecord& e = E(i);
        mix_.reach(e.PortIndex);
        if (e.isEndRow()) {
            // Melting that ends here hands on the profile's final power.
            endRow(i, 1, 1, i == meltEnd ? meltPower : E(i - 1).PowerEnd);
            continue;
        }
        const Channel c = channel(i);
        // Without a distinct element C and D stay those of the element before.
        if (const int k = findDistinct(in_.kinds, e)) {
            C = in_.kinds.at(k).heatAtQd;
            D = in_.kinds.at(k).heatAtDrag;
        }
        const float factor = static_cast<float>(2 * c.tips - 1) * mix_.Pm;
        const auto GC = [&](float l, float T) { return single(factor * C * l * mix_.shift(T)); };
        const auto GD = [&](float l, float T) { return single(factor * D * l * mix_.shift(T)); };
        const float x = e.StarvationPoint, f = e.heldFill(), L = e.SegmentLength;
        const float t0 = e.ResTimeStart, P0 = e.PowerStart;
        const float mean3 = (e.TempStart + e.TempStarvation + e.TempEnd) / 3;
        if (i == meltEnd) {
            const float s = r_.runState.MeltEndPosition;
            const float T = (r_.melting.MeltingTemperature + e.TempEnd) / 2;
            e.PowerStarvation = meltPower;
            if (x > s) e.PowerStarvation = e.PowerStarvation + f * GC(x - s, T);
            // The profile points already hold the power up to the melt end.
            e.PowerEnd = GC(L - std::max(x, s), T) + e.PowerStarvation;
        } else if (atStart(x)) {
            e.ResTimeEnd = t0 + dt(c.area, L, 1, 1);
            e.ResTimeStarvation = t0;
            e.PowerEnd = GC(L, mean3) + P0;
            e.PowerStarvation = P0;
        } else if (samePoint(L, x)) {
            e.ResTimeEnd = t0 + dt(c.area, L, f, 1);
            e.ResTimeStarvation = e.ResTimeEnd;
            e.PowerEnd = f * GD(L, mean3) + P0;
            e.PowerStarvation = e.PowerEnd;
        } else {
            e.ResTimeStarvation = t0 + dt(c.area, x, f, 1);
            e.PowerStarvation = f * GD(x, (e.TempStarvation + e.TempStart) / 2) + P0;
            e.ResTimeEnd = e.ResTimeStarvation + dt(c.area, L - x, 1, 1);
            e.PowerEnd = GC(L - x, (e.TempEnd + e.TempStarvation) / 2) + e.PowerStarvation;
        }
        if (i < nE_) {
            E(i + 1).ResTimeStart = e.ResTimeEnd;
            E(i + 1).PowerStart = e.PowerEnd;
        }
    }
}

void ResidencePower::run() {
    nE_ = static_cast<int>(r_.elements.size());
    const records::RunState& st = r_.runState;
    if (st.MeltStartElement < 1 || st.MeltStartElement > nE_ || st.MeltEndElement < 1 || st.MeltEndElement > nE_ ||
        st.LastProfileRow < 0 || static_cast<std::size_t>(st.LastProfileRow) >= r_.profile.size())
        stopCalculation("The melting region of the result lies outside its element rows.");
    for (int i = 1; i <= nE_; ++i)
        if (E(i).PortIndex < 1 || static_cast<std::size_t>(E(i).PortIndex) > r_.ports.size())
            throw CalculationStop{handOverMismatch()};
    if (in_.tipCount < 1)
        stopCalculation("The tip count of the extruder is " + std::to_string(in_.tipCount) +
                        "; the calculation needs at least one.");
    requireDivisor(omega_, "screw speed");
    const float c = in_.centerlineRatio / 2;
    if (!(c > 0 && c < 1)) stopCalculation("The centre-line ratio of the extruder lies outside 0 to 2.");
    psi_ = single(std::atan(std::sqrt(1 - std::pow(static_cast<double>(c), 2.0)) / c));
    records::OneBasedList<PortRecord> ports;
    for (const PortRecord& p : r_.ports) ports.push_back(p);
    q_ = portThroughputs(ports, in_.screwRadius, r_.header.RunConditions.ScrewSpeed / 60);
    for (float q : q_.items()) requireDivisor(q, "throughput of the feed streams");
    solidsZone();
    meltingZone();
    meltZone();
}

}  // namespace

float dieVolume(const records::DieRec& die) {
    const double de = die.EntranceDiameter, dc = die.CapillaryDiameter;
    const double Lc = die.CapillaryZoneLength, Lt = die.TotalLength;
    const double capillary = kPi / 4 * dc * dc * Lc;
    double inlet = 0;
    if (hasConvergingZone(die)) {
        const double ss = (Lt - Lc) / (de / dc - 1);
        const double sb = de / dc * ss;
        inlet = kPi / 3 * ((de / 2) * (de / 2) * sb - (dc / 2) * (dc / 2) * ss);
    } else {
        inlet = kPi / 4 * de * de * std::max(Lt - Lc, 0.0);
    }
    return single(die.Holes * (inlet + capillary));
}

void addResidenceAndPower(records::ResultData& result, const ResidenceInputs& in) { ResidencePower(result, in).run(); }

void residencePowerAndSave(const CalculationPaths& paths, CalculationUser& user, std::shared_ptr<TableFiles> tables,
                           const std::optional<UserMessage>& remark) {
    const records::Calc1Values handOver = readHandOver(paths.tempDir);
    const std::string flow = paths.tempDir + std::string(records::workfile::kFlow);
    shared::ResultFile = flow;
    records::ResultData result;
    if (readingFile(flow, [&] { return records::readResultFile(flow, records::ResultExtent::UpToPorts, result); }) !=
        records::ResultCheck::Ok)
        stopUnreadable(flow, rt::kInputPastEndOfFile);
    const std::vector<std::string> files = analysisWorkFiles(paths.tempDir);  // Analysis, Calc2, DiffElem
    const AnalysisHandOver analysis = readCalc2(paths.tempDir);
    const std::vector<records::AnalysisRecord> kinds = readAnalysisRecords(files[2]);
    requireSameExtruder(handOver, result.header);
    requirePartsOnPorts(kinds, handOver.PortCount);

    ResidenceInputs in;
    in.screwRadius = handOver.ScrewRadius;
    in.centerlineRatio = handOver.CenterlineRatio;
    in.tipCount = handOver.TipCount;
    in.die = analysis.die;
    in.dieFile = analysis.header.ExtruderHeader.DieFile.rtrimmed();
    records::OneBasedList<PortRecord> ports;
    for (const PortRecord& p : result.ports) ports.push_back(p);
    in.kinds = distinctElements(kinds, ports);
    const records::OneBasedList<float> q =
        portThroughputs(ports, handOver.ScrewRadius, result.header.RunConditions.ScrewSpeed / 60);
    const TableSource source = tableSource(paths, handOver.ExtruderCategory, user, std::move(tables));
    for (DistinctElement& k : in.kinds.items())
        if (!lookUpTables(k, q, source))
            user.message({"Error: Invalid element type", kCalculationTitle, MessageIcon::None});
    addResidenceAndPower(result, in);

    // The extruder is appended only while it is still the one analysed.
    const std::string& extruder = handOver.ExtruderFile;
    const records::ExtruderFileContent content =
        readingFile(extruder, [&] { return records::readExtruderFile(extruder); });
    const records::ExtHeader& analysed = result.header.ExtruderHeader;
    const records::ExtHeader& now = content.header;
    if (now.ScrewFile != analysed.ScrewFile || now.BarrelFile != analysed.BarrelFile ||
        now.DieFile != analysed.DieFile || now.ScrewCount != analysed.ScrewCount ||
        now.BarrelCount != analysed.BarrelCount || now.ScrewOffset != analysed.ScrewOffset)
        throw CalculationStop{handOverMismatch()};
    takeHandOver(handOver);
    result.screw = content.screw;
    result.barrel = content.barrel;
    requireFiniteResult(result);
    shared::ResultFile = flow;
    try {
        records::writeResultFile(flow, result, records::ResultExtent::WithExtruder);
    } catch (const rt::Error&) {
        throw CalculationStop{workFileNotWritten(flow, kCalculationTitle)};
    }

    const UserMessage notSaved{"Flow file was not saved!", "", MessageIcon::Critical};
    if (remark) user.message(*remark);
    if (!user.ask(
            {"Calculations are finished. Do You want to save result?", kCalculationTitle, MessageIcon::Information})) {
        user.message(notSaved);
        return;
    }
    for (;;) {
        const std::optional<std::string> target = user.chooseResultFile();
        if (!target) {
            user.message(notSaved);
            return;
        }
        try {
            io::moveReplacing(flow, *target);
            return;
        } catch (const rt::Error&) {
            user.message(calculationError("The file " + *target + "\ncould not be written."));
        }
    }
}

}  // namespace sim
