#pragma once
// The calculation run: one whole simulation of the analysed extruder with the
// current parameter file. It reads the hand-over files of the analysis and
// the wizard, the parameter file and the element tables, builds the element
// rows (the analysed parts, the end zone "p" and, with a die, the die "d"),
// then iterates: a backward pass from the die computes pressures, starvation
// points and fills from the tables; the simulation core heats and melts the
// feed in iterations 1 and 2; a forward heat balance over the molten part
// gives the melt temperatures. At most 20 iterations; the run ends early when
// the end temperatures settle, when no molten part is left to balance or when
// solid reaches the end of the melting profile. The result goes to the flow
// work file, residence times and power are added (residence_power.h), and the
// user is asked whether to save it; a run that did not settle within its 20
// iterations, or left solid at the screw's end, says so first.
//
// Domain code: it talks to the user only through CalculationUser, which the
// calculation window implements and tests replace. A run that cannot go on
// says why in one message and writes no flow file; no value that is not
// finite ever reaches a result.
//
// Precision: every named quantity is stored as a single, as the result file
// holds it; pi, 2*pi and 8*pi are the double literals 3.141592654,
// 6.283185308 and 25.132741232, and the library functions work in double.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/analysis_records.h"
#include "records/design_records.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"
#include "records/result_file.h"
#include "records/result_records.h"
#include "simulation/core.h"
#include "simulation/tables.h"
#include "simulation/user_message.h"

namespace sim {

// How a run talks to the user. Message boxes are modal; the run waits.
class CalculationUser {
public:
    virtual ~CalculationUser() = default;
    // A message box with an OK button.
    virtual void message(const UserMessage& m) = 0;
    // A question with Yes and No, No the default button; true for Yes.
    virtual bool ask(const UserMessage& question) = 0;
    // The progress window: shown (created on first use) with the iteration
    // number and the residual, and painted at once.
    virtual void showProgress(int iteration, float residual) = 0;
    virtual void closeProgress() = 0;
    // Holds the run (painting goes on, no input).
    virtual void pause(int milliseconds) = 0;
    // The save dialog: the path chosen, or nothing when cancelled.
    virtual std::optional<std::string> chooseResultFile() = 0;
    // A table lookup met an element type without tables and closes the
    // calculation window.
    virtual void closeCalculation() {}
};

// Where a run finds its files: the application directory (element tables)
// and its work-file folder, each with a trailing separator.
struct CalculationPaths {
    std::string appDir;
    std::string tempDir;
};

// The core's signature, so that tests can stand in for it.
using CoreFunction = std::function<CoreStatus(
    const float&, const float&, const std::int16_t&, OneBasedList<records::ElementRecord>&, const records::SolidsBlock&,
    const records::MeltingBlock&, const OneBasedList<records::PortRecord>&, const std::int16_t&, records::RunState&,
    std::vector<records::MeltProfileRow>&, bool)>;

struct CalculationOptions {
    // The loop ends once the residual is at most this (a test forces all 20
    // iterations with a value below 0).
    float residualTolerance = 0.0001f;
    CoreFunction core = SimulateFillAndMelting;
};

inline constexpr int kMaxIterations = 20;
inline constexpr int kIterationPauseMs = 200;
inline constexpr const char* kCalculationTitle = "Calculation";

// One distinct element kind of the analysis with its element-table values.
struct DistinctElement {
    std::string code;         // without trailing blanks
    std::string kind;         // "s" or "k" as stored
    float helixAngle = 0;     // radians
    float elementLength = 0;  // radius units
    float port = 0;           // feed port, held as a number
    float n = 0;              // power-law index of that port's melt
    std::int16_t tips = 0;
    float Qd = 0;            // element throughput A(port) / (2 tips - 1)
    float dragCapacity = 0;  // TableValue2 of its rows
    float gradient = 0;      // TableValue1, scaled by kind
    float heatAtQd = 0;      // scaled by kind
    float heatAtDrag = 0;
};

// The first distinct element with the part's code and kind, both without
// trailing blanks, and its port; 0 when none. The passes and the residence
// step find a row's element table values through it.
int findDistinct(const records::OneBasedList<DistinctElement>& distinct, const records::AnalysisRecord& part);

// Everything one run works on.
struct RunData {
    records::OneBasedList<records::ElementRecord> elements;  // 1..nE
    std::int16_t nE = 0;
    records::AnalysisHeader header;  // the run header; its conditions filled by the run
    records::DieRec die;             // radius units
    std::string dieFile;             // the die's file, as the analysed extruder names it
    bool hasDie = false;             // the analysed element count holds a die row
    bool calculateDiePressure = false;
    float specifiedDiePressure = 0;  // MPa
    float N = 0;                     // rev/s
    float Tinit = 0;                 // start temperature of every row, C
    float psi = 0;                   // intermeshing angle, radians
    records::OneBasedList<float> A;  // dimensionless throughput after ports 1..p
    float Qh = 0;                    // through one die hole
    records::OneBasedList<DistinctElement> distinct;
    // Module state as the run took it over.
    float screwRadius = 0;  // mm
    float endZoneLength = 0;
    records::SolidsBlock solids;
    records::MeltingBlock melting;
    records::OneBasedList<records::PortRecord> ports;
    // The element tables as this run read them.
    std::shared_ptr<TableFiles> tables = std::make_shared<TableFiles>();
    // The window's current power-law index: the last lookup's, or the last
    // port's once the die pressure was calculated.
    float currentIndex = 0;
};

// A stop of the run: the message that says why. With keepProgress the
// progress window stays up with its last values.
struct CalculationStop {
    UserMessage message;
    bool keepProgress = false;
};

// The run's own message for a stop (OK, critical icon, title "Calculation").
UserMessage calculationError(const std::string& text);
// Stops the run with that message.
[[noreturn]] void stopCalculation(const std::string& text);
// Stops the run for a die whose numbers the calculation cannot take, naming
// its file so that the user knows which die to mend.
[[noreturn]] void stopForDie(const std::string& dieFile, const std::string& why);
// The value as a single; stops the run, naming `what`, when it is not finite.
float requireFinite(double v, const std::string& what);
// Stops the run, naming `what`, before it divides by 0 or by a value that is
// not finite.
void requireDivisor(double v, const std::string& what);
// Stops the run when a value the result would store is not finite.
void requireFiniteResult(const records::ResultData& data);

// Dimensionless throughput after each port, ports 1..count in order, with
// the mixture density of ports 1..p: A(p) = (mass / (3.6 rho), as a single)
// / V, V = 2 pi (R/10)^3 N.
records::OneBasedList<float> portThroughputs(const records::OneBasedList<records::PortRecord>& ports, float radius,
                                             float N);

// Whether a die narrows from its entrance to the capillary over a length of
// its own; a straight or widening die has no converging zone.
bool hasConvergingZone(const records::DieRec& die);

// The backward pass over rows nE down to jStart: pressures, starvation
// points and fills. Raises CalculationStop.
void backwardPass(RunData& run, int jStart);
// The forward heat balance over rows jStart..nE; returns the residual, or 0
// when solid is left at the last point of the melting profile. Raises
// CalculationStop.
float forwardPass(RunData& run, int jStart, const records::RunState& state,
                  const std::vector<records::MeltProfileRow>& profile);

// The whole run, from the hand-over files to the save question. Sets the
// shared variables as a run does (the nine hand-over values once every input
// has passed its checks, the parameters, ResultFile; PortRecords is emptied
// once the flow work file is written).
// Returns false when the run stopped with a message.
bool runCalculation(const CalculationPaths& paths, CalculationUser& user, const CalculationOptions& options = {});

}  // namespace sim
