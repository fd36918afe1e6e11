#pragma once
// The geometry painters: barrel blocks, screws, dies and whole extruders as
// side-view line drawings on a gfx::DrawTarget. A window and its printed page
// call the same painter with the same view values, so the page shows what
// the window shows. No window, no file: the callers read the records and
// clear, refresh or end their target.
//
// Every line is drawn in colour RGB(100, 0, 0) as a plain segment, a box or
// a filled box; coordinates are twips, x to the right, y downwards. Lengths
// come in mm (barrel blocks, dies) or in screw radius units (screw elements,
// the records of an extruder file), turned into twips with the scale s
// (twips per mm). Nothing is clipped to the visible area.
//
// Guards: an operation whose coordinates are not all finite is never drawn;
// the painter raises rt::Error kOverflow instead, and the caller ends its
// painting there with what was drawn so far. A conveying element whose flight
// spacing is not a positive finite number, and a kneading block without a
// disk, show their box only; an element draws at most 32767 flight or disk
// lines (the line index is 16-bit), and the rest of the screw follows it; a
// whole screw draws at most 8 × 32768, the elements after show their box.
#include <span>

#include "platform/gfx/draw_target.h"
#include "records/design_files.h"
#include "records/design_records.h"

namespace views {

inline constexpr gfx::Color kDrawingColor = gfx::rgb(100, 0, 0);

// Which boxes of a barrel block come first: the window draws the outline and
// the bore first, the printed page the boxes of the block type.
enum class BarrelOrder { OutlineFirst, TypeFirst };

// One barrel block (lengths in mm) starting at x0, its bore between y0 and
// y0 + D·s: outline, bore, and for "P", "H" and "V" the wall, for "H" and
// "V" also the filled opening, the port box and the flange box above it.
void PaintBarrelBlock(gfx::DrawTarget& target, const records::BarrelRec& block, float x0, float s, float y0,
                      BarrelOrder order);
// The blocks side by side from xp on, each L·s long.
void PaintBarrel(gfx::DrawTarget& target, std::span<const records::BarrelRec> blocks, float s, float xp, float y0,
                 BarrelOrder order);

// A screw of radius R (mm) as a band from y0 to y0 + 2·R·s: the root block
// (3 radii) from x0 on with its diagonals, one box per element (lengths in
// radius units) with its flight lines ("s") or disk lines ("k"), and the
// pointed head (0.577 radii). With clipping a flight line that runs past its
// element's end is cut there.
void PaintScrew(gfx::DrawTarget& target, float R, float s, float x0, float y0,
                std::span<const records::ScrewRec> elements, bool clip);

// A die (lengths in mm) from x0 on, symmetric about the axis yc: the block,
// 2·B high, the converging channel from the entrance to the capillary
// diameter, and the land as a box at the exit.
void PaintDie(gfx::DrawTarget& target, float s, float x0, float yc, const records::DieRec& die, float B);

// Where a whole extruder is drawn: x0 is where the screw's root starts (the
// window's offset plus its left margin), y0 the screw's top line.
struct ExtruderView {
    float R = 0;       // screw radius, mm
    float s = 1;       // twips per mm
    float x0 = 0;      // twips
    float y0 = 0;      // twips
    bool clip = true;  // flight lines cut at their element's end
};

// An extruder as its file holds it (records in radius units): the barrel
// blocks, each as its lower wall and, for "P", "H" and "V", its upper wall
// and opening boxes, starting (overhang − gap)·R·s right of the screw; the
// die after the last block when the last barrel record is a "D", 4.4 radii
// high about the screw axis; then the screw (records 2 .. nS−2 as elements).
void PaintExtruder(gfx::DrawTarget& target, const records::ExtruderFileContent& extruder, const ExtruderView& view);

}  // namespace views
