#pragma once
// The six charts of a result along the axial position: pressure,
// temperature, melting profile (unmelted solid fraction), average residence
// time, power and torque with the specific energy consumption. For each the
// value axis (exponent, tick values, y scale and texts) and the curve, drawn
// on any gfx::DrawTarget, so the window and the printed page show the same
// curve point for point. No window, no file.
//
// Working values, pen positions and scales are computed in double precision
// from the stored singles; points are drawn as the nearest singles. A value that
// is not finite never reaches an axis text or a drawing: extremes skip it,
// and a curve point made of it is left out with the segments that meet it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/draw_target.h"
#include "records/one_based_list.h"
#include "records/result_file.h"

namespace results {

// Chart codes, as the view keeps the chart shown last.
inline constexpr std::int16_t kPressureChart = 1;
inline constexpr std::int16_t kTemperatureChart = 2;
inline constexpr std::int16_t kMeltingChart = 3;
inline constexpr std::int16_t kResidenceChart = 4;
inline constexpr std::int16_t kPowerChart = 5;
inline constexpr std::int16_t kTorqueChart = 6;

inline bool isChart(std::int16_t kind) { return kind >= kPressureChart && kind <= kTorqueChart; }

// The loaded result a chart reads.
struct ChartSource {
    const records::AnalysisHeader& header;
    const records::OneBasedList<records::ElementRecord>& elements;  // rows 1 .. nE
    const records::RunState& runState;
    const std::vector<records::MeltProfileRow>& profile;             // rows 0 .. M
    double xScale;                                                   // twips per screw radius
};

// The value axis of one chart.
struct ValueAxis {
    std::string letter;       // "P", "T", ...
    std::string title;        // the torque title carries the SEC
    std::string exponentText; // "E", the exponent and the unit; empty for the melting chart
    std::array<float, 7> ticks{};  // tick values in units of 10^exponent, bottom first
    double exponent = 0;
    double bottom = 0, top = 0;    // values at the bottom and the top edge of the plot
    double yScale = 0;             // twips per unit of the plotted value
    double yTop = 2640;            // y of the value top (2639 for pressure)
    double factor = 1;             // plotted value per stored value (torque per power)
    bool hasCurve = true;          // false: a torque chart without a screw speed
    float screwSpeedRps = 0;       // torque chart: revolutions per second
};

// The axis of a chart; secPattern formats the torque chart's specific energy
// consumption ("#.###" on the window, "#0.##0" on paper). An axis whose rule
// is undefined (the logarithm of a maximum of 0 or less, a range of 0) has
// exponent 0, ticks 1/6 apart and a range of 1 from its rule's bottom.
ValueAxis chartAxis(std::int16_t kind, const ChartSource& source, const char* secPattern);

// A value tick as shown: "#0.#0".
std::string tickText(float value);

// Draws the chart's curve as segments in the given colour. chartX and
// chartNextX are the pen positions (twips from the strip's left edge); they
// end where the curve ends.
void drawChartCurve(gfx::DrawTarget& target, gfx::Color color, std::int16_t kind, const ChartSource& source,
                    const ValueAxis& axis, double& chartX, double& chartNextX);

}  // namespace results
