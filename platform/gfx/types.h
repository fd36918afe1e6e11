#pragma once
// Basic drawing units: coordinates in twips (1440 per inch, 15 per screen
// pixel) as single-precision numbers, colours packed as
// red + 256 * green + 65536 * blue.
#include <cstdint>

namespace gfx {

using Twips = float;
using Color = std::int32_t;

inline constexpr float kTwipsPerPixel = 15.0f;

constexpr Color rgb(int red, int green, int blue) {
    return static_cast<Color>((red & 0xff) | ((green & 0xff) << 8) | ((blue & 0xff) << 16));
}
constexpr int red(Color c) { return c & 0xff; }
constexpr int green(Color c) { return (c >> 8) & 0xff; }
constexpr int blue(Color c) { return (c >> 16) & 0xff; }

inline constexpr Color kBlack = rgb(0, 0, 0);
inline constexpr Color kWhite = rgb(255, 255, 255);

}  // namespace gfx
