#pragma once
// "Result listing" of the melting results: the melting profile one point at a
// time ("Melting Results") and the calculated results of one element row at a
// time ("Calculated Results"), from the element where melting ends to the
// last row. Opened by listresult on the file it listed; reads that file once,
// in its load.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/result_records.h"

class listresult1 : public ui::Form {
public:
    listresult1();

    ui::Frame Frame1{*this, "Frame1"};
    ui::Frame Frame2{*this, "Frame2"};
    ui::Label Label1{*this, "Label1"};
    ui::Label Label2{*this, "Label2"};
    ui::Label Label3{*this, "Label3"};
    ui::Label Label4{*this, "Label4"};
    ui::Label Label5{*this, "Label5"};
    ui::Label Label6{*this, "Label6"};
    ui::Label Label7{*this, "Label7"};
    ui::Label Label8{*this, "Label8"};
    ui::Label Label9{*this, "Label9"};
    ui::Label Label10{*this, "Label10"};
    ui::Label Label11{*this, "Label11"};
    ui::Label Label12{*this, "Label12"};
    ui::Label Label13{*this, "Label13"};
    ui::Label Label14{*this, "Label14"};
    ui::Label Label15{*this, "Label15"};
    ui::Label Label16{*this, "Label16"};
    ui::Label Label17{*this, "Label17"};
    ui::Label Label18{*this, "Label18"};
    ui::Label Label19{*this, "Label19"};
    ui::Label Label20{*this, "Label20"};
    ui::Label Label21{*this, "Label21"};
    ui::Label Label22{*this, "Label22"};
    ui::Label Label23{*this, "Label23"};
    ui::Label Label24{*this, "Label24"};
    ui::Label Label25{*this, "Label25"};
    ui::Label Label26{*this, "Label26"};
    ui::Label Label27{*this, "Label27"};
    ui::Label Label28{*this, "Label28"};
    ui::Label Label29{*this, "Label29"};
    ui::Label Label30{*this, "Label30"};
    ui::Label Label31{*this, "Label31"};
    ui::Label Label32{*this, "Label32"};
    ui::Label Label33{*this, "Label33"};
    ui::Label Label34{*this, "Label34"};
    ui::Label Label35{*this, "Label35"};
    ui::Label Label36{*this, "Label36"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command5{*this, "Command5"};

    // The result file that the next load reads.
    std::string resultFile;

    void Form_Load();
    void ShowElementResult(std::int16_t e);
    void ShowMeltingPoint(std::int16_t p);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    // "<<" (-1) and ">>" (1): the profile points 0..M and the element rows
    // from the melting end to the last, each going round.
    void nextPoint(int step);
    void nextElement(int step);

    // What the last load read; no element rows when it held no result.
    std::vector<records::ElementRecord> elements_;
    std::vector<records::MeltProfileRow> profile_;
    float radius_ = 0;
    int first_ = 0;    // the element where melting ends
    int element_ = 0;
    int point_ = 0;
};
