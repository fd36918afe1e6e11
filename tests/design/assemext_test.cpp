// Extruder Assembly from the menu: the checks of the chosen files, the
// placement of the screw and the bytes of the extruder file Make writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "design/assemext_fixture.h"
#include "design/extruder_assembly.h"
#include "tools/demo_model.h"

namespace {

constexpr const char* kTitle = "Extruder Assembly";

TEST_F(AssemblyRun, ThreeBlockBarrelRefusesAShortScrewAndTakesALongOne) {
    // R = 25 mm: hopper 100, plain 200, vent 100 mm are 4, 8 and 4 R; the
    // openings are centred at 50 / 25 = 2 (50 / 25 = 2 wide) and
    // (300 + 50) / 25 = 14 (40 / 25 = 1.6 wide); the first opens at 1, so
    // 15 R of feed.
    const design::BarrelLayout b = design::layOutBarrel(records::readBarrelFile(threeBlockBarrel()), 25.0f);
    ASSERT_EQ(b.recs.size(), 4u);
    EXPECT_EQ(b.recs[2].Length, 8.0f);
    EXPECT_EQ(b.length, 16.0f);
    EXPECT_EQ(b.openingCentres, (std::vector<float>{2.0f, 14.0f}));
    EXPECT_EQ(b.openingWidths, (std::vector<float>{2.0f, 1.6f}));
    EXPECT_FLOAT_EQ(b.firstOpeningStart, 1.0f);
    EXPECT_FLOAT_EQ(b.feedLength, 15.0f);
    EXPECT_EQ(b.portCount(), 2);

    // Root 3 + elements 12 + head 0.577: pushed in by 15 - 12.577 = 2.423,
    // it stands 2.0 past the barrel, but its elements end at 15.0, short of
    // the vent's far edge at 2.0 + 14 + 0.8 = 16.8.
    assemext& a = openAssembly();
    find(a.fscrew, screwFile("short.srw", {6, 6}));
    find(a.fbarrel, path("three.brl"));
    session.script.ok(" Screw too short or vents are incorrectly located. You may have to re-design the screw ro barrel.",
                      kTitle);
    session.driver.click(a.make);  // no save dialog: the script would fail on one
    session.expectScriptDone();
    EXPECT_TRUE(a.isVisible());
    EXPECT_EQ(shared::ExtruderFile, "");
    EXPECT_EQ(shared::PortCount, 0);

    // Elements of 16 R: no offset, overhang 19.577 - 16 = 3.577, and with a
    // die of 50 mm = 2 R the total is 3.577 + 16 + 2.
    const std::string longName = "a-screw-whose-path-runs-past-the-sixty-four-characters-of-its-field.srw";
    const std::string screw = screwFile(longName, {8, 8});
    ASSERT_GT(screw.size(), 64u);
    find(a.fscrew, screw);
    const std::string die = dieFile("d.die");
    find(a.fdie, die);
    session.script.chooseFile(path("line.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messages().size(), 1u);
    EXPECT_FALSE(a.isLoaded());
    EXPECT_TRUE(ui::form<fitext>().isVisible());

    const auto f = bytesOf(path("line.ext"));
    ASSERT_EQ(f.size(), 221u + 39 * 5 + 36 * 5);  // N = 2, M = 3: nS = 5, nB = 5
    EXPECT_EQ(text(f, 0, 8), "ZX40    ");
    EXPECT_EQ(f[8], 4);
    EXPECT_EQ(text(f, 9, 64), screw.substr(0, 64));
    EXPECT_EQ(text(f, 73, 64), padded(path("three.brl"), 64));
    EXPECT_EQ(text(f, 137, 64), padded(die, 64));
    EXPECT_EQ(i16(f, 201), 5);
    EXPECT_EQ(i16(f, 203), 5);
    EXPECT_EQ(f32(f, 205), 0.0f);
    EXPECT_EQ(f32(f, 209), 0.0f);
    EXPECT_FLOAT_EQ(f32(f, 213), 3.577f);
    EXPECT_FLOAT_EQ(f32(f, 217), 21.577f);
    // The screw file's records unchanged, the barrel header unchanged.
    EXPECT_EQ(text(f, 221, 195), text(bytesOf(screw), 0, 195));
    EXPECT_EQ(text(f, 416, 36), text(bytesOf(path("three.brl")), 0, 36));
    // The hopper block divided by R = 25.
    const std::size_t hopper = 452;
    EXPECT_EQ(text(f, hopper, 15), padded("HBLOCK", 15));
    EXPECT_FLOAT_EQ(f32(f, hopper + 15), 52.0f / 25);
    EXPECT_FLOAT_EQ(f32(f, hopper + 24), 4.0f);
    EXPECT_FLOAT_EQ(f32(f, hopper + 28), 2.0f);
    EXPECT_FLOAT_EQ(f32(f, hopper + 32), 2.0f);
    // The die: no code, "D", entrance 40, capillary 10, zone 20 and total 50
    // mm in R, three holes as they are.
    const std::size_t d = 560;
    EXPECT_EQ(std::count(f.begin() + d, f.begin() + d + 15, 0), 15);
    EXPECT_FLOAT_EQ(f32(f, d + 15), 1.6f);
    EXPECT_FLOAT_EQ(f32(f, d + 19), 0.4f);
    EXPECT_EQ(f[d + 23], 'D');
    EXPECT_FLOAT_EQ(f32(f, d + 24), 2.0f);
    EXPECT_FLOAT_EQ(f32(f, d + 28), 0.8f);
    EXPECT_FLOAT_EQ(f32(f, d + 32), 3.0f);

    // Published once written.
    EXPECT_EQ(shared::ExtruderFile, path("line.ext"));
    EXPECT_EQ(shared::PortCount, 2);
    EXPECT_EQ(shared::ScrewRadius, 25.0f);
    EXPECT_EQ(shared::ExtScrewOffset, 0.0f);
    EXPECT_FLOAT_EQ(shared::ExtOverhang, 3.577f);
    EXPECT_EQ(shared::ExtScrewRecs.size(), 5u);
    EXPECT_EQ(shared::ExtBarrelRecs.size(), 5u);
}

TEST_F(AssemblyRun, RefusalsComeInTheirOrderAndKeepTheEarlierChoice) {
    assemext& a = openAssembly();
    EXPECT_EQ(a.caption(), kTitle);
    auto refuse = [&](ui::CommandButton& button, const std::string& file, const std::string& message) {
        session.script.chooseFile(file, ui::FileDialogKind::Open).ok(message, kTitle);
        session.driver.click(button);
        session.expectScriptDone();
    };
    session.script.ok("You must Select Screw!", kTitle);
    session.driver.click(a.make);

    // A copy of a file, cut to size bytes, with bytes patched in at an offset.
    auto variant = [&](const std::string& from, const std::string& name, std::size_t size, std::size_t at,
                       std::vector<std::uint8_t> with) {
        auto b = bytesOf(from);
        b.resize(size);
        std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        put(path(name), b);
        return path(name);
    };
    auto single = [](float v) {
        std::vector<std::uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };

    const std::string good = screwFile("good.srw", {8, 8});
    const std::size_t screwSize = 5 * 39;
    find(a.fscrew, good);
    EXPECT_EQ(a.Text1.text(), good);
    session.script.ok("You must Select Barrel!", kTitle);
    session.driver.click(a.make);

    refuse(a.fscrew, screwFile("other.srw", {8}, 50, "ZX41"), "Screw is not in the given category!");
    refuse(a.fscrew, variant(good, "marker.srw", screwSize, 16, {2}), "Incorrect file format!");
    refuse(a.fscrew, variant(good, "two.srw", 2 * 39, 0, {}), "Incomplete screw file");
    refuse(a.fscrew, variant(good, "count.srw", screwSize, 21, {3, 0}), "Incorrect file format!");  // N = 3
    refuse(a.fscrew, variant(good, "flat.srw", screwSize, 17, single(0)), "Incorrect file format!");  // D = 0
    EXPECT_EQ(a.Text1.text(), good);
    session.script.cancelFile(ui::FileDialogKind::Open);
    session.driver.click(a.fscrew);
    EXPECT_EQ(a.Text1.text(), good);
    find(a.fscrew, screwFile("bare.srw", {}));  // header, root and head: accepted
    EXPECT_EQ(a.Text1.text(), path("bare.srw"));

    const std::string barrel = threeBlockBarrel();
    find(a.fbarrel, barrel);
    refuse(a.fbarrel, barrelFile("other.brl", {block('H', 100, 50, 50)}, "ZX4"), "barrel is not in the given category!");
    refuse(a.fbarrel, variant(barrel, "marker.brl", 4 * 36, 23, {1}), "Incorrect file format!");
    refuse(a.fbarrel, barrelFile("empty.brl", {}), "Incomplete barrel file");
    refuse(a.fbarrel, barrelFile("vents.brl", {block('P', 100), block('V', 100, 40, 50)}),
           "Barrel has any hopper! Redesign barrel!");
    refuse(a.fbarrel, variant(barrel, "blocks.brl", 4 * 36, 32, single(5)), "Incorrect file format!");  // 5 blocks
    refuse(a.fbarrel, variant(barrel, "ports.brl", 4 * 36, 28, single(0)), "Incorrect file format!");   // 1 port
    refuse(a.fbarrel, variant(barrel, "ports3.brl", 4 * 36, 28, single(2)), "Incorrect file format!");  // 3 ports
    EXPECT_EQ(a.Text2.text(), barrel);

    const std::string die = dieFile("d.die");
    auto cut = [&](const std::string& name, std::size_t size) { return variant(die, name, size, 0, {}); };
    refuse(a.fdie, dieFile("other.die", 50, 1, "ZX40X"), "die is not in the given category!");
    refuse(a.fdie, cut("empty.die", 0), "die is not in the given category!");
    refuse(a.fdie, path("good.srw"), "Incorrect file format!");  // code "ZX40", marker Chr(32)
    refuse(a.fdie, cut("nine.die", 9), "Incomplete die file");
    refuse(a.fdie, cut("thirteen.die", 13), "Incomplete die file");
    EXPECT_EQ(a.Text3.text(), "");
    find(a.fdie, cut("fourteen.die", 14));  // rounds to one record
    EXPECT_EQ(a.Text3.text(), path("fourteen.die"));

    // A code of 8 characters fills the die's field without a blank.
    a.unload();
    shared::ExtruderCategory = "ABCDEFGH";
    choose("mnuExtassem");
    find(a.fdie, dieFile("long.die", 50, 1, "ABCDEFGH"));
    EXPECT_EQ(a.Text3.text(), path("long.die"));
    session.expectScriptDone();
    for (const auto& m : session.backend.messages()) EXPECT_EQ(m.request.title, kTitle);
}

TEST_F(AssemblyRun, TheCodeOfTheLoadServesEveryFindAndTheHeader) {
    assemext& a = openAssembly();
    find(a.fscrew, screwFile("zx.srw", {8, 8}));
    shared::ExtruderCategory = "OTHER";  // chosen meanwhile by another command
    session.script.chooseFile(barrelFile("other.brl", {block('H', 100, 50, 50)}, "OTHER"), ui::FileDialogKind::Open)
        .ok("barrel is not in the given category!", kTitle);
    session.driver.click(a.fbarrel);
    find(a.fbarrel, threeBlockBarrel());
    session.script.chooseFile(path("zx.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    session.expectScriptDone();
    EXPECT_EQ(records::readExtruderFile(path("zx.ext")).header.Code.rtrimmed(), "ZX40");
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");  // as the fitting read it
}

TEST_F(AssemblyRun, FindsInAnyOrderGiveTheSameFileAndOnlyAWrittenFilePublishes) {
    const std::string screw = screwFile("s.srw", {8, 8});
    const std::string barrel = threeBlockBarrel();
    const std::string die = dieFile("d.die", 50);
    const std::string otherDie = dieFile("first.die", 75);
    // Another extruder, open in a display window.
    records::ExtruderFileContent other;
    other.header.Marker = records::markerFor(records::FileKind::Extruder);
    records::writeExtruderFile(path("other.ext"), other);
    const auto otherBytes = bytesOf(path("other.ext"));
    // The target holds a longer old file.
    put(path("any.ext"), std::vector<std::uint8_t>(1000, 0xEE));

    // Die before screw, barrel after the die, a second die replacing the
    // first: the barrel and the die are converted with the screw's radius.
    assemext& a = openAssembly();
    find(a.fdie, otherDie);
    find(a.fbarrel, barrel);
    find(a.fscrew, screw);
    find(a.fdie, die);
    // Extruder Display refills the shared arrays meanwhile.
    shared::DisplayExtruderFile = path("other.ext");
    shared::ExtScrewRecs.assign(7, records::ScrewRec{});
    shared::ExtBarrelRecs.assign(2, records::BarrelRec{});
    shared::ScrewRadius = 99;
    shared::ExtruderFile = path("previous.ext");

    // A cancelled save and one into a missing folder leave everything as it was.
    session.script.cancelFile(ui::FileDialogKind::Save);
    session.driver.click(a.make);
    session.script.chooseFile(path("missing/x.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    EXPECT_TRUE(a.isVisible());
    EXPECT_FALSE(ui::form<fitext>().isLoaded());
    EXPECT_EQ(shared::ExtruderFile, path("previous.ext"));
    EXPECT_EQ(shared::ScrewRadius, 99.0f);
    EXPECT_EQ(shared::ExtScrewRecs.size(), 7u);

    // A typed path is not a choice: Make writes what the Finds read.
    session.driver.replaceText(a.Text1, "typed.srw");
    session.script.chooseFile(path("any.ext"), ui::FileDialogKind::Save).yes();
    session.driver.click(a.make);
    EXPECT_EQ(session.backend.messages().size(), 1u);  // the question to replace it
    ASSERT_TRUE(ui::form<fitext>().isVisible());
    // Written from the first byte on: the old tail stays.
    auto written = bytesOf(path("any.ext"));
    ASSERT_EQ(written.size(), 1000u);
    EXPECT_EQ(written[596], 0xEE);
    EXPECT_EQ(i16(written, 203), 5);                   // three blocks, header and one die
    EXPECT_FLOAT_EQ(f32(written, 560 + 24), 2.0f);     // the later die, 50 mm / 25
    EXPECT_EQ(text(written, 9, 64), padded(screw, 64));
    EXPECT_EQ(shared::ExtScrewRecs.size(), 5u);
    EXPECT_EQ(shared::ScrewRadius, 25.0f);

    // The fitting fits this extruder, not the displayed one, and "Done !"
    // rewrites it whole.
    fitext& fit = ui::form<fitext>();
    session.script.ok("Extruder File is created sucessfully!", "Creat Extruder");
    session.driver.click(fit.Command3);
    EXPECT_FALSE(fit.isLoaded());
    EXPECT_EQ(shared::DisplayExtruderFile, "");
    EXPECT_EQ(bytesOf(path("other.ext")), otherBytes);
    written = bytesOf(path("any.ext"));
    EXPECT_EQ(written.size(), 596u);

    // The usual order from a fresh window.
    choose("mnuExtassem");
    EXPECT_EQ(a.Text1.text(), "");
    session.script.ok("You must Select Screw!", kTitle);
    session.driver.click(a.make);
    find(a.fscrew, screw);
    find(a.fbarrel, barrel);
    find(a.fdie, die);
    session.script.chooseFile(path("ordered.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    session.expectScriptDone();
    EXPECT_EQ(bytesOf(path("ordered.ext")), written);

    // Another Make while that fitting is open: the fitting moves to the new file.
    choose("mnuExtassem");
    find(a.fscrew, screw);
    find(a.fbarrel, barrel);
    session.script.chooseFile(path("nodie.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    session.driver.click(fit.Command1);
    session.script.ok("Extruder File is created sucessfully!", "Creat Extruder");
    session.driver.click(fit.Command3);
    EXPECT_EQ(bytesOf(path("ordered.ext")), written);
    EXPECT_FLOAT_EQ(records::readExtruderFile(path("nodie.ext")).header.ScrewOffset, 3.0f / 25);
}

TEST_F(AssemblyRun, DemoScrewBarrelAndDieAssembleAndFitWithoutAMessage) {
    ASSERT_TRUE(demo::writeDemoData(dir().string()).empty());
    assemext& a = openAssembly(demo::kCode);
    find(a.fscrew, path("demo.srw"));
    find(a.fbarrel, path("demo.brl"));
    find(a.fdie, path("demo.die"));
    session.script.chooseFile(path("fitted.ext"), ui::FileDialogKind::Save);
    session.driver.click(a.make);
    ASSERT_TRUE(ui::form<fitext>().isVisible());
    session.script.ok("Extruder File is created sucessfully!", "Creat Extruder");
    session.driver.click(ui::form<fitext>().Command3);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messageTexts(), std::vector<std::string>{"Extruder File is created sucessfully!"});

    // The demo data's own extruder holds the same records and placement.
    const auto fitted = records::readExtruderFile(path("fitted.ext"));
    const auto demoExt = records::readExtruderFile(path("demo.ext"));
    EXPECT_EQ(fitted.screw, demoExt.screw);
    EXPECT_EQ(fitted.barrel, demoExt.barrel);
    EXPECT_EQ(fitted.header.ScrewOffset, demoExt.header.ScrewOffset);
    EXPECT_EQ(fitted.header.Gap, demoExt.header.Gap);
    EXPECT_EQ(fitted.header.BarrelOverhang, demoExt.header.BarrelOverhang);
    EXPECT_EQ(fitted.header.TotalLength, demoExt.header.TotalLength);
    EXPECT_EQ(fitted.header.DieFile.rtrimmed(), path("demo.die"));
}

}  // namespace
