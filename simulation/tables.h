#pragma once
// Element characteristic tables: per extruder code, precomputed flow and heat
// characteristics of the screw conveying elements ("screwflw/") and kneading
// blocks ("kneadflw/"), as functions of the power-law index and a
// dimensionless flow rate. The tables are only read, never created.
//
// A table file is a plain run of 2416-byte records: a 128-character key naming
// the elements the record describes, then 52 rows of 11 singles (q, then the
// values at n = 1.0, 0.9, ..., 0.1).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// A message box with an OK button: text, title.
using Notify = std::function<void(const std::string& text, const std::string& title)>;

inline constexpr std::size_t kTableKeySize = 128;
inline constexpr std::size_t kTableValues = 10;      // values per row, n = 1.0 down to 0.1
inline constexpr std::size_t kTableRowSize = 44;     // q and ten values
inline constexpr std::size_t kTableRowCount = 52;    // row 1, then rows 2..52 by flow rate
inline constexpr std::size_t kTableRecordSize = kTableKeySize + kTableRowSize * kTableRowCount;
static_assert(kTableRecordSize == 2416);

// The value ReadFlowTable returns when no record matches.
inline constexpr double kFlowTableMissing = -999.99;
// Largest flow rate the lookups use; larger ones are capped with a message.
inline constexpr float kLookupFlowRateCap = 0.25f;

// The flow rate of the lookup in progress, after the cap; keeps its last value.
extern float LookupFlowRate;

// Table files read once and kept for the lookups of one run, which find in
// them exactly what they would find on disk.
class TableFiles {
public:
    // The bytes of a table file, read at the first call for it; null when it
    // is missing, cannot be read, or is too large to keep.
    const std::vector<unsigned char>* bytes(const std::string& path);

private:
    std::map<std::string, std::optional<std::vector<unsigned char>>> files_;
};

// Where the tables are and how the lookups talk to the user.
struct TableSource {
    std::string appDir;    // application directory with its trailing separator
    std::string category;  // the extruder code exactly as stored (not trimmed)
    Notify notify;         // message box, OK only; may be empty
    // Called by ReadHeatTable after its unknown-element-type message: the
    // calculation window closes then. May be empty.
    std::function<void()> closeCalculation;
    // The run's copies of the tables; null: every lookup reads its file.
    std::shared_ptr<TableFiles> files;
};

// Why a lookup found nothing.
enum class TableMiss {
    None,
    UnknownType,      // element type neither "S" nor "K"
    NoTable,          // the table file is missing or cannot be opened
    NoRecord,         // no record of the table matches the element code
    RecordCutShort,   // the matching record ends with the file before its rows
    FlowRateBeyondRows,  // no row of any matching record reaches the flow rate
};

struct TableResult {
    // What the lookup returns: a single-precision value; ReadFlowTable's
    // -999.99 when it found no record; 0 for "no value" of the other two.
    double value = 0.0;
    bool hasValue = false;  // false: "no value" (or -999.99 from ReadFlowTable)
    TableMiss miss = TableMiss::None;
    std::string code;   // the element code looked up
    std::string table;  // the table file searched ("" when none was chosen)

    bool found() const { return miss == TableMiss::None; }
    // A sentence naming the element code and the table file, for the caller's
    // own message when it stops on a miss.
    std::string missText() const;
};

// Path of a table: AppDir & "screwflw/" or "kneadflw/" & code & extension
// (".dp1" or ".het"), by the element type compared in upper case. Empty for
// an unknown type.
std::string TablePath(const TableSource& source, std::string_view type, std::string_view extension);

// The key rule of all three lookups: does a record key describe this element?
// Type "S" searches for the code up to and including its first "/" (nothing
// when it has no "/", which every key contains), type "K" for the whole code;
// a code holding "LH" only matches keys whose first "LH" is not their first
// character.
bool TableKeyMatches(std::string_view key, std::string_view type, std::string_view code);

// Index (0-based) of the first record of the table file whose key matches,
// or nothing when no record does or the file cannot be read.
std::optional<std::int64_t> FindTableRecord(const std::string& tablePath, std::string_view type,
                                            std::string_view code);

// ".dp1" row 1 interpolated at n: the element's drag capacity. The flow rate
// only decides whether the cap message is shown.
TableResult ReadFlowTable(const TableSource& source, std::string_view type, std::string_view code,
                          double flowRate, const float& n);
// ".dp1" rows 2..52 at the flow rate and n: the pressure gradient.
TableResult ReadFlowTable2(const TableSource& source, std::string_view type, std::string_view code,
                           double flowRate, const float& n);
// ".het" rows 2..52 at the flow rate and n: the heat generation.
TableResult ReadHeatTable(const TableSource& source, std::string_view type, std::string_view code,
                          double flowRate, const float& n);

}  // namespace sim
