#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog_files.h"
#include "catalog/selet.h"
#include "design/dnbarrel.h"
#include "design/dndie.h"
#include "design/dnscrew.h"
#include "elements/build_barrel.h"
#include "elements/build_knead.h"
#include "elements/build_screw.h"
#include "platform/io/files.h"
#include "platform/rt/text.h"
#include "platform/ui/printer.h"
#include "records/design_records.h"
#include "records/files.h"
#include "records/markers.h"
#include "results/dispresult.h"
#include "shell_fixture.h"
#include "simulation/analysis.h"
#include "simulation/calculate.h"
#include "simulation/core.h"
#include "simulation/gparameter.h"

namespace {

using records::FileKind;

const std::vector<std::string> kDesignMenus = {"mnuSdesign", "mnuBdesign", "mnuDdesign", "mnuExtassem"};

// Chooses an extruder code in the catalog as the user does: series, code,
// Select; the catalog window then closes.
void chooseCodeInCatalog(ShellRun& run, headless::Session& s, const std::string& code) {
    catalog::appendSeries(catalog::seriesFilePath(), "TWIN SERIES");
    catalog::appendCode(catalog::codeFilePath(), catalog::SeriesName("TWIN SERIES"), code);
    s.driver.chooseMenu(ui::form<Mainprog>(), "mnuExtchoose");
    selet& cat = ui::form<selet>();
    ASSERT_TRUE(cat.isVisible());
    int series = -1;
    for (int i = 0; i < cat.Combo1.listCount(); ++i)
        if (rt::trim(cat.Combo1.list(i)) == "TWIN SERIES") series = i;
    ASSERT_GE(series, 0);
    s.driver.pickItem(cat.Combo1, series);
    ASSERT_EQ(cat.List1.listCount(), 1);
    s.driver.selectItem(cat.List1, 0);
    s.script.ok();
    s.driver.click(cat.Command1);
    (void)run;
}

TEST_F(ShellRun, DesignMenusWaitForACodeAndEnableWhenTheCatalogCloses) {
    Mainprog& main = start();
    // Without a code, activations of the main window enable nothing.
    for (int i = 0; i < 3; ++i) {
        choose("mnuExtchoose");
        session.driver.closeBox(ui::form<selet>());
    }
    for (const std::string& m : kDesignMenus) EXPECT_FALSE(menu(m).enabled()) << m;

    chooseCodeInCatalog(*this, session, "ZX40");
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");
    EXPECT_FALSE(ui::form<selet>().isLoaded());
    for (const std::string& m : kDesignMenus) EXPECT_TRUE(menu(m).enabled()) << m;
    EXPECT_TRUE(main.isVisible());

    // Never disabled again, even with the code gone.
    shared::ExtruderCategory.clear();
    choose("mnuExtchoose");
    session.driver.closeBox(ui::form<selet>());
    for (const std::string& m : kDesignMenus) EXPECT_TRUE(menu(m).enabled()) << m;
}

TEST_F(ShellRun, DatabaseCommandsNeedACode) {
    start();
    for (const char* item : {"mnuSbuild", "mnuKbuild", "mnuBbuild"}) {
        session.script.ok("You must select Extruder Category.", "Caution");
        choose(item);
    }
    session.expectScriptDone();
    ASSERT_EQ(session.backend.messages().size(), 3u);
    for (const auto& m : session.backend.messages()) {
        EXPECT_EQ(m.request.icon, ui::kInformation);
        EXPECT_EQ(m.request.buttons, ui::kOkOnly);
    }
    EXPECT_FALSE(ui::form<BuildScrew>().isLoaded());
    EXPECT_FALSE(ui::form<BuildKnead>().isLoaded());
    EXPECT_FALSE(ui::form<BuildBarrel>().isLoaded());

    shared::ExtruderCategory = "ZX40";
    choose("mnuSbuild");
    EXPECT_TRUE(ui::form<BuildScrew>().isVisible());
    choose("mnuKbuild");
    EXPECT_TRUE(ui::form<BuildKnead>().isVisible());
    choose("mnuBbuild");
    EXPECT_TRUE(ui::form<BuildBarrel>().isVisible());
    EXPECT_EQ(session.backend.messages().size(), 3u);
}

TEST_F(ShellRun, AnalyseWaitsForAnExtruderFileThenEnablesParametersAndCalculation) {
    start();
    open("mnuSimul");
    EXPECT_FALSE(menu("mnuAnalyse").enabled());

    // A cancelled View Extruder File (cancel error off) leaves the pattern as
    // the extruder file.
    session.script.cancelFile();
    choose("mnuEview");
    EXPECT_EQ(shared::ExtruderFile, "*.ext");
    EXPECT_FALSE(menu("mnuAnalyse").enabled());
    open("mnuSimul");
    EXPECT_TRUE(menu("mnuAnalyse").enabled());
    EXPECT_FALSE(menu("mnuParameter").enabled());
    EXPECT_FALSE(menu("mnuCalculation").enabled());

    // Enabled whatever the outcome of the analysis.
    session.script.ok("File*.ext\nnot exist or empty. You have to design extruder first", "Analyse Extruder");
    choose("mnuAnalyse");
    EXPECT_TRUE(menu("mnuParameter").enabled());
    EXPECT_TRUE(menu("mnuCalculation").enabled());

    session.script.ok("You have to select Parameters.", "Caution");
    choose("mnuCalculation");
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kNoIcon);

    // With a parameter file the guard lets the calculation start; without
    // the wizard's hand-over it names the file it misses and writes nothing.
    shared::ParameterFile = "Noname";
    session.script.ok("The file " + shared::TempDir + "Calc1.tmp\ncould not be read (File not found).", "Calculation");
    choose("mnuCalculation");
    session.expectScriptDone();
    EXPECT_FALSE(ui::form<calculate>().isLoaded());
    EXPECT_FALSE(std::filesystem::exists(dir() / "temp" / "flow.tmp"));

    shared::ExtruderFile.clear();
    open("mnuSimul");
    EXPECT_TRUE(menu("mnuAnalyse").enabled());
}

TEST_F(ShellRun, AnalyseExtruderHandsOverTheChosenFileAndNeverLeavesAnEarlierOne) {
    start();
    testext::Extruder x = testext::workedExample();
    x.elements[1].hand = -1;  // across the hopper region's end
    shared::ExtruderFile = path("lab.ext");
    records::ExtruderFileContent lab = testext::content(x);
    lab.header.Code = " LAB30";  // the code is taken without blanks at either end
    records::writeExtruderFile(shared::ExtruderFile, lab);
    open("mnuSimul");
    session.script.ok("Left handed element in hopper or vent region.\nVent flush may occur. Continue anyway.", "Caution")
        .ok("Sucessfully Analysed.", "Velkor");
    choose("mnuAnalyse");
    session.expectScriptDone();
    const std::vector<std::string> work = sim::analysisWorkFiles(shared::TempDir);
    EXPECT_EQ(io::fileLen(work[0]), 11u * 51u);
    EXPECT_EQ(shared::PortCount, 2);
    EXPECT_FLOAT_EQ(sim::CenterlineRatio, 1.7333f);

    // A wrong marker: the code stays that of the extruder analysed, and no
    // work file of it is left for a calculation.
    records::ExtruderFileContent other = testext::content(x);
    other.header.Code = "ZX40";
    other.header.Marker = records::markerFor(FileKind::Screw);
    records::writeExtruderFile(path("other.ext"), other);
    shared::ExtruderFile = path("other.ext");
    session.script.ok("Incorrect extruder file format", "analyse extruder");
    choose("mnuAnalyse");
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    for (const std::string& f : work) EXPECT_EQ(io::fileLen(f), 0u) << f;

    // Counts that reach past the end of the file; a missing file, never created.
    std::vector<std::uint8_t> bytes = records::packExtruderFile(testext::content(x));
    bytes.resize(300);
    io::replaceFileContents(path("cut.ext"), bytes);
    shared::ExtruderFile = path("cut.ext");
    session.script.ok("Incorrect extruder file format", "analyse extruder");
    choose("mnuAnalyse");
    shared::ExtruderFile = path("none.ext");
    session.script.ok("File" + path("none.ext") + "\nnot exist or empty. You have to design extruder first",
                      "Analyse Extruder");
    choose("mnuAnalyse");
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kCritical);
    EXPECT_FALSE(io::fileExists(path("none.ext")));

    // Work files that cannot be written: said, and no success.
    std::filesystem::remove_all(dir() / "temp");
    shared::ExtruderFile = path("lab.ext");
    session.script.ok("Left handed element in hopper or vent region.\nVent flush may occur. Continue anyway.")
        .ok("The work file " + work[0] + "\ncould not be written.", "Analyse Extruder");
    choose("mnuAnalyse");
    session.expectScriptDone();

    // Without a feed port the parameter commands open nothing.
    shared::PortCount = 0;
    shared::ParameterFile = "keep.prm";
    for (const char* item : {"mnuNewparameter", "mnuOldparameters"}) {
        session.script.ok("You have to analyse the extruder first.", "Input parameter");
        choose(item);
    }
    session.expectScriptDone();
    EXPECT_EQ(shared::ParameterFile, "keep.prm");
    EXPECT_FALSE(ui::form<Gparameter1>().isLoaded());
}

struct DialogCommand {
    const char* menu;
    std::string* variable;  // null: the command keeps the path to itself
    const char* pattern;
    const char* filter;
};

const std::vector<DialogCommand>& dialogCommands() {
    static const std::vector<DialogCommand> commands = {
        {"mnuSdisplay", &shared::DisplayScrewFile, "*.srw", "Screw Files|*.srw|All files|*.*"},
        {"mnuBdiaplay", &shared::DisplayBarrelFile, "*.brl", "barrel Files|*.brl|All files|*.*"},
        {"mnuDdisplay", &shared::DieFile, "*.die", "Die Files|*.die|All files|*.*"},
        {"mnuExtdisplay", &shared::DisplayExtruderFile, "*.ext", "Extruder Files|*.ext|All files|*.*"},
        {"mnuPdisplay", &shared::ResultFile, "*.flw", "Profile Files|*.flw|All files|*.*"},
        {"mnuSview", &shared::ScrewFile, "*.srw", "Screw Files|*.srw|All files|*.*"},
        {"mnuBview", &shared::BarrelFile, "*.brl", "barrel Files|*.brl|All files|*.*"},
        {"mnuDview", &shared::DieFile, "*.die", "die Files|*.die|All files|*.*"},
        {"mnuEview", &shared::ExtruderFile, "*.ext", "Extruder Files|*.ext|All files|*.*"},
        {"mnuRview", &shared::ResultFile, "*.flw", "Result Files|*.flw|All files|*.*"},
        {"mnuSprint", &shared::ScrewFile, "*.srw", "Screw Files|*.srw|All files|*.*"},
        {"mnuBprint", &shared::BarrelFile, "*.brl", "Barrel Files|*.brl|All files|*.*"},
        {"mnuDprint", &shared::DieFile, "*.die", "Die Files|*.die|All files|*.*"},
        {"mnuExtprint", &shared::ExtruderFile, "*.ext", "Extruder Files|*.ext|All files|*.*"},
        {"mnuRprint", nullptr, "*.flw", "Result Files|*.flw|All files|*.*"},
        {"mnuRconvert", &shared::ResultFile, "*.flw", "Result Files|*.flw|All files|*.*"},
    };
    return commands;
}

TEST_F(ShellRun, WithCancelErrorOffACancelledDialogStoresItsPattern) {
    start();
    analyse();
    for (const DialogCommand& c : dialogCommands()) {
        SCOPED_TRACE(c.menu);
        if (c.variable) c.variable->clear();
        session.script.cancelFile(ui::FileDialogKind::Open);
        // The extruder display then opens on the pattern and finds no such file.
        if (std::string(c.menu) == "mnuExtdisplay") session.script.ok("Extruder file is not exist or empty !", "Caution");
        choose(c.menu);
        const ui::FileDialogRequest& shown = session.backend.fileDialogs().back();
        EXPECT_EQ(shown.fileName, c.pattern);
        EXPECT_EQ(shown.filter, c.filter);
        EXPECT_EQ(shown.initDir, shared::AppDir);
        // Profile Display keeps its file and opens nothing on a cancel.
        if (c.variable) {
            EXPECT_EQ(*c.variable, std::string(c.menu) == "mnuPdisplay" ? "" : c.pattern);
        }
    }
    session.expectScriptDone();
    EXPECT_FALSE(ui::form<Mainprog>().dlgCMDialog.cancelError());
    EXPECT_FALSE(ui::form<dispresult>().isLoaded());

    // Retrive Old Parameters presets "Noname" over its pattern.
    shared::ParameterFile = "old.prm";
    session.script.cancelFile();
    choose("mnuOldparameters");
    EXPECT_EQ(shared::ParameterFile, "Noname");
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "Noname");
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "Parameter files(*.prm)|*.prm");

    // A confirmed choice is stored as chosen.
    session.script.chooseFile(path("a.srw"));
    choose("mnuSview");
    EXPECT_EQ(shared::ScrewFile, path("a.srw"));
    session.script.chooseFile(path("none.flw")).ok(path("none.flw") + "\nFile not found", "Result View");
    choose("mnuPdisplay");
    EXPECT_EQ(shared::ResultFile, path("none.flw"));
    EXPECT_TRUE(ui::form<dispresult>().isVisible());
}

TEST_F(ShellRun, OnceAnEditCommandSwitchedCancelErrorOnEveryCancelEndsItsCommand) {
    start();
    analyse();
    shared::ExtruderCategory = "ZX40";
    choose("mnuExtchoose");
    session.driver.closeBox(ui::form<selet>());

    shared::EditScrewFile = "before.srw";
    session.script.cancelFile();
    choose("mnuEscrew1");
    EXPECT_EQ(shared::EditScrewFile, "before.srw");
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");
    EXPECT_TRUE(ui::form<Mainprog>().dlgCMDialog.cancelError());

    for (const DialogCommand& c : dialogCommands()) {
        SCOPED_TRACE(c.menu);
        if (c.variable) *c.variable = "kept";
        session.script.cancelFile();
        choose(c.menu);
        if (c.variable) {
            EXPECT_EQ(*c.variable, "kept");
        }
    }
    shared::ParameterFile = "old.prm";
    session.script.cancelFile();
    choose("mnuOldparameters");
    EXPECT_EQ(shared::ParameterFile, "");
    session.expectScriptDone();
    EXPECT_TRUE(ui::form<Mainprog>().dlgCMDialog.cancelError());
    EXPECT_EQ(session.backend.messageTexts(), std::vector<std::string>{"Sucessfully Analysed."});
    EXPECT_FALSE(ui::form<Gparameter1>().isLoaded());
}

// A screw design without elements: header, root and head.
void writeScrewHeader(const std::string& file, const std::string& codeField) {
    records::writeScrewFile(file, records::screwFileHeader(codeField, 30, {}), {});
}

void writeBarrelHeader(const std::string& file, const std::string& codeField) {
    records::BarrelRec header;
    header.Code = codeField;
    header.Type = records::markerFor(FileKind::Barrel);
    records::RecordFile(file, records::BarrelRec::kSize, records::OpenMode::CreateIfMissing).write(1, header);
}

void writeDie(const std::string& file, const std::string& codeField) {
    records::DieRec die;
    die.Code = codeField;
    die.Marker = records::markerFor(FileKind::Die);
    records::RecordFile(file, records::DieRec::kSize, records::OpenMode::CreateIfMissing).write(1, die);
}

class EditExisting : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
        shared::ExtruderCategory = "START";
        choose("mnuExtchoose");
        session.driver.closeBox(ui::form<selet>());
    }
    // The designer that the command opens may answer with a message under
    // its title (a file that holds no design, a code without elements).
    // Returns the code the command leaves; the designer is closed again.
    std::string edit(const char* item, const std::string& file, std::optional<std::string> designerTitle = {}) {
        session.script.chooseFile(file);
        if (designerTitle) session.script.ok(std::nullopt, *designerTitle);
        choose(item);
        session.expectScriptDone();
        for (ui::Form* f : std::vector<ui::Form*>{&ui::form<DNScrew>(), &ui::form<DNBarrel>(), &ui::form<DNdie>()})
            f->unload();
        return shared::ExtruderCategory;
    }
    // Element files the screw and barrel designers open with.
    static void elementFiles(const std::string& code) {
        records::ScrewGeoRec e;
        e.Code = "SA";
        e.Diameter = 30;
        records::writeScrewGeoFile(shared::screwElementPath(code), {e});
        records::writeKneadGeoFile(shared::kneadElementPath(code), {});
        records::writeBarrelGeoFile(shared::barrelElementPath(code), {});
    }
};

TEST_F(EditExisting, ScrewAndBarrelTakeTheCodeUpToItsFirstBlank) {
    for (const char* code : {"AB", "ABCDEFGHIJKLMNOP", "K9", "ABCDEFGHIJKLMNO"}) elementFiles(code);
    writeScrewHeader(path("two.srw"), "AB CD");
    EXPECT_EQ(edit("mnuEscrew1", path("two.srw")), "AB");
    EXPECT_EQ(shared::EditScrewFile, path("two.srw"));
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "screw files(*.srw)|*.srw");

    writeScrewHeader(path("full.srw"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(edit("mnuEscrew1", path("full.srw")), "ABCDEFGHIJKLMNOP");

    writeBarrelHeader(path("two.brl"), "K9 LONG");
    EXPECT_EQ(edit("mnuEbarrel", path("two.brl")), "K9");
    EXPECT_EQ(shared::EditBarrelFile, path("two.brl"));
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "barrel files(*.brl)|*.brl");

    writeBarrelHeader(path("full.brl"), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(edit("mnuEbarrel", path("full.brl")), "ABCDEFGHIJKLMNO");
    EXPECT_TRUE(session.backend.messages().empty());
}

TEST_F(EditExisting, ARefusedFileOrAnOpenDesignerLeavesTheCode) {
    // A text file is no screw design: its first word does not become the
    // code, for which the element editor would make a file.
    const std::string text = "This is a text file, not a screw design.";
    io::replaceFileContents(path("text.srw"), std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(edit("mnuEscrew1", path("text.srw"), "Design Screw"), "START");
    choose("mnuSbuild");
    EXPECT_FALSE(std::filesystem::exists(shared::screwElementPath("This")));
    // A designer already open only comes to the front: the file is not read.
    elementFiles("START");
    writeScrewHeader(path("ab.srw"), "AB");
    choose("mnuNscrew");
    EXPECT_EQ(edit("mnuEscrew1", path("ab.srw")), "START");
    // A load that fails with an error leaves the code as well.
    session.script.chooseFile(path("text.srw"));  // its message has no answer: the load throws
    EXPECT_THROW(choose("mnuEscrew1"), headless::ScriptError);
    EXPECT_EQ(shared::ExtruderCategory, "START");
}

TEST_F(EditExisting, DieKeepsTheWholeCodeTrimmed) {
    writeDie(path("two.die"), " AB CD");
    EXPECT_EQ(edit("mnuEdie", path("two.die")), "AB CD");
    EXPECT_EQ(shared::DieFile, path("two.die"));
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "*.die");
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "die files(*.die)|*.die");

    writeDie(path("full.die"), "ZX40ABCD");
    EXPECT_EQ(edit("mnuEdie", path("full.die")), "ZX40ABCD");
}

TEST_F(EditExisting, AMissingOrShortFileNeverCrashesNorIsCreated) {
    // A name that does not exist: the command ends, the code stays, and no
    // file appears.
    EXPECT_EQ(edit("mnuEscrew1", path("missing.srw")), "START");
    EXPECT_FALSE(std::filesystem::exists(path("missing.srw")));
    EXPECT_EQ(shared::EditScrewFile, path("missing.srw"));

    // A truncated header reads its missing part as blanks: without its
    // marker it holds no design, and the code stays.
    {
        records::RecordFile f(path("short.brl"), 6, records::OpenMode::CreateIfMissing);
        f.writeBytes(1, {'Q', '7', ' ', 'X', 'Y', 'Z'});
    }
    EXPECT_EQ(edit("mnuEbarrel", path("short.brl"), "Design Barrel"), "START");

    // An empty die file gives a blank code, which the designer refuses.
    { records::RecordFile f(path("empty.die"), 27, records::OpenMode::CreateIfMissing); }
    EXPECT_EQ(edit("mnuEdie", path("empty.die"), "Caution"), "START");
    EXPECT_EQ(session.backend.messages().size(), 2u);  // the designers', for files that hold no design
}

TEST_F(ShellRun, SpecifyExtruderAsksAboutTheCurrentFileAndSwitchesCancelErrorOn) {
    start();
    session.script.cancelFile();
    choose("mnuExtspecify");
    EXPECT_EQ(shared::ExtruderFile, "");
    EXPECT_TRUE(ui::form<Mainprog>().dlgCMDialog.cancelError());
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "extruder files(*.ext)|*.ext");

    session.script.chooseFile(path("line.ext"));
    choose("mnuExtspecify");
    EXPECT_EQ(shared::ExtruderFile, path("line.ext"));

    session.script.yes("Current extruder file is " + path("line.ext") + "\nIs it OK?", "Specify Extruder");
    choose("mnuExtspecify");
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kInformation);

    session.script.no().chooseFile(path("other.ext"));
    choose("mnuExtspecify");
    EXPECT_EQ(shared::ExtruderFile, path("other.ext"));
    session.expectScriptDone();
}

TEST_F(ShellRun, PrinterSetupChoosesThePrinterAndACancelIsQuiet) {
    start();
    session.script.choosePrinter("Plotter");
    choose("mnuPsetup");
    EXPECT_EQ(ui::printer().settings().name, "Plotter");
    session.script.cancelPrinter();
    choose("mnuPsetup");
    EXPECT_EQ(ui::printer().settings().name, "Plotter");
    session.expectScriptDone();
}

TEST_F(ShellRun, NewDesignCommandsResetTheirFiles) {
    start();
    shared::ExtruderCategory = "ZX40";
    choose("mnuExtchoose");
    session.driver.closeBox(ui::form<selet>());
    shared::EditScrewFile = "a.srw";
    shared::EditBarrelFile = "a.brl";
    shared::DieFile = "a.die";
    shared::ParameterFile = "a.prm";
    analyse();
    // No element database: the screw and barrel designers say so and stay shut.
    session.script.ok(std::nullopt, "Design Screw").ok(std::nullopt, "Design Barrel");
    choose("mnuNscrew");
    choose("mnuDbarrel");
    choose("mnuDdie");
    choose("mnuNewparameter");
    EXPECT_EQ(shared::EditScrewFile, "");
    EXPECT_EQ(shared::EditBarrelFile, "");
    EXPECT_EQ(shared::DieFile, "noname");
    EXPECT_EQ(shared::ParameterFile, "");
    EXPECT_TRUE(ui::form<Gparameter1>().isVisible());
}

TEST_F(ShellRun, ExitEndsAtOnceClosingEveryWindow) {
    start();
    choose("mnuExtchoose");
    ASSERT_TRUE(ui::form<selet>().isVisible());
    choose("mnuExit");
    EXPECT_TRUE(session.backend.exited());
    EXPECT_TRUE(ui::app().ended());
    EXPECT_FALSE(ui::form<selet>().isLoaded());
    EXPECT_FALSE(ui::form<Mainprog>().isLoaded());
    EXPECT_TRUE(session.backend.messages().empty());
}

}  // namespace
