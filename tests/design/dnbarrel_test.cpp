// The barrel designer from the Design/Edit menu: the totals by block type,
// the barrel file it saves, editing a saved barrel, and the diameters, files
// and codes it refuses.
#include <filesystem>
#include <string>
#include <vector>

#include "design/dnbarrel.h"
#include "designers_fixture.h"
#include "views/mvbarrel.h"

namespace {

using Items = std::vector<std::string>;

class BarrelDesigner : public DesignerRun {
protected:
    void SetUp() override {
        DesignerRun::SetUp();
        // The L/D divisor is record 1's diameter, 50 mm, not the last record's.
        records::writeScrewGeoFile(gs(), {screw("S50", 30, 30, 1, 50), screw("S30", 30, 30)});
        records::writeBarrelGeoFile(path("brlkgeo/ZX40.gb"), library);
    }
    void add(std::initializer_list<int> items) {
        for (int i : items) {
            driver().selectItem(w.List1, i);
            driver().click(w.Command1);
        }
    }
    Items totals() const { return {w.Text1.text(), w.Text2.text(), w.Text4.text(), w.Text5.text()}; }

    const std::vector<records::BarrelRec> library = {block("HOP", "H", 100), block("PLN", "P", 200),
                                                     block("VNT", "V", 100), block("VLC", "v", 225)};
    DNBarrel& w = ui::form<DNBarrel>();
};

TEST_F(BarrelDesigner, ThreeBlocksShowTheirTotalsAndSaveTheirHeader) {
    choose("mnuDbarrel");
    EXPECT_EQ(w.caption(), "Design New barrel - ZX40");
    EXPECT_EQ(totals(), (Items{"0.00", "0", "0", "0"}));
    script().ok("You must select elements!", "Design barrel");
    driver().click(w.Command2);

    add({0, 1, 2});
    EXPECT_EQ(w.List3.items(), (Items{"1: " + padded("HOP", 15), "2: " + padded("PLN", 15), "3: " + padded("VNT", 15)}));
    EXPECT_EQ(totals(), (Items{"8.00", "1", "3", "1"}));  // (100 + 200 + 100) / 50
    EXPECT_EQ(shared::BarrelDesignLength, 400.0f);
    EXPECT_EQ(shared::BarrelDesignCount, 3);
    driver().click(w.Command2);  // View: no message, the preview opens
    EXPECT_TRUE(ui::form<mvbarrel>().isVisible());
    EXPECT_EQ(ui::form<mvbarrel>().width(), 7995);  // 8000 twips in whole pixels of 15 twips
    script().chooseFile(path("a.brl"), ui::FileDialogKind::Save);
    driver().click(w.Command4);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "barrel Files|**.brl|All files|*.*");
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::EditBarrelFile, "");
    EXPECT_EQ(shared::BarrelDesign.count(), 0);
    EXPECT_EQ(shared::BarrelDesignCount, 3);

    const auto b = bytes(path("a.brl"));
    ASSERT_EQ(b.size(), 4u * 36);
    EXPECT_EQ(text(b, 0, 15), padded("ZX40", 15));
    EXPECT_EQ(b[23], 2);
    const std::vector<float> header = {f32(b, 15), f32(b, 19), f32(b, 24), f32(b, 28), f32(b, 32)};
    EXPECT_EQ(header, (std::vector<float>{50, 1, 400, 1, 3}));
    const auto saved = records::readBarrelFile(path("a.brl"));
    EXPECT_EQ(std::vector<records::BarrelRec>(saved.begin() + 1, saved.end()),
              std::vector<records::BarrelRec>(library.begin(), library.begin() + 3));

    choose("mnuDbarrel");
    add({3, 0, 1, 2});  // "v" is a vent too; 225 / 50 + 8 = 12.5
    EXPECT_EQ(totals(), (Items{"12.50", "1", "4", "2"}));

    // D 40: 149 / 40 + 77 / 40 + 79 / 40 = 3.725 + 1.925 + 1.975 = 7.625,
    // summed in single precision to 7.625 at seven digits, shown 7.63.
    script().no("Barrel not saved. Save it?", "Save Barrel");
    driver().click(w.Command5);
    records::writeScrewGeoFile(gs(), {screw("S40", 30, 30, 1, 40)});
    records::writeBarrelGeoFile(path("brlkgeo/ZX40.gb"),
                                {block("A", "P", 149), block("B", "P", 77), block("C", "P", 79)});
    choose("mnuDbarrel");
    add({0, 1, 2});
    EXPECT_EQ(w.Text1.text(), "7.63");
}

TEST_F(BarrelDesigner, EditingBringsTheSavedBlocksBackWhenTheOnlyOneGoes) {
    const std::vector<records::BarrelRec> blocks = {library[1], library[0]};
    records::writeBarrelFile(path("old.brl"), records::barrelFileHeader("ZX40", 50, blocks), blocks);
    script().chooseFile(path("old.brl"));
    choose("mnuEbarrel");
    EXPECT_EQ(w.caption(), "Edit Existing barrel - ZX40 - " + path("old.brl"));
    EXPECT_EQ(w.List3.items(), (Items{"1: " + padded("PLN", 15), "2: " + padded("HOP", 15)}));

    w.List3.setListIndex(-1);
    script().ok("Select Barrel Element!", "Design Barrel");
    driver().click(w.Command3);
    driver().doubleClickItem(w.List3, 1);
    driver().selectItem(w.List1, 2);
    driver().pressKey(w.List3, ui::kKeyReturn);  // the only block: the file's blocks again
    EXPECT_EQ(shared::BarrelDesign.items(), blocks);
    EXPECT_EQ(w.List1.listIndex(), 2);
    script().no("Barrel not saved. Save it?", "Save Barrel");
    driver().click(w.Command5);
    session.expectScriptDone();
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::BarrelDesign.items(), blocks);  // No keeps the design

    // Only its header: an empty design to edit.
    records::writeBarrelFile(path("empty.brl"), records::barrelFileHeader("ZX40", 50, {}), {});
    script().chooseFile(path("empty.brl"));
    choose("mnuEbarrel");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.List3.listCount(), 0);
}

TEST_F(BarrelDesigner, DiametersFilesAndCodesThatCannotServeAreRefused) {
    // Record 1 missing or of diameter 0.
    for (const auto& lib : {std::vector<records::ScrewGeoRec>{}, {screw("Z0", 30, 30, 1, 0), screw("S30", 30, 30)}}) {
        records::writeScrewGeoFile(gs(), lib);
        script().ok(std::nullopt, "Design Barrel");
        choose("mnuDbarrel");
        EXPECT_NE(lastMessage().text.find("ZX40.gs"), std::string::npos) << lastMessage().text;
        EXPECT_FALSE(w.isLoaded());
    }
    records::writeScrewGeoFile(gs(), {screw("S50", 30, 30, 1, 50)});

    // A missing screw element file is not found; missing barrel blocks are
    // an empty list. Neither file is created.
    records::writeBarrelFile(path("lab99.brl"), records::barrelFileHeader("LAB99", 50, {}), {});
    script().chooseFile(path("lab99.brl"))
        .ok("The file " + path("screwgeo/LAB99.gs") + " cannot be read: File not found.", "Design Barrel");
    choose("mnuEbarrel");
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(path("screwgeo/LAB99.gs")));
    records::writeScrewGeoFile(path("screwgeo/LAB99.gs"), {screw("S50", 30, 30, 1, 50)});
    script().chooseFile(path("lab99.brl"));
    choose("mnuEbarrel");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.List1.listCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(path("brlkgeo/LAB99.gb")));
    w.unload();

    // No marker: no barrel. A code that cannot name a file.
    records::writeBarrelGeoFile(path("nomarker.brl"), library);
    records::writeBarrelFile(path("bad.brl"), records::barrelFileHeader("a:b", 50, {}), {});
    script().chooseFile(path("nomarker.brl")).ok("Incorrect file format!", "Design Barrel");
    choose("mnuEbarrel");
    script().chooseFile(path("bad.brl")).ok(std::nullopt, "Design Barrel");
    choose("mnuEbarrel");
    EXPECT_NE(lastMessage().text.find("a:b"), std::string::npos);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(dir() / "brlkgeo" / "a:b.gb"));

    // The code of the load is the code saved, whatever changes meanwhile;
    // an empty block library lists nothing.
    shared::ExtruderCategory = "ZX40";
    records::writeBarrelGeoFile(path("brlkgeo/ZX40.gb"), {});
    choose("mnuDbarrel");
    EXPECT_EQ(w.List1.listCount(), 0);
    script().ok("Select Barrel element!", "Design Barrel");
    driver().click(w.Command1);
    shared::ExtruderCategory = "OTHER";
    script().chooseFile(path("zx.brl"));
    driver().click(w.Command4);
    session.expectScriptDone();
    EXPECT_EQ(records::readBarrelFile(path("zx.brl")).at(0).Code.str(), padded("ZX40", 15));
}

}  // namespace
