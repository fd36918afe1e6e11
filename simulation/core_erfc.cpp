#include <cmath>

#include "simulation/core.h"

namespace sim {

// Every step is formed in double precision and stored as a single before the
// next one uses it; the heating temperatures depend on these exact values.
float ErfcSingle(float x) {
    const float z = std::fabs(x);
    const float t = static_cast<float>(1.0 / (1.0 + 0.5 * z));
    const float a = static_cast<float>((t * 0.1708 - 0.8221) * t + 1.4885);
    const float b = static_cast<float>((t * static_cast<double>(a) - 1.1352) * t + 0.2788);
    const float c = static_cast<float>((t * static_cast<double>(b) - 0.1862) * t + 0.0967);
    const float d = static_cast<float>((t * static_cast<double>(c) + 0.374) * t + 1.0);
    const float e = static_cast<float>(-static_cast<double>(z) * z - 1.2655 + static_cast<double>(t) * d);
    const float r = static_cast<float>(t * std::exp(static_cast<double>(e)));
    return x < 0 ? 2.0f - r : r;
}

}  // namespace sim
