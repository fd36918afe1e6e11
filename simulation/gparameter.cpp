#include "simulation/gparameter.h"

#include <cmath>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/markers.h"
#include "records/work_files.h"
#include "simulation/parameter_file.h"
#include "simulation/parse_number.h"
#include "simulation/user_message.h"
#include "state/state.h"

namespace {

using records::MeltingBlock;
using records::ParameterFileHeader;
using records::PortRecord;
using records::SolidsBlock;

constexpr const char* kTitle = "Input parameter";

template <auto Member>
float& header(int) {
    return shared::ParameterHeader.*Member;
}
template <auto Member>
float& solids(int) {
    return shared::SolidsParams.*Member;
}
template <auto Member>
float& melting(int) {
    return shared::MeltingParams.*Member;
}
template <auto Member>
float& port(int p) {
    return shared::PortRecords.at(p).*Member;
}

const std::vector<ParameterField>& step1Fields() {
    static const std::vector<ParameterField> fields = {
        {"Screw Rotational Speed (RPM)", header<&ParameterFileHeader::ScrewSpeed>, FieldCheck::AboveHundredth,
         "Screw speed too small. You have to re-input."},
        {"Die Pressure (MPa) -  Optional", header<&ParameterFileHeader::DiePressure>, FieldCheck::NotNegative,
         "Negative Die Pressure not accepted."},
    };
    return fields;
}

const std::vector<ParameterField>& step2Fields() {
    static const std::vector<ParameterField> fields = {
        {"Bulk Density of Solid (g/cm^3)", solids<&SolidsBlock::BulkDensity>, FieldCheck::AboveHundredth,
         "Zero density not accepted."},
        {"Heat Capacity of Solid (KJ/Kg-K)", solids<&SolidsBlock::HeatCapacity>, FieldCheck::Positive,
         "Zeor or minus heat capacity not accpeted."},
        {"Thermal Conductivity of Solid (W/m-K)", solids<&SolidsBlock::ThermalConductivity>, FieldCheck::Positive,
         "Zero conductivity not accepted"},
        {"Friction Coefficient at Barrel Surface", solids<&SolidsBlock::BarrelFriction>, FieldCheck::BarrelFriction,
         "Friction coefficient must be in the range 0-1."},
        {"Friction Coefficient at Screw Surface", solids<&SolidsBlock::ScrewFriction>, FieldCheck::ScrewFriction,
         "Friction coefficient must be in the range 0-1."},
        {"Heat Transfer Coefficient at Barrel Surface (W/m^2-K)", solids<&SolidsBlock::BarrelHtc>, FieldCheck::None, ""},
        {"Heat Transfer Coefficient at Screw Surface (W/m^2-K)", solids<&SolidsBlock::ScrewHtc>, FieldCheck::None, ""},
        {"Barrel Temperature (C)", solids<&SolidsBlock::BarrelTemperature>, FieldCheck::None, ""},
        {"Screw Temperature (C)", solids<&SolidsBlock::ScrewTemperature>, FieldCheck::None, ""},
        {"Solid feed Temperature (C)", solids<&SolidsBlock::FeedTemperature>, FieldCheck::None, ""},
    };
    return fields;
}

const std::vector<ParameterField>& step3Fields() {
    static const std::vector<ParameterField> fields = {
        {"Density of Solid in Melting Region (g/cc)", melting<&MeltingBlock::Density>, FieldCheck::Positive,
         "Zero density not accepted."},
        {"Heat Capacity of Solids (KJ/Kg-K)", melting<&MeltingBlock::HeatCapacity>, FieldCheck::Positive,
         "Zero or minus heat capacity not accepted."},
        {"Melting Temperature (C)", melting<&MeltingBlock::MeltingTemperature>,
         FieldCheck::NotAboveBarrelTemperature, "Melting Temperature should be smaller than barrel Temperature."},
        {"Heat of Fusion (J/g)", melting<&MeltingBlock::HeatOfFusion>, FieldCheck::NotNegative,
         "Negative Heat of Fusion not accepted."},
    };
    return fields;
}

const std::vector<ParameterField>& portFields() {
    static const std::vector<ParameterField> fields = {
        {"Flow Rate through Port 1(kg/hr)", port<&PortRecord::FlowRate>, FieldCheck::PositiveTotalFlow,
         "Flow rate too small. You have to re-input."},
        {"Density of input stream through port 1 (g/cm^3)", port<&PortRecord::Density>, FieldCheck::Positive,
         "Zero density not accepted."},
        {"Heat Capacity (KJ/Kg-K)", port<&PortRecord::HeatCapacity>, FieldCheck::Positive,
         "Zeor or minus heat capacity not accepted."},
        {"Temperature sensitivity of Viscosity b (1/C)", port<&PortRecord::ViscositySensitivity>, FieldCheck::None,
         ""},
        {"Reference Temperature for Viscosity Equation (C)", port<&PortRecord::ReferenceTemperature>,
         FieldCheck::None, ""},
        {"Consistency m0 (KPa-S^n)", port<&PortRecord::Consistency>, FieldCheck::Positive,
         "Zero or minus consistency not accepted."},
        {"Power Law Index n (0.1 - 1.0)", port<&PortRecord::PowerLawIndex>, FieldCheck::PowerLawIndex,
         "Powe law index nust be in the range of 0.1-1.0"},
        {"Heat Transfer Coefficient at Barrel Surface (W/m^2-K)", port<&PortRecord::BarrelHtc>, FieldCheck::None, ""},
        {"Heat Transfer Coefficient at Screw Surface (W/m^2-K)", port<&PortRecord::ScrewHtc>, FieldCheck::None, ""},
        {"Barrel Temperature (C)", port<&PortRecord::BarrelTemperature>, FieldCheck::NotBelowMeltingTemperature,
         "Barrel Temperature should be greater than Melting Temperature."},
        {"Screw Temperature (C)", port<&PortRecord::ScrewTemperature>, FieldCheck::None, ""},
    };
    return fields;
}

// The message a value gets, or null when it is accepted. The limits 0.01
// and 0.1 are compared in double precision, so a single just below them
// (0.01 typed is 0.0099999998) is rejected.
const char* rejection(const ParameterField& field, float v, int portIndex) {
    const double d = v;
    constexpr const char* kFrictionOrder =
        "Screw friction coefficient must be less than barrel friction coefficient.";
    switch (field.check) {
    case FieldCheck::None:
        return nullptr;
    case FieldCheck::AboveHundredth:
        return d <= 0.01 ? field.message : nullptr;
    case FieldCheck::Positive:
        return v <= 0.0f ? field.message : nullptr;
    case FieldCheck::NotNegative:
        return v < 0.0f ? field.message : nullptr;
    case FieldCheck::BarrelFriction:
        if (v <= 0.0f || v >= 1.0f) return field.message;
        return v <= shared::SolidsParams.ScrewFriction ? kFrictionOrder : nullptr;
    case FieldCheck::ScrewFriction:
        if (v <= 0.0f || v >= 1.0f) return field.message;
        return v >= shared::SolidsParams.BarrelFriction ? kFrictionOrder : nullptr;
    case FieldCheck::NotAboveBarrelTemperature:
        return v > shared::SolidsParams.BarrelTemperature ? field.message : nullptr;
    case FieldCheck::PositiveTotalFlow: {
        // A later port may remove melt (a vent), as long as some is left, in
        // mass and in the volume the screw carries; each refusal says which.
        // The volume waits for the port's density, whose own box refuses one
        // that is not above 0.
        if (!(sim::totalFlowThrough(shared::PortRecords, portIndex - 1) + v > 0.0f))
            return portIndex == 1 ? field.message : "Flow rate too small. The total flow must stay above 0.";
        const float density = shared::PortRecords.at(portIndex).Density;
        if (!(density > 0.0f)) return nullptr;
        const float volume = sim::totalVolumeThrough(shared::PortRecords, portIndex - 1) + v / density;
        if (volume > 0.0f && std::isfinite(volume)) return nullptr;
        return "Flow rate not accepted. The total volume flow (each flow over its density) must stay above 0 and "
               "finite.";
    }
    case FieldCheck::PowerLawIndex:
        return d < 0.1 || v > 1.0f ? field.message : nullptr;
    case FieldCheck::NotBelowMeltingTemperature:
        return v < shared::MeltingParams.MeltingTemperature ? field.message : nullptr;
    }
    return nullptr;
}

// Layout of a page in twips: label, box, then the buttons under the rows.
constexpr gfx::Twips kLabelLeft = 240, kLabelWidth = 4920, kBoxLeft = 5280, kBoxWidth = 1440;
constexpr gfx::Twips kRowTop = 240, kRowStep = 420, kRowHeight = 300;
constexpr gfx::Twips kButtonWidth = 1440, kButtonHeight = 375;

std::string portLabel(int portIndex) { return "Flow Rate through Port " + std::to_string(portIndex) + "(kg/hr)"; }
std::string stepCaption(int step) { return "General Parameter - step " + std::to_string(step); }

}  // namespace

// ---- the page family ---------------------------------------------------------

ParameterPage::ParameterPage(std::string className, std::string caption, const std::vector<ParameterField>& fields)
    : ui::Form(std::move(className)), caption_(std::move(caption)), fields_(fields) {}

void ParameterPage::bindControls(const std::vector<ui::Label*>& labels, const std::vector<ui::TextBox*>& boxes,
                                 ui::CommandButton& cancel, ui::CommandButton& next) {
    for (std::size_t i = 0; i < labels.size() && i < boxes.size(); ++i) rows_.push_back({labels[i], boxes[i]});
    cancel_ = &cancel;
    next_ = &next;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        ui::TextBox& box = *rows_[i].box;
        box.onGotFocus = [this, i] { Text_GotFocus(i); };
        box.onKeyDown = [this](int& keyCode, int) { Text_KeyDown(keyCode); };
        box.onLostFocus = [this, i] { Text_LostFocus(i); };
    }
    cancel.onClick = [this] { Command1_Click(); };
    next.onClick = [this] { Command2_Click(); };
}

void ParameterPage::design() {
    setCaption(caption_);
    gfx::Twips y = kRowTop;
    for (std::size_t i = 0; i < rows_.size(); ++i, y += kRowStep) {
        rows_[i].label->create(kLabelLeft, y + 45, kLabelWidth, kRowHeight - 45, fields_[i].caption);
        rows_[i].box->create(kBoxLeft, y, kBoxWidth, kRowHeight);
    }
    y += 180;
    // Created after the boxes, "Next >>" before "Cancel": the tab order.
    next_->create(kBoxLeft, y, kButtonWidth, kButtonHeight, "Next >>");
    cancel_->create(kBoxLeft - kButtonWidth - 240, y, kButtonWidth, kButtonHeight, "Cancel");
    // Cancel is reached whatever the box being left holds: its check waits
    // until the focus moves on to another control.
    cancel_->setCausesValidation(false);
    setSize(kBoxLeft + kBoxWidth + 360, y + kButtonHeight + 300 + 27 * 15);
}

void ParameterPage::showValues() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].box->setText(rt::generalForm(fields_[i].value(currentPort())));
}

bool ParameterPage::valuesAccepted() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (const char* message = rejection(fields_[i], fields_[i].value(currentPort()), currentPort())) {
            ui::msgBox(message, ui::kOkOnly, ui::kNoIcon, kTitle);
            rows_[i].box->setFocus();
            return false;
        }
    }
    return true;
}

void ParameterPage::Command1_Click() { unload(); }

void ParameterPage::Text_GotFocus(std::size_t i) {
    ui::TextBox& box = *rows_[i].box;
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.text().size()));
}

void ParameterPage::Text_KeyDown(int& keyCode) {
    if (keyCode == ui::kKeyUp) ui::sendKeys(ui::SendKey::ShiftTab);
    if (keyCode == ui::kKeyDown) ui::sendKeys(ui::SendKey::Tab);
}

void ParameterPage::Text_LostFocus(std::size_t i) {
    ui::TextBox& box = *rows_[i].box;
    shared::ParseStatus = 0;
    std::string text = box.text();  // the parser rewrites its copy; the box keeps what was typed
    const float value = sim::ParseNumberText(text, shared::ParseStatus);
    const char* message = nullptr;
    if (shared::ParseStatus == sim::kParseCharsDropped)
        message = "Illegel number. Standard correction is made.";
    else if (shared::ParseStatus == sim::kParseOverflow)
        message = "Over Flow. You may have to re-input the number.";
    else
        message = rejection(fields_[i], value, currentPort());
    if (message) {
        ui::msgBox(message, ui::kOkOnly, ui::kNoIcon, kTitle);
        box.setFocus();
        return;
    }
    fields_[i].value(currentPort()) = value;
}

// ---- step 1: speed and die pressure, read from the parameter file ------------

Gparameter1::Gparameter1() : ParameterPage("Gparameter1", stepCaption(1), step1Fields()) {
    bindControls({&Label1, &Label2}, {&Text1, &Text2}, Command1, Command2);
}

bool Gparameter1::portsAnalysed() {
    if (shared::PortCount >= 1) return true;
    ui::msgBox("You have to analyse the extruder first.", ui::kOkOnly, ui::kNoIcon, kTitle);
    return false;
}

void Gparameter1::Form_Load() {
    shared::PortRecords.clear();
    shared::PortRecords.resize(shared::PortCount);
    if (shared::ParameterFile.empty()) {
        showValues();
        return;
    }
    sim::ParameterSet read;
    switch (sim::readParameterFile(shared::ParameterFile, shared::PortCount, read, records::OpenMode::CreateIfMissing)) {
    case sim::ParameterFileRead::Empty:
        // A new name: the file the opening created goes again; the name stays.
        io::kill(shared::ParameterFile);
        showValues();
        return;
    case sim::ParameterFileRead::WrongFormat:
        ui::msgBox("Incorrect file format.", ui::kOkOnly, ui::kNoIcon, kTitle);
        shared::ParameterFile.clear();
        return;  // the boxes stay empty
    case sim::ParameterFileRead::Read:
        shared::ParameterHeader = read.header;
        shared::SolidsParams = read.solids;
        shared::MeltingParams = read.melting;
        shared::PortRecords = std::move(read.ports);
        showValues();
        return;
    }
}

void Gparameter1::Command2_Click() {
    if (valuesAccepted()) showNext<Gparameter2>();
}

// ---- steps 2 and 3: solids and melting properties ----------------------------

Gparameter2::Gparameter2() : ParameterPage("Gparameter2", stepCaption(2), step2Fields()) {
    bindControls({&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8, &Label9, &Label10},
                 {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9, &Text10}, Command1, Command2);
}

void Gparameter2::Command2_Click() {
    if (valuesAccepted()) showNext<Gparameter3>();
}

Gparameter3::Gparameter3() : ParameterPage("Gparameter3", stepCaption(3), step3Fields()) {
    bindControls({&Label1, &Label2, &Label3, &Label4}, {&Text1, &Text2, &Text3, &Text4}, Command1, Command2);
}

void Gparameter3::Command2_Click() {
    if (valuesAccepted()) showNext<Gparameter4>();
}

// ---- step 4 and on: one page per feed port, then the save -------------------

Gparameter4::Gparameter4() : ParameterPage("Gparameter4", stepCaption(4), portFields()) {
    bindControls({&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8, &Label9, &Label10, &Label11},
                 {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8, &Text9, &Text10, &Text11}, Command1,
                 Command2);
}

void Gparameter4::design() {
    ParameterPage::design();
    dlgCMDialog.create();
}

void Gparameter4::Form_Load() {
    port_ = 1;
    // The extruder may have been analysed again since the first page.
    if (!Gparameter1::portsAnalysed()) {
        unload();
        return;
    }
    shared::PortRecords.resize(shared::PortCount);
    ShowPortRecord();
}

void Gparameter4::showPortCaptions(int portIndex) {
    Label1.setCaption(portLabel(portIndex));
    setCaption(stepCaption(portIndex + 3));
    Label1.refresh();
    refresh();
}

void Gparameter4::Command2_Click() {
    // The extruder may have been analysed again while the page was open: the
    // table grows to the new port count, keeping what was entered.
    if (shared::PortRecords.count() < shared::PortCount) shared::PortRecords.resize(shared::PortCount);
    if (!valuesAccepted()) return;
    ++port_;
    showPortCaptions(port_);
    if (port_ == shared::PortCount) Command2.setCaption("Done !");
    if (port_ <= shared::PortCount) {
        ShowPortRecord();
        // The next port's page starts at its first box, as every page does.
        Text1.setFocus();
        return;
    }
    Label1.setCaption(portLabel(shared::PortCount));
    // Until it is saved the page stays on its last port, its boxes still
    // writing to that port's record.
    port_ = shared::PortCount;
    if (!saveParameters()) {
        setCaption(stepCaption(port_ + 3));
        return;
    }
    ui::msgBox("Parameterfile was created!", ui::kOkOnly, ui::kNoIcon, kTitle);
    unload();
}

bool Gparameter4::saveParameters() {
    records::ParameterFileHeader& head = shared::ParameterHeader;
    const auto stamp = [&] {
        head.Code = shared::ExtruderCategory;
        head.Marker = records::markerFor(records::FileKind::Parameter);
    };
    bool keepName = false;
    if (!rt::trim(shared::ParameterFile).empty())
        keepName = ui::msgBox("Parameterfile is already exist. Overwrite ?", ui::kYesNo, ui::kNoIcon,
                              "Setting Parameter") == ui::kYes;
    if (keepName) {
        // A header never read from a parameter file gets its code and marker
        // as for a new name; one read from a file keeps its code.
        if (!records::hasMarker(head.Marker, records::FileKind::Parameter)) stamp();
    } else {
        // A cancel, or No to replacing the file chosen, writes nothing: the
        // page stays as it was, and so does the current file name.
        dlgCMDialog.preset("*.prm", shared::AppDir, "Parameter files(*.prm)|*.prm");
        dlgCMDialog.setCancelError(true);
        if (!rt::endQuietlyOnError([&] { dlgCMDialog.showSave(); })) return false;
        shared::ParameterFile = dlgCMDialog.fileName();
        stamp();
    }

    const records::Calc1Values handOver = sim::calc1FromSharedState();
    if (auto tooLong = sim::calc1TextTooLong(handOver)) {
        ui::msgBox("Path too long for the calculation (at most 126 characters):\n" + *tooLong, ui::kOkOnly,
                   ui::kNoIcon, "Caution");
        return false;
    }
    sim::ParameterSet set{head, shared::SolidsParams, shared::MeltingParams, shared::PortRecords};
    set.ports.resize(shared::PortCount);
    if (!rt::endQuietlyOnError([&] { sim::writeParameterFile(shared::ParameterFile, set); })) {
        ui::msgBox("You can't overwrite. Maybe Read Only file!", ui::kOkOnly, ui::kCritical, "Caution");
        return false;
    }
    const std::string calc1 = shared::TempDir + std::string(records::workfile::kCalc1);
    if (!rt::endQuietlyOnError([&] { sim::writeCalc1File(calc1, handOver); })) {
        const sim::UserMessage m = sim::workFileNotWritten(calc1, "Caution");
        ui::msgBox(m.text, ui::kOkOnly, static_cast<int>(m.icon), m.title);
        return false;
    }
    shared::PortRecords.clear();
    return true;
}
