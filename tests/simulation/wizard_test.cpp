// The parameter wizard as a user walks it, headless: each box's check at its
// edge, the pages' captions, the save and the hand-over to the calculation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/io/files.h"
#include "records/files.h"
#include "simulation/core.h"
#include "simulation/gparameter.h"
#include "simulation/parameter_file.h"
#include "state/state.h"
#include "tools/demo_model.h"

namespace {

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

float singleAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return records::PackReader(bytes.data() + at, 4).f32();
}

class Wizard : public ::testing::Test {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-wizard-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::filesystem::create_directory(dir_ / "temp");
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
        // As the analysis of a two-port extruder leaves them.
        shared::PortCount = 2;
        shared::ExtruderCategory = "LAB30";
        shared::ExtruderFile = path("lab.ext");
        shared::DieFile = path("lab.die");
        shared::AnalysedScrewRadius = 15;
        shared::AnalysedTipCount = 2;
        shared::EndZoneLength = 0.577f;
        sim::CenterlineRatio = 1.7333f;
        // Values a user entered before: the box each page opens in accepts
        // its value when Next >> takes the focus from it.
        shared::ParameterHeader.ScrewSpeed = 120;
        shared::SolidsParams.BulkDensity = 0.5f;
        shared::MeltingParams.Density = 0.8f;
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Types into a box and leaves it for the page's Next button (without a
    // click); a rejected entry shows its message and keeps the focus.
    void enter(ui::Form& page, ui::TextBox& box, const std::string& text, const std::string& rejected = {}) {
        SCOPED_TRACE(page.className() + "." + box.name() + " \"" + text + "\"");
        s.driver.replaceText(box, text);
        if (text.empty()) s.driver.pressKey(box, 46);  // Delete: the selection goes
        if (!rejected.empty()) s.script.ok(rejected, "Input parameter");
        EXPECT_EQ(s.driver.setFocus(*page.control("Command2")), rejected.empty());
        s.expectScriptDone();
        EXPECT_EQ(page.activeControl() == &box, !rejected.empty());
    }
    // A rejected entry, then (if given) one the box accepts.
    void refuse(ui::Form& page, ui::TextBox& box, const std::string& text, const std::string& message,
                const std::string& accepted = {}) {
        enter(page, box, text, message);
        if (!accepted.empty()) enter(page, box, accepted);
    }
    // Solids and melting values a user entered before, which their pages
    // accept, and a port page filled with a whole melt stream of this flow.
    static void enterSolidsAndMelting() {
        shared::SolidsParams = demo::demoParameters().solids;
        shared::MeltingParams = demo::demoParameters().melting;
    }
    static void fillPort(Gparameter4& p4, float flow) {
        records::PortRecord& r = shared::PortRecords.at(p4.currentPort());
        r = demo::demoParameters().ports.at(1);
        r.FlowRate = flow;
        p4.ShowPortRecord();
    }
    // From the first page to the first port page with Next >>.
    Gparameter4& walkToPorts() {
        ui::form<Gparameter1>().show();
        s.driver.click(ui::form<Gparameter1>().Command2);
        s.driver.click(ui::form<Gparameter2>().Command2);
        s.driver.click(ui::form<Gparameter3>().Command2);
        return ui::form<Gparameter4>();
    }

    headless::Session s;
    std::filesystem::path dir_;
};

TEST_F(Wizard, EveryBoxChecksItsEntryAtTheEdgeOfItsLimit) {
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    const std::string speed = "Screw speed too small. You have to re-input.";
    refuse(p1, p1.Text1, "0.01", speed);  // 0.0099999998 as a single
    refuse(p1, p1.Text1, "", speed);
    refuse(p1, p1.Text1, "1 2", "Illegel number. Standard correction is made.");
    refuse(p1, p1.Text1, "1e39", "Over Flow. You may have to re-input the number.", "120");
    refuse(p1, p1.Text2, "-0.0001", "Negative Die Pressure not accepted.");
    enter(p1, p1.Text2, "");
    EXPECT_EQ(shared::ParseStatus, 1);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 120);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.DiePressure, 0);
    s.driver.click(p1.Command2);
    EXPECT_FALSE(p1.isLoaded());

    Gparameter2& p2 = ui::form<Gparameter2>();
    EXPECT_EQ(p2.caption(), "General Parameter - step 2");
    const std::string order = "Screw friction coefficient must be less than barrel friction coefficient.";
    const std::string range = "Friction coefficient must be in the range 0-1.";
    refuse(p2, p2.Text1, "0.01", "Zero density not accepted.", "0.5");
    refuse(p2, p2.Text2, "0", "Zeor or minus heat capacity not accpeted.", "2");
    refuse(p2, p2.Text3, "-1", "Zero conductivity not accepted", "0.2");
    enter(p2, p2.Text4, "0.5");  // the screw friction still 0: any barrel friction in range goes
    refuse(p2, p2.Text5, "0.5", order);
    refuse(p2, p2.Text5, "1", range, "0.3");
    refuse(p2, p2.Text4, "0.3", order);
    refuse(p2, p2.Text4, "0", range, "0.45");
    enter(p2, p2.Text8, "200");
    EXPECT_FLOAT_EQ(shared::SolidsParams.BarrelFriction, 0.45f);
    EXPECT_FLOAT_EQ(shared::SolidsParams.ScrewFriction, 0.3f);
    s.driver.click(p2.Command2);

    Gparameter3& p3 = ui::form<Gparameter3>();
    refuse(p3, p3.Text1, "0", "Zero density not accepted.", "0.8");
    refuse(p3, p3.Text2, "0", "Zero or minus heat capacity not accepted.", "2.2");
    refuse(p3, p3.Text3, "200.5", "Melting Temperature should be smaller than barrel Temperature.", "200");
    refuse(p3, p3.Text4, "-1", "Negative Heat of Fusion not accepted.", "0");
    s.driver.click(p3.Command2);

    Gparameter4& p4 = ui::form<Gparameter4>();
    EXPECT_EQ(p4.caption(), "General Parameter - step 4");
    EXPECT_EQ(p4.Label1.caption(), "Flow Rate through Port 1(kg/hr)");
    EXPECT_EQ(p4.Command2.caption(), "Next >>");
    const std::string index = "Powe law index nust be in the range of 0.1-1.0";
    const std::string noVolumeLeft =
        "Flow rate not accepted. The total volume flow (each flow over its density) must stay above 0 and finite.";
    refuse(p4, p4.Text1, "0", "Flow rate too small. You have to re-input.", "10");
    refuse(p4, p4.Text2, "0", "Zero density not accepted.", "0.75");
    // 10 kg/hr at 1e-38 g/cm^3 is 1e39 l/hr, more than a single holds.
    enter(p4, p4.Text2, "1e-38");
    refuse(p4, p4.Text1, "10", noVolumeLeft, "1e-30");
    enter(p4, p4.Text2, "0.75");
    enter(p4, p4.Text1, "10");
    refuse(p4, p4.Text3, "0", "Zeor or minus heat capacity not accepted.", "2.2");
    refuse(p4, p4.Text6, "0", "Zero or minus consistency not accepted.", "5");
    refuse(p4, p4.Text7, "0.09", index);
    refuse(p4, p4.Text7, "1.01", index, "0.1");
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).PowerLawIndex, 0.1f);
    enter(p4, p4.Text7, "1");
    refuse(p4, p4.Text10, "199.9", "Barrel Temperature should be greater than Melting Temperature.", "200");
    s.driver.click(p4.Command2);
    EXPECT_EQ(p4.caption(), "General Parameter - step 5");
    EXPECT_EQ(p4.Label1.caption(), "Flow Rate through Port 2(kg/hr)");
    EXPECT_EQ(p4.Label2.caption(), "Density of input stream through port 1 (g/cm^3)");
    EXPECT_EQ(p4.Command2.caption(), "Done !");
    EXPECT_EQ(p4.Text1.text(), "0");
    EXPECT_EQ(p4.activeControl(), &p4.Text1);  // the next port's page starts at its first box
    EXPECT_EQ(p4.Text1.selLength(), 1);
    enter(p4, p4.Text1, "0");  // only port 1 needs a flow
    // A vent may remove melt, as long as some flow is left after it.
    refuse(p4, p4.Text1, "-10", "Flow rate too small. The total flow must stay above 0.");
    enter(p4, p4.Text1, "-2");
    EXPECT_FLOAT_EQ(shared::PortRecords.at(2).FlowRate, -2);
    // ... and some volume: port 1 gives 13.33 l/hr (10 kg/hr at 0.75 g/cm^3),
    // more than the vent may take: 9 kg/hr at 0.5 is 18 l/hr, 7 at 0.3 23.33,
    // while 1 and 3 kg/hr of mass are left. 5 at 0.375 takes all of it: 5 /
    // 0.375 and 10 / 0.75 are the same single.
    enter(p4, p4.Text2, "0.5");
    refuse(p4, p4.Text1, "-9", noVolumeLeft, "-5");
    enter(p4, p4.Text2, "0.375");
    refuse(p4, p4.Text1, "-5", noVolumeLeft, "-4.5");
    // A density entered after the flow: Done ! refuses the flow, writing nothing.
    enter(p4, p4.Text2, "0.3");
    s.script.ok(noVolumeLeft, "Input parameter");
    s.driver.click(p4.Command2);
    s.expectScriptDone();
    EXPECT_EQ(p4.activeControl(), &p4.Text1);
    EXPECT_FALSE(io::fileExists(path("temp/Calc1.tmp")));
    refuse(p4, p4.Text1, "-7", noVolumeLeft);
    enter(p4, p4.Text1, "2.5");
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).FlowRate, 10);
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).PowerLawIndex, 1);
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).BarrelTemperature, 200);
    EXPECT_FLOAT_EQ(shared::PortRecords.at(2).FlowRate, 2.5f);
}

TEST_F(Wizard, ARejectedEntryKeepsTheFocusAndTheStoredValue) {
    shared::ParameterHeader.ScrewSpeed = 100;
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    // Opens in Text1 with its text selected; tab order boxes, Next, Cancel.
    EXPECT_EQ(p1.activeControl(), &p1.Text1);
    EXPECT_EQ(p1.Text1.text(), "100");
    EXPECT_EQ(p1.Text1.selLength(), 3);
    EXPECT_EQ(p1.tabOrder(), (std::vector<ui::Control*>{&p1.Text1, &p1.Text2, &p1.Command2, &p1.Command1}));

    // Two bad boxes in a row: the one left speaks, the other is never entered.
    p1.Text2.setText("x");
    s.driver.replaceText(p1.Text1, "0");
    s.script.ok("Screw speed too small. You have to re-input.");
    EXPECT_FALSE(s.driver.setFocus(p1.Text2));
    s.expectScriptDone();
    EXPECT_EQ(p1.activeControl(), &p1.Text1);
    EXPECT_EQ(p1.Text1.selLength(), 1);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 100);

    // Down and Up move through the boxes; a bad entry stops them too.
    s.driver.replaceText(p1.Text1, "150");
    s.driver.pressKey(p1.Text1, ui::kKeyDown);
    EXPECT_EQ(p1.activeControl(), &p1.Text2);
    s.script.ok("Illegel number. Standard correction is made.");
    s.driver.pressKey(p1.Text2, ui::kKeyUp);
    EXPECT_EQ(p1.activeControl(), &p1.Text2);
    s.driver.replaceText(p1.Text2, "1.5");
    s.driver.pressKey(p1.Text2, ui::kKeyUp);
    EXPECT_EQ(p1.activeControl(), &p1.Text1);

    // Cancel keeps what was accepted.
    s.driver.click(p1.Command1);
    EXPECT_FALSE(p1.isLoaded());
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 150);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.DiePressure, 1.5f);
}

TEST_F(Wizard, CancelIsReachedWhateverTheBoxBeingLeftHolds) {
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    s.driver.replaceText(p1.Text1, "0");
    // Up from the first box goes round to Cancel without a word; the box is
    // checked when the focus moves on from there to another box.
    s.driver.pressKey(p1.Text1, ui::kKeyUp);
    EXPECT_EQ(p1.activeControl(), &p1.Command1);
    s.script.ok("Screw speed too small. You have to re-input.");
    EXPECT_FALSE(s.driver.setFocus(p1.Text2));
    s.expectScriptDone();
    EXPECT_EQ(p1.activeControl(), &p1.Text1);
    s.driver.click(p1.Command1);
    EXPECT_FALSE(p1.isLoaded());
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 120);
}

TEST_F(Wizard, DoneSavesTheParameterFileAndTheHandOverOrKeepsThePageOpen) {
    shared::PortCount = 1;
    enterSolidsAndMelting();
    Gparameter4& p4 = walkToPorts();
    fillPort(p4, 0);
    enter(p4, p4.Text1, "10");
    // The only port page keeps "Next >>"; its first press saves. A new set
    // asks for a name; Cancel writes nothing and keeps the page.
    s.script.cancelFile(ui::FileDialogKind::Save);
    s.driver.click(p4.Command2);
    EXPECT_EQ(s.backend.fileDialogs().back().filter, "Parameter files(*.prm)|*.prm");
    EXPECT_EQ(shared::ParameterFile, "");
    EXPECT_TRUE(p4.isVisible());
    EXPECT_EQ(p4.caption(), "General Parameter - step 4");
    EXPECT_EQ(p4.Command2.caption(), "Next >>");
    // The page still edits port 1, and the next press saves again.
    enter(p4, p4.Text1, "12");
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).FlowRate, 12);

    // A path the calculation cannot take is refused before anything is written.
    const std::string longName = path(std::string(130, 'p') + ".prm");
    s.script.chooseFile(longName);
    s.script.ok("Path too long for the calculation (at most 126 characters):\n" + longName, "Caution");
    s.driver.click(p4.Command2);
    EXPECT_FALSE(io::fileExists(path("temp/Calc1.tmp")));

    const std::string prm = path("run.prm");
    s.script.no().chooseFile(prm).ok("Parameterfile was created!", "Input parameter");
    s.driver.click(p4.Command2);
    s.expectScriptDone();
    EXPECT_FALSE(p4.isLoaded());
    EXPECT_EQ(shared::PortRecords.count(), 0);
    std::vector<std::uint8_t> bytes = fileBytes(prm);
    ASSERT_EQ(bytes.size(), 85u + 44u);
    EXPECT_EQ(bytes[0], 6);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 9), "LAB30   ");
    EXPECT_FLOAT_EQ(singleAt(bytes, 11), 120);
    EXPECT_FLOAT_EQ(singleAt(bytes, 29), 0.5f);
    EXPECT_FLOAT_EQ(singleAt(bytes, 85), 12);
    // The hand-over: nine values, each at the start of its 128-byte record.
    const std::vector<std::uint8_t> calc1 = fileBytes(path("temp/Calc1.tmp"));
    ASSERT_EQ(calc1.size(), 9u * 128u);
    EXPECT_FLOAT_EQ(singleAt(calc1, 0), 15);
    EXPECT_EQ(records::PackReader(calc1.data() + 384, 2).i16(), 1);
    EXPECT_EQ(records::PackReader(calc1.data() + 5 * 128, 2).i16(), static_cast<int>(prm.size()));
    EXPECT_EQ(std::string(calc1.begin() + 5 * 128 + 2, calc1.begin() + 5 * 128 + 2 + prm.size()), prm);
    EXPECT_EQ(sim::readCalc1File(path("temp/Calc1.tmp")).DieFile, path("lab.die"));

    // Retrieved, shown, and written over from its start: a longer old file
    // keeps its tail.
    std::ofstream(prm, std::ios::app) << "TAIL";
    shared::ParameterHeader = {};
    shared::ParameterFile = prm;
    walkToPorts();
    EXPECT_EQ(p4.Text1.text(), "12");
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 120);
    s.script.yes("Parameterfile is already exist. Overwrite ?").ok("Parameterfile was created!");
    s.driver.click(p4.Command2);
    bytes = fileBytes(prm);
    ASSERT_EQ(bytes.size(), 85u + 44u + 4u);
    EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "TAIL");
    // No, then that same file chosen: Save As asks before replacing it.
    walkToPorts();
    s.script.no("Parameterfile is already exist. Overwrite ?", "Setting Parameter").chooseFile(prm);
    s.script.yes(prm + " already exists.\nDo you want to replace it?").ok("Parameterfile was created!");
    s.driver.click(p4.Command2);

    // A target that cannot be written.
    std::filesystem::create_directory(path("dir.prm"));
    walkToPorts();
    s.script.no().chooseFile(path("dir.prm")).ok("You can't overwrite. Maybe Read Only file!");
    s.driver.click(p4.Command2);
    EXPECT_TRUE(p4.isVisible());
    s.expectScriptDone();

    // The extruder analysed again with two ports while the page is open: Next
    // leads to a second port, which starts empty.
    shared::PortCount = 2;
    s.driver.click(p4.Command2);
    EXPECT_EQ(p4.caption(), "General Parameter - step 5");
    EXPECT_EQ(p4.Command2.caption(), "Done !");
    EXPECT_EQ(p4.Text1.text(), "0");
    EXPECT_FLOAT_EQ(shared::PortRecords.at(1).FlowRate, 12);
}

TEST_F(Wizard, ACancelledSaveAsWritesNothingAndKeepsTheFileName) {
    shared::PortCount = 1;
    enterSolidsAndMelting();
    const std::string prm = path("run.prm");
    shared::ParameterFile = prm;
    Gparameter4& p4 = walkToPorts();
    fillPort(p4, 10);
    s.script.no("Parameterfile is already exist. Overwrite ?").cancelFile(ui::FileDialogKind::Save);
    s.driver.click(p4.Command2);
    s.expectScriptDone();
    EXPECT_EQ(shared::ParameterFile, prm);
    EXPECT_TRUE(p4.isVisible());
    // The next Done ! asks about that file, and Yes writes it.
    s.script.yes("Parameterfile is already exist. Overwrite ?").ok("Parameterfile was created!");
    s.driver.click(p4.Command2);
    EXPECT_EQ(fileBytes(prm).size(), 85u + 44u);
    // No, then that same file chosen and its replacing declined: nothing is
    // written and the page stays.
    walkToPorts();
    fillPort(p4, 20);
    s.script.no("Parameterfile is already exist. Overwrite ?").chooseFile(prm);
    s.script.no(prm + " already exists.\nDo you want to replace it?", "Save As");
    s.driver.click(p4.Command2);
    s.expectScriptDone();
    EXPECT_FLOAT_EQ(singleAt(fileBytes(prm), 85), 10);
    EXPECT_TRUE(p4.isVisible());
}

TEST_F(Wizard, OnlyAWholeParameterFileIsTakenIn) {
    const std::string prm = path("old.prm");
    sim::ParameterSet set;
    set.header.Marker = records::markerFor(records::FileKind::Parameter);
    set.header.Code = "OTHER";
    set.header.ScrewSpeed = 300;
    set.solids = demo::demoParameters().solids;
    set.melting = demo::demoParameters().melting;
    set.ports = {demo::demoParameters().ports.at(1)};  // one port record for two ports
    set.ports.at(1).FlowRate = 7;
    std::vector<std::uint8_t> whole = sim::packParameterFile(set);

    // A wrong marker, and a file that ends inside the melting block.
    std::vector<std::uint8_t> unmarked = whole;
    unmarked[0] = 0;
    std::vector<std::uint8_t> shortFile(whole.begin(), whole.begin() + 84);
    for (const auto& bytes : {unmarked, shortFile}) {
        io::replaceFileContents(prm, bytes);
        shared::ParameterFile = prm;
        s.script.ok("Incorrect file format.", "Input parameter");
        ui::form<Gparameter1>().show();
        s.expectScriptDone();
        EXPECT_EQ(shared::ParameterFile, "");
        EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 120);
        EXPECT_EQ(ui::form<Gparameter1>().Text1.text(), "");
        ui::form<Gparameter1>().unload();
    }

    // An empty file goes; the name stays for the save, and "Yes" then gives
    // the header in memory its code and marker.
    io::replaceFileContents(prm, std::string_view());
    shared::ParameterFile = prm;
    enterSolidsAndMelting();
    Gparameter4& p4 = walkToPorts();
    EXPECT_FALSE(io::fileExists(prm));
    EXPECT_EQ(shared::ParameterFile, prm);
    fillPort(p4, 10);
    s.driver.click(p4.Command2);
    fillPort(p4, 0);
    s.script.yes().ok("Parameterfile was created!");
    s.driver.click(p4.Command2);
    std::vector<std::uint8_t> saved = fileBytes(prm);
    ASSERT_EQ(saved.size(), 85u + 2u * 44u);
    EXPECT_EQ(saved[0], 6);
    EXPECT_EQ(std::string(saved.begin() + 1, saved.begin() + 9), "LAB30   ");
    EXPECT_FLOAT_EQ(singleAt(saved, 11), 120);

    // A whole file is taken in, its missing port record zero; "Yes" keeps
    // the code it was made for.
    io::replaceFileContents(prm, whole);
    walkToPorts();
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 300);
    EXPECT_EQ(p4.Text1.text(), "7");
    s.driver.click(p4.Command2);
    EXPECT_EQ(p4.Text1.text(), "0");
    fillPort(p4, 0);
    s.script.yes().ok("Parameterfile was created!");
    s.driver.click(p4.Command2);
    saved = fileBytes(prm);
    EXPECT_EQ(std::string(saved.begin() + 1, saved.begin() + 9), "OTHER   ");

    // Values taken in meet their boxes' checks before their page is left,
    // in the boxes without the focus too: a negative die pressure, no
    // conductivity, a negative heat of fusion, a power law index below 0.1,
    // a vent that takes more than port 1 gives and its barrel colder than
    // the melt. Each refusal puts the focus in its box and writes nothing.
    set.header.DiePressure = -2.5f;
    set.solids.ThermalConductivity = 0;
    set.melting.HeatOfFusion = -1;
    set.ports = {set.ports.at(1), set.ports.at(1)};
    set.ports.at(1).PowerLawIndex = 0.05f;
    set.ports.at(2).FlowRate = -20;
    set.ports.at(2).BarrelTemperature = 100;
    const std::vector<std::uint8_t> loaded = sim::packParameterFile(set);
    io::replaceFileContents(prm, loaded);
    std::filesystem::remove(path("temp/Calc1.tmp"));
    const auto refused = [&](ui::Form& page, ui::CommandButton& next, ui::TextBox& box, const std::string& why) {
        SCOPED_TRACE(page.className() + "." + box.name());
        s.script.ok(why, "Input parameter");
        s.driver.click(next);
        s.expectScriptDone();
        EXPECT_TRUE(page.isVisible());
        EXPECT_EQ(page.activeControl(), &box);
        EXPECT_EQ(fileBytes(prm), loaded);
        EXPECT_FALSE(io::fileExists(path("temp/Calc1.tmp")));
    };
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    refused(p1, p1.Command2, p1.Text2, "Negative Die Pressure not accepted.");
    enter(p1, p1.Text2, "0");
    s.driver.click(p1.Command2);
    Gparameter2& p2 = ui::form<Gparameter2>();
    refused(p2, p2.Command2, p2.Text3, "Zero conductivity not accepted");
    enter(p2, p2.Text3, "0.2");
    s.driver.click(p2.Command2);
    Gparameter3& p3 = ui::form<Gparameter3>();
    refused(p3, p3.Command2, p3.Text4, "Negative Heat of Fusion not accepted.");
    enter(p3, p3.Text4, "100");
    s.driver.click(p3.Command2);
    refused(p4, p4.Command2, p4.Text7, "Powe law index nust be in the range of 0.1-1.0");
    enter(p4, p4.Text7, "0.35");
    s.driver.click(p4.Command2);
    refused(p4, p4.Command2, p4.Text1, "Flow rate too small. The total flow must stay above 0.");
    enter(p4, p4.Text1, "-2");
    refused(p4, p4.Command2, p4.Text10, "Barrel Temperature should be greater than Melting Temperature.");
    enter(p4, p4.Text10, "210");
    s.script.yes().ok("Parameterfile was created!");
    s.driver.click(p4.Command2);
    s.expectScriptDone();
    saved = fileBytes(prm);
    EXPECT_FLOAT_EQ(singleAt(saved, 15), 0);
    EXPECT_FLOAT_EQ(singleAt(saved, 85 + 44), -2);

    // Without a feed port the wizard does not start.
    shared::PortCount = 0;
    s.script.ok("You have to analyse the extruder first.", "Input parameter");
    EXPECT_FALSE(Gparameter1::portsAnalysed());
    s.expectScriptDone();
}

TEST(HandOver, ATruncatedFileIsAnErrorNotZeros) {
    const std::string file = (std::filesystem::temp_directory_path() / "velkor-calc1-test.tmp").string();
    records::Calc1Values v;
    v.ExtruderFile = std::string(126, 'e');
    v.DieFile = "d.die";
    EXPECT_EQ(sim::calc1TextTooLong(v), std::nullopt);
    sim::writeCalc1File(file, v);
    EXPECT_EQ(sim::readCalc1File(file), v);
    std::vector<std::uint8_t> bytes = fileBytes(file);
    bytes.resize(8 * 128 + 2 + 4);  // the die path cut after its fourth character
    io::replaceFileContents(file, bytes);
    EXPECT_THROW(sim::readCalc1File(file), rt::Error);
    v.DieFile = std::string(127, 'd');
    EXPECT_EQ(sim::calc1TextTooLong(v), v.DieFile);
    std::filesystem::remove(file);
}

}  // namespace
