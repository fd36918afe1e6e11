#pragma once
// The inputs of a calculation run and how they are checked before anything
// is computed: the wizard's hand-over (temp/Calc1.tmp), the analysis work
// files (temp/Calc2.TMP, temp/Analysis.TMP, temp/DiffElem.TMP), the
// parameter file and the element-table lookups of every distinct element.
// Each reader names the file that is missing or cut short; files that do not
// come from one analysis and one parameter set stop the run before they mix.
// No window: the stops are CalculationStop, the questions go to the user.
#include <memory>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "records/analysis_records.h"
#include "records/design_records.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"
#include "simulation/calculation.h"
#include "simulation/tables.h"

namespace sim {

// The message of hand-over files that do not come from one analysis.
UserMessage handOverMismatch();

// Stops the run naming a file that cannot be read, with the platform's
// description of the error.
[[noreturn]] void stopUnreadable(const std::string& path, int errorNumber);
// Runs a read of one file; a platform error stops the run naming the file.
template <class Read>
auto readingFile(const std::string& path, Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (const rt::Error& e) {
        stopUnreadable(path, e.number());
    }
}

// Reads temp/Calc1.tmp; changes nothing.
records::Calc1Values readHandOver(const std::string& tempDir);
// Sets the nine run variables from a hand-over that passed every check:
// ScrewRadius, sim::CenterlineRatio, TipCount, PortCount, EndZoneLength,
// ParameterFile, ExtruderFile, ExtruderCategory, DieFile. A run that stops
// before leaves them as they were.
void takeHandOver(const records::Calc1Values& handOver);

// temp/Calc2.TMP: the die record (radius units) and the analysis header.
struct AnalysisHandOver {
    records::DieRec die;
    records::AnalysisHeader header;
};
AnalysisHandOver readCalc2(const std::string& tempDir);
// A record file of analysed parts (temp/Analysis.TMP, temp/DiffElem.TMP):
// file length / 51 records. A partial last record stops the run, the file
// named as cut short.
std::vector<records::AnalysisRecord> readAnalysisRecords(const std::string& path);

// Stops with handOverMismatch() unless the hand-over names the analysed
// extruder (the first 64 characters of its path) and its port count.
void requireSameExtruder(const records::Calc1Values& handOver, const records::AnalysisHeader& header);
// Stops with handOverMismatch() for an empty part list (a failed analysis
// leaves its work files empty) or a part whose port lies outside
// 1..portCount.
void requirePartsOnPorts(const std::vector<records::AnalysisRecord>& parts, int portCount);

// The distinct-element table of the analysis, the melt's power-law index
// taken from each element's port.
records::OneBasedList<DistinctElement> distinctElements(const std::vector<records::AnalysisRecord>& parts,
                                                        const records::OneBasedList<records::PortRecord>& ports);
// Stops the run, naming the file of the distinct elements (`path`) as cut
// short, when a part has no distinct element there.
void requireDistinctForEveryPart(const std::vector<records::AnalysisRecord>& parts,
                                 const records::OneBasedList<DistinctElement>& distinct, const std::string& path);

// The four table values of a distinct element at its throughput
// A(port) / (2 tips - 1), scaled by its kind: a conveying element's gradient
// divided by the sine of its helix angle, a kneading block's three values by
// its length. False, after the lookups' own messages, for a kind without
// tables. A lookup that finds no value stops the run naming the element and
// table.
bool lookUpTables(DistinctElement& d, const records::OneBasedList<float>& A, const TableSource& source);

// The lookups' source: the tables of extruder code `category` in the
// application directory, read once into `files`; their messages go to the
// user.
TableSource tableSource(const CalculationPaths& paths, const std::string& category, CalculationUser& user,
                        std::shared_ptr<TableFiles> files);

// The first half of the run: every input read and checked, the element rows
// built, the lookups made, the die pressure settled; then the hand-over is
// taken into the run variables. False after a message or a question the user
// answered No; raises CalculationStop.
bool prepareRun(const CalculationPaths& paths, CalculationUser& user, RunData& run);

}  // namespace sim
