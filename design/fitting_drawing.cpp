#include "design/fitting_drawing.h"

#include <cmath>

#include "design/extruder_assembly.h"
#include "platform/rt/convert.h"

namespace design {

namespace {

using gfx::LineStyle;
using gfx::Twips;

constexpr float kPi = 3.141592654f;
// Flights and disks are counted in 16 bits: no element draws more. However
// long a file makes its elements, the whole screw draws at most a million of
// them (a real screw draws a few thousand).
constexpr int kMostStrokes = 32767;
constexpr int kMostScrewStrokes = 1000000;

float nearestWhole(float v) { return static_cast<float>(rt::roundHalfEven(v)); }

// A length in radius units in twips: v x R x S.
struct ToTwips {
    float R, S;
    Twips operator()(float v) const { return v * R * S; }
};

// One barrel block from xa, its length L; T is the screw's top.
void drawBlock(gfx::DrawTarget& t, const records::BarrelRec& b, Twips xa, Twips L, ToTwips tw, Twips T) {
    const Twips Dt = tw(b.BoreDiameter);
    t.line(xa, T + 1.3f * Dt, xa + L, T + 1.1f * Dt, kFittingColor, LineStyle::Box);
    const char type = b.blockType();
    if (type != records::kPlaneBlock && type != records::kHopperBlock && type != records::kVentBlock) return;
    t.line(xa, T - 0.3f * Dt, xa + L, T - 0.1f * Dt, kFittingColor, LineStyle::Box);
    if (type == records::kPlaneBlock) return;
    // Hopper and vent alike: the opening, its frame and the plate on top.
    const Twips c = tw(b.OpeningLocation);
    const Twips h = tw(b.OpeningWidth) / 2.0f;
    // 0.6 and 0.4 Dt above the top as the wall's 0.1 Dt and 0.5 or 0.3 Dt more.
    const Twips wall = T - 0.1f * Dt;
    const Twips top = wall - 0.2f * Dt * 2.5f;
    t.line(xa + c - h, top, xa + c + h, wall, kFittingColor, LineStyle::FilledBox);
    t.line(xa + c - 1.5f * h, top, xa + c + 1.5f * h, wall, kFittingColor, LineStyle::Box);
    t.line(xa + c - 1.8f * h, top, xa + c + 1.8f * h, wall - 0.2f * Dt * 1.5f, kFittingColor, LineStyle::Box);
}

// The die from xa: its outline 4.4 radii high, the converging entrance and
// the capillary zone at its end.
void drawDie(gfx::DrawTarget& t, const records::BarrelRec& d, Twips xa, ToTwips tw, Twips Rt, Twips T) {
    const Twips yd = T + Rt;
    const Twips Ld = tw(d.dieTotalLength());
    const Twips Lc = tw(d.dieCapillaryZoneLength());
    const Twips De = tw(d.dieEntranceDiameter());
    const Twips Dc = tw(d.dieCapillaryDiameter());
    const Twips outer = 2.2f * Rt;
    t.line(xa, yd - outer, xa + Ld, yd - outer, kFittingColor);
    t.line(xa, yd + outer, xa + Ld, yd + outer, kFittingColor);
    t.line(xa, yd + outer, xa, yd - outer, kFittingColor);
    t.line(xa + Ld, yd + outer, xa + Ld, yd - outer, kFittingColor);
    t.line(xa, yd - De / 2.0f, xa + Ld - Lc, yd - Dc / 2.0f, kFittingColor);
    t.line(xa, yd + De / 2.0f, xa + Ld - Lc, yd + Dc / 2.0f, kFittingColor);
    t.line(xa + Ld - Lc, yd - Dc / 2.0f, xa + Ld, yd + Dc / 2.0f, kFittingColor, LineStyle::Box);
}

// Flights of a conveying element, each half a lead p long; the first is
// drawn even when it runs past the element's end. A step below one twip (a
// lead of 0 or less) draws none.
void drawFlights(gfx::DrawTarget& t, const records::ScrewRec& e, Twips xe, Twips L, Twips Rt, Twips T, int& budget) {
    if (e.Hand == 0) return;
    const Twips p = kPi * Rt * std::tan(e.HelixAngle);
    if (!std::isfinite(p) || p < 1.0f) return;
    const Twips from = e.Hand > 0 ? T : T + 2.0f * Rt;
    const Twips to = e.Hand > 0 ? T + 2.0f * Rt : T;
    int j = 1;
    do {
        t.line(xe + static_cast<float>(j - 1) * p, from, xe + static_cast<float>(j) * p, to, kFittingColor);
        ++j;
    } while (static_cast<float>(j) * p - 0.1f <= L && j <= kMostStrokes && --budget > 0);
}

// Disks of a kneading block: a boundary at each disk's start and the disk's
// crest, at a height that turns with the stagger angle (right- and
// left-handed mirrored), or on the centre line of every other disk for a
// neutral block. A block of no disk draws none.
void drawDisks(gfx::DrawTarget& t, const records::ScrewRec& e, Twips xe, Twips L, Twips Rt, Twips T, int& budget) {
    const int disks = e.Disks;
    if (disks < 1 || !std::isfinite(L)) return;
    const Twips w = L / static_cast<float>(disks);
    const float theta = e.StaggerAngle * kPi / 180.0f;
    int j = 0;
    do {
        const Twips x = xe + static_cast<float>(j) * w;
        const Twips next = xe + static_cast<float>(j + 1) * w;
        t.line(x, T, x, T + 2.0f * Rt, kFittingColor);
        if (e.Hand > 0) {
            const Twips y = T + Rt * (1.0f - std::cos(static_cast<float>(j) * theta));
            t.line(x, y, next, y, kFittingColor);
        } else if (e.Hand < 0) {
            const Twips y = T + Rt * (1.0f + std::cos(static_cast<float>(j) * theta));
            t.line(x, y, next, y, kFittingColor);
        } else if (j % 2 == 0 && j < disks) {
            t.line(x, T + Rt, next, T + Rt, kFittingColor);
        }
        ++j;
    } while (static_cast<float>(j) * w + 1.0f <= L && j < disks && --budget > 0);
}

}  // namespace

bool canDrawFitting(const std::vector<records::BarrelRec>& barrel, const std::vector<records::ScrewRec>& screw,
                    float radius) {
    if (barrel.empty() || screw.size() < 3) return false;
    const float length = barrel.front().headerTotalLength();
    return length > 0.0f && std::isfinite(length) && radius > 0.0f && std::isfinite(radius);
}

FittingLayout drawFitting(gfx::DrawTarget& t, const std::vector<records::BarrelRec>& barrel,
                          const std::vector<records::ScrewRec>& screw, const FittingView& v) {
    t.clear();
    FittingLayout out;
    if (!canDrawFitting(barrel, screw, v.radius)) return out;
    const float R = v.radius;
    const float S = 7830.0f / barrel.front().headerTotalLength();
    const ToTwips tw{R, S};
    const Twips Rt = R * S;
    out.scale = S;
    out.barrelX = nearestWhole(S * v.overhang * R + (v.leftMargin + 200.0f) - S * v.gap * R);
    const Twips T = nearestWhole(v.windowHeight / 2.0f - 200.0f);
    out.topY = T;

    // Barrel blocks, then the die at the barrel's end.
    const bool die = endsWithDie(barrel);
    const std::size_t blocksEnd = die ? barrel.size() - 1 : barrel.size();
    Twips a = 0;
    for (std::size_t i = 1; i < blocksEnd; ++i) {
        const Twips L = tw(barrel[i].Length);
        drawBlock(t, barrel[i], out.barrelX + a, L, tw, T);
        a = a + L;
    }
    if (die) drawDie(t, barrel.back(), out.barrelX + a, tw, Rt, T);
    t.lineStep(out.barrelX + a, T + Rt, 0, 600);

    // The root, always 3 radii long, crossed.
    const Twips X = v.screwX;
    t.line(X, T, X + 3.0f * Rt, T + 2.0f * Rt, kFittingColor, LineStyle::Box);
    t.line(X, T, X + 3.0f * Rt, T + 2.0f * Rt, kFittingColor);
    t.line(X, T + 2.0f * Rt, X + 3.0f * Rt, T, kFittingColor);

    // The elements between root and head.
    a = 0;
    int budget = kMostScrewStrokes;
    for (std::size_t i = 2; i + 1 < screw.size(); ++i) {
        const records::ScrewRec& e = screw[i];
        const Twips xe = X + 3.0f * Rt + a;
        const Twips L = tw(e.Length);
        t.line(xe, T, xe + L, T + 2.0f * Rt, kFittingColor, LineStyle::Box);
        if (e.kind() == records::kConveyingKind)
            drawFlights(t, e, xe, L, Rt, T, budget);
        else if (e.kind() == records::kKneadingKind)
            drawDisks(t, e, xe, L, Rt, T, budget);
        a = a + L;
    }

    // The head, always 0.577 radii long, its tip marked; the shift line runs
    // from the tip to where the tip stands unmoved.
    const Twips xe = X + 3.0f * Rt + a;
    const Twips xt = xe + 0.577f * Rt;
    t.line(xe, T, xt, T + Rt, kFittingColor);
    t.line(xe, T + 2.0f * Rt, xt, T + Rt, kFittingColor);
    t.line(xt, T + Rt, xt, T + Rt + 600.0f);
    const Twips unmovedTip = 1400.0f + 3.0f * Rt + a + 0.577f * Rt;
    t.line(xt, T + Rt + 400.0f, unmovedTip, T + Rt + 400.0f);
    out.labelTop = T + Rt + 300.0f;
    out.labelLeft = unmovedTip + 200.0f;
    return out;
}

}  // namespace design
