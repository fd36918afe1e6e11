#pragma once
// "Add Extruder": enters a new extruder code under a chosen series and
// appends it to maincode.dat.
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/catalog_records.h"

class adet : public ui::Form {
public:
    adet();

    ui::Label Label1{*this, "Label1"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text1{*this, "Text1"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void Command1_Click();
    void Command2_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    std::vector<records::CatalogSeriesRec> series_;
};
