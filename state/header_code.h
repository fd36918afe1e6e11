#pragma once
// The extruder code that a design or extruder file's header names, as it
// becomes the current code.
#include <cstddef>
#include <string>

#include "records/design_records.h"

namespace shared {

// A file shown, analysed or fitted: its header's code field without blanks
// at either end. One rule for the screw, barrel and extruder headers.
template <std::size_t N>
std::string headerCode(const records::FixedText<N>& field) {
    return field.trimmed();
}

// Edit Existing, screw and barrel headers: the code field up to its first
// blank, or the whole field when it holds none. A code with an inner blank
// therefore yields only its first word.
std::string codeOfScrewHeader(const records::ScrewRec& header);
std::string codeOfBarrelHeader(const records::BarrelRec& header);
// Edit Existing, die record: the code field without leading and trailing blanks.
std::string codeOfDieRecord(const records::DieRec& die);

}  // namespace shared
