#include "results/result_charts.h"

#include <cmath>
#include <limits>

#include "platform/rt/convert.h"
#include "results/result_frame.h"

namespace results {

namespace {

using records::ElementRecord;
using records::MeltProfileRow;

struct Triple {
    float start, starvation, end;
};

// The plotted quantity of an element at its start, starvation point and end.
Triple elementValues(std::int16_t kind, const ElementRecord& e) {
    switch (kind) {
    case kPressureChart: return {e.PressureStart, e.PressureStarvation, e.PressureEnd};
    case kTemperatureChart: return {e.TempStart, e.TempStarvation, e.TempEnd};
    case kResidenceChart: return {e.ResTimeStart, e.ResTimeStarvation, e.ResTimeEnd};
    default: return {e.PowerStart, e.PowerStarvation, e.PowerEnd};
    }
}

float rowValue(std::int16_t kind, const MeltProfileRow& row) {
    switch (kind) {
    case kPressureChart: return row.Pressure;
    case kTemperatureChart: return row.AverageTemperature;
    case kMeltingChart: return row.SolidFraction;
    default: return row.CumulativePower;
    }
}

// Largest and smallest finite value; 0 and 0 when there is none.
struct Extremes {
    bool any = false;
    double max = 0, min = 0;
    void take(float v) {
        if (!std::isfinite(v)) return;
        if (!any) {
            max = min = v;
            any = true;
        }
        if (v > max) max = v;
        if (v < min) min = v;
    }
    void take(const Triple& t) {
        take(t.start);
        take(t.starvation);
        take(t.end);
    }
};

int lastProfileRow(const ChartSource& s) { return static_cast<int>(s.profile.size()) - 1; }

// The values that set a chart's axis.
Extremes extremesOf(std::int16_t kind, const ChartSource& s) {
    Extremes x;
    const int nE = s.elements.count();
    auto rows = [&] {
        for (const MeltProfileRow& row : s.profile) x.take(rowValue(kind, row));
    };
    auto elementsFrom = [&](int first) {
        for (int i = first < 1 ? 1 : first; i <= nE - 1; ++i) x.take(elementValues(kind, s.elements.at(i)));
    };
    if (kind == kPressureChart) {
        // The melting profile and the rows after the melt end, as the
        // listing and the export show them. Where melting never started the
        // profile is one point at the screw's end, and the screw's last row,
        // which every iteration revisits, is drawn whole: the rows before it
        // keep pressures of the first iteration.
        const int meltEnd = s.header.RunConditions.MeltEndElement;
        rows();
        elementsFrom(s.runState.meltingNeverStarted() ? meltEnd : meltEnd + 1);
        return x;
    }
    x.take(elementValues(kind, s.elements.at(1)).start);
    elementsFrom(2);
    const bool withRows = kind == kTemperatureChart ? lastProfileRow(s) >= 1 : kind != kResidenceChart;
    if (withRows) rows();
    return x;
}

double log10Of(double v) { return std::log(v) / std::log(10.0); }

const char* unitOf(std::int16_t kind) {
    switch (kind) {
    case kPressureChart: return " MPa";
    case kTemperatureChart: return "  C  ";
    case kResidenceChart: return " min ";
    case kPowerChart: return "  KW  ";
    case kTorqueChart: return "  Nm  ";
    default: return "";
    }
}

// "E", the exponent without a leading blank, and the unit.
std::string exponentText(int exponent, const char* unit) {
    std::string text = "E";
    text.append(std::to_string(exponent));
    text.append(unit);
    return text;
}

// The seven tick values, bottom first, in units of 10^exponent.
std::array<float, 7> ticksOf(double bottom, double exponent, double step) {
    std::array<float, 7> ticks{};
    const double scale = std::pow(10.0, exponent);
    for (int k = 0; k <= 6; ++k) ticks[static_cast<std::size_t>(k)] = static_cast<float>(bottom / scale + k * step);
    return ticks;
}

// The specific energy consumption by its pattern. "#.###" writes no digit
// for 0 (nor for a value that rounds to it): that shows as 0.
std::string secText(double sec, const char* pattern) {
    const std::string text = formatFinite(sec, pattern);
    return text.find_first_of("0123456789") == std::string::npos ? "0" : text;
}

// Whether no two neighbouring ticks read alike.
bool distinctTicks(const std::array<float, 7>& ticks) {
    for (std::size_t k = 1; k < ticks.size(); ++k)
        if (tickText(ticks[k]) == tickText(ticks[k - 1])) return false;
    return true;
}

void setTexts(ValueAxis& a, std::int16_t kind) {
    static const char* const letters[] = {"", "P", "T", "A", "R", "W", "M"};
    static const char* const titles[] = {"", "Pressure", "Temperature", "Melting Profile", "Average Residence Time",
                                         "Power Consumption", "Torque"};
    a.letter = letters[kind];
    a.title = titles[kind];
}

}  // namespace

std::string tickText(float value) { return formatFinite(value, "#0.#0"); }

ValueAxis chartAxis(std::int16_t kind, const ChartSource& s, const char* secPattern) {
    ValueAxis a;
    setTexts(a, kind);
    a.yTop = kind == kPressureChart ? 2639 : 2640;

    double e = 0, step = 1.0 / 6.0, bottom = 0, top = 1, range = 1;
    bool defined = true;
    if (kind != kMeltingChart) {
        const Extremes x = extremesOf(kind, s);
        double max = x.max, min = x.min;
        if (kind == kTorqueChart) {
            const records::ParameterFileHeader& run = s.header.RunConditions;
            double sec = run.TotalThroughput > 0 ? max / run.TotalThroughput : 0;
            if (!std::isfinite(sec) || std::fabs(sec) > std::numeric_limits<float>::max()) sec = 0;
            a.title += "    SEC = " + secText(sec, secPattern) + " KWhr/kg";
            a.screwSpeedRps = run.ScrewSpeed / 60.0f;
            if (min < 0) min = 0;
            if (a.screwSpeedRps > 0 && std::isfinite(a.screwSpeedRps)) {
                // Torque per screw in N m from a power in kW.
                a.factor = 1000.0 / (a.screwSpeedRps * 6.283185308) / 2.0;
                max *= a.factor;
                min *= a.factor;
            } else {
                a.hasCurve = false;
                max = min = 0;
            }
        }
        if (kind == kPowerChart && min < 0) min = 0;

        // Rule T on [min, max] with the exponent given.
        auto spread = [&](double exponent) {
            e = exponent;
            const double scale = std::pow(10.0, e);
            const double upper = (max + 0.25 * (max - min)) / scale, lower = min / scale;
            step = (upper - lower) / 6.0;
            bottom = lower * scale;
            top = bottom + 6.0 * step * scale;
        };
        switch (kind) {
        case kPressureChart: {
            const double peak = 1.1 * max;
            defined = peak > 0;
            if (defined) {
                e = rt::cint(log10Of(peak));
                step = rt::cint(peak / std::pow(10.0, e) * 100.0 / 6.0) / 100.0;
                top = 6.0 * step * std::pow(10.0, e);
            }
            break;
        }
        case kResidenceChart: {
            const double peak = 1.25 * max;
            defined = peak > 0;
            if (defined) {
                e = rt::intFloor(log10Of(peak));
                step = peak / std::pow(10.0, e) / 6.0;
                top = 6.0 * step * std::pow(10.0, e);
            }
            break;
        }
        case kTemperatureChart:
            bottom = min;
            defined = max > 0;
            if (defined) spread(rt::intFloor(log10Of(max)));
            break;
        case kTorqueChart:
            bottom = min;
            defined = 1.25 * max > 0;
            if (defined) spread(rt::intFloor(log10Of(1.25 * max)));
            break;
        default: {  // power
            const double peak = 1.25 * max;
            bottom = min;
            spread(peak >= 10 ? rt::intFloor(log10Of(peak)) : 0.0);
            // A power so small that exponent 0 shows its ticks alike takes
            // its exponent as the torque does.
            if (peak > 0 && peak < 10 && !distinctTicks(ticksOf(bottom, e, step))) spread(rt::intFloor(log10Of(peak)));
            break;
        }
        }
        range = top - bottom;
        defined = defined && range > 0 && std::isfinite(range) &&
                  std::isfinite(static_cast<float>(1441.0 / range)) && std::isfinite(bottom);
        if (!defined) {
            // No logarithm or no range: one unit up from the rule's bottom.
            if (!std::isfinite(bottom)) bottom = 0;
            e = 0;
            step = 1.0 / 6.0;
            top = bottom + 1;
            range = 1;
        }
        a.exponentText = exponentText(rt::toInt16(e), unitOf(kind));
    }
    a.exponent = e;
    a.bottom = bottom;
    a.top = top;
    a.ticks = ticksOf(bottom, e, step);
    a.yScale = (kind == kPressureChart ? 1441.0 : 1440.0) / range;
    return a;
}

namespace {

// The pen of a curve: its x in chartX (twips from the strip's left edge) and
// the value of the last point drawn.
class Plot {
public:
    Plot(gfx::DrawTarget& target, gfx::Color color, std::int16_t kind, const ChartSource& s, const ValueAxis& axis,
         double& chartX, double& chartNextX)
        : target_(target), color_(color), kind_(kind), s_(s), axis_(axis), chartX_(chartX), chartNextX_(chartNextX) {}

    bool has(int i) const { return s_.elements.contains(i); }
    const ElementRecord& element(int i) const { return s_.elements.at(i); }
    double x(float radii) const { return radii * s_.xScale; }

    // The last element row drawn: the die-pressure row, and the die row of
    // an extruder with a die, are not.
    int last() const {
        return s_.elements.count() - (s_.header.ExtruderHeader.DieFile.trimmed().empty() ? 1 : 2);
    }

    void place(double x, double v) {
        chartX_ = x;
        value_ = v;
        placed_ = true;
    }
    // A segment from the last point drawn; with none yet it only places the pen.
    void segmentTo(double x, double v) {
        if (placed_) draw(chartX_, value_, x, v);
        place(x, v);
    }
    void segmentToStarvation(int i, float value) {
        segmentTo((static_cast<double>(element(i).SegmentStart) + element(i).StarvationPoint) * s_.xScale, value);
    }
    void segmentToStart(int i) { segmentTo(x(element(i).SegmentStart), elementValues(kind_, element(i)).start); }

    // Each element from its start over its starvation point to its end;
    // consecutive elements are not joined. Cut to the rows that exist.
    void run(int first, int lastRow) {
        if (first < 1) first = 1;
        if (lastRow > s_.elements.count()) lastRow = s_.elements.count();
        for (int i = first; i <= lastRow; ++i) {
            const ElementRecord& e = element(i);
            const Triple v = elementValues(kind_, e);
            chartNextX_ = chartX_ + e.SegmentLength * s_.xScale;
            const double xs = chartX_ + e.StarvationPoint * s_.xScale;
            draw(chartX_, v.start, xs, v.starvation);
            draw(xs, v.starvation, chartNextX_, v.end);
            place(chartNextX_, v.end);
        }
    }

    // Profile rows 0 to M, from the pen or starting a new line at row 0.
    void rows(bool fromPen) {
        for (std::size_t j = 0; j < s_.profile.size(); ++j) {
            const MeltProfileRow& row = s_.profile[j];
            if (j == 0 && !fromPen)
                place(x(row.AxialPosition), rowValue(kind_, row));
            else
                segmentTo(x(row.AxialPosition), rowValue(kind_, row));
        }
    }

    // A new line at element i's start.
    void startAt(int i) { place(x(element(i).SegmentStart), elementValues(kind_, element(i)).start); }

private:
    double y(double v) const { return axis_.yTop + (axis_.top - v * axis_.factor) * axis_.yScale; }
    void draw(double x1, double v1, double x2, double v2) {
        line(target_, kStripLeft + x1, y(v1), kStripLeft + x2, y(v2), color_);
    }

    gfx::DrawTarget& target_;
    gfx::Color color_;
    std::int16_t kind_;
    const ChartSource& s_;
    const ValueAxis& axis_;
    double& chartX_;
    double& chartNextX_;
    double value_ = 0;
    bool placed_ = false;
};

}  // namespace

void drawChartCurve(gfx::DrawTarget& target, gfx::Color color, std::int16_t kind, const ChartSource& s,
                    const ValueAxis& axis, double& chartX, double& chartNextX) {
    if (!axis.hasCurve) return;
    Plot p(target, color, kind, s, axis, chartX, chartNextX);
    const records::RunState& run = s.runState;
    // The melting region ends inside element e: its starvation point when the
    // melting ends before it, then the start of the next element.
    auto acrossMeltEnd = [&](int e, bool viaStarvation) {
        if (viaStarvation && p.has(e) && run.MeltEndPosition < p.element(e).StarvationPoint)
            p.segmentToStarvation(e, elementValues(kind, p.element(e)).starvation);
        if (p.has(e + 1)) p.segmentToStart(e + 1);
        p.run(e + 1, p.last());
    };
    switch (kind) {
    case kPressureChart:
        if (run.meltingNeverStarted()) {
            // No melting profile but its point at the screw's end, where the
            // screw's last row ends: that row whole, and on from there.
            const int last = s.header.RunConditions.MeltEndElement;
            if (!p.has(last)) break;
            p.startAt(last);
            p.run(last, p.last());
            break;
        }
        p.rows(false);
        acrossMeltEnd(s.header.RunConditions.MeltEndElement, true);
        break;
    case kMeltingChart:
        p.rows(false);
        break;
    case kResidenceChart:
        p.startAt(1);
        p.run(1, p.last());
        break;
    case kTemperatureChart:
        p.startAt(1);
        p.run(1, run.MeltStartElement - 1);
        if (s.profile.size() >= 2) p.rows(true);
        acrossMeltEnd(run.MeltEndElement, false);
        break;
    default:  // power and torque
        p.startAt(1);
        p.run(1, run.MeltStartElement - 1);
        p.rows(true);
        acrossMeltEnd(run.MeltEndElement, true);
        break;
    }
}

}  // namespace results
