#pragma once
// A retained drawing: the operations drawn on a window surface since its last
// clear, or on one printer page. Points are stored exactly as they were
// passed (relative points already resolved), nothing is clipped.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

enum class OpKind {
    Segment,    // a straight line from (x1, y1) to (x2, y2)
    Box,        // an outline rectangle with corners (x1, y1) and (x2, y2)
    FilledBox,  // a rectangle filled with its colour
    Text,       // text with its top left corner at (x1, y1)
};

struct DrawOp {
    OpKind kind = OpKind::Segment;
    Twips x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Color color = kBlack;     // resolved colour
    bool foreground = false;  // drawn in the surface's foreground colour
    float lineWidth = 1;      // the surface's draw width, in pixels
    float fontSize = 0;       // text only, in points
    std::string text;         // text only

    bool operator==(const DrawOp&) const = default;
};

class DisplayList {
public:
    void add(DrawOp op) { ops_.push_back(std::move(op)); }
    void clear() { ops_.clear(); }
    bool empty() const { return ops_.empty(); }
    std::size_t size() const { return ops_.size(); }
    const DrawOp& operator[](std::size_t i) const { return ops_[i]; }
    const std::vector<DrawOp>& ops() const { return ops_; }
    auto begin() const { return ops_.begin(); }
    auto end() const { return ops_.end(); }

    bool operator==(const DisplayList&) const = default;

private:
    std::vector<DrawOp> ops_;
};

// A stored picture: an image file, or a drawing made of display-list
// operations in a frame of the given size.
struct Picture {
    std::filesystem::path file;
    DisplayList drawing;
    Twips width = 0, height = 0;

    bool empty() const { return file.empty() && drawing.empty(); }
};

// One line per operation, for golden comparisons, e.g.
//   segment (1290,1420)-(9716,1420) color=128 width=1
//   box (120,120)-(10575,975) fore=0 width=2
//   fill (1290,2141)-(1500,1800) color=13158600 width=1
//   text (240,1680) size=12 color=0 "f"
std::string dump(const DisplayList& list);
std::string dump(const DrawOp& op);

}  // namespace gfx
