#pragma once
// The frame of the result view, shared by the window and the printed page:
// the fill-degree strip, the chart grid and the axial ticks in L/D. Painters
// draw on any gfx::DrawTarget in twips; nothing here knows a window, a
// printer or a file.
//
// Geometry in twips from the top left of the drawing area: the strip spans
// x 1290 to 9715 and y 1420 to 2140, the chart x 1290 to 9715 and y 2660 to
// 4100. The x scale maps the extruder's total length (screw radii) onto
// 8426 twips of the strip.
#include <array>
#include <string>

#include "platform/gfx/draw_target.h"
#include "records/one_based_list.h"
#include "records/result_file.h"

namespace results {

inline constexpr float kStripLeft = 1290;
inline constexpr float kStripRight = 9715;
inline constexpr float kStripTop = 1420;
inline constexpr float kStripBottom = 2140;
inline constexpr float kStripHeight = 721;  // the full-fill bar, bottom edge at 2141
inline constexpr float kStripWidth = 8425;
inline constexpr float kChartTop = 2660;
inline constexpr float kChartBottom = 4100;

inline constexpr gfx::Color kDarkRed = 128;  // RGB(128, 0, 0): grid, strip lines, frames
inline constexpr gfx::Color kYellow = gfx::rgb(255, 255, 0);
inline constexpr gfx::Color kWindowBlue = gfx::rgb(0, 0, 97);
inline constexpr gfx::Color kFillGrey = gfx::rgb(200, 200, 200);
inline constexpr gfx::Color kPrintedOverfill = gfx::rgb(235, 235, 235);

// A line of any style whose coordinates are computed in double precision and
// passed as singles. A line with a coordinate that is not a finite single
// (NaN data, values beyond the single range) is left out, so no such value
// ever reaches a drawing.
void line(gfx::DrawTarget& target, double x1, double y1, double x2, double y2, gfx::Color color,
          gfx::LineStyle style = gfx::LineStyle::Plain);

// Whether a result read from a file can be shown: at least one element row,
// the screw header, root and head, the barrel header, a positive finite
// total length and a finite gap.
bool viewable(const records::ResultData& result);

// Twips per screw radius along x: 8426 / total length.
double chartXScale(float totalLength);

// The five lines that divide the strip into six bands.
void drawStripLines(gfx::DrawTarget& target);

// The fill-degree bars of element rows 1 to count - 1 (the last row is never
// drawn), from chartX on (twips from the strip's left edge); chartX and
// chartNextX end at the end of the last bar drawn. A bar rises from the
// strip's bottom edge by its fill, 0 to 1 in grey; an overfilled element
// (a fill above 1) is drawn at full height in overfillColor. Fills below 0
// or not a number count as 0, and no bar reaches outside the strip.
// Returns whether any drawn element is overfilled.
bool drawFillStrip(gfx::DrawTarget& target, const records::OneBasedList<records::ElementRecord>& elements,
                   double xScale, gfx::Color overfillColor, double& chartX, double& chartNextX);

// The box around the strip.
void drawStripFrame(gfx::DrawTarget& target, gfx::Color color);

// The window's chart grid: five inner horizontal and nine inner vertical
// lines, then the chart frame in yellow.
void drawWindowGrid(gfx::DrawTarget& target);
// The printed chart grid: seven horizontal and eleven vertical lines that
// include the chart's borders, the right one at x 9710.
void drawPageGrid(gfx::DrawTarget& target);

// The six axial tick values in L/D under the chart, from the gap between
// the screw and the barrel start and the total length (screw radii).
std::array<float, 6> axialTicks(float gap, float totalLength);
// Tick k as shown: "#0.#0", the first tick "0.00" when exactly 0.
std::string axialTickText(int k, float value);

// Text of a number by a display pattern, or empty when the value is not a
// finite single.
std::string formatFinite(double value, const char* pattern);

}  // namespace results
