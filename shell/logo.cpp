#include "shell/logo.h"

#include "state/state.h"

logo::logo() : ui::Form("logo") {
    Image1.onClick = [this] { Image1_Click(); };
}

namespace {
constexpr gfx::Twips kSplashWidth = 7200;
constexpr gfx::Twips kSplashHeight = 4320;
}  // namespace

void logo::design() {
    setCaption("Velkor");
    setSize(kSplashWidth, kSplashHeight);
    Image1.create(0, 0, scaleWidth(), scaleHeight(), shell::splashPicture(scaleWidth(), scaleHeight()));
    Image1.setStretch(true);
}

void logo::Form_Click() { closeSplash(); }

void logo::Form_KeyPress(int& /*keyAscii*/) { closeSplash(); }

void logo::Image1_Click() { closeSplash(); }

void logo::closeSplash() {
    shared::ExtruderCategory.clear();
    unload();
}

namespace shell {

namespace {

class Sketch {
public:
    explicit Sketch(gfx::DisplayList& list) : list_(list) {}

    void fill(float x1, float y1, float x2, float y2, gfx::Color c) { add(gfx::OpKind::FilledBox, x1, y1, x2, y2, c, 1); }
    void box(float x1, float y1, float x2, float y2, gfx::Color c, float width = 1) {
        add(gfx::OpKind::Box, x1, y1, x2, y2, c, width);
    }
    void segment(float x1, float y1, float x2, float y2, gfx::Color c, float width = 1) {
        add(gfx::OpKind::Segment, x1, y1, x2, y2, c, width);
    }
    void text(float x, float y, float size, gfx::Color c, std::string s) {
        gfx::DrawOp op;
        op.kind = gfx::OpKind::Text;
        op.x1 = op.x2 = x;
        op.y1 = op.y2 = y;
        op.color = c;
        op.fontSize = size;
        op.text = std::move(s);
        list_.add(std::move(op));
    }

private:
    void add(gfx::OpKind kind, float x1, float y1, float x2, float y2, gfx::Color c, float width) {
        gfx::DrawOp op;
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.color = c;
        op.lineWidth = width;
        list_.add(std::move(op));
    }
    gfx::DisplayList& list_;
};

// One screw lying along the axis at height y: the root, the flights leaning
// the same way on both screws (co-rotating), phase shifted by a part of the
// lead so that the flights of the pair interleave, and a pointed tip.
void drawScrew(Sketch& s, float x0, float x1, float y, float r, float lead, float phase) {
    const gfx::Color root = gfx::rgb(104, 112, 124);
    const gfx::Color flight = gfx::rgb(196, 202, 212);
    const gfx::Color edge = gfx::rgb(236, 240, 246);
    const float rootR = 0.58f * r;
    s.fill(x0, y - rootR, x1, y + rootR, root);
    const float lean = 0.45f * lead;  // axial run of a flight across the diameter
    for (float x = x0 + phase; x + lean <= x1; x += lead) {
        s.segment(x, y - r, x + lean, y + r, flight, 7);
        s.segment(x - 40, y - r, x + lean - 40, y + r, edge, 2);
    }
    // Tip of the screw.
    s.segment(x1, y - rootR, x1 + 1.4f * rootR, y, root, 3);
    s.segment(x1, y + rootR, x1 + 1.4f * rootR, y, root, 3);
}

}  // namespace

gfx::Picture splashPicture(gfx::Twips width, gfx::Twips height) {
    gfx::Picture picture;
    picture.width = width;
    picture.height = height;
    Sketch s(picture.drawing);
    const float w = width, h = height;

    const gfx::Color background = gfx::rgb(22, 38, 66);
    const gfx::Color barrel = gfx::rgb(64, 74, 90);
    const gfx::Color bore = gfx::rgb(36, 42, 52);
    const gfx::Color outline = gfx::rgb(150, 162, 180);
    const gfx::Color melt = gfx::rgb(232, 140, 40);
    const gfx::Color white = gfx::kWhite;

    s.fill(0, 0, w, h, background);
    s.text(0.08f * w, 0.06f * h, 26, white, "VELKOR");
    s.text(0.08f * w, 0.06f * h + 700, 12, gfx::rgb(190, 204, 224), "Twin Screw Extruder");

    // Barrel with its bore and a feed hopper on top near the drive end.
    const float bx0 = 0.10f * w, bx1 = 0.86f * w;
    const float by0 = 0.44f * h, by1 = 0.90f * h;
    s.fill(bx0, by0, bx1, by1, barrel);
    s.box(bx0, by0, bx1, by1, outline, 2);
    const float r = 0.105f * h;
    const float axis1 = by0 + 0.30f * (by1 - by0);
    const float axis2 = by0 + 0.70f * (by1 - by0);
    s.fill(bx0 + 60, axis1 - r - 30, bx1 - 60, axis2 + r + 30, bore);

    const float hx0 = bx0 + 0.08f * (bx1 - bx0), hx1 = hx0 + 0.12f * (bx1 - bx0);
    const float hopperTop = by0 - 0.09f * h;
    const float flare = 0.04f * (bx1 - bx0);
    s.segment(hx0 - flare, hopperTop, hx0, by0, outline, 3);
    s.segment(hx1 + flare, hopperTop, hx1, by0, outline, 3);
    s.segment(hx0 - flare, hopperTop, hx1 + flare, hopperTop, outline, 3);
    s.fill(hx0, by0 - 10, hx1, by0 + 60, bore);

    // Drive shafts, the screw pair, and the melt leaving the die.
    const float sx0 = bx0 + 0.03f * (bx1 - bx0), sx1 = bx1 - 0.07f * (bx1 - bx0);
    const float lead = 2.1f * r;
    s.fill(0.02f * w, axis1 - 0.3f * r, sx0, axis1 + 0.3f * r, outline);
    s.fill(0.02f * w, axis2 - 0.3f * r, sx0, axis2 + 0.3f * r, outline);
    drawScrew(s, sx0, sx1, axis1, r, lead, 0);
    drawScrew(s, sx0, sx1, axis2, r, lead, 0.5f * lead);
    const float my = 0.5f * (axis1 + axis2);
    s.fill(bx1, my - 0.12f * r, w - 0.03f * w, my + 0.12f * r, melt);
    s.box(bx1, my - 0.5f * r, bx1 + 0.03f * w, my + 0.5f * r, outline, 2);
    return picture;
}

}  // namespace shell
