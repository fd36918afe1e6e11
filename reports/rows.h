#pragma once
// The rows of the two element tables that the listings and the printed
// reports share: one screw element per row, and one barrel block per row
// with the axial position of its opening. A grid and a printed line show the
// same cells; they differ only in how an integer is written (plain digits in
// a grid, a printed number item on paper) and in the factor that turns
// stored lengths into mm. Text only: no window, no file.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/rt/columns.h"
#include "platform/rt/error.h"
#include "records/design_records.h"

namespace reports {

// Record n (from 1) of records read in file order; a number outside the list
// raises rt::kSubscriptOutOfRange, as a read beyond the records would.
template <class T>
const T& record(const std::vector<T>& records, long n) {
    if (n < 1 || n > static_cast<long>(records.size())) rt::raise(rt::kSubscriptOutOfRange, "record number");
    return records[static_cast<std::size_t>(n - 1)];
}

// num / den; a divisor of 0 raises rt::kDivisionByZero.
float ratio(float num, float den);

enum class IntegerStyle {
    Plain,       // "12", "-1"
    NumberItem,  // " 12 ", "-1 "
};

std::string integerText(int value, IntegerStyle style);

// A fixed text field as it is shown and printed: zero bytes (a field that was
// never set) become blanks, so no control character reaches a grid or the
// printer.
template <std::size_t N>
std::string shownText(const records::FixedText<N>& field) {
    std::string s = field.str();
    for (char& c : s)
        if (c == '\0') c = ' ';
    return s;
}

// Screw element row. Cells: 0 number, 1 code, 2 kind (both without blanks at
// either end), 3 tips, 4 hand, 5 length in mm ("##0.00" of length x radius),
// 6 helix angle in degrees, 7 disks, 8 stagger angle. A conveying element
// ("s") shows "--" for disks and stagger, a kneading block ("k") "--" for the
// helix angle; any other kind (compared exactly, case included) leaves
// cells 6 to 8 empty and is not `listed`, so the printed tables skip it.
struct ScrewElementRow {
    std::array<std::string, 9> cells;
    bool listed = false;
};
ScrewElementRow screwElementRow(int number, const records::ScrewRec& element, float radius, IntegerStyle style);

// Where the blocks of a barrel table come from: a barrel file (lengths in mm
// under the barrel marker Chr(2)) or the barrel part of an extruder file
// (lengths in radius units).
enum class BarrelSource { BarrelFile, ExtruderFile };

// The factor that turns the stored block lengths into mm, chosen by the
// header's marker: a barrel file's Chr(2) blocks are in mm (1), Chr(4) blocks
// in radius units (R); an extruder file's blocks are in radius units under
// either marker. Any other marker: no factor, and the length cells stay empty.
// R is half the header's screw diameter.
std::optional<float> blockScale(const records::BarrelRec& header, BarrelSource source);

// Barrel block rows in axial order. Cells: 0 number, 1 code (without blanks
// at either end, as a screw element's), 2 type, 3 length, 4 opening width,
// 5 opening location, 6 port location: for a hopper or vent ("H", "V",
// exact) the opening's axial position from the start of the first block,
// (x + location) x factor, where x is the sum of the stored lengths of the
// blocks before; "--" otherwise.
// Without a factor cells 3 to 6 stay empty; x grows all the same.
class BarrelBlockRows {
public:
    explicit BarrelBlockRows(std::optional<float> scale) : scale_(scale) {}
    std::array<std::string, 7> next(int number, const records::BarrelRec& block, IntegerStyle style);
    // The sum of the stored lengths of the blocks taken so far.
    float position() const { return x_; }

private:
    std::optional<float> scale_;
    float x_ = 0;
};

// Print columns of the printed tables (0: the cell is not printed) and their
// headings.
inline constexpr std::array<long, 9> kScrewPrintTabs = {1, 8, 23, 29, 34, 41, 51, 61, 68};
inline constexpr std::array<const char*, 9> kScrewPrintHeading = {"No.", "Code", "type", "NT", "Sign",
                                                                  "Length", "Phi", "Nd", "StagAng"};
inline constexpr std::array<long, 7> kBarrelPrintTabs = {1, 9, 25, 40, 52, 0, 67};
inline constexpr std::array<const char*, 7> kBarrelPrintHeading = {"No.", "Code", "type", "Length",
                                                                   "Openning", "", "Port Location"};

// Prints the cells at their columns and ends the line.
template <std::size_t N, class Cell>
void printRow(rt::ColumnWriter& out, const std::array<Cell, N>& cells, const std::array<long, N>& tabs) {
    for (std::size_t i = 0; i < N; ++i)
        if (tabs[i] > 0) out.tab(tabs[i]).text(cells[i]);
    out.endLine();
}

}  // namespace reports
