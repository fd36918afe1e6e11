#pragma once
// The result view: one result file along the axial position of the
// simulated extruder. At the top the path, below it the fill-degree strip,
// in the middle a chart area with its grid and L/D ticks, at the bottom the
// extruder outline, and seven buttons: six charts and Print. The window is
// drawn only when it loads or a button is clicked; every click reads the
// file that ResultFile names again and redraws the whole window from it.
//
// The view state is kept in the window object: it survives closing the
// window, and the next opening's load overwrites it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/one_based_list.h"
#include "records/result_file.h"
#include "results/extruder_outline.h"
#include "results/result_charts.h"

class dispresult : public ui::Form {
public:
    dispresult();

    ui::Label Label22{*this, "Label22"};
    ui::Label Label23{*this, "Label23"};
    ui::Label Label1{*this, "Label1"};
    ui::Label Label2{*this, "Label2"};
    ui::Label Label3{*this, "Label3"};
    ui::Label Label4{*this, "Label4"};
    ui::Label Label13{*this, "Label13"};
    ui::Label Label20{*this, "Label20"};
    ui::Label Label12{*this, "Label12"};
    ui::Label Label5{*this, "Label5"};
    ui::Label Label6{*this, "Label6"};
    ui::Label Label7{*this, "Label7"};
    ui::Label Label8{*this, "Label8"};
    ui::Label Label9{*this, "Label9"};
    ui::Label Label10{*this, "Label10"};
    ui::Label Label11{*this, "Label11"};
    ui::Label Label14{*this, "Label14"};
    ui::Label Label15{*this, "Label15"};
    ui::Label Label16{*this, "Label16"};
    ui::Label Label17{*this, "Label17"};
    ui::Label Label18{*this, "Label18"};
    ui::Label Label19{*this, "Label19"};
    ui::Label Label21{*this, "Label21"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command6{*this, "Command6"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command7{*this, "Command7"};
    ui::Shape Shape3{*this, "Shape3"};
    ui::Shape Shape1{*this, "Shape1"};
    ui::Shape Shape4{*this, "Shape4"};
    ui::Shape Shape2{*this, "Shape2"};

    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    // Reads the result file and draws the frame, the strip, the grid, the
    // ticks and the outline. False when the file could not be read or shown
    // (the user has been told; nothing of the view state changed).
    bool LoadResultView();
    void DrawExtruderOutline();
    void PrintExtruderOutline();
    // Prints the common page of a printed chart and ends it. False when the
    // file could not be read (the user has been told; nothing printed).
    bool PrintResultPage();
    void PrintPressureChart();
    void PrintTemperatureChart();
    void PrintMeltingChart();
    void PrintResidenceTimeChart();
    void PrintPowerChart();
    void PrintTorqueChart();

    // ---- View state ----
    records::AnalysisHeader ViewHeader;
    records::OneBasedList<records::ElementRecord> ViewElements;
    records::RunState ViewRunState;
    std::vector<records::MeltProfileRow> ViewProfile;            // rows 0 .. M
    records::OneBasedList<records::ScrewRec> ViewScrewElements;  // without header, root and head
    std::vector<records::BarrelRec> ViewBarrelRecs;              // header first, die last
    double ChartXScale = 0;  // twips per screw radius
    double ChartYScale = 0;  // twips per unit of the plotted value
    float OutlineRadius = 0; // mm
    std::array<float, 6> AxialTicks{};
    std::array<float, 7> ValueTicks{};  // bottom first
    bool StripOverfilled = false;
    std::int16_t ChartKind = 0;         // the chart shown last; 0 before the first
    std::int16_t VentWarningShown = 0;  // 1 once a load of this opening completed
    double ChartX = 0, ChartNextX = 0;  // pen positions, twips from the strip's left edge
    // Set by the first load that filled the view state.
    bool ViewLoaded = false;

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onUnload() override { Form_Unload(); }

private:
    // Reads ResultFile; false after telling the user why it cannot be shown.
    bool readResult(records::ResultData& out);
    // Takes the rows of a result up to its port table into the view state,
    // with the code, the caption, the port table and the x scale.
    void takeProfiles(const records::ResultData& result);
    results::ChartSource chartSource() const;
    results::OutlineInput outlineInput(float radius) const;
    void ShowChart(std::int16_t kind);
    void PrintChart(std::int16_t kind);
    // Value ticks top to bottom, axial ticks left to right.
    std::array<ui::Label*, 7> valueTickLabels();
    void showValueTick(ui::Label& tick, const std::string& text);
    std::array<ui::Label*, 6> axialTickLabels();
};
