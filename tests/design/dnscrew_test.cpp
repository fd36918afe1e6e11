// The screw designer as the user works it from the Design/Edit menu: the
// library conversions, the add and remove rules, the totals it shows and
// publishes, the screw file it saves, and the files and codes it refuses.
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "design/dnscrew.h"
#include "designers_fixture.h"
#include "views/mvscrew.h"

namespace {

using Items = std::vector<std::string>;

class ScrewDesigner : public DesignerRun {
protected:
    void SetUp() override {
        DesignerRun::SetUp();
        // L/R 30 / 15 = 2.0 and 22.5 / 15 = 1.5; the kneading block 15 / 15 = 1.0.
        records::writeScrewGeoFile(gs(), {screw("SA", 30, 30), screw("SB", 20, 22.5f, -1)});
        records::writeKneadGeoFile(path("kneadgeo/ZX40.gk"), {knead("KA", 45, 15, 5)});
    }
    Items totals() const { return {w.Text1.text(), w.Text2.text(), w.Text3.text(), w.Text4.text(), w.Text5.text()}; }
    static std::string item(int position, const char* kind, const std::string& code) {
        return std::to_string(position) + ": " + kind + ": " + padded(code, 16);
    }
    // Edit Existing Screw on the file; the designer may answer with a
    // message of the given text (any text when empty) under its title.
    void edit(const std::string& file, std::optional<std::string> refusal = {}) {
        script().chooseFile(path(file));
        if (refusal) script().ok(refusal->empty() ? std::nullopt : refusal, "Design Screw");
        choose("mnuEscrew1");
        session.expectScriptDone();
    }

    DNScrew& w = ui::form<DNScrew>();
};

TEST_F(ScrewDesigner, NewScrewConvertsTheLibrariesAndSavesAtTheRecordOffsets) {
    choose("mnuNscrew");
    EXPECT_EQ(w.caption(), "Design New Screw - ZX40");
    EXPECT_EQ(w.List1.items(), (Items{padded("SA", 16), padded("SB", 16)}));
    EXPECT_EQ(w.Text6.text(), "30.00");
    EXPECT_EQ(totals(), (Items{"0.00", "0", "0", "0", "0"}));
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);
    script().ok("You must select elements!", "Design Screw");
    driver().click(w.Command5);
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);

    driver().click(w.Command1);                  // SA appended and selected
    driver().selectItem(w.List1, 1);
    driver().pressKey(w.List1, ui::kKeyReturn);  // SB behind it
    EXPECT_EQ(totals(), (Items{"1.75", "2", "1", "2", "0"}));
    driver().doubleClickItem(w.List2, 0);        // KA behind SB
    EXPECT_EQ(w.List3.items(), (Items{item(1, "S", "SA"), item(2, "S", "SB"), item(3, "K", "KA")}));
    EXPECT_EQ(w.List3.listIndex(), 2);
    const records::ScrewRec& sa = shared::ScrewDesign.at(1);
    EXPECT_FLOAT_EQ(sa.CenterlineRatio, 26.0f / 15.0f);
    EXPECT_NEAR(sa.HelixAngle, 0.30817, 5e-6);  // arctan(30 / (30 pi))
    EXPECT_EQ(sa.Disks, -999);
    EXPECT_EQ(sa.StaggerAngle, -999.0f);
    const records::ScrewRec& ka = shared::ScrewDesign.at(3);
    EXPECT_EQ(ka.HelixAngle, 0.0f);
    EXPECT_EQ(ka.Disks, 5);
    EXPECT_EQ(ka.StaggerAngle, 45.0f);
    EXPECT_EQ(totals(), (Items{"2.25", "2", "1", "3", "1"}));
    EXPECT_EQ(shared::ScrewDesignLength, 67.5f);  // 15 mm x 4.5
    EXPECT_EQ(shared::ScrewDesignCount, 3);
    driver().click(w.Command5);
    EXPECT_EQ(shared::ScrewPreviewFlag, 1);
    mvscrew& preview = ui::form<mvscrew>();  // the preview opens on the design
    EXPECT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.width(), 7995);  // 8000 x 5000 twips in whole pixels of 15 twips
    EXPECT_EQ(preview.height(), 4995);
    preview.unload();
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);

    script().chooseFile(path("a.srw"), ui::FileDialogKind::Save);
    driver().click(w.Command4);
    const ui::FileDialogRequest& dialog = session.backend.fileDialogs().back();
    EXPECT_EQ(dialog.fileName + " " + dialog.filter, "*.srw screw Files|*.srw|All files|*.*");
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::EditScrewFile, path("a.srw"));
    EXPECT_EQ(shared::ScrewDesign.count(), 0);
    EXPECT_EQ(shared::ScrewDesignCount, 3);  // the published totals stay

    const auto b = bytes(path("a.srw"));
    ASSERT_EQ(b.size(), 6u * 39);
    EXPECT_EQ(text(b, 0, 17), padded("ZX40", 16) + "\x01");
    EXPECT_EQ((std::vector<int>{i16(b, 21), i16(b, 23), i16(b, 33)}), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ((std::vector<float>{f32(b, 17), f32(b, 25), f32(b, 29), f32(b, 35)}),
              (std::vector<float>{30, 4.5f, 1, -999}));  // D, sum of L/R, left-handed count, stagger
    EXPECT_EQ(text(b, 39, 17) + text(b, 195, 17), padded("Screw Root", 16) + "r" + padded("Screw Head", 16) + "h");
    EXPECT_EQ(f32(b, 39 + 25), 3.0f);
    EXPECT_EQ(f32(b, 195 + 25), 0.577f);
    EXPECT_EQ(text(b, 117, 17), padded("SB", 16) + "s");
    EXPECT_EQ(i16(b, 117 + 23), -1);
}

TEST_F(ScrewDesigner, AddsGoBehindTheSelectionAndRemovesSelectTheElementBefore) {
    choose("mnuNscrew");
    script().ok("Select Screw or Kneading Element!", "Design Screw");
    driver().click(w.Command3);
    w.List2.setListIndex(-1);
    script().ok("Select Kneading Element!", "Design Screw");
    driver().click(w.Command2);
    session.expectScriptDone();

    for (int i : {0, 1, 0, 0}) {  // SA, SB, SA, SA
        driver().selectItem(w.List1, i);
        driver().click(w.Command1);
    }
    driver().selectItem(w.List3, 1);  // position 2: the new one becomes position 3
    driver().doubleClickItem(w.List2, 0);
    EXPECT_EQ(w.List3.items(), (Items{item(1, "S", "SA"), item(2, "S", "SB"), item(3, "K", "KA"), item(4, "S", "SA"),
                                      item(5, "S", "SA")}));
    EXPECT_EQ(w.List3.listIndex(), 2);
    driver().selectItem(w.List3, 3);
    driver().pressKey(w.List3, ui::kKeyReturn);  // position 4 goes: position 3 selected
    EXPECT_EQ(w.List3.listIndex(), 2);
    driver().doubleClickItem(w.List3, 0);  // the first goes: the new first selected
    EXPECT_EQ(w.List3.items(), (Items{item(1, "S", "SB"), item(2, "K", "KA"), item(3, "S", "SA")}));
    EXPECT_EQ(w.List3.listIndex(), 0);

    w.List3.setListIndex(-1);  // none selected: appended, the first selected
    driver().click(w.Command1);
    EXPECT_EQ(w.List3.list(3), item(4, "S", "SA"));
    EXPECT_EQ(w.List3.listIndex(), 0);

    while (w.List3.listCount() > 1) driver().click(w.Command3);
    driver().selectItem(w.List1, 1);
    driver().click(w.Command3);  // the only element: an empty new design
    EXPECT_EQ(w.List3.listCount(), 0);
    EXPECT_EQ(totals(), (Items{"0.00", "0", "0", "0", "0"}));
    EXPECT_EQ(shared::ScrewDesignCount, 0);
    EXPECT_EQ(w.List1.listIndex(), 1);  // the library selection kept
}

TEST_F(ScrewDesigner, CancelAlwaysAsksAndNothingIsWrittenUnlessASaveSucceeds) {
    choose("mnuNscrew");
    driver().click(w.Command1);
    script().yes("Screw not saved. Save it?", "Save Screw").cancelFile(ui::FileDialogKind::Save);
    driver().click(w.Command6);
    script().chooseFile(path("a?b.srw"));  // no file name: nothing written, the window open
    driver().click(w.Command4);
    script().no("Screw not saved. Save it?", "Save Screw");  // closes with no dialog
    driver().click(w.Command6);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::ScrewDesign.count(), 1);  // No keeps the design

    choose("mnuNscrew");  // a new design, empty again: 117 bytes
    script().yes().chooseFile(path("empty.srw"));
    driver().click(w.Command6);
    const auto b = bytes(path("empty.srw"));
    ASSERT_EQ(b.size(), 117u);
    EXPECT_EQ(i16(b, 21), 0);
    EXPECT_EQ(text(b, 78, 17), padded("Screw Head", 16) + "h");
}

TEST_F(ScrewDesigner, EditExistingShowsTheSavedDesignAndBringsItBackWhenItsOnlyElementGoes) {
    std::vector<records::ScrewRec> elements(2);
    elements[0].Code = "UP";
    elements[0].Kind = "S";  // stored by another writer: still a conveying element
    elements[0].Length = 2;
    elements[0].Hand = -1;
    elements[1].Code = "MID";
    elements[1].Kind = "k";
    elements[1].Length = 1.5f;
    elements[1].Hand = -1;
    records::writeScrewFile(path("old.srw"), records::screwFileHeader("ZX40", 30, elements), elements);
    edit("old.srw");
    EXPECT_EQ(w.caption(), "Edit Existing Screw - ZX40 - " + path("old.srw"));
    EXPECT_EQ(w.List3.items(), (Items{item(1, "S", "UP"), item(2, "K", "MID")}));
    EXPECT_EQ(totals(), (Items{"1.75", "1", "2", "2", "1"}));

    driver().click(w.Command3);
    driver().click(w.Command3);  // the only element: the file's design again
    EXPECT_EQ(shared::ScrewDesign.items(), elements);
    driver().click(w.Command1);
    script().chooseFile(path("new.srw"));
    driver().click(w.Command4);
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "*.srw");
    const auto saved = records::readScrewFile(path("new.srw"));
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[2], elements[0]);  // unchanged, kind "S" included
    EXPECT_EQ(saved[3], records::screwElementFrom(screw("SA", 30, 30)));

    // Header, root and head: an empty design to edit, which an add starts.
    records::writeScrewFile(path("three.srw"), records::screwFileHeader("ZX40", 30, {}), {});
    edit("three.srw");
    EXPECT_EQ(w.List3.listCount(), 0);
    driver().click(w.Command1);
    EXPECT_EQ(w.List3.items(), Items{item(1, "S", "SA")});
}

TEST_F(ScrewDesigner, LibrariesWithoutADiameterAndFilesWithoutADesignAreRefused) {
    // The smallest diameter halves to a radius of 0.
    const float nan = std::numeric_limits<float>::quiet_NaN(), tiny = std::numeric_limits<float>::denorm_min();
    records::writeScrewGeoFile(gs(), {screw("Z0", 30, 30, 1, 0), screw("SA", 30, 30), screw("ZT", 30, 30, 1, tiny),
                                      screw("ZN", 30, 30, 1, nan)});
    records::writeKneadGeoFile(path("kneadgeo/ZX40.gk"), {});
    script().ok("Left out, their screw diameter is 0 or no number: Z0, ZT, ZN.", "Design Screw");
    choose("mnuNscrew");
    EXPECT_EQ(w.List1.items(), Items{padded("SA", 16)});
    EXPECT_EQ(w.List2.listCount(), 0);  // an empty file: no blank item
    driver().click(w.Command1);
    driver().click(w.Command3);  // the only element: the reload says nothing again
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messages().size(), 1u);
    script().no();
    driver().click(w.Command6);

    for (const auto& lib : {std::vector<records::ScrewGeoRec>{}, {screw("Z0", 30, 30, 1, 0)}}) {
        records::writeScrewGeoFile(gs(), lib);
        script().ok(std::nullopt, "Design Screw");
        choose("mnuNscrew");
        EXPECT_NE(lastMessage().text.find("ZX40.gs"), std::string::npos) << lastMessage().text;
        EXPECT_FALSE(w.isLoaded());
    }
    records::writeScrewGeoFile(gs(), {screw("SA", 30, 30)});
    std::filesystem::remove_all(dir() / "kneadgeo");  // a missing folder
    script().ok(std::nullopt, "Design Screw");
    choose("mnuNscrew");
    EXPECT_NE(lastMessage().text.find("ZX40.gk cannot be read"), std::string::npos) << lastMessage().text;
    EXPECT_FALSE(w.isLoaded());

    records::writeScrewFile(path("three.srw"), records::screwFileHeader("ZX40", 30, {}), {});
    auto recs = records::readScrewFile(path("three.srw"));
    records::rewriteRecords(path("two.srw"), 39, std::vector<records::ScrewRec>(recs.begin(), recs.begin() + 2));
    recs[0].Kind = "x";
    records::rewriteRecords(path("nomarker.srw"), 39, recs);
    for (const char* file : {"two.srw", "nomarker.srw"}) {
        edit(file, "Incorrect file format!");
        EXPECT_FALSE(w.isLoaded()) << file;
    }
    session.expectScriptDone();
}

// A screw file of a code whose element files are missing: the missing screw
// elements, which give the diameter, are reported as not found; missing
// kneading blocks are an empty list. No element file is created.
TEST_F(ScrewDesigner, MissingElementFilesOfAnEditedCodeAreNotCreated) {
    const std::vector<records::ScrewRec> elements = {records::screwElementFrom(screw("SA", 30, 30))};
    records::writeScrewFile(path("lab99.srw"), records::screwFileHeader("LAB99", 30, elements), elements);
    edit("lab99.srw", "The file " + path("screwgeo/LAB99.gs") + " cannot be read: File not found.");
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(path("screwgeo/LAB99.gs")));
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");
    records::writeScrewGeoFile(path("screwgeo/LAB99.gs"), {screw("SA", 30, 30)});
    edit("lab99.srw");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.List1.listCount(), 1);
    EXPECT_EQ(w.List2.listCount(), 0);
    EXPECT_EQ(w.List3.listCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(path("kneadgeo/LAB99.gk")));
}

TEST_F(ScrewDesigner, TheCodeOfTheLoadServesTheWholeDesignAndMustNameAFile) {
    records::writeScrewGeoFile(path("screwgeo/OTHER.gs"), {screw("OA", 30, 30)});
    choose("mnuNscrew");
    shared::ExtruderCategory = "OTHER";  // changed meanwhile by other commands
    shared::EditScrewFile = path("elsewhere.srw");
    driver().click(w.Command1);
    driver().click(w.Command3);  // the reload: still ZX40, still new
    EXPECT_EQ(w.caption(), "Design New Screw - ZX40");
    driver().click(w.Command1);
    script().chooseFile(path("zx.srw"));
    driver().click(w.Command4);
    EXPECT_EQ(records::readScrewFile(path("zx.srw")).at(0).Code.str(), padded("ZX40", 16));

    records::writeScrewFile(path("bad.srw"), records::screwFileHeader("../x", 30, {}), {});
    edit("bad.srw", "");
    EXPECT_NE(lastMessage().text.find("../x"), std::string::npos);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(dir() / "x.gs"));

    // A header without a code names no element files: nothing is created.
    records::writeScrewFile(path("blank.srw"), records::screwFileHeader("", 30, {}), {});
    script().chooseFile(path("blank.srw"));
    script().ok("You must select Extruder Category.", "Caution");
    choose("mnuEscrew1");
    session.expectScriptDone();
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(dir() / "screwgeo" / ".gs"));

    const std::vector<records::ScrewRec> most(DNScrew::kMostElements, records::screwElementFrom(screw("SA", 30, 30)));
    records::writeScrewFile(path("full.srw"), records::screwFileHeader("ZX40", 30, most), most);
    shared::ExtruderCategory = "ZX40";
    edit("full.srw");
    script().ok("A screw holds at most 32764 elements.", "Design Screw");
    driver().click(w.Command1);
    session.expectScriptDone();
    EXPECT_EQ(shared::ScrewDesign.count(), 32764);
}

}  // namespace
