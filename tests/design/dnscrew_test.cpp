// The screw designer as the user works it from the Design/Edit menu: the
// library conversions, the add and remove rules, the totals it shows and
// publishes, the screw file it saves, and the files and codes it refuses.
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "design/dnscrew.h"
#include "designers_fixture.h"

namespace {

class ScrewDesigner : public DesignerRun {
protected:
    void SetUp() override {
        DesignerRun::SetUp();
        records::writeScrewGeoFile(gs(), {screw("SA", 30, 30), screw("SB", 20, 22.5f, -1)});
        records::writeKneadGeoFile(gk(), {knead("KA", 45, 15, 5)});
    }
    DNScrew& openNew() {
        choose("mnuNscrew");
        return w;
    }
    std::vector<std::string> totals() const {
        return {w.Text1.text(), w.Text2.text(), w.Text3.text(), w.Text4.text(), w.Text5.text()};
    }
    std::string item(int position, const char* kind, const std::string& code) const {
        return std::to_string(position) + ": " + kind + ": " + padded(code, 16);
    }

    DNScrew& w = ui::form<DNScrew>();
};

TEST_F(ScrewDesigner, NewScrewConvertsTheLibrariesAndSavesAtTheRecordOffsets) {
    openNew();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "Design New Screw - ZX40");
    EXPECT_EQ(w.List1.items(), (std::vector<std::string>{padded("SA", 16), padded("SB", 16)}));
    EXPECT_EQ(w.List2.items(), std::vector<std::string>{padded("KA", 16)});
    EXPECT_EQ(w.List1.listIndex(), 0);
    EXPECT_EQ(w.List2.listIndex(), 0);
    EXPECT_EQ(w.List3.listIndex(), -1);
    EXPECT_EQ(w.Text6.text(), "30.00");
    EXPECT_EQ(totals(), (std::vector<std::string>{"0.00", "0", "0", "0", "0"}));
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);
    EXPECT_EQ(shared::ScrewDesignRadius, 15.0f);

    driver().click(w.Command1);  // SA appended and selected
    EXPECT_EQ(w.List3.items(), std::vector<std::string>{item(1, "S", "SA")});
    EXPECT_EQ(w.List3.listIndex(), 0);
    const records::ScrewRec& sa = shared::ScrewDesign.at(1);
    EXPECT_EQ(sa.Kind.str(), "s");
    EXPECT_FLOAT_EQ(sa.CenterlineRatio, 26.0f / 15.0f);
    EXPECT_EQ(sa.Length, 2.0f);
    EXPECT_NEAR(sa.HelixAngle, 0.30817, 5e-6);  // arctan(30 / (30 pi))
    EXPECT_EQ(sa.Disks, -999);
    EXPECT_EQ(sa.StaggerAngle, -999.0f);

    driver().selectItem(w.List1, 1);
    driver().pressKey(w.List1, ui::kKeyReturn);  // SB behind SA
    EXPECT_EQ(totals(), (std::vector<std::string>{"1.75", "2", "1", "2", "0"}));  // (2.0 + 1.5) / 2
    driver().doubleClickItem(w.List2, 0);         // KA behind SB
    EXPECT_EQ(w.List3.items(), (std::vector<std::string>{item(1, "S", "SA"), item(2, "S", "SB"), item(3, "K", "KA")}));
    EXPECT_EQ(w.List3.listIndex(), 2);
    const records::ScrewRec& ka = shared::ScrewDesign.at(3);
    EXPECT_EQ(ka.Kind.str(), "k");
    EXPECT_EQ(ka.HelixAngle, 0.0f);
    EXPECT_EQ(ka.Disks, 5);
    EXPECT_EQ(ka.StaggerAngle, 45.0f);
    EXPECT_EQ(ka.Length, 1.0f);
    EXPECT_EQ(totals(), (std::vector<std::string>{"2.25", "2", "1", "3", "1"}));
    EXPECT_EQ(shared::ScrewDesignLength, 67.5f);  // 15 mm x (2 + 1.5 + 1)
    EXPECT_EQ(shared::ScrewDesignCount, 3);

    driver().click(w.Command5);  // View
    EXPECT_EQ(shared::ScrewPreviewFlag, 1);
    EXPECT_TRUE(session.backend.messages().empty());

    session.script.chooseFile(path("a.srw"), ui::FileDialogKind::Save);
    driver().click(w.Command4);  // Done
    const ui::FileDialogRequest& dialog = session.backend.fileDialogs().back();
    EXPECT_EQ(dialog.fileName, "*.srw");
    EXPECT_EQ(dialog.filter, "screw Files|*.srw|All files|*.*");
    EXPECT_EQ(dialog.initDir, shared::AppDir);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::EditScrewFile, path("a.srw"));
    EXPECT_EQ(shared::ScrewDesign.count(), 0);
    EXPECT_EQ(shared::ScrewDesignCount, 3);  // the published totals keep their values
    EXPECT_EQ(shared::ScrewDesignLength, 67.5f);

    const auto b = bytes(path("a.srw"));
    ASSERT_EQ(b.size(), 6u * 39);
    EXPECT_EQ(text(b, 0, 16), padded("ZX40", 16));
    EXPECT_EQ(b[16], 1);
    EXPECT_EQ(f32(b, 17), 30.0f);
    EXPECT_EQ(i16(b, 21), 3);
    EXPECT_EQ(i16(b, 23), 2);
    EXPECT_EQ(f32(b, 25), 4.5f);
    EXPECT_EQ(f32(b, 29), 1.0f);
    EXPECT_EQ(i16(b, 33), 1);
    EXPECT_EQ(f32(b, 35), -999.0f);
    EXPECT_EQ(text(b, 39, 17), padded("Screw Root", 16) + "r");
    EXPECT_EQ(f32(b, 39 + 25), 3.0f);
    EXPECT_EQ(text(b, 78, 17), padded("SA", 16) + "s");
    EXPECT_EQ(f32(b, 78 + 25), 2.0f);
    EXPECT_EQ(text(b, 117, 17), padded("SB", 16) + "s");
    EXPECT_EQ(i16(b, 117 + 23), -1);
    EXPECT_EQ(text(b, 156, 17), padded("KA", 16) + "k");
    EXPECT_EQ(i16(b, 156 + 33), 5);
    EXPECT_EQ(text(b, 195, 17), padded("Screw Head", 16) + "h");
    EXPECT_EQ(f32(b, 195 + 25), 0.577f);
    for (std::size_t o : {17, 21, 23, 29, 33, 35}) EXPECT_EQ(b[195 + o], 0) << o;
}

TEST_F(ScrewDesigner, AddsGoBehindTheSelectionAndRemovesSelectTheElementBefore) {
    openNew();
    script().ok("You must select elements!", "Design Screw");
    driver().click(w.Command5);
    script().ok("Select Screw or Kneading Element!", "Design Screw");
    driver().click(w.Command3);
    w.List1.setListIndex(-1);
    script().ok("Select Screw Element!", "Design Screw");
    driver().click(w.Command1);
    w.List2.setListIndex(-1);
    script().ok("Select Kneading Element!", "Design Screw");
    driver().click(w.Command2);
    session.expectScriptDone();
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);

    // SA, SB, KA, SA, each behind the one before.
    for (int i : {0, 1}) {
        driver().selectItem(w.List1, i);
        driver().click(w.Command1);
    }
    driver().selectItem(w.List2, 0);
    driver().click(w.Command2);
    driver().selectItem(w.List1, 0);
    driver().click(w.Command1);
    ASSERT_EQ(w.List3.listCount(), 4);
    // Position 2 selected: the new element becomes position 3, all renumbered.
    driver().selectItem(w.List3, 1);
    driver().selectItem(w.List1, 1);
    driver().click(w.Command1);
    EXPECT_EQ(w.List3.items(), (std::vector<std::string>{item(1, "S", "SA"), item(2, "S", "SB"), item(3, "S", "SB"),
                                                         item(4, "K", "KA"), item(5, "S", "SA")}));
    EXPECT_EQ(w.List3.listIndex(), 2);

    driver().selectItem(w.List3, 3);  // KA at position 4: position 3 is selected after
    driver().pressKey(w.List3, ui::kKeyReturn);
    EXPECT_EQ(w.List3.listIndex(), 2);
    driver().doubleClickItem(w.List3, 0);  // the first: the new first is selected
    EXPECT_EQ(w.List3.items(), (std::vector<std::string>{item(1, "S", "SB"), item(2, "S", "SB"), item(3, "S", "SA")}));
    EXPECT_EQ(w.List3.listIndex(), 0);
    EXPECT_EQ(totals(), (std::vector<std::string>{"2.50", "3", "2", "3", "0"}));

    // With no design item selected an add goes to the end and selects the first.
    w.List3.setListIndex(-1);
    driver().selectItem(w.List2, 0);
    driver().click(w.Command2);
    EXPECT_EQ(w.List3.list(3), item(4, "K", "KA"));
    EXPECT_EQ(w.List3.listIndex(), 0);

    // Down to the only element, whose removal leaves an empty new design
    // with the library selections kept.
    while (w.List3.listCount() > 1) driver().click(w.Command3);
    driver().selectItem(w.List1, 1);
    driver().click(w.Command3);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.List3.listCount(), 0);
    EXPECT_EQ(shared::ScrewDesign.count(), 0);
    EXPECT_EQ(totals(), (std::vector<std::string>{"0.00", "0", "0", "0", "0"}));
    EXPECT_EQ(shared::ScrewDesignCount, 0);
    EXPECT_EQ(shared::ScrewDesignLength, 0.0f);
    EXPECT_EQ(w.List1.listIndex(), 1);
    EXPECT_EQ(w.List2.listIndex(), 0);
}

TEST_F(ScrewDesigner, CancelAlwaysAsksAndNothingIsWrittenUnlessASaveSucceeds) {
    openNew();
    driver().click(w.Command1);
    script().yes("Screw not saved. Save it?", "Save Screw").cancelFile(ui::FileDialogKind::Save);
    driver().click(w.Command6);
    EXPECT_EQ(lastMessage().buttons, ui::kYesNo);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(shared::ScrewDesign.count(), 1);

    // A target that is no file name, or a folder: nothing written, the window open.
    std::filesystem::create_directory(dir() / "folder.srw");
    for (const std::string& target : {path("a?b.srw"), path("folder.srw")}) {
        script().chooseFile(target);
        driver().click(w.Command4);
        EXPECT_TRUE(w.isVisible()) << target;
    }

    script().no("Screw not saved. Save it?", "Save Screw");
    driver().click(w.Command6);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::ScrewDesign.count(), 1);  // No keeps the design
    int screwFiles = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir())) screwFiles += e.path().extension() == ".srw";
    EXPECT_EQ(screwFiles, 1);  // the folder alone
    session.expectScriptDone();

    // An empty design saves header, root and head: 117 bytes.
    openNew();
    EXPECT_EQ(w.List3.listCount(), 0);  // the kept design is not brought back
    script().yes().chooseFile(path("empty.srw"));
    driver().click(w.Command6);
    const auto b = bytes(path("empty.srw"));
    ASSERT_EQ(b.size(), 117u);
    EXPECT_EQ(i16(b, 21), 0);
    EXPECT_EQ(f32(b, 25), 0.0f);
    EXPECT_EQ(text(b, 78, 17), padded("Screw Head", 16) + "h");
}

TEST_F(ScrewDesigner, EditExistingShowsTheSavedDesignAndBringsItBackWhenItsOnlyElementGoes) {
    // Kinds as stored: "S" from another writer counts as a conveying element.
    std::vector<records::ScrewRec> elements(3);
    elements[0].Code = "UP";
    elements[0].Kind = "S";
    elements[0].Length = 2;
    elements[0].Hand = -1;
    elements[1].Code = "MID";
    elements[1].Kind = "k";
    elements[1].Length = 1;
    elements[1].Hand = -1;
    elements[2].Code = "END";
    elements[2].Kind = "s";
    elements[2].Length = 0.5f;
    elements[2].Hand = 1;
    records::writeScrewFile(path("old.srw"), records::screwFileHeader("ZX40", 30, elements), elements);

    script().chooseFile(path("old.srw"));
    choose("mnuEscrew1");
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "Edit Existing Screw - ZX40 - " + path("old.srw"));
    EXPECT_EQ(w.List3.items(), (std::vector<std::string>{item(1, "S", "UP"), item(2, "K", "MID"), item(3, "S", "END")}));
    EXPECT_EQ(w.List3.listIndex(), 0);
    EXPECT_EQ(totals(), (std::vector<std::string>{"1.75", "2", "2", "3", "1"}));

    driver().click(w.Command3);
    driver().click(w.Command3);
    ASSERT_EQ(w.List3.listCount(), 1);
    driver().click(w.Command3);  // the only element: the file's design again
    EXPECT_EQ(shared::ScrewDesign.items(), elements);
    EXPECT_EQ(w.List3.listCount(), 3);
    EXPECT_EQ(w.List3.listIndex(), 0);

    // Saved elsewhere unchanged, the stored kind "S" included; the dialog
    // starts from the pattern, not from the edited file.
    driver().click(w.Command1);
    script().chooseFile(path("new.srw"));
    driver().click(w.Command4);
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "*.srw");
    const auto saved = records::readScrewFile(path("new.srw"));
    ASSERT_EQ(saved.size(), 7u);
    EXPECT_EQ(saved[2], elements[0]);
    EXPECT_EQ(saved[3], records::screwElementFrom(screw("SA", 30, 30)));  // behind the selected first
    EXPECT_EQ(saved[0].headerConveyingCount(), 3);
}

TEST_F(ScrewDesigner, LibraryRecordsWithoutADiameterAreLeftOutAndNamedOnce) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    records::writeScrewGeoFile(gs(), {screw("Z0", 30, 30, 1, 0), screw("SA", 30, 30), screw("ZN", 30, 30, 1, nan)});
    records::writeKneadGeoFile(gk(), {});
    script().ok("Left out, their screw diameter is 0 or no number: Z0, ZN.", "Design Screw");
    openNew();
    session.expectScriptDone();
    EXPECT_EQ(w.List1.items(), std::vector<std::string>{padded("SA", 16)});
    EXPECT_EQ(w.List2.listCount(), 0);  // an empty file lists nothing, not a blank item
    EXPECT_EQ(w.Text6.text(), "30.00");
    driver().click(w.Command1);
    EXPECT_EQ(shared::ScrewDesign.count(), 1);
}

TEST_F(ScrewDesigner, WithoutAScrewDiameterTheDesignerSaysSoAndStaysShut) {
    for (const std::vector<records::ScrewGeoRec>& lib :
         {std::vector<records::ScrewGeoRec>{}, std::vector<records::ScrewGeoRec>{screw("Z0", 30, 30, 1, 0)}}) {
        records::writeScrewGeoFile(gs(), lib);
        script().ok(std::nullopt, "Design Screw");
        openNew();
        session.expectScriptDone();
        EXPECT_NE(lastMessage().text.find("ZX40.gs"), std::string::npos) << lastMessage().text;
        EXPECT_FALSE(w.isLoaded());
    }
    std::filesystem::remove_all(dir() / "kneadgeo");
    records::writeScrewGeoFile(gs(), {screw("SA", 30, 30)});
    script().ok(std::nullopt, "Design Screw");
    openNew();
    EXPECT_NE(lastMessage().text.find("ZX40.gk cannot be read"), std::string::npos) << lastMessage().text;
    EXPECT_FALSE(w.isLoaded());
}

TEST_F(ScrewDesigner, AnEditedFileMustHoldAScrewDesign) {
    // Header, root and head: an empty design to edit.
    records::writeScrewFile(path("three.srw"), records::screwFileHeader("ZX40", 30, {}), {});
    script().chooseFile(path("three.srw"));
    choose("mnuEscrew1");
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.List3.listCount(), 0);
    driver().click(w.Command1);
    EXPECT_EQ(w.List3.items(), std::vector<std::string>{item(1, "S", "SA")});
    driver().click(w.Command3);  // the only element: the empty design of the file
    EXPECT_EQ(w.List3.listCount(), 0);
    script().no();
    driver().click(w.Command6);

    auto recs = records::readScrewFile(path("three.srw"));
    records::rewriteRecords(path("two.srw"), 39, std::vector<records::ScrewRec>(recs.begin(), recs.begin() + 2));
    recs[0].Kind = "x";
    records::rewriteRecords(path("nomarker.srw"), 39, recs);
    for (const char* file : {"two.srw", "nomarker.srw"}) {
        script().chooseFile(path(file)).ok("Incorrect file format!", "Design Screw");
        choose("mnuEscrew1");
        session.expectScriptDone();
        EXPECT_FALSE(w.isLoaded()) << file;
    }
}

TEST_F(ScrewDesigner, TheCodeAndFileOfTheLoadServeTheWholeDesign) {
    records::writeScrewGeoFile(path("screwgeo/OTHER.gs"), {screw("OA", 30, 30)});
    openNew();
    // Other commands change the current code and edited file meanwhile.
    shared::ExtruderCategory = "OTHER";
    shared::EditScrewFile = path("elsewhere.srw");
    driver().click(w.Command1);
    driver().click(w.Command3);  // the reload: still ZX40, still a new design
    EXPECT_EQ(w.caption(), "Design New Screw - ZX40");
    EXPECT_EQ(w.List1.list(0), padded("SA", 16));
    driver().click(w.Command1);
    script().chooseFile(path("zx.srw"));
    driver().click(w.Command4);
    EXPECT_EQ(records::readScrewFile(path("zx.srw")).at(0).Code.str(), padded("ZX40", 16));

    // A code that cannot name a file is refused before any file is opened.
    records::ScrewRec header = records::screwFileHeader("../x", 30, {});
    records::writeScrewFile(path("bad.srw"), header, {});
    script().chooseFile(path("bad.srw")).ok(std::nullopt, "Design Screw");
    choose("mnuEscrew1");
    EXPECT_NE(lastMessage().text.find("../x"), std::string::npos);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_FALSE(std::filesystem::exists(dir() / "x.gs"));
}

TEST_F(ScrewDesigner, AnAddBeyondTheLargestScrewFileIsRefused) {
    const std::vector<records::ScrewRec> most(DNScrew::kMostElements, records::screwElementFrom(screw("SA", 30, 30)));
    records::writeScrewFile(path("full.srw"), records::screwFileHeader("ZX40", 30, most), most);
    script().chooseFile(path("full.srw"));
    choose("mnuEscrew1");
    EXPECT_EQ(w.Text4.text(), "32764");
    script().ok("A screw holds at most 32764 elements.", "Design Screw");
    driver().click(w.Command1);
    session.expectScriptDone();
    EXPECT_EQ(shared::ScrewDesign.count(), 32764);
}

}  // namespace
