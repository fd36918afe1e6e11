#pragma once
// "Result listing": the content of a result file (*.flw) in labelled fields:
// the general data of the run, the melt stream of one feed port at a time (a
// stage, stepped with "<<" and ">>"), and the solids conveying and melting
// parameters. "Result  /  Melting results" opens listresult1 on the same
// file. Reads the file named by ResultFile once, in its load; writes nothing
// to files.
//
// The window keeps its own copy of the ports it read, so its stages stay
// those of its file whatever later replaces the shared PortRecords.
#include <cstdint>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"

class listresult : public ui::Form {
public:
    listresult();

    ui::Frame Frame1{*this, "Frame1"};
    ui::Frame Frame2{*this, "Frame2"};
    ui::Frame Frame3{*this, "Frame3"};
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
    ui::Label Label37{*this, "Label37"};
    ui::Label Label38{*this, "Label38"};
    ui::Label Label39{*this, "Label39"};
    ui::Label Label40{*this, "Label40"};
    ui::Label Label41{*this, "Label41"};
    ui::Label Label42{*this, "Label42"};
    ui::Label Label43{*this, "Label43"};
    ui::Label Label44{*this, "Label44"};
    ui::Label Label45{*this, "Label45"};
    ui::Label Label46{*this, "Label46"};
    ui::Label Label47{*this, "Label47"};
    ui::Label Label48{*this, "Label48"};
    ui::Label Label49{*this, "Label49"};
    ui::Label Label50{*this, "Label50"};
    ui::Label Label51{*this, "Label51"};
    ui::Label Label52{*this, "Label52"};
    ui::Label Label53{*this, "Label53"};
    ui::Label Label54{*this, "Label54"};
    ui::Label Label55{*this, "Label55"};
    ui::Label Label56{*this, "Label56"};
    ui::Label Label57{*this, "Label57"};
    ui::Label Label58{*this, "Label58"};
    ui::Label Label59{*this, "Label59"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::LineControl Line1{*this, "Line1"};

    void Form_Load();
    // Fills the stage fields from port i of the listed file.
    void ShowStage(std::int16_t i);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    // ">>" (1) and "<<" (-1): the stages 1..N, going round.
    void nextStage(int step);

    // The file of the last load, which the melting results window reads.
    std::string listed_;
    // Ports 1..N of that file; empty when it held no result.
    records::OneBasedList<records::PortRecord> ports_;
    int stage_ = 0;
};
