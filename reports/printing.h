#pragma once
// Sends the lines of a text report to the printer as one printout.
#include <cstddef>
#include <string>
#include <vector>

namespace reports {

// Prints every line in the printer's current font and ends the document.
// Raises the printer's error; a printout that fails is discarded whole.
void printLines(const std::vector<std::string>& lines);
// How many characters a report line holds on the printer's page.
std::size_t printedLineRoom();

}  // namespace reports
