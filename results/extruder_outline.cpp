#include "results/extruder_outline.h"

#include <algorithm>
#include <cmath>

#include "platform/rt/convert.h"
#include "results/result_frame.h"

namespace results {

namespace {

constexpr double kPi = 3.141592654;
constexpr int kMaxCounter = 32767;  // flights and disks are counted in 16 bits
// Flight and disk lines of one outline in all. A real screw needs a few
// hundred; a file whose every element asks for thousands would otherwise
// fill memory with lines nobody can tell apart.
constexpr long kMaxDetailLines = 65536;

using gfx::LineStyle;

bool nearest16(double v, std::int16_t& out) {
    if (!(v >= -32768.5 && v < 32767.5)) return false;
    out = rt::cint(v);
    return true;
}

bool inside(const OutlineClip& c, double x, double y) {
    return x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
}

// Cuts the segment to the clip; false when no part of it lies inside. An
// end inside the clip keeps its coordinates exactly. An edge parallel to an
// axis is cut as an interval. A slanted segment is cut by Liang-Barsky,
// whose cut ends x1 + t dx lose every digit when the other end lies far out
// (a die entrance of 1e18 radii), so they are clamped into the clip.
bool cutSegment(const OutlineClip& c, double& x1, double& y1, double& x2, double& y2) {
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return false;
    auto clampX = [&](double& x) { x = std::clamp<double>(x, c.left, c.right); };
    auto clampY = [&](double& y) { y = std::clamp<double>(y, c.top, c.bottom); };
    if (y1 == y2) {
        if (y1 < c.top || y1 > c.bottom || std::max(x1, x2) < c.left || std::min(x1, x2) > c.right) return false;
        clampX(x1), clampX(x2);
        return true;
    }
    if (x1 == x2) {
        if (x1 < c.left || x1 > c.right || std::max(y1, y2) < c.top || std::min(y1, y2) > c.bottom) return false;
        clampY(y1), clampY(y2);
        return true;
    }
    const double dx = x2 - x1, dy = y2 - y1;
    double enter = 0, leave = 1;
    // The part of the segment with p t <= q.
    auto keep = [&](double p, double q) {
        if (p == 0) return !(q < 0);
        const double t = q / p;
        if (p < 0) enter = std::max(enter, t);
        else leave = std::min(leave, t);
        return !(enter > leave);
    };
    if (!keep(-dx, x1 - c.left) || !keep(dx, c.right - x1) || !keep(-dy, y1 - c.top) || !keep(dy, c.bottom - y1))
        return false;
    const double ax = x1, ay = y1;
    if (leave < 1) x2 = ax + leave * dx, y2 = ay + leave * dy;
    if (enter > 0) x1 = ax + enter * dx, y1 = ay + enter * dy;
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return false;
    clampX(x1), clampY(y1), clampX(x2), clampY(y2);
    return true;
}

class Outline {
public:
    Outline(gfx::DrawTarget& target, gfx::Color color, const OutlineInput& in, const OutlineFrame& f,
            const OutlineClip* clip)
        : t_(target), color_(color), in_(in), clip_(clip), k_(f.scale), s_(in.radius), x0_(f.screwStart),
          xb_(f.barrelStart) {}

    void draw() {
        const std::size_t nB = in_.barrel.size();
        const bool die = nB >= 2 && in_.barrel[nB - 1].Type.str() == "D";
        const std::size_t lastBlock = die ? nB - 2 : nB - 1;
        float r = 0;
        for (std::size_t i = 1; i <= lastBlock; ++i) {
            const float length = in_.barrel[i].Length * s_ * k_;
            block(in_.barrel[i], xb_ + r, length);
            r += length;
        }
        if (die) dieBody(in_.barrel[nB - 1], xb_ + r);
        screw();
    }

private:
    void seg(double x1, double y1, double x2, double y2) {
        if (!clip_ || cutSegment(*clip_, x1, y1, x2, y2)) line(t_, x1, y1, x2, y2, color_);
    }
    // A box wholly inside the clip is drawn as it is; a cut outline box is
    // the parts of its edges inside, a cut filled box its part inside.
    void box(double x1, double y1, double x2, double y2, LineStyle style = LineStyle::Box) {
        if (!clip_ || (inside(*clip_, x1, y1) && inside(*clip_, x2, y2))) {
            line(t_, x1, y1, x2, y2, color_, style);
        } else if (style == LineStyle::FilledBox) {
            const double left = std::max<double>(std::min(x1, x2), clip_->left);
            const double right = std::min<double>(std::max(x1, x2), clip_->right);
            const double top = std::max<double>(std::min(y1, y2), clip_->top);
            const double bottom = std::min<double>(std::max(y1, y2), clip_->bottom);
            if (left <= right && top <= bottom) line(t_, left, top, right, bottom, color_, style);
        } else {
            seg(x1, y1, x2, y1);
            seg(x2, y1, x2, y2);
            seg(x2, y2, x1, y2);
            seg(x1, y2, x1, y1);
        }
    }

    // Wall bands 0.1 bore outside the bore, 0.2 bore thick; an opening of a
    // hopper or vent rises 0.6 bore above the bore, framed and capped.
    void block(const records::BarrelRec& b, double xa, float length) {
        const double y = kScrewBandTop;
        const float bore = b.BoreDiameter * s_ * k_;
        const double xe = xa + length, band = 0.2 * bore;
        box(xa, y + bore + 0.1 * bore, xe, y + bore + 0.1 * bore + band);
        const std::string type = b.Type.str();
        if (type != "P" && type != "H" && type != "V") return;
        box(xa, y - 0.1 * bore - band, xe, y - 0.1 * bore);
        if (type == "P") return;
        const double w = b.OpeningWidth * s_, c = b.OpeningLocation * s_;
        const double top = y - 0.1 * bore - 2.5 * band;
        box(xa + (c - w / 2) * k_, top, xa + (c + w / 2) * k_, y - 0.1 * bore, LineStyle::FilledBox);
        box(xa + (c - 1.5 * w / 2) * k_, top, xa + (c + 1.5 * w / 2) * k_, y - 0.1 * bore);
        box(xa + (c - 1.8 * w / 2) * k_, top, xa + (c + 1.8 * w / 2) * k_, y - 0.1 * bore - 1.5 * band);
    }

    // A body 4.4 radii high on the screw axis; inside it a cone from the
    // entrance to the capillary diameter, then the capillary zone.
    void dieBody(const records::BarrelRec& d, double xd) {
        const double yc = kScrewBandTop + k_ * s_, h = 2.2 * k_ * s_;
        const double xc = xd + (d.dieTotalLength() * s_ - d.dieCapillaryZoneLength() * s_) * k_;
        const double xo = xc + d.dieCapillaryZoneLength() * s_ * k_;
        const double re = d.dieEntranceDiameter() * s_ * k_ / 2, rc = d.dieCapillaryDiameter() * s_ * k_ / 2;
        seg(xd, yc - h, xo, yc - h);
        seg(xd, yc + h, xo, yc + h);
        seg(xd, yc + h, xd, yc - h);
        seg(xo, yc + h, xo, yc - h);
        seg(xd, yc - re, xc, yc - rc);
        seg(xd, yc + re, xc, yc + rc);
        box(xc, yc - rc, xo, yc + rc);
    }

    // Root (3 radii, a box with both diagonals), the elements, the tip
    // (0.577 radii).
    void screw() {
        const double y = kScrewBandTop, height = 2.0 * s_ * k_, middle = y + s_ * k_;
        const double root = 3.0 * s_ * k_;
        box(x0_, y, x0_ + root, y + height);
        seg(x0_, y, x0_ + root, y + height);
        seg(x0_, y + height, x0_ + root, y);
        float pos = 0;
        for (int i = 1; i <= in_.screw.count(); ++i) {
            const records::ScrewRec& e = in_.screw.at(i);
            const float w = k_ * e.Length * s_;
            const double a = x0_ + root + pos;
            box(a, y, a + w, y + height);
            const std::string kind = e.Kind.str();
            if (kind == "s") flights(e, a, w, y, height);
            if (kind == "k") disks(e, a, w, y, middle);
            pos += w;
        }
        const double end = x0_ + root + pos;
        seg(end, y, end + 0.577 * s_ * k_, middle);
        seg(end, y + height, end + 0.577 * s_ * k_, middle);
    }

    // Takes lines from the outline's budget; once an element would pass it,
    // that element and every later one are their boxes alone.
    bool takeDetail(long lines) {
        if (lines > detailLeft_) detailLeft_ = 0;
        if (detailLeft_ == 0) return false;
        detailLeft_ -= lines;
        return true;
    }

    // One flight per pitch, the first before any test, none clipped at the
    // element's end.
    void flights(const records::ScrewRec& e, double a, float w, double y, double height) {
        if (e.Hand == 0) return;
        const double p = kPi * s_ * k_ * std::tan(static_cast<double>(e.HelixAngle));
        auto fits = [&](int t) { return static_cast<float>(t * p - 0.1) <= w; };
        if (!(p > 0) || fits(kMaxCounter + 1)) return;
        int count = 1;
        while (count <= detailLeft_ && fits(count + 1)) ++count;
        if (!takeDetail(count)) return;
        for (int t = 1; t <= count; ++t) {
            if (e.Hand > 0)
                seg(a + (t - 1) * p, y, a + t * p, y + height);
            else
                seg(a + (t - 1) * p, y + height, a + t * p, y);
        }
    }

    // The left edge and the crest of each disk; the crest height follows the
    // stagger angle, on the centre line of every other disk without hand.
    void disks(const records::ScrewRec& e, double a, float w, double y, double middle) {
        const int nd = e.Disks;
        if (nd < 1 || !std::isfinite(w)) return;
        const float dw = w / static_cast<float>(nd);
        auto more = [&](int j) { return static_cast<float>(j * static_cast<double>(dw) + 1) <= w; };
        int count = 1;  // disks 0 .. count - 1, each its edge and its crest
        while (count <= kMaxCounter && 2L * count <= detailLeft_ && more(count)) ++count;
        if (!takeDetail(2L * count)) return;
        for (int j = 0; j < count; ++j) {
            const double x = a + j * static_cast<double>(dw), next = a + (j + 1) * static_cast<double>(dw);
            seg(x, y, x, y + 2.0 * s_ * k_);
            const double turn = std::cos(j * static_cast<double>(e.StaggerAngle) * (kPi / 180.0));
            if (e.Hand > 0)
                seg(x, y + s_ * k_ * (1 - turn), next, y + s_ * k_ * (1 - turn));
            else if (e.Hand < 0)
                seg(x, y + s_ * k_ * (1 + turn), next, y + s_ * k_ * (1 + turn));
            else if (j % 2 == 0 && j < nd)
                seg(x, middle, next, middle);
        }
    }

    gfx::DrawTarget& t_;
    gfx::Color color_;
    const OutlineInput& in_;
    const OutlineClip* clip_;
    float k_, s_;
    double x0_, xb_;
    long detailLeft_ = kMaxDetailLines;
};

}  // namespace

bool outlineFrame(const OutlineInput& in, OutlineFrame& frame) {
    const double s = in.radius, span = static_cast<double>(in.lastTick) - in.firstTick;
    if (!(s > 0) || !std::isfinite(s) || span == 0 || !std::isfinite(span)) return false;
    const float k = static_cast<float>(8425.0 / (span * s * 2.0));
    if (!std::isfinite(k) || k == 0) return false;
    std::int16_t x0 = 0, xb = 0;
    // The term 2 A(0) s is not scaled by k.
    if (!nearest16(1290.0 + static_cast<double>(in.gap) * k * s - 2.0 * in.firstTick * s, x0)) return false;
    if (!nearest16(x0 + static_cast<double>(in.overhang) * k * s - static_cast<double>(in.gap) * k * s, xb))
        return false;
    frame = {k, x0, xb};
    return true;
}

void drawExtruderOutline(gfx::DrawTarget& target, gfx::Color color, const OutlineInput& in,
                         const OutlineClip* clip) {
    OutlineFrame frame;
    if (in.barrel.empty() || !outlineFrame(in, frame)) return;
    Outline(target, color, in, frame, clip).draw();
}

}  // namespace results
