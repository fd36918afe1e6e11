// The three element editors as the user works them, from an empty element
// file through add, accept, edit, delete and done, and the bytes they write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "catalog/catalog_fixture.h"
#include "elements/build_barrel.h"
#include "elements/build_knead.h"
#include "elements/build_screw.h"
#include "records/design_files.h"

namespace {

float f32(const std::vector<std::uint8_t>& b, std::size_t o) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b.at(o + static_cast<std::size_t>(i))) << (8 * i);
    float v;
    std::memcpy(&v, &u, 4);
    return v;
}
int i16(const std::vector<std::uint8_t>& b, std::size_t o) {
    return static_cast<std::int16_t>(b.at(o) | (b.at(o + 1) << 8));
}

class Editors : public AppDirRun {
protected:
    void SetUp() override {
        AppDirRun::SetUp();
        shared::ExtruderCategory = "ZX40";
    }

    records::ScrewGeoRec screw(const std::string& code, float length, std::int16_t hand = 1) {
        records::ScrewGeoRec g;
        g.Code = code;
        g.Diameter = 40;
        g.CenterlineDistance = 33.4f;
        g.Tips = 2;
        g.Lead = 30;
        g.Length = length;
        g.Hand = hand;
        return g;
    }
    std::vector<std::string> codesIn(const std::string& rel) {
        std::vector<std::string> out;
        for (const auto& g : records::readScrewGeoFile(path(rel))) out.push_back(g.Code.rtrimmed());
        return out;
    }

    BuildScrew& bs = ui::form<BuildScrew>();
    BuildKnead& bk = ui::form<BuildKnead>();
    BuildBarrel& bb = ui::form<BuildBarrel>();
};

TEST_F(Editors, ScrewEditorFromAnEmptyFileToDone) {
    bs.show();
    ASSERT_TRUE(bs.isVisible());
    EXPECT_EQ(bs.caption(), "Build Screw Elements - ZX40");
    EXPECT_EQ(bs.List1.listCount(), 0);
    EXPECT_EQ(bs.Label9.caption(), "");
    EXPECT_EQ(bs.Combo1.text(), "Type");
    EXPECT_FALSE(bs.Command1.enabled());
    EXPECT_TRUE(bs.Command3.enabled());
    EXPECT_TRUE(bs.Command6.enabled());
    EXPECT_TRUE(exists("screwgeo/ZX40.gs"));  // created empty by the load

    driver.click(bs.Command3);  // Add
    EXPECT_EQ(bs.Label9.caption(), "1");
    EXPECT_EQ(bs.List1.items(), std::vector<std::string>{"1 : "});
    EXPECT_EQ(bs.Text7.text(), "");
    for (ui::TextBox* b : {&bs.Text2, &bs.Text3, &bs.Text6, &bs.Text4, &bs.Text5}) EXPECT_EQ(b->text(), "0");
    EXPECT_TRUE(bs.Command1.enabled());
    EXPECT_FALSE(bs.Command3.enabled());
    EXPECT_FALSE(bs.Command6.enabled());

    driver.replaceText(bs.Text7, "se-30/30 rh with a long name");
    driver.replaceText(bs.Text2, "40");
    driver.replaceText(bs.Text3, "33.4");
    driver.replaceText(bs.Text6, "2");
    driver.replaceText(bs.Text4, "30");
    driver.replaceText(bs.Text5, "60");
    driver.pickItem(bs.Combo1, "Right");
    driver.click(bs.Command1);  // Accept
    EXPECT_EQ(bs.List1.items(), std::vector<std::string>{"1 : SE-30/30 RH WITH"});
    EXPECT_FALSE(bs.Command1.enabled());
    EXPECT_TRUE(bs.Command3.enabled());

    driver.click(bs.Command3);
    driver.replaceText(bs.Text7, "se-20");
    driver.pickItem(bs.Combo1, "Left");
    driver.click(bs.Command1);
    EXPECT_EQ(bs.List1.list(1), "2 : SE-20           ");
    EXPECT_TRUE(bytes("screwgeo/ZX40.gs").empty());  // nothing written before Done

    script.yes("Building Screw Elements are sucessful. Exit to Mainmenu?", "Build Screw Elements");
    driver.click(bs.Command5);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kInformation);
    EXPECT_EQ(session.backend.messages().back().request.buttons, ui::kYesNo);
    EXPECT_FALSE(bs.isLoaded());

    auto b = bytes("screwgeo/ZX40.gs");
    ASSERT_EQ(b.size(), 72u);
    EXPECT_EQ(text(b, 0, 16), "SE-30/30 RH WITH");
    EXPECT_EQ(f32(b, 16), 40.0f);
    EXPECT_EQ(f32(b, 20), 33.4f);
    EXPECT_EQ(i16(b, 24), 2);
    EXPECT_EQ(f32(b, 26), 30.0f);
    EXPECT_EQ(f32(b, 30), 60.0f);
    EXPECT_EQ(i16(b, 34), 1);
    EXPECT_EQ(text(b, 36, 16), padded("SE-20", 16));
    EXPECT_EQ(f32(b, 36 + 16), 0.0f);
    EXPECT_EQ(i16(b, 36 + 34), -1);
}

TEST_F(Editors, ListClickEditAndAcceptChangeOneRecord) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), {screw("A", 10), screw("B", 20, -1), screw("C", 30)});
    bs.show();
    EXPECT_EQ(bs.List1.items(),
              (std::vector<std::string>{"1 : " + padded("A", 16), "2 : " + padded("B", 16), "3 : " + padded("C", 16)}));
    driver.selectItem(bs.List1, 1);
    EXPECT_EQ(bs.Label9.caption(), "2");
    EXPECT_EQ(bs.Text7.text(), padded("B", 16));
    EXPECT_EQ(bs.Text3.text(), "33.4");
    EXPECT_EQ(bs.Text5.text(), "20");
    EXPECT_EQ(bs.Combo1.text(), "Left");
    EXPECT_FALSE(bs.Command1.enabled());  // a click does not start editing

    driver.click(bs.Command6);  // Edit
    EXPECT_TRUE(bs.Command1.enabled());
    EXPECT_EQ(bs.List1.listIndex(), -1);
    driver.replaceText(bs.Text5, "25.5");
    driver.replaceText(bs.Text6, "3.5");  // Integer boxes round halves to even
    driver.click(bs.Command1);            // the hand shown by the click stays chosen
    script.yes();
    driver.click(bs.Command5);
    auto recs = records::readScrewGeoFile(path("screwgeo/ZX40.gs"));
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0], screw("A", 10));
    EXPECT_EQ(recs[1].Length, 25.5f);
    EXPECT_EQ(recs[1].Tips, 4);
    EXPECT_EQ(recs[1].Hand, -1);
    EXPECT_EQ(recs[1].Code.str(), padded("B", 16));
    EXPECT_EQ(recs[2], screw("C", 30));
}

TEST_F(Editors, AcceptWithoutAHandKeepsTheNumbersAndStaysInEditing) {
    bs.show();
    driver.click(bs.Command3);
    driver.replaceText(bs.Text7, "x1");
    driver.replaceText(bs.Text6, "2.5");
    script.ok("Select Screw Sign", "Build Screw Elements");
    driver.click(bs.Command1);
    session.expectScriptDone();
    EXPECT_EQ(bs.List1.list(0), "1 : ");  // not refilled
    EXPECT_TRUE(bs.Command1.enabled());
    ASSERT_EQ(bs.elements().size(), 1u);
    EXPECT_EQ(bs.elements()[0].Code.rtrimmed(), "X1");
    EXPECT_EQ(bs.elements()[0].Tips, 2);
    EXPECT_EQ(bs.elements()[0].Hand, 0);
    driver.pickItem(bs.Combo1, "Left");
    driver.click(bs.Command1);
    EXPECT_EQ(bs.elements()[0].Hand, -1);
    EXPECT_EQ(bs.List1.list(0), "1 : " + padded("X1", 16));
}

TEST_F(Editors, ABoxWithoutANumberStoresNothingAndSaysWhich) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), {screw("A", 10)});
    bs.show();
    driver.selectItem(bs.List1, 0);
    driver.click(bs.Command6);
    driver.replaceText(bs.Text7, "changed");
    const std::vector<std::pair<ui::TextBox*, std::string>> bad = {
        {&bs.Text2, "Screw Diameter"}, {&bs.Text3, "Center Line Distance"}, {&bs.Text6, "Number of Tips"},
        {&bs.Text4, "Screw Lead"},     {&bs.Text5, "Element Length"}};
    for (const auto& [box, what] : bad) {
        const std::string before = box->text();
        for (const char* typed : {"abc", "", "1e60", "12x"}) {
            driver.replaceText(*box, typed);
            script.answer(ui::kOk, std::nullopt, "Build Screw Elements");
            driver.click(bs.Command1);
            session.expectScriptDone();
            const std::string& msg = session.backend.messages().back().request.text;
            EXPECT_NE(msg.find(what), std::string::npos) << msg;
            EXPECT_EQ(bs.elements()[0], screw("A", 10)) << what << " " << typed;
            EXPECT_TRUE(bs.Command1.enabled());
        }
        driver.replaceText(*box, before);
    }
    driver.replaceText(bs.Text6, "40000");
    script.answer(ui::kOk, "The Number of Tips \"40000\" is not a whole number from -32768 to 32767.",
                  "Build Screw Elements");
    driver.click(bs.Command1);
    driver.replaceText(bs.Text6, "2");
    driver.click(bs.Command1);  // good again: stored
    EXPECT_EQ(bs.elements()[0].Code.rtrimmed(), "CHANGED");
    EXPECT_FALSE(bs.Command1.enabled());
}

TEST_F(Editors, DeleteRenumbersAndCanEmptyTheList) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"),
                               {screw("A", 1), screw("B", 2), screw("C", 3), screw("D", 4), screw("E", 5)});
    bs.show();
    script.ok("Select item!", "Build Screw Elements");
    driver.click(bs.Command4);
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kCritical);
    script.ok("Select Screw Code", "Build Screw Elements");
    driver.click(bs.Command6);
    session.expectScriptDone();

    driver.selectItem(bs.List1, 1);
    driver.click(bs.Command4);
    EXPECT_EQ(bs.List1.items(), (std::vector<std::string>{"1 : " + padded("A", 16), "2 : " + padded("C", 16),
                                                          "3 : " + padded("D", 16), "4 : " + padded("E", 16)}));
    while (bs.List1.listCount() > 0) {
        driver.selectItem(bs.List1, 0);
        driver.click(bs.Command4);
    }
    EXPECT_TRUE(bs.elements().empty());
    // Add still works on the emptied list, and Done writes what is there.
    driver.click(bs.Command3);
    EXPECT_EQ(bs.Label9.caption(), "1");
    script.yes();
    driver.click(bs.Command5);
    // Added and never accepted: an empty (never set) code, numbers and hand 0.
    auto b = bytes("screwgeo/ZX40.gs");
    ASSERT_EQ(b.size(), 36u);
    for (std::size_t o = 0; o < 36; ++o) EXPECT_EQ(b[o], 0) << o;

    bs.show();
    driver.selectItem(bs.List1, 0);
    driver.click(bs.Command4);
    script.yes();
    driver.click(bs.Command5);
    EXPECT_TRUE(bytes("screwgeo/ZX40.gs").empty());
}

TEST_F(Editors, AddAtTheMostRecordsAFileHoldsSaysWhy) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), std::vector<records::ScrewGeoRec>(32767, screw("A", 1)));
    bs.show();
    script.ok("An element file holds at most 32767 elements.", "Build Screw Elements");
    driver.click(bs.Command3);
    session.expectScriptDone();
    EXPECT_EQ(bs.elements().size(), 32767u);
}

TEST_F(Editors, DeletingTheShownRecordEndsEditingSoAcceptCannotMissARecord) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), {screw("A", 1), screw("B", 2), screw("C", 3)});
    bs.show();
    driver.selectItem(bs.List1, 2);
    driver.click(bs.Command6);  // editing record 3
    driver.selectItem(bs.List1, 2);
    driver.click(bs.Command4);  // record 3 goes: the label named a record that no longer exists
    EXPECT_EQ(bs.Label9.caption(), "");
    EXPECT_FALSE(bs.Command1.enabled());
    EXPECT_TRUE(bs.Command3.enabled());
    EXPECT_TRUE(bs.Command6.enabled());
    ASSERT_EQ(bs.elements().size(), 2u);

    // The boxes still hold the deleted record; Add starts afresh.
    driver.click(bs.Command3);
    EXPECT_EQ(bs.Label9.caption(), "3");
    EXPECT_EQ(bs.Text7.text(), "");
}

// Every editor through its own buttons and record label: deleting the
// record being edited ends editing, Edit and Accept then change exactly the
// record chosen, and Done writes what is left.
TEST_F(Editors, EachEditorEditsAndDeletesThroughItsOwnControls) {
    struct Rig {
        ui::Form* form;
        ui::ListBox* list;
        ui::Label* number;
        ui::CommandButton *accept, *edit, *add, *del, *done;
        ui::TextBox* length;
        ui::ComboBox* choice;
        std::function<std::vector<std::pair<std::string, float>>()> stored;
    };
    auto pairs = [](const auto& recs) {
        std::vector<std::pair<std::string, float>> out;
        for (const auto& r : recs) out.emplace_back(r.Code.rtrimmed(), r.Length);
        return out;
    };
    std::vector<records::KneadGeoRec> kneads(3);
    std::vector<records::BarrelRec> blocks(3);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string code(1, static_cast<char>('A' + i));
        kneads[i].Code = code;
        kneads[i].Length = static_cast<float>(i + 1);
        blocks[i].Code = code;
        blocks[i].Length = static_cast<float>(i + 1);
    }
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), {screw("A", 1), screw("B", 2), screw("C", 3)});
    records::writeKneadGeoFile(path("kneadgeo/ZX40.gk"), kneads);
    records::writeBarrelGeoFile(path("brlkgeo/ZX40.gb"), blocks);
    const std::vector<Rig> rigs = {
        {&bs, &bs.List1, &bs.Label9, &bs.Command1, &bs.Command6, &bs.Command3, &bs.Command4, &bs.Command5, &bs.Text5,
         &bs.Combo1, [&] { return pairs(records::readScrewGeoFile(path("screwgeo/ZX40.gs"))); }},
        {&bk, &bk.List1, &bk.Label10, &bk.Command1, &bk.Command6, &bk.Command3, &bk.Command4, &bk.Command5,
         &bk.Text5, &bk.Combo1, [&] { return pairs(records::readKneadGeoFile(path("kneadgeo/ZX40.gk"))); }},
        {&bb, &bb.List1, &bb.Label7, &bb.Accept, &bb.Command1, &bb.Command3, &bb.Command4, &bb.Command5, &bb.Text5,
         &bb.Combo1, [&] { return pairs(records::readBarrelGeoFile(path("brlkgeo/ZX40.gb"))); }},
    };
    auto editing = [](const Rig& w) {
        return w.accept->enabled() && !w.add->enabled() && !w.edit->enabled();
    };
    auto browsing = [](const Rig& w) {
        return !w.accept->enabled() && w.add->enabled() && w.edit->enabled();
    };
    using P = std::pair<std::string, float>;
    for (const Rig& w : rigs) {
        SCOPED_TRACE(w.form->className());
        w.form->show();
        EXPECT_TRUE(browsing(w));
        driver.selectItem(*w.list, 2);
        driver.click(*w.edit);
        EXPECT_EQ(w.number->caption(), "3");
        EXPECT_TRUE(editing(w));
        driver.selectItem(*w.list, 2);
        driver.click(*w.del);
        EXPECT_EQ(w.number->caption(), "");
        EXPECT_TRUE(browsing(w));
        EXPECT_EQ(w.list->listCount(), 2);

        driver.selectItem(*w.list, 0);
        EXPECT_EQ(w.number->caption(), "1");
        driver.click(*w.edit);
        EXPECT_TRUE(editing(w));
        driver.replaceText(*w.length, "7.5");
        driver.pickItem(*w.choice, 1);
        driver.click(*w.accept);
        EXPECT_TRUE(browsing(w));
        script.yes();
        driver.click(*w.done);
        EXPECT_FALSE(w.form->isLoaded());
        EXPECT_EQ(w.stored(), (std::vector<P>{{"A", 7.5f}, {"B", 2.0f}}));
    }
    session.expectScriptDone();
}

TEST_F(Editors, CancelCloseBoxAndNoWriteNothing) {
    records::writeScrewGeoFile(path("screwgeo/ZX40.gs"), {screw("A", 1)});
    const auto before = bytes("screwgeo/ZX40.gs");
    bs.show();
    driver.click(bs.Command3);
    script.no("Building Screw Elements are sucessful. Exit to Mainmenu?");
    driver.click(bs.Command5);
    EXPECT_TRUE(bs.isVisible());
    EXPECT_EQ(bs.elements().size(), 2u);
    driver.click(bs.Command2);
    EXPECT_FALSE(bs.isLoaded());
    EXPECT_EQ(bytes("screwgeo/ZX40.gs"), before);

    bs.show();
    EXPECT_EQ(bs.List1.listCount(), 1);
    driver.selectItem(bs.List1, 0);
    driver.click(bs.Command4);
    driver.closeBox(bs);
    EXPECT_FALSE(bs.isLoaded());
    EXPECT_EQ(bytes("screwgeo/ZX40.gs"), before);

    for (ui::Form* f : std::vector<ui::Form*>{&bk, &bb}) {
        f->show();
        driver.closeBox(*f);
    }
    EXPECT_TRUE(bytes("kneadgeo/ZX40.gk").empty());
    EXPECT_TRUE(bytes("brlkgeo/ZX40.gb").empty());
}

TEST_F(Editors, KneadingEditorRoad) {
    bk.show();
    EXPECT_EQ(bk.caption(), "Build Kneading Elements - ZX40");
    EXPECT_EQ(bk.Frame1.caption(), "Kneading codes");
    EXPECT_EQ(bk.Combo1.text(), "Sign");
    EXPECT_EQ(bk.List1.listCount(), 0);
    script.ok("Select Kneading Code", "Build Kneading Disk Elements");
    driver.click(bk.Command6);
    driver.click(bk.Command3);
    EXPECT_EQ(bk.Label10.caption(), "1");
    driver.replaceText(bk.Text8, "kb45/5/20");
    driver.replaceText(bk.Text2, "40");
    driver.replaceText(bk.Text3, "33.4");
    driver.replaceText(bk.Text6, "2");
    driver.replaceText(bk.Text4, "45");
    driver.replaceText(bk.Text5, "20");
    driver.replaceText(bk.Text7, "5");
    script.ok("Select Handness of Element.", "Build Kneading Elements");
    driver.click(bk.Command1);
    driver.replaceText(bk.Text7, "x");
    script.answer(ui::kOk, "The Number of Disks \"x\" is not a number.", "Build Kneading Elements");
    driver.click(bk.Command1);
    driver.replaceText(bk.Text7, "5");
    driver.pickItem(bk.Combo1, 0);
    driver.click(bk.Command1);
    EXPECT_EQ(bk.List1.list(0), "1 : " + padded("KB45/5/20", 16));
    driver.selectItem(bk.List1, 0);
    EXPECT_EQ(bk.Combo1.text(), "Left");
    EXPECT_EQ(bk.Text4.text(), "45");
    script.yes("Building kneading Elements are sucessful. Exit to Mainmenu?", "Build Kneading Elements");
    driver.click(bk.Command5);
    session.expectScriptDone();

    auto b = bytes("kneadgeo/ZX40.gk");
    ASSERT_EQ(b.size(), 38u);
    EXPECT_EQ(text(b, 0, 16), padded("KB45/5/20", 16));
    EXPECT_EQ(f32(b, 16), 40.0f);
    EXPECT_EQ(f32(b, 20), 33.4f);
    EXPECT_EQ(i16(b, 24), 2);
    EXPECT_EQ(f32(b, 26), 45.0f);
    EXPECT_EQ(f32(b, 30), 20.0f);
    EXPECT_EQ(i16(b, 34), 5);
    EXPECT_EQ(i16(b, 36), -1);
}

TEST_F(Editors, BarrelEditorRoad) {
    bb.show();
    EXPECT_EQ(bb.caption(), "Build Barrel Elements - ZX40");
    EXPECT_EQ(bb.Combo1.text(), "Type");
    EXPECT_EQ(bb.Combo1.items(), (std::vector<std::string>{"Hopper", "Plane", "Vent"}));
    EXPECT_FALSE(bb.Accept.enabled());
    driver.click(bb.Command3);
    EXPECT_EQ(bb.Label7.caption(), "1");
    driver.replaceText(bb.Text7, "vent block 160mm");
    driver.replaceText(bb.Text3, "40.2");
    driver.replaceText(bb.Text4, "33.4");
    driver.replaceText(bb.Text5, "160");
    driver.replaceText(bb.Text2, "60");
    driver.replaceText(bb.Text1, "80");
    script.ok("Select Barrel Block Type.", "Build Barrel Elements");
    driver.click(bb.Accept);
    driver.pickItem(bb.Combo1, "Vent");
    driver.click(bb.Accept);
    EXPECT_EQ(bb.List1.list(0), "1 : VENT BLOCK 160M");  // 15 characters
    driver.click(bb.Command3);  // a second block, left as added
    script.yes("Building barrel Elements are sucessful. Exit to Mainmenu?", "Build Barrel Elements");
    driver.click(bb.Command5);
    session.expectScriptDone();

    auto b = bytes("brlkgeo/ZX40.gb");
    ASSERT_EQ(b.size(), 72u);
    EXPECT_EQ(text(b, 0, 15), "VENT BLOCK 160M");
    EXPECT_EQ(f32(b, 15), 40.2f);
    EXPECT_EQ(f32(b, 19), 33.4f);
    EXPECT_EQ(text(b, 23, 1), "V");
    EXPECT_EQ(f32(b, 24), 160.0f);
    EXPECT_EQ(f32(b, 28), 60.0f);
    EXPECT_EQ(f32(b, 32), 80.0f);
    for (std::size_t o = 36; o < 72; ++o) EXPECT_EQ(b[o], 0) << o;  // added, never accepted

    // A lower-case type shows as its item.
    records::BarrelRec h;
    h.Code = "H1";
    h.Type = "h";
    records::writeBarrelGeoFile(path("brlkgeo/ZX40.gb"), {h});
    bb.show();
    driver.selectItem(bb.List1, 0);
    EXPECT_EQ(bb.Combo1.text(), "Hopper");
    EXPECT_EQ(bb.Combo1.listIndex(), 0);
}

TEST_F(Editors, TruncatedAndGarbageElementFilesOpen) {
    std::vector<std::uint8_t> garbage(60);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(0xFF - i * 7);
    put("screwgeo/ZX40.gs", garbage);  // 1.67 records: 2, the second partly there
    put("kneadgeo/ZX40.gk", std::vector<std::uint8_t>(garbage.begin(), garbage.begin() + 10));  // 0 records
    put("brlkgeo/ZX40.gb", std::vector<std::uint8_t>(garbage.begin(), garbage.begin() + 50));
    bs.show();
    EXPECT_EQ(bs.List1.listCount(), 2);
    for (int i = 0; i < 2; ++i) {
        driver.selectItem(bs.List1, i);
        driver.click(bs.Command6);
        driver.pickItem(bs.Combo1, 1);
        driver.click(bs.Command1);
    }
    bk.show();
    EXPECT_EQ(bk.List1.listCount(), 0);
    bb.show();
    EXPECT_EQ(bb.List1.listCount(), 1);
    driver.selectItem(bb.List1, 0);
    script.yes();
    driver.click(bs.Command5);
    EXPECT_EQ(bytes("screwgeo/ZX40.gs").size(), 72u);
}

TEST_F(Editors, ACodeThatCannotNameAFileOpensNoEditor) {
    shared::ExtruderCategory = "../ZX";
    for (ui::Form* f : std::vector<ui::Form*>{&bs, &bk, &bb}) {
        script.answer(ui::kOk);
        f->show();
        EXPECT_FALSE(f->isLoaded()) << f->className();
    }
    session.expectScriptDone();
    EXPECT_FALSE(exists("ZX.gs"));
    EXPECT_FALSE(exists("ZX.gk"));
    EXPECT_FALSE(exists("ZX.gb"));
}

}  // namespace
