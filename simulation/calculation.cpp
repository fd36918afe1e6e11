#include "simulation/calculation.h"

#include <algorithm>
#include <cmath>

#include "platform/rt/error.h"
#include "platform/rt/numtext.h"
#include "records/result_file.h"
#include "records/work_files.h"
#include "simulation/calculation_inputs.h"
#include "simulation/numerics.h"
#include "simulation/residence_power.h"
#include "state/state.h"

namespace sim {

using records::ElementRecord;
using records::MeltProfileRow;
using records::PortRecord;
using records::RunState;

namespace {

constexpr double kEightPi = 25.132741232;
// Step length of the heat balance, radius units.
constexpr float kSubStepLength = 0.01f;
// No element part is longer than a screw of 10000 radii.
constexpr double kMaxSubSteps = 1e6;
constexpr int kDieSteps = 20;

std::string rowName(int i) { return "element row " + std::to_string(i); }

// Stress scale of a port's melt, MPa.
float stressScale(const PortRecord& p, float N) {
    return single(0.001 * p.Consistency * std::pow(kTwoPi * N, static_cast<double>(p.PowerLawIndex)));
}

// Viscosity shift exp(-b (T - Tref)) of a port's melt at T.
float viscosityShift(const PortRecord& p, float T) {
    return single(std::exp(static_cast<double>(-p.ViscositySensitivity * (T - p.ReferenceTemperature))));
}

bool solidLeft(const RunState& state, const std::vector<MeltProfileRow>& profile) {
    return profile.at(static_cast<std::size_t>(state.LastProfileRow)).SolidFraction > 0;
}

// The end zone and the die start at the temperature where the row before
// them ends and add the heat of their pressure drop.
void heatEndRow(RunData& run, int j, float rhoCp) {
    ElementRecord& e = run.elements.at(j);
    if (j > 1) e.TempStart = run.elements.at(j - 1).TempEnd;
    e.TempStarvation = e.TempStart;
    const float end = single(e.TempStart + (e.PressureStart - e.PressureEnd) / rhoCp);
    if (!std::isfinite(end) && e.kind() == records::kDieKind)
        stopForDie(run.dieFile, "gives no finite temperature at its end.");
    e.TempEnd = requireFinite(end, "temperature at the end of " + rowName(j));
}

// ---- Backward pass --------------------------------------------------------

void dieRow(RunData& run, ElementRecord& e, float s, float tau) {
    if (!(run.hasDie && run.calculateDiePressure)) {
        e.PressureStart = run.specifiedDiePressure;
        e.PressureStarvation = e.PressureStart;
        return;
    }
    // The die's dimensions are finite, its diameters above 0 (the run
    // refused it before otherwise); what they give may still not be.
    const records::DieRec& die = run.die;
    const auto stop = [&run](const std::string& why) { stopForDie(run.dieFile, why); };
    // The capillary length ratio, rounded half to even into an Integer.
    const float lengthRatio = std::nearbyint(die.CapillaryZoneLength / die.CapillaryDiameter);
    if (!(std::fabs(lengthRatio) <= 32767.0f))
        stop("has a capillary length ratio of " + rt::generalForm(lengthRatio) +
             "; the calculation takes at most 32767.");
    const auto ratio = static_cast<std::int16_t>(lengthRatio);
    const float n = run.ports.at(run.ports.count()).PowerLawIndex;
    run.currentIndex = n;
    const double nd = n;
    const float capillaryRadius = die.CapillaryDiameter / 2;
    // Capillary: 4 (L/d) times the wall stress of the power-law melt.
    const float C = single(4.0 * ratio * std::pow((3 + 1 / n) * run.Qh / (kPi * std::pow(capillaryRadius, 3.0)), nd));
    if (!std::isfinite(C)) stop("gives no finite pressure in its capillary.");
    float K = C;
    if (hasConvergingZone(die)) {
        const float alpha = single(std::atan(0.5 * (die.EntranceDiameter - die.CapillaryDiameter) /
                                             (die.TotalLength - die.CapillaryZoneLength)));
        const float rc = single(capillaryRadius / std::sin(alpha));
        const float re = single((die.EntranceDiameter / 2) / std::sin(alpha));
        const float I = IntegrateShapeFactor(alpha, n, kDieSteps);
        // A cone so slender that its shape factor comes out at 0.
        if (I == 0 || !std::isfinite(I)) stop("has a converging zone whose shape factor the calculation cannot take.");
        K = single(C + std::pow(run.Qh / (kEightPi * I), nd) * (std::pow(rc, -3.0 * nd) - std::pow(re, -3.0 * nd)) /
                           (3.0 * nd));
        if (!std::isfinite(K)) stop("gives no finite pressure in its converging zone.");
    }
    // A die that describes a die gives a pressure of 0 or more; the run
    // refuses the others before it gets here. One beyond a single stops.
    e.PressureStart = K * s * tau;
    if (!std::isfinite(e.PressureStart)) stop("gives no finite die pressure.");
    if (e.PressureStart < 0) stop("gives a negative die pressure (" + rt::generalForm(e.PressureStart) + " MPa).");
    run.header.RunConditions.DiePressure = e.PressureStart;
    // The capillary's part, no more than the whole: finite too.
    e.PressureStarvation = C * s * tau;
}

void endZoneRow(const RunData& run, ElementRecord& e, float s, float tau) {
    const float n = run.currentIndex;
    requireDivisor(n, "power-law index of the end zone's melt");
    const float increment = single(2 * run.endZoneLength *
                                   std::pow((3 + 1 / n) * run.A.at(run.A.count()) / kTwoPi, static_cast<double>(n)));
    // Dimensionless like the die's terms: in MPa once scaled by tau and s.
    e.PressureStart = requireFinite(increment * tau * s + e.PressureEnd, "pressure of the end zone");
    e.PressureStarvation = e.PressureStart;
}

void screwRow(RunData& run, int i, float s, float tau) {
    ElementRecord& e = run.elements.at(i);
    const int k = findDistinct(run.distinct, e);
    if (k == 0) throw CalculationStop{{"Impossible condition element", kCalculationTitle, MessageIcon::None}, true};
    const DistinctElement& d = run.distinct.at(k);
    e.TableValue1 = d.gradient;
    e.TableValue2 = d.dragCapacity;
    requireDivisor(d.dragCapacity, "drag capacity of element " + d.code);
    const float F = d.Qd / d.dragCapacity;
    // A fill is never negative, whatever sign the tables give the capacity.
    const float starvedFill = std::max(F, 0.0f);
    const float cappedFill = std::min(starvedFill, 1.0f);
    const ElementRecord& next = run.elements.at(i + 1);
    if (e.inPortRegion()) {
        e.StarvationPoint = e.SegmentLength;
        e.PressureEnd = e.PressureStarvation = e.PressureStart = 0;
        e.FillRight = starvedFill;
        if (e.Hand < 0 || next.PressureStart > 0) e.FillRight = records::kPortMarkFill;
        e.FillLeft = e.FillRight;
        return;
    }
    const float pd = next.inPortRegion() ? 0.0f : next.PressureStart;
    const float dp = d.gradient * e.SegmentLength * s * tau;
    const float pu = requireFinite(pd - dp, "pressure at the start of " + rowName(i));
    // A pressure-consuming element (left-handed, or fed beyond its capacity)
    // needs pressure upstream whatever follows it: filled throughout.
    if (pu > 0) {
        e.StarvationPoint = 0;
        e.PressureStart = pu;
        e.PressureEnd = pd;
        e.PressureStarvation = pu;
        e.FillLeft = e.FillRight = 1;
    } else if (pd < kNoPressure) {
        // No pressure downstream, or one below none: starved throughout.
        e.StarvationPoint = e.SegmentLength;
        e.PressureStart = e.PressureEnd = e.PressureStarvation = 0;
        e.FillLeft = e.FillRight = cappedFill;
    } else {
        // Filled from the starvation point on. A start pressure that comes out
        // at exactly 0 puts it at the start; the row is never left as it was.
        e.StarvationPoint = pu < 0 ? e.SegmentLength * -pu / (pd - pu) : 0.0f;
        e.PressureStart = 0;
        e.PressureStarvation = 0;
        e.PressureEnd = pd;
        e.FillRight = 1;
        e.FillLeft = cappedFill;
    }
}

// ---- Forward pass ---------------------------------------------------------

// The melt terms of a port in the forward pass.
struct MeltTerms {
    float tau = 0;                          // stress scale, MPa
    float rhoCp = 0;                        // density times heat capacity
    float Tscale = 0;                       // temperature scale tau / rhoCp, C
    float stBarrel = 0, stScrew = 0;        // heat-transfer numbers
    float thetaBarrel = 0, thetaScrew = 0;  // wall temperatures / Tscale
};

MeltTerms meltTerms(const RunData& run, const PortRecord& p) {
    MeltTerms t;
    t.tau = stressScale(p, run.N);
    t.rhoCp = p.Density * p.HeatCapacity;
    requireDivisor(t.rhoCp, "density times heat capacity of the melt");
    t.Tscale = t.tau / t.rhoCp;
    requireDivisor(t.Tscale, "temperature scale of the melt");
    const float K = single(t.rhoCp * kTwoPi * run.screwRadius * run.N / 0.001);
    requireDivisor(K, "heat-transfer scale of the melt");
    t.stBarrel = p.BarrelHtc / K;
    t.stScrew = p.ScrewHtc / K;
    t.thetaBarrel = p.BarrelTemperature / t.Tscale;
    t.thetaScrew = p.ScrewTemperature / t.Tscale;
    return t;
}

// The heat balance along one part of a row: theta is carried through
// sub-steps of about 0.01 radius units. A part of no length makes no step.
struct HeatBalance {
    const PortRecord& port;
    const MeltTerms& terms;
    float W = 0;   // perimeter factor
    float Q = 0;   // element throughput
    float Hq = 0;  // heat at the throughput

    float run(float theta, float length, bool starved, float Hs, float G) const {
        if (!(length > 0)) return theta;
        const double m = std::max(1.0f, std::nearbyint(length / kSubStepLength));
        if (m > kMaxSubSteps)
            stopCalculation("A part of " + rt::generalForm(length) + " screw radii is too long for the heat balance.");
        const float dx = single(length / m);
        const float wallB = W * terms.stBarrel, wallS = W * terms.stScrew;
        for (double step = 0; step < m; ++step) {
            const float shift = viscosityShift(port, terms.Tscale * theta);
            const float X = wallB * (terms.thetaBarrel - theta) + wallS * (terms.thetaScrew - theta);
            const float heat = starved ? Hs * shift : shift * (Hq - G * Q);
            theta = theta + (heat + X) * dx / Q;
        }
        return theta;
    }
};

}  // namespace

int findDistinct(const records::OneBasedList<DistinctElement>& distinct, const records::AnalysisRecord& part) {
    const std::string code = part.Code.rtrimmed();
    const std::string kind = part.Kind.rtrimmed();
    for (int k = 1; k <= distinct.count(); ++k) {
        const DistinctElement& d = distinct.at(k);
        if (d.code == code && d.kind == kind && d.port == static_cast<float>(part.PortIndex)) return k;
    }
    return 0;
}

UserMessage calculationError(const std::string& text) { return {text, kCalculationTitle, MessageIcon::Critical}; }

void stopCalculation(const std::string& text) { throw CalculationStop{calculationError(text)}; }

void stopForDie(const std::string& dieFile, const std::string& why) {
    stopCalculation("The die " + dieFile + "\n" + why);
}

float requireFinite(double v, const std::string& what) {
    const float f = single(v);
    if (!std::isfinite(f)) stopCalculation("The calculation gives no finite value for the " + what + ".");
    return f;
}

void requireDivisor(double v, const std::string& what) {
    if (v == 0) stopCalculation("The " + what + " is 0; the calculation cannot divide by it.");
    if (!std::isfinite(v)) stopCalculation("The " + what + " has no finite value.");
}

records::OneBasedList<float> portThroughputs(const records::OneBasedList<PortRecord>& ports, float radius, float N) {
    const float V = single(kTwoPi * std::pow(radius / 10, 3.0) * N);
    records::OneBasedList<float> A(ports.count());
    float volume = 0, mass = 0;
    for (int p = 1; p <= ports.count(); ++p) {
        const PortRecord& port = ports.at(p);
        volume = volume + port.FlowRate / port.Density;
        mass = mass + port.FlowRate;
        const float density = mass / volume;
        A.at(p) = single(mass / (3.6 * density)) / V;
    }
    return A;
}

bool hasConvergingZone(const records::DieRec& die) {
    return die.EntranceDiameter > die.CapillaryDiameter && die.TotalLength > die.CapillaryZoneLength &&
           !samePlace(die.TotalLength, die.CapillaryZoneLength);
}

void backwardPass(RunData& run, int jStart) {
    int currentPort = 0;
    float tau = 0;
    for (int i = run.nE; i >= jStart; --i) {
        ElementRecord& e = run.elements.at(i);
        const PortRecord& port = run.ports.at(e.PortIndex);
        if (e.PortIndex != currentPort) {
            tau = stressScale(port, run.N);
            currentPort = e.PortIndex;
        }
        const float s = viscosityShift(port, (e.TempStarvation + e.TempStart + e.TempEnd) / 3);
        if (e.isEndRow()) {
            if (e.kind() == records::kDieKind)
                dieRow(run, e, s, tau);
            else
                endZoneRow(run, e, s, tau);
            if (i > 1) run.elements.at(i - 1).PressureEnd = e.PressureStart;
        } else {
            screwRow(run, i, s, tau);
        }
    }
}

float forwardPass(RunData& run, int jStart, const RunState& state, const std::vector<MeltProfileRow>& profile) {
    const bool solid = solidLeft(state, profile);
    float residual = 0;
    int currentPort = 0;
    MeltTerms terms;
    float carried = run.elements.at(1).TempStart;
    for (int j = jStart; j <= run.nE; ++j) {
        if (solid) return 0;
        ElementRecord& e = run.elements.at(j);
        const PortRecord& port = run.ports.at(e.PortIndex);
        if (e.PortIndex != currentPort) {
            terms = meltTerms(run, port);
            currentPort = e.PortIndex;
        }
        const float s = viscosityShift(port, (carried + e.TempStarvation + e.TempEnd) / 3);
        carried = e.TempEnd;
        if (e.isEndRow()) {
            heatEndRow(run, j, terms.rhoCp);
            continue;
        }
        const int k = findDistinct(run.distinct, e);
        if (k == 0)
            throw CalculationStop{
                {"Impossible condition element # " + std::to_string(j), kCalculationTitle, MessageIcon::None}, true};
        const DistinctElement& d = run.distinct.at(k);
        if (e.Tips < 1)
            stopCalculation("The tip count of " + rowName(j) + " is " + std::to_string(e.Tips) +
                            "; the calculation needs at least one.");
        requireDivisor(d.Qd, "throughput of element " + d.code);

        HeatBalance balance{port, terms};
        balance.W = single(single(kPi / e.Tips - 2 * run.psi) + 4 * run.psi);
        if (e.Kind.str() == "s") balance.W = single(balance.W * std::sin(e.HelixAngle));
        balance.Q = d.Qd;
        balance.Hq = d.heatAtQd;

        const bool first = j == jStart;
        float Lf = e.SegmentLength, Hs = 0, Ls = 0, theta0 = 0;
        if (!first) {
            Hs = e.heldFill() * d.heatAtDrag;
            Ls = e.StarvationPoint;
            theta0 = e.TempStart / terms.Tscale;
        } else {
            // Where melting ends the melt takes the row from the melt end on.
            const MoltenPart molten = moltenPartOf(e, state.MeltEndPosition);
            Lf = molten.length;
            Ls = molten.starved;
            Hs = e.heldFill() * d.heatAtQd;
            theta0 = run.Tinit / terms.Tscale;
        }
        // The pressure gradient of a filled part, in units of tau * s.
        const auto gradient = [&](float rise, float length) {
            return length > 0 ? single(rise / (length * terms.tau * s)) : 0.0f;
        };
        float theta = theta0, thetaStarvation = theta0;
        if (atStart(Ls)) {
            theta = balance.run(theta0, Lf, false, Hs, gradient(e.PressureEnd - e.PressureStart, Lf));
        } else if (samePoint(Lf, Ls)) {
            theta = thetaStarvation = balance.run(theta0, Lf, true, Hs, 0);
        } else {
            theta = thetaStarvation = balance.run(theta0, Ls, true, Hs, 0);
            theta = balance.run(theta, Lf - Ls, false, Hs, gradient(e.PressureEnd - e.PressureStarvation, Lf - Ls));
        }
        const float T1 = requireFinite(terms.Tscale * theta, "temperature at the end of " + rowName(j));
        residual = residual + (e.TempEnd - T1) * (e.TempEnd - T1);
        e.TempEnd = T1;
        // The row where melting ends takes its starvation temperature between
        // its start and end temperatures by the starved share of its molten
        // part, without a jump as the starvation point moves across the melt
        // end.
        e.TempStarvation = first ? meltEndStarvationTemperature(e, state.MeltEndPosition)
                                 : terms.Tscale * thetaStarvation;
        requireFinite(e.TempStarvation, "temperature at the starvation point of " + rowName(j));
        if (j < run.nE) run.elements.at(j + 1).TempStart = e.TempEnd;
    }
    return residual;
}

namespace {

std::string coreStopReason(CoreStop stop) {
    switch (stop) {
    case CoreStop::None:
        return "";
    case CoreStop::BadArguments:
        return "the element rows and the run state do not fit together";
    case CoreStop::BadPortStream:
        return "the feed streams give no throughput";
    case CoreStop::BadMaterial:
        return "the melt or solid properties give no finite value";
    case CoreStop::BadGeometry:
        return "an element has fewer than one tip or a centre-line ratio outside 0 to 2";
    case CoreStop::BadElement:
        return "an element has no length, disks or stagger, an unknown port, or a helix angle that gives no finite step";
    case CoreStop::BadCapacity:
        return "an element table gives a drag capacity of 0";
    case CoreStop::BadFriction:
        return "a friction ratio lies outside 0 to 1";
    case CoreStop::NoSoundValue:
        return "the arithmetic gives no finite value";
    case CoreStop::ProfileTooLong:
        return "the melting profile has more points than it can hold";
    }
    return "";
}

void requireCore(const CoreStatus& status) {
    if (status.ok()) return;
    std::string where = status.element > 0 ? " at " + rowName(status.element) : "";
    stopCalculation("The simulation of solids conveying and melting stopped" + where + ": " +
                    coreStopReason(status.stop) + ".");
}

// The end zone and the die after the screw's last row, as the forward pass
// leaves them: where solid is left at the screw's end the pass balances no
// row, and the simulation core ends at the end zone.
void heatEndRowsAfterTheScrew(RunData& run) {
    for (int j = 1; j <= run.nE; ++j)
        if (run.elements.at(j).isEndRow())
            heatEndRow(run, j, meltTerms(run, run.ports.at(run.elements.at(j).PortIndex)).rhoCp);
}

// What the user should know of a result before saving it: an iteration that
// did not settle, or solid left at the screw's end.
std::optional<UserMessage> remarkOn(const RunState& state, const std::vector<MeltProfileRow>& profile,
                                    bool settled, float residual) {
    const auto remark = [](const std::string& text) {
        return UserMessage{text, kCalculationTitle, MessageIcon::Information};
    };
    if (solidLeft(state, profile)) {
        const MeltProfileRow& last = profile.at(static_cast<std::size_t>(state.LastProfileRow));
        if (state.meltingNeverStarted())
            return remark("Melting does not start within the screw: the solid leaves the screw unmelted.");
        return remark("Melting is not finished within the screw: an unmelted solid fraction of " +
                      rt::generalForm(last.SolidFraction) + " is left at the last point of the melting profile.");
    }
    if (!settled)
        return remark("The calculation did not settle within " + std::to_string(kMaxIterations) +
                      " iterations: the last residual is " + rt::generalForm(residual) +
                      ".\nThe result is that of the last iteration.");
    return std::nullopt;
}

// The iteration: backward pass, the core in iterations 1 and 2, forward
// heat balance, until the residual settles; then the core's final call.
// Returns what the user should know of the result.
std::optional<UserMessage> iterate(RunData& run, RunState& state, std::vector<MeltProfileRow>& profile,
                                   CalculationUser& user, const CalculationOptions& options, bool& progressShown) {
    const bool coldFeed = run.solids.FeedTemperature < run.melting.MeltingTemperature;
    int jStart = 1;
    float residual = 0;
    bool settled = false;
    const auto callCore = [&](bool finalCall) {
        requireCore(options.core(run.N, run.screwRadius, static_cast<std::int16_t>(run.ports.count()), run.elements,
                                 run.solids, run.melting, run.ports, run.nE, state, profile, finalCall));
    };
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        backwardPass(run, jStart);
        if (iteration == 1) {
            profile.assign(1, MeltProfileRow{});
            state.MeltStartElement = state.AuxElementIndex = state.MeltEndElement = state.LastProfileRow = 0;
        }
        if (!coldFeed) {
            jStart = 1;
            state.MeltEndPosition = 0;
            run.header.RunConditions.MeltEndElement = 1;
            profile.at(0).AverageTemperature = run.solids.FeedTemperature;
        } else if (iteration <= 2) {
            callCore(false);
            jStart = state.MeltEndElement;
            if (jStart < 1 || state.LastProfileRow < 0 ||
                static_cast<std::size_t>(state.LastProfileRow) >= profile.size())
                stopCalculation("The melting region of the simulation lies outside the element rows.");
            run.header.RunConditions.MeltEndElement = state.MeltEndElement;
            if (state.MeltEndPosition < 0) state.MeltEndPosition = 0;
        }
        residual = forwardPass(run, jStart, state, profile);
        settled = residual <= options.residualTolerance;
        // The last iteration ends the loop: no progress shown, no pause.
        if (settled || iteration == kMaxIterations) break;
        user.showProgress(iteration, residual);
        progressShown = true;
        user.pause(kIterationPauseMs);
    }
    user.closeProgress();
    progressShown = false;
    if (coldFeed) {
        callCore(true);
        if (solidLeft(state, profile)) heatEndRowsAfterTheScrew(run);
    } else {
        state.LastProfileRow = 0;
        state.MeltStartElement = state.AuxElementIndex = state.MeltEndElement = 1;
    }
    return remarkOn(state, profile, settled, residual);
}

}  // namespace

void requireFiniteResult(const records::ResultData& data) {
    for (std::size_t i = 0; i < data.elements.size(); ++i) {
        const ElementRecord& e = data.elements[i];
        for (float v : {e.StarvationPoint, e.FillLeft, e.FillRight, e.PressureStart, e.PressureStarvation,
                        e.PressureEnd, e.TempStart, e.TempStarvation, e.TempEnd, e.TableValue1, e.TableValue2,
                        e.ResTimeStart, e.ResTimeStarvation, e.ResTimeEnd, e.PowerStart, e.PowerStarvation, e.PowerEnd})
            if (!std::isfinite(v))
                stopCalculation("The calculation gives no finite value at " + rowName(static_cast<int>(i) + 1) + ".");
    }
    for (std::size_t j = 0; j < data.profile.size(); ++j) {
        const MeltProfileRow& r = data.profile[j];
        for (float v : {r.AxialPosition, r.SolidFraction, r.Pressure, r.AverageTemperature, r.CumulativePower})
            if (!std::isfinite(v))
                stopCalculation("The calculation gives no finite value at point " + std::to_string(j) +
                                " of the melting profile.");
    }
}

bool runCalculation(const CalculationPaths& paths, CalculationUser& user, const CalculationOptions& options) {
    bool progressShown = false;
    try {
        RunData run;
        if (!prepareRun(paths, user, run)) return false;
        RunState state;
        std::vector<MeltProfileRow> profile(1);
        const std::optional<UserMessage> remark = iterate(run, state, profile, user, options, progressShown);

        records::ResultData data;
        data.header = run.header;
        data.elements = run.elements.items();
        data.runState = state;
        data.profile.assign(profile.begin(), profile.begin() + state.LastProfileRow + 1);
        data.solids = run.solids;
        data.melting = run.melting;
        data.ports = run.ports.items();
        requireFiniteResult(data);
        const std::string flow = paths.tempDir + std::string(records::workfile::kFlow);
        shared::ResultFile = flow;
        try {
            records::writeResultFile(flow, data, records::ResultExtent::UpToPorts);
        } catch (const rt::Error&) {
            throw CalculationStop{workFileNotWritten(flow, kCalculationTitle)};
        }
        shared::PortRecords.clear();
        residencePowerAndSave(paths, user, run.tables, remark);
        return true;
    } catch (const CalculationStop& stop) {
        if (progressShown && !stop.keepProgress) user.closeProgress();
        user.message(stop.message);
    } catch (const rt::Error& e) {
        if (progressShown) user.closeProgress();
        user.message(calculationError("The calculation stopped: " + e.description() +
                                      (e.detail().empty() ? "" : " (" + e.detail() + ")") + "."));
    } catch (const std::exception& e) {
        if (progressShown) user.closeProgress();
        user.message(calculationError(std::string("The calculation stopped: ") + e.what() + "."));
    }
    return false;
}

}  // namespace sim
