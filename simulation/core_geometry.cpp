#include <cmath>

#include "simulation/core_internal.h"

namespace sim {

// Arithmetic as the core does it everywhere: a product or sum of singles and
// whole numbers stays single; pi, a power or a library function makes it double;
// each named quantity is stored as a single.
bool ComputeChannelGeometry(float centerlineRatio, int tips, ChannelGeometry& g) {
    const float r = centerlineRatio;
    if (tips < 1 || !(r > 0.0f && r < 2.0f)) return false;
    const double pi = core::kPi;
    const double rSquared = std::pow(static_cast<double>(r), 2.0);
    // acos(r/2), written as an arc tangent.
    const float half = r / 2;
    g.IntermeshAngle =
        core::single(std::atan(std::sqrt(1.0 - std::pow(static_cast<double>(half), 2.0)) / half));
    const float psi = g.IntermeshAngle;
    const double sinPsi = std::sin(static_cast<double>(psi));
    g.TipAngle = core::single(pi / tips - static_cast<double>(2 * psi));
    const float alpha = g.TipAngle;
    g.ChannelArea = core::single(pi / tips - rSquared * psi + r * sinPsi - (rSquared - 2 * r + 2) * alpha / 2);
    const float flankTerm = static_cast<float>(2 * tips + 1) * r;
    const float tipTerm = (1 - 2 * r) * static_cast<float>(tips) * alpha;
    const float spanAngle = 2 * psi + alpha;
    g.FreeArea = core::single(flankTerm * sinPsi + 2 * (pi - psi) - tipTerm - rSquared * tips * spanAngle);
    g.ChannelSpan = 4 * psi + alpha;
    g.MeanChannelDepth = g.ChannelArea / g.ChannelSpan;
    return true;
}

}  // namespace sim
