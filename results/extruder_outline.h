#pragma once
// The side outline of a simulated extruder under the result charts: barrel
// blocks with their wall bands and openings, the die, and the screw (root,
// elements with their flights or disks, tip), on the chart's L/D scale: the
// span from the first to the last axial tick covers the 8425 twips of the
// chart's width. One painter for the window (white) and the page (black).
#include <cstdint>
#include <vector>

#include "platform/gfx/draw_target.h"
#include "records/design_records.h"
#include "records/one_based_list.h"

namespace results {

struct OutlineInput {
    const std::vector<records::BarrelRec>& barrel;           // header, blocks, die last (radius units)
    const records::OneBasedList<records::ScrewRec>& screw;   // the screw elements, root and head left out
    float radius;                                            // screw radius s, mm
    float firstTick, lastTick;                               // axial ticks A(0) and A(5), L/D
    float gap, overhang;                                     // screw radii
};

// The frame of the outline: twips per mm, the x of the screw's start and of
// the first barrel block (whole twips in 16 bits).
struct OutlineFrame {
    float scale = 0;       // k
    std::int16_t screwStart = 0;   // X0
    std::int16_t barrelStart = 0;  // Xb
};
inline constexpr float kScrewBandTop = 5300;

// A rectangle in twips that the outline is cut to: what lies outside is not
// drawn, and a box cut by it keeps only its edges inside.
struct OutlineClip {
    float left, top, right, bottom;
};

// The frame, or false when the outline cannot be placed: a radius of 0 or
// less, no tick span, or an origin outside 16 bits.
bool outlineFrame(const OutlineInput& in, OutlineFrame& frame);

// Draws the whole outline in the given colour; draws nothing when the frame
// cannot be placed. An element that cannot be drawn by its rule (a kneading
// block of fewer than 1 disk, a handed conveying element whose pitch is 0 or
// less, or that would need more than 32767 flights) is its box alone. One
// outline draws at most 65536 flight and disk lines: from the first element
// that would pass them on, the elements are their boxes alone. With a clip,
// nothing is drawn outside it.
void drawExtruderOutline(gfx::DrawTarget& target, gfx::Color color, const OutlineInput& in,
                         const OutlineClip* clip = nullptr);

}  // namespace results
