#pragma once
// The parameter wizard: four pages that take the process parameters of a
// simulation — screw speed and die pressure; the solids properties; the
// melting properties; and, one page per feed port, the melt stream entering
// there. Every box is checked when it loses the focus: a rejected entry is
// not stored and the focus goes back to it. Going to Cancel checks nothing.
// "Next >>" also checks every box's stored value, so that values shown from
// a parameter file or kept in memory meet the same checks. The last page
// saves the parameter file and hands the analysis values to the calculation.
//
// Each page unloads itself before it shows the next, so at most one is open;
// accepted values live in the shared variables and survive Cancel.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

// What a box's value must satisfy.
enum class FieldCheck {
    None,
    AboveHundredth,          // value > 0.01
    Positive,                // value > 0
    NotNegative,             // value >= 0
    BarrelFriction,          // 0 < value < 1, above the stored screw friction
    ScrewFriction,           // 0 < value < 1, below the stored barrel friction
    NotAboveBarrelTemperature,
    PositiveTotalFlow,       // the flows of ports 1..p, this one included, leave > 0 kg/hr and a finite > 0 l/hr
    PowerLawIndex,           // 0.1 <= value <= 1
    NotBelowMeltingTemperature,
};

// One box of a page: its label, where its value is stored (for the page's
// current port), its check and the message of a rejected value.
struct ParameterField {
    const char* caption;
    float& (*value)(int port);
    FieldCheck check;
    const char* message;
};

// What the four pages share: a label and a box per field, "Cancel" and
// "Next >>". Tab order: the boxes in table order, "Next >>", "Cancel".
class ParameterPage : public ui::Form {
public:
    // Cancel: unloads the page; accepted values stay.
    void Command1_Click();

protected:
    ParameterPage(std::string className, std::string caption, const std::vector<ParameterField>& fields);
    // Called by each page's constructor with its named controls, in table
    // order; wires the boxes, Cancel and Next.
    void bindControls(const std::vector<ui::Label*>& labels, const std::vector<ui::TextBox*>& boxes,
                      ui::CommandButton& cancel, ui::CommandButton& next);
    // "Next >>" (on the port pages also "Done !").
    virtual void Command2_Click() = 0;
    // Unloads the page and shows the next one.
    template <class Next>
    void showNext() {
        unload();
        ui::form<Next>().show();
    }
    void design() override;
    // The pages' load: every box shows its stored value.
    void onLoad() override { showValues(); }
    void showValues();
    // True when every box's stored value passes its check; otherwise the
    // first box refused says why and takes the focus.
    bool valuesAccepted();
    virtual int currentPort() const { return 1; }

private:
    struct Row {
        ui::Label* label;
        ui::TextBox* box;
    };
    void Text_GotFocus(std::size_t i);
    void Text_KeyDown(int& keyCode);
    void Text_LostFocus(std::size_t i);

    std::string caption_;
    const std::vector<ParameterField>& fields_;
    std::vector<Row> rows_;
    ui::CommandButton* cancel_ = nullptr;
    ui::CommandButton* next_ = nullptr;
};

class Gparameter1 : public ParameterPage {
public:
    Gparameter1();

    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    // The wizard needs the feed ports of an analysed extruder; false, after
    // telling the user, when there is none.
    static bool portsAnalysed();

    void Form_Load();
    void Command2_Click() override;

protected:
    void onLoad() override { Form_Load(); }
};

class Gparameter2 : public ParameterPage {
public:
    Gparameter2();

    ui::Label Label1{*this, "Label1"}, Label2{*this, "Label2"}, Label3{*this, "Label3"}, Label4{*this, "Label4"},
        Label5{*this, "Label5"}, Label6{*this, "Label6"}, Label7{*this, "Label7"}, Label8{*this, "Label8"},
        Label9{*this, "Label9"}, Label10{*this, "Label10"};
    ui::TextBox Text1{*this, "Text1"}, Text2{*this, "Text2"}, Text3{*this, "Text3"}, Text4{*this, "Text4"},
        Text5{*this, "Text5"}, Text6{*this, "Text6"}, Text7{*this, "Text7"}, Text8{*this, "Text8"},
        Text9{*this, "Text9"}, Text10{*this, "Text10"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Command2_Click() override;
};

class Gparameter3 : public ParameterPage {
public:
    Gparameter3();

    ui::Label Label1{*this, "Label1"}, Label2{*this, "Label2"}, Label3{*this, "Label3"}, Label4{*this, "Label4"};
    ui::TextBox Text1{*this, "Text1"}, Text2{*this, "Text2"}, Text3{*this, "Text3"}, Text4{*this, "Text4"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Command2_Click() override;
};

class Gparameter4 : public ParameterPage {
public:
    Gparameter4();

    ui::Label Label1{*this, "Label1"}, Label2{*this, "Label2"}, Label3{*this, "Label3"}, Label4{*this, "Label4"},
        Label5{*this, "Label5"}, Label6{*this, "Label6"}, Label7{*this, "Label7"}, Label8{*this, "Label8"},
        Label9{*this, "Label9"}, Label10{*this, "Label10"}, Label11{*this, "Label11"};
    ui::TextBox Text1{*this, "Text1"}, Text2{*this, "Text2"}, Text3{*this, "Text3"}, Text4{*this, "Text4"},
        Text5{*this, "Text5"}, Text6{*this, "Text6"}, Text7{*this, "Text7"}, Text8{*this, "Text8"},
        Text9{*this, "Text9"}, Text10{*this, "Text10"}, Text11{*this, "Text11"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommonDialog dlgCMDialog{*this, "dlgCMDialog"};

    void Form_Load();
    void ShowPortRecord() { showValues(); }
    // "Next >>" to the next port's page; "Done !" on the last one saves.
    void Command2_Click() override;

    // The port whose stream the page shows.
    int currentPort() const override { return port_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    // The page's captions for a port.
    void showPortCaptions(int port);
    // Writes the parameter file and the calculation's hand-over; false,
    // after telling the user, when it could not, and false without a word
    // when the user cancelled the save dialog.
    bool saveParameters();

    int port_ = 1;
};
