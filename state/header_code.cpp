#include "state/header_code.h"

namespace shared {

namespace {
std::string upToFirstBlank(const std::string& field) {
    std::string::size_type blank = field.find(' ');
    return blank == std::string::npos ? field : field.substr(0, blank);
}
}  // namespace

std::string codeOfScrewHeader(const records::ScrewRec& header) { return upToFirstBlank(header.Code.str()); }

std::string codeOfBarrelHeader(const records::BarrelRec& header) { return upToFirstBlank(header.Code.str()); }

std::string codeOfDieRecord(const records::DieRec& die) { return headerCode(die.Code); }

}  // namespace shared
