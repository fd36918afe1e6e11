#pragma once
// The extruder code that the Edit Existing commands take from the first
// record of the chosen design file.
#include <string>

#include "records/design_records.h"

namespace shared {

// Screw and barrel headers: the code field up to its first blank, or the
// whole field when it holds none. A code with an inner blank therefore
// yields only its first word.
std::string codeOfScrewHeader(const records::ScrewRec& header);
std::string codeOfBarrelHeader(const records::BarrelRec& header);
// Die record: the code field without leading and trailing blanks.
std::string codeOfDieRecord(const records::DieRec& die);

}  // namespace shared
