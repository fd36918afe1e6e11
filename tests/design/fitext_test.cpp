// The fitting window: shifting the screw, "Done !" rewriting the extruder
// file, refused files, and the fitting drawing read as a display list.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "design/assemext_fixture.h"
#include "design/fitting_drawing.h"

namespace {

class FitRun : public AssemblyRun {
protected:
    // An extruder of radius R (mm): barrel header 783 mm long, blocks of 4, 8
    // and 4 R, a die of 2 R; a screw of two conveying elements of 8 R.
    records::ExtruderFileContent extruder(float radius, float gap, float overhang) {
        records::ExtruderFileContent c;
        const auto e = elements({8, 8});
        c.screw.push_back(records::screwFileHeader("ZX40", 2 * radius, e));
        c.screw.push_back(records::screwRootRecord());
        c.screw.insert(c.screw.end(), e.begin(), e.end());
        c.screw.push_back(records::screwHeadRecord());
        records::BarrelRec header;
        header.Code = "ZX40";
        header.Type = records::markerFor(records::FileKind::Barrel);
        header.headerTotalLength() = 783;
        c.barrel = {header, block('H', 4, 2, 2), block('P', 8), block('V', 4, 1.6f, 2)};
        records::BarrelRec die;
        die.Type = std::string_view("D");
        die.dieTotalLength() = 2;
        c.barrel.push_back(die);
        c.header.Code = "ZX40";
        c.header.Marker = records::markerFor(records::FileKind::Extruder);
        c.header.ScrewFile = "s.srw";
        c.header.BarrelFile = "b.brl";
        c.header.DieFile = "d.die";
        c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
        c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
        c.header.Gap = gap;
        c.header.BarrelOverhang = overhang;
        return c;
    }
    std::string writeExtruder(const std::string& name, const records::ExtruderFileContent& c) {
        records::writeExtruderFile(path(name), c);
        return path(name);
    }

    // Loads the fitting on a file, as the assembly hands over.
    fitext& fit(const std::string& file) {
        shared::ExtruderFile = file;
        fitext& f = ui::form<fitext>();
        f.show();
        return f;
    }
    // The left end of the screw root (the box 3 R long from the screw's top).
    static float rootX(const fitext& f, float Rt) {
        for (const gfx::DrawOp& op : f.displayList())
            if (op.kind == gfx::OpKind::Box && op.y1 == 2590 && op.y2 == 2590 + 2 * Rt &&
                std::fabs(op.x2 - op.x1 - 3 * Rt) < 0.01f)
                return op.x1;
        return NAN;
    }
    // Pushes the screw n steps towards the feed end, checking the label.
    void push(fitext& f, int steps) {
        for (int i = 0; i < steps; ++i) {
            const int before = std::stoi(f.Label1.caption());
            session.driver.click(f.Command1);
            EXPECT_EQ(f.Label1.caption(), std::to_string(before + 3) + " (mm)");
        }
    }
    records::ExtHeader done(fitext& f, const std::string& file) {
        session.script.ok("Extruder File is created sucessfully!", "Creat Extruder");
        session.driver.click(f.Command3);
        session.expectScriptDone();
        EXPECT_FALSE(f.isLoaded());
        return records::readExtruderFile(file).header;
    }
};

TEST_F(FitRun, ShiftsUseUpTheGapThenAddToTheOverhang) {
    start();
    // R = 15 mm, S = 7830 / 783 = 10 twips per mm: a 3 mm step moves the
    // screw 30 twips; the root is 3 x 15 x 10 = 450 twips long.
    std::filesystem::create_directory(dir() / "work");
    const std::string file = writeExtruder("work/fit.ext", extruder(15, 2.0f, 0.0f));
    auto tail = bytesOf(file);
    const std::size_t length = tail.size();
    tail.resize(length + 100, 0xEE);  // a longer old file
    put(file, tail);
    shared::DisplayExtruderFile = "shown.ext";

    fitext& f = fit(file);
    ASSERT_TRUE(f.isVisible());
    EXPECT_EQ(f.caption(), "Fitting Extruder");
    EXPECT_EQ(f.Command3.caption(), "Done !");
    EXPECT_EQ(f.width(), 11100);
    EXPECT_EQ(f.height(), 5580);
    EXPECT_EQ(f.Label1.caption(), "0 (mm)");
    EXPECT_EQ(rootX(f, 150), 1400);
    session.driver.click(f.Command2);  // not past the start
    EXPECT_EQ(f.Label1.caption(), "0 (mm)");
    EXPECT_EQ(rootX(f, 150), 1400);
    push(f, 5);
    EXPECT_EQ(rootX(f, 150), 1400 - 15 * 10);
    session.driver.click(f.Command2);
    EXPECT_EQ(f.Label1.caption(), "12 (mm)");
    push(f, 1);

    // The folder is gone while "Done !" writes: the old file stays whole
    // and the window keeps its shift.
    std::filesystem::rename(dir() / "work", dir() / "away");
    session.script.ok("Extruder file could not be written!", "Fit Extruder");
    session.driver.click(f.Command3);
    session.expectScriptDone();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Label1.caption(), "15 (mm)");
    EXPECT_EQ(bytesOf(path("away/fit.ext")), tail);
    std::filesystem::rename(dir() / "away", dir() / "work");

    // 15 mm = 1 R of the 2 R gap; offset 15 / 15; total overhang 0 + 16 + 2.
    records::ExtHeader h = done(f, file);
    EXPECT_FLOAT_EQ(h.Gap, 1.0f);
    EXPECT_EQ(h.BarrelOverhang, 0.0f);
    EXPECT_FLOAT_EQ(h.ScrewOffset, 1.0f);
    EXPECT_FLOAT_EQ(h.TotalLength, 18.0f);
    EXPECT_EQ(bytesOf(file).size(), length);  // exactly its records
    EXPECT_EQ(shared::DisplayExtruderFile, "");

    // 45 mm = 3 R: the gap used up, 1 R of overhang.
    writeExtruder("work/fit.ext", extruder(15, 2.0f, 0.0f));
    push(fit(file), 15);
    h = done(f, file);
    EXPECT_EQ(h.Gap, 0.0f);
    EXPECT_FLOAT_EQ(h.BarrelOverhang, 1.0f);
    EXPECT_FLOAT_EQ(h.ScrewOffset, 3.0f);
    EXPECT_FLOAT_EQ(h.TotalLength, 19.0f);

    // An overhang of 1.5 R grows by 15 mm to 2.5 R; the rest of the header
    // is written back as it was.
    const auto before = extruder(15, 0.0f, 1.5f);
    writeExtruder("work/fit.ext", before);
    push(fit(file), 5);
    h = done(f, file);
    EXPECT_EQ(h.Gap, 0.0f);
    EXPECT_FLOAT_EQ(h.BarrelOverhang, 2.5f);
    EXPECT_FLOAT_EQ(h.ScrewOffset, 1.0f);
    EXPECT_EQ(h.DieFile, before.header.DieFile);
    EXPECT_EQ(h.ScrewCount, before.header.ScrewCount);
    const auto after = records::readExtruderFile(file);
    EXPECT_EQ(after.screw, before.screw);
    EXPECT_EQ(after.barrel, before.barrel);
    EXPECT_EQ(shared::ScrewFile, "s.srw");
    EXPECT_EQ(shared::DieFile, "d.die");
}

TEST_F(FitRun, AFileThatCannotBeFittedClosesTheWindowUndrawn) {
    start();
    const std::string good = writeExtruder("good.ext", extruder(15, 0, 0));
    const auto bytes = bytesOf(good);
    auto variant = [&](const std::string& name, std::vector<std::uint8_t> b) {
        put(path(name), b);
        return path(name);
    };
    auto edited = [&](const std::string& name, auto edit) {
        auto c = extruder(15, 0, 0);
        edit(c);
        c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
        c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
        return writeExtruder(name, c);
    };
    auto marker = bytes;
    marker[8] = 1;
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 1);
    const std::string missing = "Extruder file is not exist or empty !", format = "Incorrect file format!";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {path("none.ext"), missing},
        {variant("empty.ext", {}), missing},
        {variant("marker.ext", marker), format},
        {variant("cut.ext", cut), format},                        // counts past the end
        {variant("short.ext", {bytes.begin(), bytes.begin() + 100}), format},
        {edited("two.ext", [](auto& c) { c.screw.resize(2); }), format},
        {edited("nobarrel.ext", [](auto& c) { c.barrel.clear(); }), format},
        {edited("flat.ext", [](auto& c) { c.barrel[0].headerTotalLength() = 0; }), format},
        {edited("thin.ext", [](auto& c) { c.screw[0].headerScrewDiameter() = 0; }), format},
    };
    for (const auto& [file, message] : cases) {
        shared::DisplayExtruderFile = path("good.ext");
        session.script.ok(message, "Fit Extruder");
        fitext& f = fit(file);
        session.expectScriptDone();
        EXPECT_FALSE(f.isLoaded()) << file;
        EXPECT_TRUE(f.displayList().empty()) << file;
        EXPECT_EQ(shared::DisplayExtruderFile, "") << file;
    }
    EXPECT_FALSE(std::filesystem::exists(path("none.ext")));
}

// Coordinates to two decimals (none when whole), colour 100 or "fore".
std::string rounded(const gfx::DisplayList& list) {
    auto num = [](float v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
        std::string s = buf;
        if (s.size() > 3 && s.compare(s.size() - 3, 3, ".00") == 0) s.resize(s.size() - 3);
        return s;
    };
    std::string out;
    for (const gfx::DrawOp& op : list) {
        out += op.kind == gfx::OpKind::Segment ? "segment " : op.kind == gfx::OpKind::Box ? "box " : "fill ";
        out += num(op.x1) + "," + num(op.y1) + " " + num(op.x2) + "," + num(op.y2);
        out += op.foreground ? " fore\n" : " color=" + std::to_string(op.color) + "\n";
    }
    return out;
}

TEST(FittingDrawing, SmallExtruderCheckedByHand) {
    // Barrel 783 mm: S = 10; R = 25: Rt = 250 twips; height 5580: T = 2590.
    // Overhang 0.5 R moves the barrel 0.5 x 250 = 125 twips right of 1400.
    records::BarrelRec header;
    header.Type = records::markerFor(records::FileKind::Barrel);
    header.headerTotalLength() = 783;
    auto block = [](char type, float length, float width, float location) {
        records::BarrelRec b;
        b.Type = std::string(1, type);
        b.BoreDiameter = 2;  // Dt = 500
        b.Length = length;
        b.OpeningWidth = width;
        b.OpeningLocation = location;
        return b;
    };
    records::BarrelRec die;
    die.Type = std::string_view("D");
    die.dieEntranceDiameter() = 1.6f;     // 400 twips
    die.dieCapillaryDiameter() = 0.4f;    // 100
    die.dieTotalLength() = 2;             // 500
    die.dieCapillaryZoneLength() = 0.8f;  // 200
    const std::vector<records::BarrelRec> barrel = {header, block('H', 2, 0.8f, 1), block('P', 4, 0, 0),
                                                    block('V', 2, 0.8f, 1), die};

    auto element = [](char kind, std::int16_t hand, float length, float helix, std::int16_t disks) {
        records::ScrewRec e;
        e.Kind = std::string(1, kind);
        e.Hand = hand;
        e.Length = length;
        e.HelixAngle = helix;
        e.Disks = disks;
        e.StaggerAngle = 90;
        return e;
    };
    const float halfLead250 = std::atan(1.0f / 3.141592654f);  // pi x 250 x tan = 250 twips
    const std::vector<records::ScrewRec> screw = {
        records::ScrewRec{},
        records::screwRootRecord(),
        element('s', 1, 2, halfLead250, -999),   // 500 twips: two flights
        element('s', -1, 0.8f, halfLead250, -999),  // 200 twips: one flight, past its end
        element('k', 1, 2, 0, 5),                // five disks of 100, 90 degrees
        element('k', 0, 2, 0, 5),                // neutral: centre line on disks 0, 2, 4
        element('s', 1, 1, 0, -999),             // lead 0: the box only
        element('k', 1, 1, 0, 0),                // no disk: the box only
        records::screwHeadRecord(),
    };
    design::FittingView view;
    view.radius = 25;
    view.overhang = 0.5f;
    view.windowHeight = 5580;
    gfx::WindowTarget t;
    t.line(0, 0, 1, 1);  // cleared first
    const design::FittingLayout layout = design::drawFitting(t, barrel, screw, view);

    EXPECT_EQ(rounded(t.displayList()),
              // Hopper from 1525, 500 long: walls at T + 1.3 / 1.1 Dt and
              // T - 0.3 / 0.1 Dt; the opening 2 x 100 wide centred 250 in,
              // frame 1.5 and plate 1.8 times as wide, from T - 0.6 Dt.
              "box 1525,3240 2025,3140 color=100\n"
              "box 1525,2440 2025,2540 color=100\n"
              "fill 1675,2290 1875,2540 color=100\n"
              "box 1625,2290 1925,2540 color=100\n"
              "box 1595,2290 1955,2390 color=100\n"
              // Plain, 1000 long.
              "box 2025,3240 3025,3140 color=100\n"
              "box 2025,2440 3025,2540 color=100\n"
              // The vent draws as the hopper does.
              "box 3025,3240 3525,3140 color=100\n"
              "box 3025,2440 3525,2540 color=100\n"
              "fill 3175,2290 3375,2540 color=100\n"
              "box 3125,2290 3425,2540 color=100\n"
              "box 3095,2290 3455,2390 color=100\n"
              // The die at 3525 around the centre line 2840: outline
              // +-2.2 Rt, cone from +-200 to +-50, capillary 200 long.
              "segment 3525,2290 4025,2290 color=100\n"
              "segment 3525,3390 4025,3390 color=100\n"
              "segment 3525,3390 3525,2290 color=100\n"
              "segment 4025,3390 4025,2290 color=100\n"
              "segment 3525,2640 3825,2790 color=100\n"
              "segment 3525,3040 3825,2890 color=100\n"
              "box 3825,2790 4025,2890 color=100\n"
              // Barrel-end mark at the die's start.
              "segment 3525,2840 3525,3440 fore\n"
              // Root 750 long, crossed.
              "box 1400,2590 2150,3090 color=100\n"
              "segment 1400,2590 2150,3090 color=100\n"
              "segment 1400,3090 2150,2590 color=100\n"
              // Right-handed: flights down to the right, 250 each.
              "box 2150,2590 2650,3090 color=100\n"
              "segment 2150,2590 2400,3090 color=100\n"
              "segment 2400,2590 2650,3090 color=100\n"
              // Left-handed, 200 long: one flight up to the right, past it.
              "box 2650,2590 2850,3090 color=100\n"
              "segment 2650,3090 2900,2590 color=100\n"
              // Right-handed kneading: crest at T + Rt (1 - cos j 90).
              "box 2850,2590 3350,3090 color=100\n"
              "segment 2850,2590 2850,3090 color=100\n"
              "segment 2850,2590 2950,2590 color=100\n"
              "segment 2950,2590 2950,3090 color=100\n"
              "segment 2950,2840 3050,2840 color=100\n"
              "segment 3050,2590 3050,3090 color=100\n"
              "segment 3050,3090 3150,3090 color=100\n"
              "segment 3150,2590 3150,3090 color=100\n"
              "segment 3150,2840 3250,2840 color=100\n"
              "segment 3250,2590 3250,3090 color=100\n"
              "segment 3250,2590 3350,2590 color=100\n"
              // Neutral kneading.
              "box 3350,2590 3850,3090 color=100\n"
              "segment 3350,2590 3350,3090 color=100\n"
              "segment 3350,2840 3450,2840 color=100\n"
              "segment 3450,2590 3450,3090 color=100\n"
              "segment 3550,2590 3550,3090 color=100\n"
              "segment 3550,2840 3650,2840 color=100\n"
              "segment 3650,2590 3650,3090 color=100\n"
              "segment 3750,2590 3750,3090 color=100\n"
              "segment 3750,2840 3850,2840 color=100\n"
              // Lead 0 and no disk: boxes of 250.
              "box 3850,2590 4100,3090 color=100\n"
              "box 4100,2590 4350,3090 color=100\n"
              // Head 0.577 x 250 = 144.25 long, tip mark, shift line of 0.
              "segment 4350,2590 4494.25,2840 color=100\n"
              "segment 4350,3090 4494.25,2840 color=100\n"
              "segment 4494.25,2840 4494.25,3440 fore\n"
              "segment 4494.25,3240 4494.25,3240 fore\n");
    EXPECT_EQ(layout.barrelX, 1525);
    EXPECT_EQ(layout.topY, 2590);
    EXPECT_EQ(layout.labelTop, 3140);
    EXPECT_EQ(layout.labelLeft, 4694.25f);

    // 1000 mm give S = 7.83, so R = 25 gives Rt = 195.75.
    std::vector<records::BarrelRec> metre = {header};
    metre[0].headerTotalLength() = 1000;
    EXPECT_FLOAT_EQ(design::drawFitting(t, metre, screw, view).scale, 7.83f);
    const gfx::DrawOp& root = t.displayList()[1];
    EXPECT_FLOAT_EQ(root.x2 - root.x1, 3 * 195.75f);
}

}  // namespace
