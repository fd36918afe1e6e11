#pragma once
// "Extruder Assembly": the user finds a screw, a barrel and optionally a die
// file of the current extruder code, and Make joins them into an extruder
// file, placing the screw against the barrel, then hands over to the
// fitting window. The extruder code is taken once, when the window loads:
// every Find checks against it and Make writes it, whatever code is chosen
// meanwhile. Each Find keeps the records it read; Make converts them with the
// found screw's radius whatever the order of the Finds, and publishes the
// extruder to the shared state only once the file is written.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"

class assemext : public ui::Form {
public:
    assemext();

    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::CommandButton fscrew{*this, "fscrew"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};
    ui::CommandButton fbarrel{*this, "fbarrel"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text3{*this, "Text3"};
    ui::CommandButton fdie{*this, "fdie"};
    ui::CommandButton make{*this, "make"};
    ui::CommonDialog dlgcommon{*this, "dlgcommon"};

    void fscrew_Click();
    void fbarrel_Click();
    void fdie_Click();
    void make_Click();

protected:
    void design() override;
    // Every showing starts with nothing chosen, for the code current then.
    void onLoad() override;

private:
    void forgetChoices();
    // The open dialog on the application directory; the chosen path, or the
    // pattern itself when the user cancels.
    std::string chooseFile(const std::string& pattern, const std::string& filter);
    static void message(const std::string& text);

    // The extruder code of this assembly.
    std::string code_;
    // The records of the last accepted Find of each kind, as read, and the
    // paths they were read from.
    std::vector<records::ScrewRec> screw_;
    std::string screwPath_;
    std::vector<records::BarrelRec> barrel_;
    std::string barrelPath_;
    std::optional<records::DieRec> die_;
    std::string diePath_;
};
