#include "elements/element_list.h"

#include "catalog/catalog_files.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_records.h"
#include "state/state.h"

namespace elements {

bool refuseExtruderCode(const std::string& title) {
    // A blank code names no element files (it would make hidden files such
    // as ".gs"); it comes from a design file whose header holds no code.
    if (rt::trim(shared::ExtruderCategory).empty()) {
        ui::msgBox("You must select Extruder Category.", ui::kOkOnly, ui::kInformation, "Caution");
        return true;
    }
    if (catalog::codeNameFault(shared::ExtruderCategory).empty()) return false;
    ui::msgBox(catalog::refusedCodeMessage(shared::ExtruderCategory), ui::kOkOnly, ui::kNoIcon, title);
    return true;
}

void tellFull(int most, const std::string& title) {
    ui::msgBox("An element file holds at most " + std::to_string(most) + " elements.", ui::kOkOnly, ui::kNoIcon,
               title);
}

bool allNumbers(std::initializer_list<std::string> faults, const std::string& title) {
    for (const std::string& fault : faults) {
        if (!fault.empty()) {
            ui::msgBox(fault, ui::kOkOnly, ui::kNoIcon, title);
            return false;
        }
    }
    return true;
}

void showHand(ui::ComboBox& combo, std::int16_t hand) {
    if (hand == records::kLeftHanded) combo.setText("Left");
    else if (hand == records::kRightHanded) combo.setText("Right");
}

bool chosenHand(const ui::ComboBox& combo, std::int16_t& hand) {
    switch (combo.listIndex()) {
    case 0: hand = records::kLeftHanded; return true;
    case 1: hand = records::kRightHanded; return true;
    default: return false;
    }
}

}  // namespace elements
