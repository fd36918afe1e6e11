#pragma once
// Extruder analysis: turns an assembled extruder into the flat list of screw
// element parts that the calculation walks. It finds the barrel openings (the
// feed ports), shifts the axial coordinate so that the first hopper's region
// starts at 0, cuts every element where a port region begins or ends, tags
// each part with its region (0 closed barrel, 11 hopper, 12 other opening) and
// feed port, and warns about left-handed elements and kneading blocks under an
// opening. No window, no file: the caller reads the extruder file, shows the
// messages in order, writes the work files and publishes the shared values.
//
// Positions and lengths are singles in screw radii. Two positions are at the
// same place when they differ by at most 0.001. Each element's end is taken
// from where it truly stands in the screw (its start plus its length), so
// snapping a part to a region edge never shifts the parts after it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/analysis_records.h"
#include "records/design_files.h"
#include "simulation/user_message.h"

namespace sim {

// How far an analysis got before it stopped. The values of a stage are set
// once it is reached, and a stopped analysis leaves those of the stages it
// reached, as the shared variables keep them.
enum class AnalysisStage {
    FileNames,  // file names, screw offset, barrel overhang as stored
    Ports,      // port count
    Geometry,   // centre-line ratio, end-zone length, shifted barrel overhang
    Complete,   // tip count, screw radius, the work-file contents
};

struct ExtruderAnalysis {
    AnalysisStage reached = AnalysisStage::FileNames;
    bool completed() const { return reached == AnalysisStage::Complete; }
    // Region warnings in walk order, then the message that stopped it.
    std::vector<UserMessage> messages;

    // FileNames
    std::string ScrewFile, BarrelFile, DieFile;  // right-trimmed; DieFile "" without a die
    float ExtScrewOffset = 0;
    float ExtOverhang = 0;  // shifted from Geometry on
    // Ports: hoppers plus vents of the barrel header.
    std::int16_t PortCount = 0;
    // Geometry: of the first screw element; end zone = screw offset + head length.
    float CenterlineRatio = 0;
    float EndZoneLength = 0;
    // Complete
    std::int16_t AnalysedTipCount = 0;
    float AnalysedScrewRadius = 0;  // mm

    // The work files' contents (Complete only).
    std::vector<records::AnalysisRecord> parts;          // temp/Analysis.TMP
    std::vector<records::AnalysisRecord> distinctParts;  // temp/DiffElem.TMP
    records::DieRec die;                                 // temp/Calc2.TMP, zero without a die
    records::AnalysisHeader header;                      // temp/Calc2.TMP after the die
};

// Analyses an extruder file whose header marker has been checked. Raises
// rt::Error (kOverflow) for counts or a number of holes that no 16-bit
// integer holds, and kInvalidCall for a file that has no screw root and
// head or no barrel header, or numbers that are not finite.
ExtruderAnalysis analyseExtruder(const records::ExtruderFileContent& file, const std::string& extruderFile);

// Sets the shared variables of the stages the analysis reached (the
// centre-line ratio is the simulation's own sim::CenterlineRatio).
void publishAnalysis(const ExtruderAnalysis& analysis);

// The three work files of the analysis in tempDir (with its trailing
// separator), in the order they are written: Analysis.TMP, Calc2.TMP,
// DiffElem.TMP.
std::vector<std::string> analysisWorkFiles(const std::string& tempDir);

// Empties those of the three work files that exist, so that no calculation
// takes an earlier extruder's parts for the one being analysed. Returns the
// first that could not be emptied.
std::optional<std::string> emptyAnalysisWorkFiles(const std::string& tempDir);

// Writes the three work files of a completed analysis, each replaced whole.
// On a failure the files already written are emptied again; returns the file
// that could not be written.
std::optional<std::string> writeAnalysisWorkFiles(const std::string& tempDir, const ExtruderAnalysis& analysis);

}  // namespace sim
