#pragma once
// The last step of a calculation: the average residence time (minutes) and
// the cumulative power (kW) along the screw, in three zones: solids
// conveying up to the element where melting starts, the melting region along
// the points of the melting profile, and melt conveying from the element
// where melting ends to the die. The step re-reads the run's inputs and the
// flow work file, adds both to the element rows and the profile points,
// rewrites the flow work file with the extruder's screw and barrel records
// appended and asks the user whether to save it under a name of their own.
//
// Residence time over a length l (radius units) of a channel with cross-
// section X (R^2) and fill f: f X l / (omega q r') / 60, q the dimensionless
// throughput of the element's port and r' the ratio of melt to bulk density
// in the solids zone, else 1. Power scales: P_m = m0 omega^n (R/1000)^3 omega
// for the melt, P_s = (R/1000)^4 omega rho 9.81 for the solids.
//
// Every increment is non-negative but one: at the element where melting
// starts, a starvation point before the melting start takes back the
// residence time between them. Every result is stored as a single.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "records/design_records.h"
#include "records/one_based_list.h"
#include "records/result_file.h"
#include "simulation/calculation.h"

namespace sim {

// What the step takes besides the result itself.
struct ResidenceInputs {
    float screwRadius = 0;      // mm
    float centerlineRatio = 0;  // CL/R
    std::int16_t tipCount = 0;  // of the first screw element
    records::DieRec die;        // radius units; used only when a die row exists
    std::string dieFile;        // the die's file, named when its volume gives no residence time
    // Distinct element kinds with their heat values at the throughput
    // (heatAtQd) and at the drag capacity (heatAtDrag), scaled by kind.
    records::OneBasedList<DistinctElement> kinds;
};

// Volume of the die, radius units cubed: per hole a cone frustum from the
// entrance to the capillary and the capillary; a straight or widening die is
// the capillary and, over the rest of its length, a cylinder of the entrance
// diameter.
float dieVolume(const records::DieRec& die);

// Adds residence times and power to a result read from the flow work file
// (element rows, run state, profile, parameters). Raises CalculationStop
// for a melting region outside the element rows, and before a division by 0
// or a value that is not finite.
void addResidenceAndPower(records::ResultData& result, const ResidenceInputs& in);

// The whole step after the iteration: inputs re-read, residence and power
// added, the flow work file rewritten with the extruder and offered for
// saving. The lookups read the tables through `tables` (the run's copies).
// A remark on the result is shown before the save question.
// Raises CalculationStop; the flow work file stays as the iteration wrote it
// then.
void residencePowerAndSave(const CalculationPaths& paths, CalculationUser& user,
                           std::shared_ptr<TableFiles> tables = std::make_shared<TableFiles>(),
                           const std::optional<UserMessage>& remark = std::nullopt);

}  // namespace sim
