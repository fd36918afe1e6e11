#include "shell/mainprog.h"

#include <utility>

#include "catalog/selet.h"
#include "design/assemext.h"
#include "design/dnbarrel.h"
#include "design/dndie.h"
#include "design/dnscrew.h"
#include "elements/build_barrel.h"
#include "elements/build_knead.h"
#include "elements/build_screw.h"
#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "records/design_records.h"
#include "records/files.h"
#include "reports/design_reports.h"
#include "reports/listbarrel.h"
#include "reports/listdie.h"
#include "reports/listext.h"
#include "reports/listresult.h"
#include "reports/listscrew.h"
#include "reports/printing.h"
#include "reports/profile_export.h"
#include "reports/result_input.h"
#include "reports/result_report.h"
#include "reports/rows.h"
#include "results/dispresult.h"
#include "shell/logo.h"
#include "simulation/analysis.h"
#include "simulation/calculate.h"
#include "simulation/gparameter.h"
#include "state/header_code.h"
#include "state/state.h"
#include "views/viewbarrel.h"
#include "views/viewdie.h"
#include "views/viewext.h"
#include "views/viewscrew.h"

Mainprog::Mainprog() : ui::Form("Mainprog") {
    setMdiParent(true);

    mnuExtchoose.onClick = [this] { mnuExtchoose_Click(); };
    mnuPsetup.onClick = [this] { mnuPsetup_Click(); };
    mnuExit.onClick = [this] { mnuExit_Click(); };
    mnuNscrew.onClick = [this] { mnuNscrew_Click(); };
    mnuEscrew1.onClick = [this] { mnuEscrew1_Click(); };
    mnuDbarrel.onClick = [this] { mnuDbarrel_Click(); };
    mnuEbarrel.onClick = [this] { mnuEbarrel_Click(); };
    mnuDdie.onClick = [this] { mnuDdie_Click(); };
    mnuEdie.onClick = [this] { mnuEdie_Click(); };
    mnuExtassem.onClick = [this] { mnuExtassem_Click(); };
    mnuSimul.onClick = [this] { mnuSimul_Click(); };
    mnuExtspecify.onClick = [this] { mnuExtspecify_Click(); };
    mnuAnalyse.onClick = [this] { mnuAnalyse_Click(); };
    mnuNewparameter.onClick = [this] { mnuNewparameter_Click(); };
    mnuOldparameters.onClick = [this] { mnuOldparameters_Click(); };
    mnuCalculation.onClick = [this] { mnuCalculation_Click(); };
    mnuSdisplay.onClick = [this] { mnuSdisplay_Click(); };
    mnuBdiaplay.onClick = [this] { mnuBdiaplay_Click(); };
    mnuDdisplay.onClick = [this] { mnuDdisplay_Click(); };
    mnuExtdisplay.onClick = [this] { mnuExtdisplay_Click(); };
    mnuPdisplay.onClick = [this] { mnuPdisplay_Click(); };
    mnuSview.onClick = [this] { mnuSview_Click(); };
    mnuBview.onClick = [this] { mnuBview_Click(); };
    mnuDview.onClick = [this] { mnuDview_Click(); };
    mnuEview.onClick = [this] { mnuEview_Click(); };
    mnuRview.onClick = [this] { mnuRview_Click(); };
    mnuSprint.onClick = [this] { mnuSprint_Click(); };
    mnuBprint.onClick = [this] { mnuBprint_Click(); };
    mnuDprint.onClick = [this] { mnuDprint_Click(); };
    mnuExtprint.onClick = [this] { mnuExtprint_Click(); };
    mnuRprint.onClick = [this] { mnuRprint_Click(); };
    mnuRconvert.onClick = [this] { mnuRconvert_Click(); };
    mnuSbuild.onClick = [this] { mnuSbuild_Click(); };
    mnuKbuild.onClick = [this] { mnuKbuild_Click(); };
    mnuBbuild.onClick = [this] { mnuBbuild_Click(); };
}

void Mainprog::design() {
    setCaption(kCaption);
    setSize(12000, 9000);
    dlgCMDialog.create();

    mnuFiles.create("Files");
    mnuExtchoose.create(mnuFiles, "Select/Edit Extruder Category");
    mnuSep1.create(mnuFiles, "-");
    mnuPsetup.create(mnuFiles, "Printer Setup");
    mnuSep2.create(mnuFiles, "-");
    mnuExit.create(mnuFiles, "Exit");

    mnuDesign.create("Design/Edit");
    mnuSdesign.create(mnuDesign, "Screw Design/Edit", false);
    mnuNscrew.create(mnuSdesign, "Design New Screw");
    mnuEscrew1.create(mnuSdesign, "Edit Existing Screw");
    mnuBdesign.create(mnuDesign, "Barrel Design/Edit", false);
    mnuDbarrel.create(mnuBdesign, "Design New Barrel");
    mnuEbarrel.create(mnuBdesign, "Edit Existing Barrel");
    mnuDdesign.create(mnuDesign, "Die Design/Edit", false);
    mnuDdie.create(mnuDdesign, "Design New Die");
    mnuEdie.create(mnuDdesign, "Edit Existing Die");
    mnuSep3.create(mnuDesign, "-");
    mnuExtassem.create(mnuDesign, "Extruder Assembly", false);

    mnuSimul.create("Simulation");
    mnuExtspecify.create(mnuSimul, "Specify Extruder");
    mnuAnalyse.create(mnuSimul, "Analyse Extruder", false);
    mnuParameter.create(mnuSimul, "Specify Parameter", false);
    mnuNewparameter.create(mnuParameter, "Specify New Parameters");
    mnuOldparameters.create(mnuParameter, "Retrive Old Parameters");
    mnuSep5.create(mnuSimul, "-");
    mnuCalculation.create(mnuSimul, "Calculation", false);

    mnuDisplay.create("Display");
    mnuSdisplay.create(mnuDisplay, "Screw Display");
    mnuBdiaplay.create(mnuDisplay, "Barrel Display");
    mnuDdisplay.create(mnuDisplay, "Die Display");
    mnuExtdisplay.create(mnuDisplay, "Extruder Display");
    mnuPdisplay.create(mnuDisplay, "Profile Display");

    mnuView.create("View File");
    mnuSview.create(mnuView, "View Screw File");
    mnuBview.create(mnuView, "View Barrel File");
    mnuDview.create(mnuView, "View Die File");
    mnuEview.create(mnuView, "View Extruder File");
    mnuRview.create(mnuView, "View Result File");

    mnuPrint.create("Print File");
    mnuSprint.create(mnuPrint, "Print Screw File");
    mnuBprint.create(mnuPrint, "Print Barrel File");
    mnuDprint.create(mnuPrint, "Print Die File");
    mnuExtprint.create(mnuPrint, "Print Extruder File");
    mnuRprint.create(mnuPrint, "Print Result File");
    mnuSep6.create(mnuPrint, "-");
    mnuRconvert.create(mnuPrint, "Convert Result File");

    mnuData.create("Database");
    mnuSbuild.create(mnuData, "Build/Edit Screw Element");
    mnuSep7.create(mnuData, "-");
    mnuKbuild.create(mnuData, "Build/Edit Kneading Disk Element");
    mnuSep8.create(mnuData, "-");
    mnuBbuild.create(mnuData, "Build/Edit Barrel Element");
}

// ---- start-up and activation ---------------------------------------------

void Mainprog::MDIForm_Load() {
    ui::app().setTitle(kApplicationTitle);
    show();
    ui::form<logo>().showModal();
    shared::setDirectories(ui::app().appDir().string());
}

void Mainprog::MDIForm_Activate() {
    if (shared::ExtruderCategory.empty()) return;
    mnuSdesign.setEnabled(true);
    mnuBdesign.setEnabled(true);
    mnuDdesign.setEnabled(true);
    mnuExtassem.setEnabled(true);
}

// ---- shared helpers --------------------------------------------------------

std::string Mainprog::openFile(const std::string& pattern, const std::string& filter) {
    dlgCMDialog.preset(pattern, shared::AppDir, filter);
    dlgCMDialog.showOpen();
    return dlgCMDialog.fileName();
}

void Mainprog::editWithCode(ui::Form& designer, const std::string& code) {
    if (designer.isLoaded()) {
        designer.show();
        return;
    }
    // However the load ends, an error included, the code stays only with a
    // designer that loaded.
    struct Restore {
        ui::Form& designer;
        std::string previous;
        ~Restore() {
            if (!designer.isLoaded()) shared::ExtruderCategory = std::move(previous);
        }
    } restore{designer, shared::ExtruderCategory};
    shared::ExtruderCategory = code;
    designer.show();
}

bool Mainprog::extruderCategoryChosen() {
    if (!shared::ExtruderCategory.empty()) return true;
    ui::msgBox("You must select Extruder Category.", ui::kOkOnly, ui::kInformation, "Caution");
    return false;
}

// ---- Files -----------------------------------------------------------------

void Mainprog::mnuExtchoose_Click() { ui::form<selet>().show(); }

void Mainprog::mnuPsetup_Click() {
    rt::endQuietlyOnError([&] { dlgCMDialog.showPrinter(); });
}

void Mainprog::mnuExit_Click() { ui::app().end(); }

// ---- Design/Edit -----------------------------------------------------------

void Mainprog::mnuNscrew_Click() {
    shared::EditScrewFile.clear();
    ui::form<DNScrew>().show();
}

void Mainprog::mnuEscrew1_Click() {
    rt::endQuietlyOnError([&] {
        dlgCMDialog.setCancelError(true);
        shared::EditScrewFile = openFile("*.srw", "screw files(*.srw)|*.srw");
        records::RecordFile file(shared::EditScrewFile, records::ScrewRec::kSize, records::OpenMode::ReadOnly);
        const std::string code = shared::codeOfScrewHeader(file.read<records::ScrewRec>(1));
        file.close();
        editWithCode(ui::form<DNScrew>(), code);
    });
}

void Mainprog::mnuDbarrel_Click() {
    shared::EditBarrelFile.clear();
    ui::form<DNBarrel>().show();
}

void Mainprog::mnuEbarrel_Click() {
    rt::endQuietlyOnError([&] {
        dlgCMDialog.setCancelError(true);
        shared::EditBarrelFile = openFile("*.brl", "barrel files(*.brl)|*.brl");
        records::RecordFile file(shared::EditBarrelFile, records::BarrelRec::kSize, records::OpenMode::ReadOnly);
        const std::string code = shared::codeOfBarrelHeader(file.read<records::BarrelRec>(1));
        file.close();
        editWithCode(ui::form<DNBarrel>(), code);
    });
}

void Mainprog::mnuDdie_Click() {
    shared::DieFile = "noname";
    ui::form<DNdie>().show();
}

void Mainprog::mnuEdie_Click() {
    rt::endQuietlyOnError([&] {
        dlgCMDialog.setCancelError(true);
        shared::DieFile = openFile("*.die", "die files(*.die)|*.die");
        records::RecordFile file(shared::DieFile, records::DieRec::kSize, records::OpenMode::ReadOnly);
        const std::string code = shared::codeOfDieRecord(file.read<records::DieRec>(1));
        file.close();
        editWithCode(ui::form<DNdie>(), code);
    });
}

void Mainprog::mnuExtassem_Click() { ui::form<assemext>().show(); }

// ---- Simulation ------------------------------------------------------------

void Mainprog::mnuSimul_Click() {
    if (!shared::ExtruderFile.empty()) mnuAnalyse.setEnabled(true);
}

void Mainprog::mnuExtspecify_Click() { SpecifyExtruder(); }

void Mainprog::SpecifyExtruder() {
    if (!shared::ExtruderFile.empty()) {
        int answer = ui::msgBox("Current extruder file is " + shared::ExtruderFile + "\nIs it OK?", ui::kYesNo,
                                ui::kInformation, "Specify Extruder");
        if (answer == ui::kYes) return;
    }
    rt::endQuietlyOnError([&] {
        dlgCMDialog.setCancelError(true);
        shared::ExtruderFile = openFile("*.ext", "extruder files(*.ext)|*.ext");
    });
}

void Mainprog::AnalyseExtruder() {
    const auto show = [](const sim::UserMessage& m) {
        ui::msgBox(m.text, ui::kOkOnly, static_cast<int>(m.icon), m.title);
    };
    constexpr const char* kTitle = "Analyse Extruder";
    // A failed analysis must not leave an earlier extruder's parts behind.
    if (auto failed = sim::emptyAnalysisWorkFiles(shared::TempDir)) {
        show(sim::workFileNotWritten(*failed, kTitle));
        return;
    }
    const std::string& path = shared::ExtruderFile;
    std::uint64_t length = 0;
    rt::endQuietlyOnError([&] { length = io::fileLen(path); });
    if (length == 0) {
        ui::msgBox("File" + path + "\nnot exist or empty. You have to design extruder first", ui::kOkOnly,
                   ui::kCritical, kTitle);
        return;
    }
    // Besides a header without the marker, counts past the end, negative
    // counts and numbers no walk can use are a wrong format. The file's code
    // becomes the current one only once the format is right: a refused file
    // leaves the code as it was.
    sim::ExtruderAnalysis analysis;
    std::string code;
    bool marked = false;
    const bool read = rt::endQuietlyOnError([&] {
        const records::ExtHeader header = records::readExtHeader(path);
        code = shared::headerCode(header.Code);
        marked = records::hasMarker(header);
        if (marked) analysis = sim::analyseExtruder(records::readExtruderFile(path), path);
    });
    if (!read || !marked) {
        ui::msgBox("Incorrect extruder file format", ui::kOkOnly, ui::kNoIcon, "analyse extruder");
        return;
    }
    shared::ExtruderCategory = code;
    sim::publishAnalysis(analysis);
    for (const sim::UserMessage& m : analysis.messages) show(m);
    if (!analysis.completed()) return;
    if (auto failed = sim::writeAnalysisWorkFiles(shared::TempDir, analysis)) {
        show(sim::workFileNotWritten(*failed, kTitle));
        return;
    }
    ui::msgBox("Sucessfully Analysed.");
}

void Mainprog::mnuAnalyse_Click() {
    AnalyseExtruder();
    mnuParameter.setEnabled(true);
    mnuCalculation.setEnabled(true);
}

void Mainprog::mnuNewparameter_Click() {
    if (!Gparameter1::portsAnalysed()) return;
    shared::ParameterFile.clear();
    ui::form<Gparameter1>().show();
}

void Mainprog::mnuOldparameters_Click() {
    if (!Gparameter1::portsAnalysed()) return;
    shared::ParameterFile.clear();
    rt::endQuietlyOnError([&] {
        dlgCMDialog.setFileName("*.prm");
        dlgCMDialog.setInitDir(shared::AppDir);
        dlgCMDialog.setFilter("Parameter files(*.prm)|*.prm");
        dlgCMDialog.setFileName("Noname");
        dlgCMDialog.showOpen();
        shared::ParameterFile = dlgCMDialog.fileName();
        ui::form<Gparameter1>().show();
    });
}

void Mainprog::mnuCalculation_Click() {
    rt::endQuietlyOnError([&] {
        if (shared::ParameterFile.empty()) {
            ui::msgBox("You have to select Parameters.", ui::kOkOnly, ui::kNoIcon, "Caution");
            return;
        }
        ui::form<calculate>().show();
    });
}

// ---- Display ---------------------------------------------------------------

void Mainprog::mnuSdisplay_Click() {
    rt::endQuietlyOnError([&] {
        shared::DisplayScrewFile = openFile("*.srw", "Screw Files|*.srw|All files|*.*");
        ui::form<viewscrew>().setSize(10000, 3000);
        ui::form<viewscrew>().show();
    });
}

void Mainprog::mnuBdiaplay_Click() {
    rt::endQuietlyOnError([&] {
        shared::DisplayBarrelFile = openFile("*.brl", "barrel Files|*.brl|All files|*.*");
        ui::form<viewbarrel>().setSize(10000, 3000);
        ui::form<viewbarrel>().show();
    });
}

void Mainprog::mnuDdisplay_Click() {
    rt::endQuietlyOnError([&] {
        shared::DieFile = openFile("*.die", "Die Files|*.die|All files|*.*");
        ui::form<viewdie>().showFile(shared::DieFile, 10000);
    });
}

void Mainprog::mnuExtdisplay_Click() {
    rt::endQuietlyOnError([&] {
        shared::DisplayExtruderFile = openFile("*.ext", "Extruder Files|*.ext|All files|*.*");
        ui::form<viewext>().setSize(10000, 3000);
        ui::form<viewext>().show();
    });
}

// A cancelled dialog leaves its pattern as the file name: nothing is chosen,
// the current result file stays and no window opens.
void Mainprog::mnuPdisplay_Click() {
    std::string chosen;
    if (!rt::endQuietlyOnError([&] { chosen = openFile("*.flw", "Profile Files|*.flw|All files|*.*"); })) return;
    if (chosen == "*.flw") return;
    shared::ResultFile = chosen;
    ui::form<dispresult>().show();
}

// ---- View File -------------------------------------------------------------

void Mainprog::mnuSview_Click() {
    rt::endQuietlyOnError([&] {
        shared::ScrewFile = openFile("*.srw", "Screw Files|*.srw|All files|*.*");
        ui::form<listscrew>().show();
    });
}

void Mainprog::mnuBview_Click() {
    rt::endQuietlyOnError([&] {
        shared::BarrelFile = openFile("*.brl", "barrel Files|*.brl|All files|*.*");
        ui::form<listbarrel>().show();
    });
}

void Mainprog::mnuDview_Click() {
    rt::endQuietlyOnError([&] {
        shared::DieFile = openFile("*.die", "die Files|*.die|All files|*.*");
        ui::form<listdie>().show();
    });
}

void Mainprog::mnuEview_Click() {
    rt::endQuietlyOnError([&] {
        shared::ExtruderFile = openFile("*.ext", "Extruder Files|*.ext|All files|*.*");
        ui::form<listext>().show();
    });
}

// A result file that cannot be opened ends the command; the listing does not
// open.
void Mainprog::mnuRview_Click() {
    rt::endQuietlyOnError([&] {
        shared::ResultFile = openFile("*.flw", "Result Files|*.flw|All files|*.*");
        ui::form<listresult>().show();
    });
}

// ---- Print File ------------------------------------------------------------

// Each report is put together whole before anything is printed: a file that
// fails half way ends the command with nothing printed.

void Mainprog::mnuSprint_Click() {
    rt::endQuietlyOnError([&] {
        shared::ScrewFile = openFile("*.srw", "Screw Files|*.srw|All files|*.*");
        reports::printLines(reports::screwReport(shared::ScrewFile, reports::printedLineRoom()));
    });
}

void Mainprog::mnuBprint_Click() {
    rt::endQuietlyOnError([&] {
        shared::BarrelFile = openFile("*.brl", "Barrel Files|*.brl|All files|*.*");
        reports::printLines(reports::barrelReport(shared::BarrelFile, reports::printedLineRoom()));
    });
}

void Mainprog::mnuDprint_Click() {
    rt::endQuietlyOnError([&] {
        shared::DieFile = openFile("*.die", "Die Files|*.die|All files|*.*");
        reports::printLines(reports::dieReport(shared::DieFile, reports::printedLineRoom()));
    });
}

void Mainprog::mnuExtprint_Click() {
    rt::endQuietlyOnError([&] {
        shared::ExtruderFile = openFile("*.ext", "Extruder Files|*.ext|All files|*.*");
        const records::ExtHeader header = records::readExtHeader(shared::ExtruderFile);
        shared::ScrewFile = rt::trim(reports::shownText(header.ScrewFile));
        shared::BarrelFile = rt::trim(reports::shownText(header.BarrelFile));
        shared::DieFile = rt::trim(reports::shownText(header.DieFile));
        reports::printLines(
            reports::extruderReport(records::readExtruderFile(shared::ExtruderFile), reports::printedLineRoom()));
    });
}

// The chosen path stays with the command; PortRecords holds the file's ports
// while it prints and is emptied afterwards.
void Mainprog::mnuRprint_Click() {
    rt::endQuietlyOnError([&] {
        const std::string path = openFile("*.flw", "Result Files|*.flw|All files|*.*");
        records::ResultData result;
        if (!reports::takeResult(path, "Print Result", reports::CodeTrim::Trailing, result)) return;
        reports::printLines(reports::resultReport(result, reports::printedLineRoom()));
        shared::PortRecords.clear();
    });
}

// Reads the result, then asks for the text file. The pattern handed back by a
// cancelled save dialog names no file and ends the command quietly; any other
// target that cannot be written (a read-only file, a missing folder, a name
// the file system refuses) is reported, and an older file of that name stays
// as it was.
void Mainprog::mnuRconvert_Click() {
    rt::endQuietlyOnError([&] {
        shared::ResultFile = openFile("*.flw", "Result Files|*.flw|All files|*.*");
        records::ResultData result;
        if (!reports::takeResult(shared::ResultFile, "Convert file", reports::CodeTrim::Trailing, result)) return;
        const reports::ProfileTable table = reports::profileTable(result);

        dlgCMDialog.preset("*.txt", shared::AppDir, "Converted Result Files|*.txt|All files|*.*");
        dlgCMDialog.showSave();
        const std::string target = dlgCMDialog.fileName();
        if (target == "*.txt") return;
        try {
            reports::writeProfileFile(target, table);
        } catch (const rt::Error&) {
            ui::msgBox("Could not write " + target + ".", ui::kOkOnly, ui::kNoIcon, "Convert file");
        }
    });
}

// ---- Database --------------------------------------------------------------

void Mainprog::mnuSbuild_Click() {
    if (extruderCategoryChosen()) ui::form<BuildScrew>().show();
}

void Mainprog::mnuKbuild_Click() {
    if (extruderCategoryChosen()) ui::form<BuildKnead>().show();
}

void Mainprog::mnuBbuild_Click() {
    if (extruderCategoryChosen()) ui::form<BuildBarrel>().show();
}
