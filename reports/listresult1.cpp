#include "reports/listresult1.h"

#include "platform/rt/numtext.h"
#include "reports/result_input.h"
#include "reports/rows.h"
#include "reports/stepping.h"

using rt::format;

listresult1::listresult1() : ui::Form("listresult1") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
}

void listresult1::design() {
    setCaption("Result listing");
    setSize(6450, 8070);  // client area 6330 x 7665
    constexpr gfx::Twips h = 255;

    Frame1.create(120, 120, 6135, 1455, "Melting Results");
    Label1.create(120, 360, 1860, h, "Axial Location (mm) :").setContainer(Frame1);
    Label6.create(2040, 360, 975, h, "").setContainer(Frame1);
    Label2.create(3120, 360, 1860, h, "Unmelted Solid Fraction :").setContainer(Frame1);
    Label7.create(5040, 360, 975, h, "").setContainer(Frame1);
    Label3.create(120, 720, 1860, h, "Average Temperature (C) :").setContainer(Frame1);
    Label8.create(2040, 720, 975, h, "").setContainer(Frame1);
    Label4.create(3120, 720, 1860, h, "Pressure (MPa) : ").setContainer(Frame1);
    Label9.create(5040, 720, 975, h, "").setContainer(Frame1);
    Label5.create(120, 1080, 1980, h, "Cummulative Power (KW) :").setContainer(Frame1);
    Label10.create(2160, 1080, 975, h, "").setContainer(Frame1);
    // Captions too long for their place at the window's font size take a
    // smaller size of the same face, so they show whole beside their values.
    for (ui::Label* l : {&Label3, &Label5}) l->setFont(l->fontName(), 7.5f);
    Command1.create(4200, 1680, 975, 375, "<<");
    Command2.create(5280, 1680, 975, 375, ">>");

    Frame2.create(120, 2040, 6135, 5055, "Calculated Results");
    const char* captions[] = {"Element Number : ",
                              "Element Type :",
                              "Element Position (mm) :",
                              "Element Length (mm) :",
                              "Starvation Point within Element (mm) :",
                              "Fill Factor Left to Starvation Point :",
                              "Fill Factor Right to Starvation Point :",
                              "Pressure as Right End of the Point (MPa) :",
                              "Temperature at Starvation Point (C) :",
                              "Temperatiure at Right End (C) :",
                              "Avg Residence time-Starvation Point (min) :",
                              "Avg Residence time at Right End (min) :",
                              "Cummulative Power at Right End (KW) : "};
    ui::Label* captionLabels[] = {&Label11, &Label12, &Label13, &Label14, &Label15, &Label16, &Label17,
                                  &Label18, &Label19, &Label20, &Label21, &Label22, &Label23};
    ui::Label* valueLabels[] = {&Label24, &Label25, &Label26, &Label27, &Label28, &Label29, &Label30,
                                &Label31, &Label32, &Label33, &Label34, &Label35, &Label36};
    for (int k = 0; k < 13; ++k) {
        const gfx::Twips top = 360 + 360 * k;
        captionLabels[k]->create(120, top, 3900, h, captions[k]).setContainer(Frame2);
        valueLabels[k]->create(4080, top, 1815, h, "").setContainer(Frame2);
    }
    Command5.create(120, 7200, 1335, 375, "Close");
    Command4.create(4200, 7200, 975, 375, "<<");
    Command3.create(5280, 7200, 975, 375, ">>");
}

// A file that cannot be opened ends the load with an error (the window does
// not open); a file that holds no result is reported and nothing is shown.
void listresult1::Form_Load() {
    elements_.clear();
    profile_.clear();
    first_ = element_ = point_ = 0;
    setCaption("Result listing - " + resultFile);
    records::ResultData r;
    if (!reports::takeResult(resultFile, "Result listing", reports::CodeTrim::Trailing, r)) return;
    elements_ = std::move(r.elements);
    profile_ = std::move(r.profile);
    radius_ = reports::screwRadius(r);
    first_ = r.header.RunConditions.MeltEndElement;
    element_ = first_;
    ShowElementResult(static_cast<std::int16_t>(first_));
    point_ = 0;
    ShowMeltingPoint(0);
}

void listresult1::ShowElementResult(std::int16_t e) {
    const records::ElementRecord& el = reports::record(elements_, e);
    Label24.setCaption(std::to_string(e));
    Label25.setCaption(reports::shownText(el.Kind));
    Label26.setCaption(format(el.SegmentStart * radius_, "####0.00"));
    Label27.setCaption(format(el.SegmentLength * radius_, "###0.00"));
    Label28.setCaption(format(el.StarvationPoint * radius_, "###0.00"));
    Label29.setCaption(format(el.FillLeft, "#0.00"));
    Label30.setCaption(format(el.FillRight, "#0.00"));
    Label31.setCaption(rt::generalForm(el.PressureEnd));
    Label32.setCaption(format(el.TempStarvation, "##0.00"));
    Label33.setCaption(format(el.TempEnd, "##0.00"));
    Label34.setCaption(format(el.ResTimeStarvation, "##0.00"));
    Label35.setCaption(format(el.ResTimeEnd, "##0.00"));
    Label36.setCaption(format(el.PowerEnd, "##0.00"));
}

void listresult1::ShowMeltingPoint(std::int16_t p) {
    const records::MeltProfileRow& row = reports::record(profile_, p + 1);
    Label6.setCaption(format(row.AxialPosition * radius_, "###0.00"));
    Label7.setCaption(format(row.SolidFraction, "#0.00"));
    Label8.setCaption(format(row.AverageTemperature, "###0.00"));
    Label9.setCaption(rt::generalForm(row.Pressure));
    Label10.setCaption(format(row.CumulativePower, "####0.00"));
}

void listresult1::Command1_Click() { nextPoint(-1); }
void listresult1::Command2_Click() { nextPoint(1); }
void listresult1::Command3_Click() { nextElement(1); }
void listresult1::Command4_Click() { nextElement(-1); }

void listresult1::nextPoint(int step) {
    if (profile_.empty()) return;
    point_ = reports::steppedRound(point_, step, 0, static_cast<int>(profile_.size()) - 1);
    ShowMeltingPoint(static_cast<std::int16_t>(point_));
}

void listresult1::nextElement(int step) {
    if (elements_.empty()) return;
    element_ = reports::steppedRound(element_, step, first_, static_cast<int>(elements_.size()));
    ShowElementResult(static_cast<std::int16_t>(element_));
}

void listresult1::Command5_Click() { unload(); }
