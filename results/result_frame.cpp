#include "results/result_frame.h"

#include <cmath>
#include <limits>

#include "platform/rt/convert.h"
#include "platform/rt/numtext.h"

namespace results {

namespace {

constexpr double kMaxSingle = std::numeric_limits<float>::max();

bool finiteSingle(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxSingle; }

// A fill as drawn: below 0 or not a number counts as empty.
double drawnFill(float fill) { return fill > 0 ? fill : 0.0; }

double clampToStrip(double x) { return x < kStripLeft ? kStripLeft : x > kStripRight ? kStripRight : x; }

}  // namespace

void line(gfx::DrawTarget& target, double x1, double y1, double x2, double y2, gfx::Color color,
          gfx::LineStyle style) {
    if (!finiteSingle(x1) || !finiteSingle(y1) || !finiteSingle(x2) || !finiteSingle(y2)) return;
    target.line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), color,
                style);
}

std::string formatFinite(double value, const char* pattern) {
    return finiteSingle(value) ? rt::format(value, pattern) : std::string();
}

bool viewable(const records::ResultData& result) {
    const records::ExtHeader& ext = result.header.ExtruderHeader;
    return !result.elements.empty() && result.screw.size() >= 3 && !result.barrel.empty() &&
           ext.TotalLength > 0 && std::isfinite(ext.TotalLength) && std::isfinite(ext.Gap);
}

double chartXScale(float totalLength) { return 8426.0 / totalLength; }

void drawStripLines(gfx::DrawTarget& target) {
    for (int k = 1; k <= 5; ++k) {
        const float y = kStripTop + 120.0f * static_cast<float>(k);
        target.line(kStripLeft, y, 9716, y, kDarkRed);
    }
}

bool drawFillStrip(gfx::DrawTarget& target, const records::OneBasedList<records::ElementRecord>& elements,
                   double xScale, gfx::Color overfillColor, double& chartX, double& chartNextX) {
    bool overfilled = false;
    const double bottom = kStripTop + kStripHeight;
    for (int i = 1; i <= elements.count() - 1; ++i) {
        const records::ElementRecord& e = elements.at(i);
        chartNextX = chartX + e.SegmentLength * xScale;
        const double xs = chartX + e.StarvationPoint * xScale;
        const double left = drawnFill(e.FillLeft), right = drawnFill(e.FillRight);
        const double hl = (1 - left) * kStripHeight;
        const double hr = (1 - right) * kStripHeight;
        const bool over = left > 1 || right > 1;
        overfilled = overfilled || over;
        const gfx::Color color = over ? overfillColor : kFillGrey;
        double leftEnd = kStripLeft + xs, rightEnd = kStripLeft + chartNextX;
        if (xs > kStripWidth && chartNextX > kStripWidth) leftEnd = rightEnd = kStripRight;
        const double leftTop = over ? kStripTop : kStripTop + hl;
        const double rightTop = over ? kStripTop : kStripTop + hr;
        line(target, clampToStrip(kStripLeft + chartX), bottom, clampToStrip(leftEnd), leftTop, color,
             gfx::LineStyle::FilledBox);
        line(target, clampToStrip(kStripLeft + xs), bottom, clampToStrip(rightEnd), rightTop, color,
             gfx::LineStyle::FilledBox);
        chartX = chartNextX;
    }
    return overfilled;
}

void drawStripFrame(gfx::DrawTarget& target, gfx::Color color) {
    target.line(kStripLeft, kStripTop, kStripRight, kStripBottom, color, gfx::LineStyle::Box);
}

namespace {

// Horizontal grid lines k = first .. lastRow, 240 twips apart, and vertical
// ones k = first .. lastColumn, 840 apart; the eleventh vertical line (the
// printed right border) stands at 9710.
void gridLines(gfx::DrawTarget& target, int first, int lastRow, int lastColumn) {
    for (int k = first; k <= lastRow; ++k) {
        const float y = kChartTop + 240.0f * static_cast<float>(k);
        target.line(kStripLeft, y, kStripRight, y, kDarkRed, gfx::LineStyle::Box);
    }
    for (int k = first; k <= lastColumn; ++k) {
        const float x = k == 10 ? 9710.0f : kStripLeft + 840.0f * static_cast<float>(k);
        target.line(x, kChartTop, x, kChartBottom, kDarkRed, gfx::LineStyle::Box);
    }
}

}  // namespace

void drawWindowGrid(gfx::DrawTarget& target) {
    gridLines(target, 1, 5, 9);
    target.line(kStripLeft, kChartTop, kStripRight, kChartBottom, kYellow, gfx::LineStyle::Box);
}

void drawPageGrid(gfx::DrawTarget& target) { gridLines(target, 0, 6, 10); }

std::array<float, 6> axialTicks(float gap, float totalLength) {
    // 3 radii of screw root stand before the first element; L/D is half the
    // length in radii, and the values are kept to 1/200 of an L/D. The root
    // length is a double, so the base is worked out in double; the step is a
    // fifth of the single total length taken in single precision, so that a
    // length such as 40.6 radii gives a step of 812, not 811.99997 cut to 811.
    const double base = rt::fix(-(static_cast<double>(gap) + 3.0) * 100.0);
    const float fifth = totalLength / 5.0f;
    const double step = rt::fix(static_cast<double>(fifth * 100.0f));
    std::array<float, 6> ticks{};
    for (int k = 0; k <= 5; ++k) {
        double v = (base + k * step) * 0.5;
        if (std::fabs(v) < 0.005) v = 0;
        ticks[static_cast<std::size_t>(k)] = static_cast<float>(v / 100.0);
    }
    return ticks;
}

std::string axialTickText(int k, float value) {
    if (k == 0 && value == 0) return "0.00";
    return formatFinite(value, "#0.#0");
}

}  // namespace results
