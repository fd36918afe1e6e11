#include "results/dispresult.h"

#include <cmath>

#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "platform/ui/printer.h"
#include "results/result_frame.h"
#include "simulation/core.h"
#include "state/header_code.h"
#include "state/state.h"

using namespace results;

namespace {

constexpr const char* kTitle = "Result View";
constexpr const char* kTitleLine = "VELKOR-TWIN SCREW EXTRUDER VERSION 3A";
constexpr const char* kAxisTitle = "Axial Position (L/D)";
// The value ticks stand left of the chart, the window's labels reaching to
// its left border, so that a tick of five characters ("10.09") shows whole.
constexpr gfx::Twips kValueTickLeft = 840, kValueTickTop = 2520, kValueTickStep = 240;
constexpr gfx::Twips kValueTickWidth = kStripLeft - kValueTickLeft;
constexpr gfx::Twips kAxialTickLeft = 1080, kAxialTickStep = 1680, kAxialTickTop = 4200;
// The window's four frames share their left edge and width. The outline is
// cut to the pixels its frame covers, which end one pixel before left +
// width and top + height.
constexpr gfx::Twips kFrameLeft = 120, kFrameWidth = 10455, kFrameRight = kFrameLeft + kFrameWidth;
constexpr gfx::Twips kOutlineTop = 4920, kOutlineHeight = 1215;
constexpr OutlineClip kOutlineFrame{kFrameLeft, kOutlineTop, kFrameRight - gfx::kTwipsPerPixel,
                                    kOutlineTop + kOutlineHeight - gfx::kTwipsPerPixel};
// The printed page's three frames share the top-left corner (120, 120) and
// the window's frame width; the outline lies in the last, below the second,
// and is cut to it.
constexpr gfx::Twips kPageFrameTop = 120, kPageChartFrameHeight = 4815, kPageFrameHeight = 6030;
constexpr OutlineClip kPageOutlineFrame{kFrameLeft, kPageFrameTop + kPageChartFrameHeight, kFrameRight,
                                        kPageFrameTop + kPageFrameHeight};
// The chart's title stands beside the exponent and unit, above the chart's
// top line (y 2660), on the window and on the page. On paper its line of 12
// points, descenders included, is taller than the window's label: it starts
// higher, so that no grid line crosses it.
constexpr gfx::Twips kChartTitleLeft = 2280, kChartTitleTop = 2400, kPrintedTitleTop = 2320;
constexpr float kPrintedTitleSize = 12, kPrintedExponentSize = 10;
// The printed file line starts at 3200 and ends before the right line of
// the frame around it.
constexpr gfx::Twips kPrintedFileLeft = 3200;

}  // namespace

dispresult::dispresult() : ui::Form("dispresult") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command7.onClick = [this] { Command7_Click(); };
}

void dispresult::design() {
    setCaption("Velkor-twin Screw");
    setSmoothSlopes(true);  // the curves are smoothed, grid and strip stay sharp
    auto label = [](ui::Label& l, gfx::Twips left, gfx::Twips top, gfx::Twips width, std::string caption = {}) {
        l.create(left, top, width, 255, std::move(caption));
        l.setForeColor(gfx::kWhite);
        l.setTransparent(true);
    };
    Label22.create(2520, 240, 5895, 375, kTitleLine);
    Label22.setFont("Times New Roman", 12);
    Label22.setForeColor(kYellow);
    Label22.setTransparent(true);
    label(Label23, 360, 600, 9975);
    label(Label1, 240, 1680, 375);
    label(Label2, 840, 1320, 375);
    label(Label3, 840, 1680, 375);
    label(Label4, 840, 2040, 375);
    // The exponent and the chart title stand side by side just above the
    // chart's top line, where no grid line crosses them; the maximum of a
    // curve reaches up to them, so they have no background of their own.
    label(Label13, 1440, 2400, 735);
    label(Label20, kChartTitleLeft, kChartTitleTop, 4695);
    label(Label12, 240, 3240, 375);
    gfx::Twips top = kValueTickTop;
    for (ui::Label* l : valueTickLabels()) {
        label(*l, kValueTickLeft, top, kValueTickWidth);
        top += kValueTickStep;
    }
    gfx::Twips left = kAxialTickLeft;
    for (ui::Label* l : axialTickLabels()) {
        label(*l, left, kAxialTickTop, 735);
        left += kAxialTickStep;
    }
    label(Label21, 4320, 4560, 2415, kAxisTitle);

    Command1.create(240, 6240, 1335, 375, "pressure Profile ");
    Command2.create(1680, 6240, 1575, 375, "Temperature Profile");
    Command3.create(3360, 6240, 1335, 375, "Melting Profile");
    Command4.create(4800, 6240, 1455, 375, "Residence Time");
    Command6.create(6360, 6240, 1575, 375, "Power Consumption");
    Command5.create(8040, 6240, 1215, 375, "Torque");
    Command5.setBackColor(gfx::rgb(192, 192, 192));
    Command7.create(9360, 6240, 1095, 375, "Print");

    auto frame = [](ui::Shape& s, gfx::Twips top, gfx::Twips height) {
        s.create(kFrameLeft, top, kFrameWidth, height);
        s.setBorderColor(kDarkRed);
        s.setBorderWidth(2);
    };
    frame(Shape3, 120, 855);
    frame(Shape1, 120, 4815);
    frame(Shape4, kOutlineTop, kOutlineHeight);
    frame(Shape2, 6120, 615);
}

std::array<ui::Label*, 7> dispresult::valueTickLabels() {
    return {&Label5, &Label6, &Label7, &Label8, &Label9, &Label10, &Label11};
}

// A value tick shows as its label's caption. The label reaches from 840 to
// the chart's left border, room for five characters; a longer tick (only an
// axis without a rule of its own gives one, such as "200.17") starts earlier
// by the characters it adds, so that it too shows whole.
void dispresult::showValueTick(ui::Label& tick, const std::string& text) {
    constexpr std::size_t kFits = 5;
    const std::size_t extra = text.size() > kFits ? text.size() - kFits : 0;
    const gfx::Twips left = kValueTickLeft - static_cast<gfx::Twips>(extra) * gfx::charWidth(tick.fontSize());
    tick.move(left, tick.top(), kStripLeft - left, tick.height());
    tick.setCaption(text);
}

std::array<ui::Label*, 6> dispresult::axialTickLabels() {
    return {&Label14, &Label15, &Label16, &Label17, &Label18, &Label19};
}

void dispresult::Form_Load() {
    LoadResultView();
    setSize(10785, 7215);
}

void dispresult::Form_Unload() { VentWarningShown = 0; }

// ---- loading ----------------------------------------------------------------

bool dispresult::readResult(records::ResultData& out) {
    records::ResultCheck check;
    try {
        check = records::readResultFile(shared::ResultFile, records::ResultExtent::WithExtruder, out);
    } catch (const rt::Error& e) {
        ui::msgBox(shared::ResultFile + "\n" + e.description(), ui::kOkOnly, ui::kCritical, kTitle);
        return false;
    }
    if (check != records::ResultCheck::Ok || !viewable(out)) {
        ui::msgBox("Incorrect file format.", ui::kOkOnly, ui::kNoIcon, kTitle);
        return false;
    }
    return true;
}

void dispresult::takeProfiles(const records::ResultData& result) {
    shared::ExtruderCategory = shared::headerCode(result.header.Code);
    setCaption(shared::ExtruderCategory + "     " + shared::ResultFile);
    ViewHeader = result.header;
    ViewElements.items() = result.elements;
    ViewRunState = result.runState;
    ViewProfile = result.profile;
    shared::PortRecords.items() = result.ports;
    ChartXScale = chartXScale(ViewHeader.ExtruderHeader.TotalLength);
    ChartYScale = 721;
    ChartX = ViewElements.at(1).SegmentStart * ChartXScale;
}

bool dispresult::LoadResultView() {
    setBackColor(kWindowBlue);
    records::ResultData result;
    if (!readResult(result)) return false;
    takeProfiles(result);
    Label23.setCaption(shared::ResultFile);
    OutlineRadius = result.screw[0].headerScrewDiameter() / 2;
    ViewScrewElements.items().assign(result.screw.begin() + 2, result.screw.end() - 1);
    ViewBarrelRecs = result.barrel;

    drawStripLines(*this);
    StripOverfilled = drawFillStrip(*this, ViewElements, ChartXScale, gfx::kWhite, ChartX, ChartNextX);
    if (VentWarningShown != 1 && StripOverfilled) {
        ui::msgBox(std::string("Warning : Vent Flushing occurs. Throughtput may be too") + '\n' +
                       "              high or left handed element appears in vent region.",
                   ui::kOkOnly, ui::kCritical, "Caution!");
    }
    drawStripFrame(*this, kYellow);
    drawWindowGrid(*this);

    const records::ExtHeader& ext = ViewHeader.ExtruderHeader;
    AxialTicks = axialTicks(ext.Gap, ext.TotalLength);
    int k = 0;
    for (ui::Label* l : axialTickLabels()) {
        l->setCaption(axialTickText(k, AxialTicks[static_cast<std::size_t>(k)]));
        ++k;
    }
    Label20.setCaption("");
    Label1.setCaption("f");
    Label2.setCaption("1.0");
    Label3.setCaption("0.5");
    Label4.setCaption("0.0");
    refresh();
    const char* emptyTicks[] = {"0.09", "0.08", "0.07", "0.06", "0.05", "0.04", "0.03"};
    k = 0;
    for (ui::Label* l : valueTickLabels()) l->setCaption(emptyTicks[k++]);
    Label12.setCaption("");
    Label13.setVisible(false);

    DrawExtruderOutline();
    VentWarningShown = 1;
    ViewLoaded = true;
    return true;
}

// ---- outline ----------------------------------------------------------------

OutlineInput dispresult::outlineInput(float radius) const {
    const records::ExtHeader& ext = ViewHeader.ExtruderHeader;
    return {ViewBarrelRecs, ViewScrewElements, radius, AxialTicks[0], AxialTicks[5], ext.Gap, ext.BarrelOverhang};
}

// A screw that starts well before the barrel puts its root left of the
// frame and of the window: the window's outline is cut to its frame.
void dispresult::DrawExtruderOutline() {
    drawExtruderOutline(*this, gfx::kWhite, outlineInput(OutlineRadius), &kOutlineFrame);
}

// The printed outline takes its radius from the barrel header, records the
// extruder's barrel and die paths as the current ones, and ends the page. A
// screw that starts well before the barrel is cut to the page's frame, as
// on the window.
void dispresult::PrintExtruderOutline() {
    ui::Printer& printer = ui::printer();
    const records::ExtHeader& ext = ViewHeader.ExtruderHeader;
    shared::BarrelFile = ext.BarrelFile.str();
    shared::DieFile = ext.DieFile.str();
    if (!ViewBarrelRecs.empty()) {
        OutlineRadius = ViewBarrelRecs[0].headerScrewDiameter() / 2;
        drawExtruderOutline(printer, gfx::kBlack, outlineInput(OutlineRadius), &kPageOutlineFrame);
    }
    printer.endPage();
}

// ---- charts on screen ---------------------------------------------------------

ChartSource dispresult::chartSource() const {
    return {ViewHeader, ViewElements, ViewRunState, ViewProfile, ChartXScale};
}

void dispresult::ShowChart(std::int16_t kind) {
    cls();
    ChartKind = kind;
    if (!LoadResultView()) return;
    const ChartSource source = chartSource();
    const ValueAxis axis = chartAxis(kind, source, "#.###");
    if (kind == kTorqueChart) sim::ScrewSpeedRps = axis.screwSpeedRps;
    Label12.setCaption(axis.letter);
    Label13.setVisible(kind != kMeltingChart);
    Label20.setCaption(axis.title);
    ValueTicks = axis.ticks;
    if (kind != kMeltingChart) Label13.setCaption(axis.exponentText);
    std::size_t j = ValueTicks.size();
    for (ui::Label* l : valueTickLabels()) showValueTick(*l, tickText(ValueTicks[--j]));
    ChartYScale = axis.yScale;
    drawChartCurve(*this, gfx::kWhite, kind, source, axis, ChartX, ChartNextX);
    refresh();
}

void dispresult::Command1_Click() { ShowChart(kPressureChart); }
void dispresult::Command2_Click() { ShowChart(kTemperatureChart); }
void dispresult::Command3_Click() { ShowChart(kMeltingChart); }
void dispresult::Command4_Click() { ShowChart(kResidenceChart); }
void dispresult::Command5_Click() { ShowChart(kTorqueChart); }
void dispresult::Command6_Click() { ShowChart(kPowerChart); }

// ---- printed charts -----------------------------------------------------------

void dispresult::Command7_Click() {
    switch (ChartKind) {
    case kPressureChart: PrintPressureChart(); break;
    case kTemperatureChart: PrintTemperatureChart(); break;
    case kMeltingChart: PrintMeltingChart(); break;
    case kResidenceChart: PrintResidenceTimeChart(); break;
    case kPowerChart: PrintPowerChart(); break;
    case kTorqueChart: PrintTorqueChart(); break;
    default: ui::msgBox("You must select one.", ui::kOkOnly, ui::kNoIcon, kTitle); break;
    }
}

void dispresult::PrintPressureChart() { PrintChart(kPressureChart); }
void dispresult::PrintTemperatureChart() { PrintChart(kTemperatureChart); }
void dispresult::PrintMeltingChart() { PrintChart(kMeltingChart); }
void dispresult::PrintResidenceTimeChart() { PrintChart(kResidenceChart); }
void dispresult::PrintPowerChart() { PrintChart(kPowerChart); }
void dispresult::PrintTorqueChart() { PrintChart(kTorqueChart); }

// The chart's axis texts and curve from the view state in memory, then the
// common page, which reads the file again and ends the page; then the
// window shows the chart again. A page that cannot be finished is thrown
// away, never left for the next printout. A file that the page cannot read
// has been reported once: the window is not loaded from it again to say so
// a second time, and keeps what it shows.
void dispresult::PrintChart(std::int16_t kind) {
    if (ViewLoaded) {
        ui::Printer& printer = ui::printer();
        const ChartSource source = chartSource();
        const ValueAxis axis = chartAxis(kind, source, "#0.##0");
        if (kind == kTorqueChart) sim::ScrewSpeedRps = axis.screwSpeedRps;
        printer.setFontSize(12);
        printer.printText(240, 3420, axis.letter);
        ValueTicks = axis.ticks;
        if (kind != kMeltingChart) {
            // On the title's line, their lines ending alike, from the chart's
            // left edge: clear of the chart's top line and of the title.
            printer.setFontSize(kPrintedExponentSize);
            printer.printText(kStripLeft,
                              kPrintedTitleTop + gfx::lineHeight(kPrintedTitleSize) -
                                  gfx::lineHeight(kPrintedExponentSize),
                              axis.exponentText);
        }
        printer.setFontSize(8);
        // Every tick ends where one of four characters ("0.00") at 840 ends,
        // clear of the chart's left border: a longer one starts earlier.
        const gfx::Twips tickEnd = kValueTickLeft + printer.textWidth("0.00");
        for (int j = 0; j <= 6; ++j) {
            const std::string tick = tickText(ValueTicks[static_cast<std::size_t>(6 - j)]);
            printer.printText(tickEnd - printer.textWidth(tick), kValueTickTop + kValueTickStep * static_cast<float>(j),
                              tick);
        }
        printer.setFontSize(kPrintedTitleSize);
        printer.printText(kChartTitleLeft, kPrintedTitleTop, axis.title);
        ChartYScale = axis.yScale;
        drawChartCurve(printer, gfx::kBlack, kind, source, axis, ChartX, ChartNextX);
        try {
            if (!PrintResultPage()) {
                printer.killDoc();
                return;
            }
        } catch (const rt::Error& e) {
            printer.killDoc();
            ui::msgBox("The chart could not be printed.\n" + e.description(), ui::kOkOnly, ui::kCritical, kTitle);
        }
    }
    ShowChart(kind);
}

bool dispresult::PrintResultPage() {
    records::ResultData result;
    if (!readResult(result)) return false;
    ui::Printer& printer = ui::printer();
    takeProfiles(result);
    printer.setFontSize(11);
    printer.printText(2520, 240, kTitleLine);
    // A path too long for the characters that end before the frame's right
    // line is shortened in the middle of its folders, the file's name whole.
    printer.setFontSize(10);
    const double characters = (kFrameRight - kPrintedFileLeft) / printer.textWidth("0");
    const auto room = static_cast<std::size_t>(std::ceil(characters)) - 1;
    printer.printText(kPrintedFileLeft, 600, rt::shortenedPath(shared::ResultFile, room));

    drawStripLines(printer);
    drawFillStrip(printer, ViewElements, ChartXScale, kPrintedOverfill, ChartX, ChartNextX);
    drawStripFrame(printer, kDarkRed);
    drawPageGrid(printer);

    const records::ExtHeader& ext = ViewHeader.ExtruderHeader;
    const std::array<float, 6> ticks = axialTicks(ext.Gap, ext.TotalLength);
    printer.setFontSize(8);
    for (int k = 0; k <= 5; ++k)
        printer.printText(kAxialTickLeft + kAxialTickStep * static_cast<float>(k), kAxialTickTop,
                          axialTickText(k, ticks[static_cast<std::size_t>(k)]));
    printer.setFontSize(12);
    printer.printText(240, 1680, "f");
    printer.setFontSize(8);
    printer.printText(840, 1320, "1.0");
    printer.printText(840, 1680, "0.5");
    printer.printText(840, 2040, "0.0");
    printer.setFontSize(12);
    printer.printText(4440, 4560, kAxisTitle);

    printer.setDrawWidth(2);
    for (gfx::Twips height : {855.0f, kPageChartFrameHeight, kPageFrameHeight})
        printer.lineStep(120, 120, 10455, height, kDarkRed, gfx::LineStyle::Box);
    printer.setDrawWidth(1);
    PrintExtruderOutline();
    return true;
}
