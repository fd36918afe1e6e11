#pragma once
// The element database of the current extruder code as the editors see it:
// the list text of a record, the reading of a typed number, and what the
// record number shown means after a delete.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_files.h"
#include "records/packed.h"

namespace elements {

// A list item: the record number, " : ", the code at its full width.
template <std::size_t N>
std::string listItem(int recordNumber, const records::FixedText<N>& code) {
    return std::to_string(recordNumber) + " : " + catalog::entryText(code);
}

// A number as its box shows it.
std::string numberText(float v);
std::string numberText(std::int16_t v);

// Reads a typed number. Returns empty on success, otherwise the message
// naming the value (what) that is not a number.
std::string readSingle(std::string_view text, std::string_view what, float& out);
// Rounded to the nearest whole number, halves to even.
std::string readInteger(std::string_view text, std::string_view what, std::int16_t& out);

// The record number shown in the record label, or 0 when it shows none.
int shownRecord(std::string_view caption);
// After record k was deleted: the number that names the same record as
// shown did before, or 0 when that record is the one deleted.
int shownAfterDelete(int shown, int k);

}  // namespace elements
