#include "reports/listresult.h"

#include "platform/rt/numtext.h"
#include "platform/ui/application.h"
#include "reports/listresult1.h"
#include "reports/result_input.h"
#include "reports/stepping.h"
#include "state/state.h"

using rt::format;

listresult::listresult() : ui::Form("listresult") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
}

void listresult::design() {
    setCaption("Result listing");
    setSize(9795, 7455);  // client area 9675 x 7050
    constexpr gfx::Twips h = 255;

    Frame1.create(120, 120, 9495, 735, "General Data");
    Label1.create(120, 360, 1680, h, "Screw Speed (RPM) :").setContainer(Frame1);
    Label2.create(1800, 360, 1095, h, "").setContainer(Frame1);
    Label3.create(3120, 360, 2040, h, "Total Throughput (Kg/Hr) :").setContainer(Frame1);
    Label4.create(5160, 360, 1215, h, "").setContainer(Frame1);
    Label5.create(6600, 360, 1560, h, "Die Pressure (MPa) :").setContainer(Frame1);
    Label6.create(8160, 360, 1215, h, "").setContainer(Frame1);

    Frame2.create(120, 960, 4575, 4935, "Parameters");
    struct Row {
        ui::Label& caption;
        gfx::Twips left, top;
        const char* text;
        ui::Label* value;
    };
    const Row stage[] = {
        {Label7, 120, 360, "Stage :", &Label20},
        {Label8, 120, 720, "Flow Rate Through port (Kg/Hr)", &Label21},
        {Label9, 120, 1080, "Density of Input Stream (g/cm^3)", &Label22},
        {Label10, 120, 1440, "Power Law Consistency (KPa.S^n)", &Label23},
        {Label11, 120, 1800, "Power Law Index", &Label24},
        {Label12, 120, 2160, "Viscosity Temperature Dependency (1/C)", &Label25},
        {Label13, 120, 2520, "Reference Temperature (C)", &Label26},
        {Label14, 120, 2880, "Heat Capacity (KJ/(Kg. K))", &Label27},
        {Label15, 120, 3360, "Heat Transfer Coefficients :", nullptr},
        {Label16, 960, 3600, "at Barrel Surface (W/(m^2.K))", &Label28},
        {Label17, 960, 3840, "at Screw Surface (W/(m^2.K))", &Label29},
        {Label18, 120, 4200, "Barrel Temperature (C) :", &Label30},
        {Label19, 480, 4560, "Screw Temperature (C) :", &Label31},
    };
    for (const Row& r : stage) {
        r.caption.create(r.left, r.top, 3120 - r.left, h, r.text).setContainer(Frame2);
        if (r.value) r.value->create(3240, r.top, 1215, h, "").setContainer(Frame2);
    }

    Frame3.create(4800, 960, 4815, 5415, "Solid Melting Parameters");
    const char* solids[] = {"Bulk Density of Solids(g/cc) :",
                            "Heat Capacity of Solids (KJ/Kg.K) :",
                            "Thermal Conductivity of Solids (W/m.K) :",
                            "Friction Coefficient at Barrel Surface : ",
                            "Friction Coefficient at Screw Surface :",
                            "Heat Transfer Coeff at Barrel Surface (W/m^2.K) :",
                            "Heat Transfer Coeff at Screw Surface",
                            "Barrel Temperature (C)",
                            "Screw Temperature (C)",
                            "Solids Feed Temperature (C)",
                            "Density of Solids - Melting region (g/cc)",
                            "Heat Capacity of Solids-Melting Region (KJ/Kg.K)",
                            "Melting Temperature (C)",
                            "Heat of Fusion (J/g)"};
    ui::Label* captions[] = {&Label32, &Label33, &Label34, &Label35, &Label36, &Label37, &Label38,
                             &Label39, &Label40, &Label41, &Label42, &Label43, &Label44, &Label45};
    ui::Label* values[] = {&Label46, &Label47, &Label48, &Label49, &Label50, &Label51, &Label52,
                           &Label53, &Label54, &Label55, &Label56, &Label57, &Label58, &Label59};
    for (int k = 0; k < 14; ++k) {
        const gfx::Twips top = 360 + 360 * k;
        const bool narrow = values[k] == &Label51 || values[k] == &Label57;
        captions[k]->create(120, top, narrow ? 3600 : 3360, h, solids[k]).setContainer(Frame3);
        values[k]->create(narrow ? 3720 : 3480, top, narrow ? 975 : 1215, h, "").setContainer(Frame3);
    }

    // Captions too long for their place at the window's font size take a
    // smaller size of the same face, so they show whole beside their values.
    for (ui::Label* l : {&Label5, &Label16, &Label17, &Label37, &Label43}) l->setFont(l->fontName(), 7.5f);

    Command2.create(120, 6000, 975, 375, "<<");
    Command1.create(3600, 6000, 1095, 375, ">>");
    Line1.create(120, 6480, 9600, 6480);
    Command4.create(120, 6600, 1335, 375, "Close");
    Command3.create(7320, 6600, 2295, 375, "Result  /  Melting results");
}

// A file that cannot be opened ends the load with an error, so the command
// that shows the window ends and the window does not open. A file that holds
// no result is reported; the window then shows its caption and no values.
void listresult::Form_Load() {
    listed_ = shared::ResultFile;
    ports_.clear();
    stage_ = 0;
    setCaption("Result listing - " + listed_);
    records::ResultData r;
    if (!reports::takeResult(listed_, "Result listing", reports::CodeTrim::BothEnds, r)) return;
    shared::ScrewRadius = reports::screwRadius(r);

    const records::ParameterFileHeader& run = r.header.RunConditions;
    Label2.setCaption(format(run.ScrewSpeed, "##0.00"));
    Label4.setCaption(format(run.TotalThroughput, "##0.000"));
    Label6.setCaption(format(run.DiePressure, "##0.000"));

    const records::SolidsBlock& s = r.solids;
    const records::MeltingBlock& m = r.melting;
    Label46.setCaption(format(s.BulkDensity, "##0.00"));
    Label47.setCaption(format(s.HeatCapacity, "##0.00"));
    Label48.setCaption(format(s.ThermalConductivity, "##0.00"));
    Label49.setCaption(format(s.BarrelFriction, "#0.00"));
    Label50.setCaption(format(s.ScrewFriction, "#0.00"));
    Label51.setCaption(format(s.BarrelHtc, "###0.00"));
    Label52.setCaption(format(s.ScrewHtc, "###0.00"));
    Label53.setCaption(format(s.BarrelTemperature, "###0.00"));
    Label54.setCaption(format(s.ScrewTemperature, "###0.00"));
    Label55.setCaption(format(s.FeedTemperature, "###0.00"));
    Label56.setCaption(format(m.Density, "##0.00"));
    Label57.setCaption(format(m.HeatCapacity, "##0.00"));
    Label58.setCaption(format(m.MeltingTemperature, "###0.00"));
    Label59.setCaption(format(m.HeatOfFusion, "###0.00"));

    ports_.items() = r.ports;
    stage_ = 1;
    ShowStage(1);
}

void listresult::ShowStage(std::int16_t i) {
    const records::PortRecord& p = ports_.at(i);
    Label20.setCaption(std::to_string(i));
    Label21.setCaption(format(p.FlowRate, "###0.000"));
    Label22.setCaption(format(p.Density, "##0.000"));
    Label23.setCaption(format(p.Consistency, "##0.00"));
    Label24.setCaption(format(p.PowerLawIndex, "#0.000"));
    Label25.setCaption(format(p.ViscositySensitivity, "#0.0000"));
    Label26.setCaption(format(p.ReferenceTemperature, "###0.00"));
    Label27.setCaption(format(p.HeatCapacity, "###0.00"));
    Label28.setCaption(format(p.BarrelHtc, "###0.00"));
    Label29.setCaption(format(p.ScrewHtc, "###0.00"));
    Label30.setCaption(format(p.BarrelTemperature, "###0.00"));
    Label31.setCaption(format(p.ScrewTemperature, "###0.00"));
}

void listresult::Command1_Click() { nextStage(1); }
void listresult::Command2_Click() { nextStage(-1); }

void listresult::nextStage(int step) {
    if (ports_.count() == 0) return;
    stage_ = reports::steppedRound(stage_, step, 1, ports_.count());
    ShowStage(static_cast<std::int16_t>(stage_));
}

// The melting results of the file this window listed. A window already open
// keeps what it read; one whose file cannot be opened does not open.
void listresult::Command3_Click() {
    rt::endQuietlyOnError([&] {
        listresult1& details = ui::form<listresult1>();
        details.resultFile = listed_;
        details.show();
    });
}

void listresult::Command4_Click() { unload(); }
