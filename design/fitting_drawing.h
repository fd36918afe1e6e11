#pragma once
// The fitting drawing: the barrel of an extruder with its plain, hopper and
// vent blocks and its die, and the screw with its root, conveying elements,
// kneading blocks and head, drawn to scale where the user has moved it; a
// mark at the barrel's end and at the screw's tip, and a line from the tip
// to where the tip stood unmoved. The barrel header's length in mm spans
// 7830 twips. Everything is drawn in colour 100 but the two marks and the
// shift line, which keep the surface's foreground colour.
//
// Coordinates are twips, computed in single precision.
#include <vector>

#include "platform/gfx/draw_target.h"
#include "records/design_records.h"

namespace design {

inline constexpr gfx::Color kFittingColor = 100;

struct FittingView {
    gfx::Twips screwX = 1400;     // left end of the screw root
    gfx::Twips leftMargin = 1200; // the barrel starts 200 twips to its right, moved by overhang and gap
    float radius = 0;             // R, mm
    float overhang = 0;           // radius units
    float gap = 0;                // radius units
    gfx::Twips windowHeight = 0;  // the screw's top is half of it less 200
};

// What the drawing worked out: its scale (twips per mm), where the barrel
// starts, the screw's top, and where the shift text goes.
struct FittingLayout {
    float scale = 0;
    gfx::Twips barrelX = 0;
    gfx::Twips topY = 0;
    gfx::Twips labelLeft = 0;
    gfx::Twips labelTop = 0;
};

// True when the records can be drawn: a barrel header whose length is above
// 0, and a screw with at least its header, root and head.
bool canDrawFitting(const std::vector<records::BarrelRec>& barrel, const std::vector<records::ScrewRec>& screw,
                    float radius);

// Clears the target and draws. Barrel records: the header (length in mm),
// the blocks and, last, the die "D", all in radius units; screw records: the
// header, the root, the elements and the head. Records that cannot be drawn
// leave the target cleared.
FittingLayout drawFitting(gfx::DrawTarget& target, const std::vector<records::BarrelRec>& barrel,
                          const std::vector<records::ScrewRec>& screw, const FittingView& view);

}  // namespace design
