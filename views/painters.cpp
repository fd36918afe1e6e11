#include "views/painters.h"

#include <cmath>
#include <limits>

#include "platform/rt/error.h"

namespace views {
namespace {

using gfx::LineStyle;

constexpr double kPi = 3.141592654;
// Flight and disk lines are counted with a 16-bit index.
constexpr int kMaxLineIndex = 32767;
// A whole screw draws at most this many flight lines and disks (eight
// elements' worth); the elements after show their box only. A screw file of
// 32767 elements could otherwise ask for a thousand million lines.
constexpr int kMaxScrewLines = 8 * 32768;

// A double as a single; beyond the single range it becomes an infinity.
float single(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

void draw(gfx::DrawTarget& t, double x1, double y1, double x2, double y2, LineStyle style) {
    const float a = single(x1), b = single(y1), c = single(x2), d = single(y2);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
        rt::raise(rt::kOverflow, "drawing coordinate");
    t.line(a, b, c, d, kDrawingColor, style);
}
void segment(gfx::DrawTarget& t, double x1, double y1, double x2, double y2) {
    draw(t, x1, y1, x2, y2, LineStyle::Plain);
}
void box(gfx::DrawTarget& t, double x1, double y1, double x2, double y2) { draw(t, x1, y1, x2, y2, LineStyle::Box); }

bool isWalled(char type) { return type == 'P' || type == 'H' || type == 'V'; }
bool isOpening(char type) { return type == 'H' || type == 'V'; }

// The opening of a hopper or vent block starting at x, centred c right of
// it and w wide, above a bore of diameter d whose upper edge is at top: the
// filled opening, the port box (1.5 w) and the flange box (1.8 w), from
// 0.6 d above the bore down to the outline 0.1 d above it (the flange box to
// 0.4 d above it).
void openingBoxes(gfx::DrawTarget& t, float x, float c, float w, float top, float d) {
    const float outline = top - 0.1f * d;
    const float far = outline - 0.2f * d * 2.5f;
    draw(t, x + c - w / 2, far, x + c + w / 2, outline, LineStyle::FilledBox);
    box(t, x + c - 1.5f * w / 2, far, x + c + 1.5f * w / 2, outline);
    box(t, x + c - 1.8f * w / 2, far, x + c + 1.8f * w / 2, outline - 0.2f * d * 1.5f);
}

// Flight lines of a conveying element whose box starts at e and is Le long.
void flights(gfx::DrawTarget& t, const records::ScrewRec& el, float R, float s, float e, float Le, float y0,
             float H, bool clip, int& budget) {
    if (el.Hand == 0) return;
    const double tanPhi = std::tan(static_cast<double>(el.HelixAngle));
    const double p = kPi * R * s * tanPhi;
    if (!(p > 0) || !std::isfinite(p)) return;
    const double top = y0, bottom = static_cast<double>(y0) + H;
    for (int j = 1; j <= kMaxLineIndex && budget > 0; ++j) {
        --budget;
        double xa = e + (j - 1) * p, xb = e + j * p;
        double ya = el.Hand > 0 ? top : bottom, yb = el.Hand > 0 ? bottom : top;
        if (clip && single(j * p) > Le) {
            // Cut at the element's end; the end height uses 2 − tan φ, not the line's slope.
            const double rise = (j * p - Le) * (2 - tanPhi);
            xb = e + Le;
            yb = el.Hand > 0 ? bottom - rise : top + rise;
        }
        segment(t, xa, ya, xb, yb);
        if (!(single((j + 1) * p - 0.1) <= Le)) break;
    }
}

// Disk lines of a kneading block: per disk a vertical line at its start and
// a horizontal line whose height follows the stagger angle (the axis on the
// even disks of a neutral block).
void disks(gfx::DrawTarget& t, const records::ScrewRec& el, float R, float s, float e, float Le, float y0,
           float H, int& budget) {
    const int count = el.Disks;
    if (count <= 0) return;
    const float w = Le / static_cast<float>(count);
    const double rs = static_cast<double>(R) * s;
    for (int j = 0; j <= kMaxLineIndex && budget > 0; ++j) {
        --budget;
        const float xa = e + static_cast<float>(j) * w, xb = e + static_cast<float>(j + 1) * w;
        segment(t, xa, y0, xa, y0 + H);
        const double turn = std::cos(j * static_cast<double>(el.StaggerAngle) * kPi / 180);
        if (el.Hand > 0)
            segment(t, xa, y0 + rs * (1 - turn), xb, y0 + rs * (1 - turn));
        else if (el.Hand < 0)
            segment(t, xa, y0 + rs * (1 + turn), xb, y0 + rs * (1 + turn));
        else if (j % 2 == 0 && j < count)
            segment(t, xa, y0 + rs, xb, y0 + rs);
        if (!(static_cast<float>(j + 1) * w + 1.0f <= Le)) break;
    }
}

}  // namespace

void PaintBarrelBlock(gfx::DrawTarget& target, const records::BarrelRec& block, float x0, float s, float y0,
                      BarrelOrder order) {
    const float D = block.BoreDiameter;
    const float w = block.Length * s;
    const char type = block.blockType();
    auto outline = [&] { box(target, x0, y0 - 0.1f * D * s, x0 + w, y0 + D * s + 0.1f * D * s); };
    auto bore = [&] { box(target, x0, y0, x0 + w, y0 + D * s); };
    auto typeBoxes = [&] {
        if (!isWalled(type)) return;
        box(target, x0, y0 - 0.1f * D * s - 0.2f * D * s, x0 + w, y0 + D * s + 0.2f * D * s + 0.1f * D * s);
        if (isOpening(type))
            openingBoxes(target, x0, block.OpeningLocation * s, block.OpeningWidth * s, y0, D * s);
    };
    if (order == BarrelOrder::OutlineFirst) {
        outline();
        bore();
        typeBoxes();
    } else {
        typeBoxes();
        outline();
        bore();
    }
}

void PaintBarrel(gfx::DrawTarget& target, std::span<const records::BarrelRec> blocks, float s, float xp, float y0,
                 BarrelOrder order) {
    float xr = 0;
    for (const records::BarrelRec& block : blocks) {
        PaintBarrelBlock(target, block, xp + xr, s, y0, order);
        xr += block.Length * s;
    }
}

void PaintScrew(gfx::DrawTarget& target, float R, float s, float x0, float y0,
                std::span<const records::ScrewRec> elements, bool clip) {
    const float H = 2 * R * s;
    const float root = 3 * R * s;
    box(target, x0, y0, x0 + root, y0 + H);
    segment(target, x0, y0, x0 + root, y0 + H);
    segment(target, x0, y0 + H, x0 + root, y0);
    float run = 0;
    int budget = kMaxScrewLines;
    for (const records::ScrewRec& el : elements) {
        const float Le = el.Length * R * s;
        const float e = x0 + root + run;
        box(target, e, y0, e + Le, y0 + H);
        if (el.kind() == records::kConveyingKind)
            flights(target, el, R, s, e, Le, y0, H, clip, budget);
        else if (el.kind() == records::kKneadingKind)
            disks(target, el, R, s, e, Le, y0, H, budget);
        run += Le;
    }
    const float xe = x0 + root + run;
    const float tip = xe + 0.577f * R * s, axis = y0 + R * s;
    segment(target, xe, y0, tip, axis);
    segment(target, xe, y0 + H, tip, axis);
}

void PaintDie(gfx::DrawTarget& target, float s, float x0, float yc, const records::DieRec& die, float B) {
    const float xl = x0 + (die.TotalLength - die.CapillaryZoneLength) * s;
    const float xr = xl + die.CapillaryZoneLength * s;
    const float entrance = die.EntranceDiameter * s / 2, capillary = die.CapillaryDiameter * s / 2;
    segment(target, x0, yc - B, xr, yc - B);
    segment(target, x0, yc + B, xr, yc + B);
    segment(target, x0, yc + B, x0, yc - B);
    segment(target, xr, yc + B, xr, yc - B);
    segment(target, x0, yc - entrance, xl, yc - capillary);
    segment(target, x0, yc + entrance, xl, yc + capillary);
    box(target, xl, yc - capillary, xr, yc + capillary);
}

void PaintExtruder(gfx::DrawTarget& target, const records::ExtruderFileContent& extruder, const ExtruderView& view) {
    const float R = view.R, s = view.s, y0 = view.y0;
    const float r = R * s;
    const auto& barrel = extruder.barrel;
    const bool hasDie = barrel.size() >= 2 && barrel.back().blockType() == records::kDieBlock;
    const std::size_t blocks = barrel.empty() ? 0 : barrel.size() - (hasDie ? 2 : 1);

    float X = view.x0 + (extruder.header.BarrelOverhang - extruder.header.Gap) * R * s;
    for (std::size_t i = 1; i <= blocks; ++i) {
        const records::BarrelRec& block = barrel[i];
        const float d = block.BoreDiameter * R * s, b = block.Length * R * s;
        box(target, X, y0 + d + 0.1f * d + 0.2f * d, X + b, y0 + d + 0.1f * d);
        if (isWalled(block.blockType())) box(target, X, y0 - 0.1f * d - 0.2f * d, X + b, y0 - 0.1f * d);
        if (isOpening(block.blockType()))
            openingBoxes(target, X, block.OpeningLocation * R * s, block.OpeningWidth * R * s, y0, d);
        X += b;
    }
    if (hasDie) {
        const records::BarrelRec& d = barrel.back();
        records::DieRec die;
        die.EntranceDiameter = d.dieEntranceDiameter() * R;
        die.CapillaryDiameter = d.dieCapillaryDiameter() * R;
        die.CapillaryZoneLength = d.dieCapillaryZoneLength() * R;
        die.TotalLength = d.dieTotalLength() * R;
        PaintDie(target, s, X, y0 + r, die, 2.2f * r);
    }
    const auto& screw = extruder.screw;
    std::span<const records::ScrewRec> elements;
    if (screw.size() > 3) elements = std::span<const records::ScrewRec>(screw).subspan(2, screw.size() - 3);
    PaintScrew(target, R, s, view.x0, y0, elements, view.clip);
}

}  // namespace views
