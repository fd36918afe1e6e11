#pragma once
// The demo data set: one laboratory co-rotating extruder code with its
// element database, its four element characteristic tables and a sample
// screw, barrel and die. The tables follow the flat-plate model of a
// twin-screw channel described in tools/README.md.
#include <optional>
#include <string>
#include <vector>

#include "records/design_records.h"
#include "simulation/parameter_file.h"

namespace demo {

inline constexpr const char* kSeries = "LABORATORY CO-ROTATING";
inline constexpr const char* kCode = "LAB30";
inline constexpr float kDiameter = 30.0f;    // mm
inline constexpr float kCenterline = 26.0f;  // mm
inline constexpr int kTips = 2;

// Model constants.
inline constexpr double kScrewLeakage = 3.0;      // leakage factor c of a conveying element
inline constexpr double kKneadLeakage = 6.0;      // leakage factor of a kneading block
inline constexpr double kMinKneadEfficiency = 0.15;  // least conveying efficiency of a block
inline constexpr double kPi = 3.141592654;

// Channel geometry in radius units, as the simulation core computes it.
struct Channel {
    double area = 0;   // A, one channel's cross-section, R^2
    double span = 0;   // W, R
    double depth = 0;  // H = A / W, R
};
Channel channel();

// The characteristics of one element in the model's terms.
struct ElementModel {
    double helix = 0;        // helix angle, or a block's equivalent helix angle, radians
    double hand = 1;         // +1 right, -1 left
    double efficiency = 1;   // conveying efficiency (1 for a conveying element)
    double leakage = kScrewLeakage;
    double blockLength = 0;  // kneading block length in R; 0 for a conveying element

    bool kneading() const { return blockLength > 0; }
    // Drag capacity per channel, units of omega R^3 (row 1 of ".dp1").
    double dragCapacity(const Channel& c) const;
    // ".dp1" rows: the down-channel pressure gradient of a conveying element
    // (units tau / R), the axial gradient totalled over a kneading block.
    double gradientValue(const Channel& c, double q, double n) const;
    // ".het" rows: heat per axial length of a conveying element, totalled
    // over a kneading block.
    double heatValue(const Channel& c, double q, double n) const;
    // Down-channel pressure gradient, units tau / R.
    double downChannelGradient(const Channel& c, double q, double n) const;
};

ElementModel modelOf(const records::ScrewGeoRec& e);
ElementModel modelOf(const records::KneadGeoRec& k);

// The element database of the demo code.
std::vector<records::ScrewGeoRec> screwElements();
std::vector<records::KneadGeoRec> kneadingBlocks();
std::vector<records::BarrelRec> barrelBlocks();

// The flow rate of table row r (2..52): -0.25, -0.24, ..., 0.25.
float rowFlowRate(int row);

// One packed table record (2416 bytes): key, row 1 (the drag capacity for
// every n), rows 2..52.
std::vector<unsigned char> tableRecord(const std::string& key, const ElementModel& m, bool heat);

// Writes <name>.srw, <name>.brl and <name>.ext into appDir: a screw of the
// demo database's elements and a barrel of its blocks, both named by their
// codes from the feed end, and demo.die (already written), assembled as the
// assembly's Make does. Returns the problems found: an unknown code, a file
// the assembly refuses, a screw short of the last opening.
std::vector<std::string> writeDemoExtruder(const std::string& appDir, const std::string& name,
                                           const std::vector<std::string>& elements,
                                           const std::vector<std::string>& blocks);

// The process parameters of the demo extruder (demo.prm): a
// polypropylene-like melt fed at 10 kg/hr through the hopper, none through
// the vent.
sim::ParameterSet demoParameters();

// Analyses an extruder file of appDir (demo.ext unless named) and writes
// what Analyse Extruder and the wizard's Done leave for a calculation into
// tempDir: the three analysis work files and the hand-over naming
// parameterFile. Returns the problems found (a message of the analysis, a
// file not written).
std::vector<std::string> prepareDemoRun(const std::string& appDir, const std::string& tempDir,
                                        const std::string& parameterFile, const std::string& extruder = "demo.ext");

// Runs the calculation of demo.ext with demo.prm, both already in appDir,
// through the program's own analysis and calculation (work files in a
// scratch folder, no pauses) and saves the result as demo.flw. Returns the
// problems found: a message or a question other than the save question, a
// run that ends in its first iteration, no demo.flw.
std::vector<std::string> writeDemoResult(const std::string& appDir);

// Why demo.flw cannot be computed in appDir, if so: the calculation's
// hand-over holds the paths of demo.prm and demo.ext in records of at most
// records::kCalc1MaxText characters.
std::optional<std::string> demoResultLeftOut(const std::string& appDir);

// Writes the whole data set into appDir (with or without a trailing
// separator), whose subdirectories must exist: the element database and its
// tables, demo.srw, demo.brl, demo.die, demo.ext, demo.prm and demo.flw.
// Returns the problems found: empty when every element code resolves to its
// own table record and the demo run is sound. Where the paths of appDir do
// not allow demo.flw, the rest is written and, with leftOut given, the
// reason is put there; without it the reason is a problem.
std::vector<std::string> writeDemoData(const std::string& appDir, std::string* leftOut = nullptr);

}  // namespace demo
