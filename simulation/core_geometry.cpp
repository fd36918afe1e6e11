#include <cmath>

#include "simulation/core_internal.h"

namespace sim {

bool ComputeChannelGeometry(float centerlineRatio, int tips, ChannelGeometry& g) {
    const float r = centerlineRatio;
    if (tips < 1 || !(r > 0.0f && r < 2.0f)) return false;
    const double pi = core::kPi;
        const double rd = r;
    // acos(r/2), written as an arc tangent.
    const float half = r / 2;
    g.IntermeshAngle = static_cast<float>(std::atan(std::sqrt(1.0 - static_cast<double>(half) * half) / half));
    const double psi = g.IntermeshAngle;
    g.TipAngle = static_cast<float>(pi / tips - static_cast<double>(2 * g.IntermeshAngle));
    const double alpha = g.TipAngle;
    g.ChannelArea = static_cast<float>(pi / tips - rd * rd * psi + rd * std::sin(psi) -
                                       (rd * rd - 2 * rd + 2) * alpha / 2);
    g.FreeArea = static_cast<float>((2 * tips + 1) * rd * std::sin(psi) + 2 * (pi - psi) -
                                    (1 - 2 * rd) * tips * alpha - rd * rd * tips * (2 * psi + alpha));
    g.ChannelSpan = 4 * g.IntermeshAngle + g.TipAngle;
    g.MeanChannelDepth = g.ChannelArea / g.ChannelSpan;
    return true;
}

}  // namespace sim
