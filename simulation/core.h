#pragma once
// The simulation core of the calculation run: for the region of the screw where
// the polymer is solid or melting it finds the starvation points and fill
// degrees of the elements (a backward pass from the end of the melting region
// towards the feed), heats the solid feed, finds where melting starts and ends,
// writes the element temperatures and builds the melting profile (a forward
// pass from the feed). Pure numerical code: no window, no file.
//
// Values are kept in single precision after every assignment, exactly as the
// stored results are; double precision is used only for the port throughput,
// the constants 2*pi and pi, the library functions and the error function's
// steps, so that results are reproducible bit for bit.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"
#include "records/result_records.h"

namespace sim {

// Module values the core shares with the calculation. The core sets the first
// two on every entry; the calculation sets the centre-line ratio (centre-line
// distance over screw radius) before it calls the core.
extern float ScrewSpeedRps;    // revolutions per second
extern float SimScrewRadius;   // mm
extern float CenterlineRatio;

// The element list and the port table are addressed from 1.
using records::OneBasedList;

// Complementary error function of the heating model: a rational fit with ten
// coefficients cut to four decimals, every step rounded to single precision.
// erfc(0) is 0.9998, not 1; erfc(-x) = 2 - erfc(x).
float ErfcSingle(float x);

// Cross-section of the channel of a twin-screw element in units of the screw
// radius (areas in radius squared, angles in radians).
struct ChannelGeometry {
    float IntermeshAngle = 0;    // half the angle of the intermeshing zone
    float TipAngle = 0;          // angle of one flight tip
    float ChannelArea = 0;       // cross-section of one channel
    float FreeArea = 0;          // free cross-section of the barrel half
    float ChannelSpan = 0;       // angle spanned by the channel
    float MeanChannelDepth = 0;  // ChannelArea / ChannelSpan
};

// False, with nothing computed, for fewer than one tip or a centre-line ratio
// outside (0, 2), where the intermeshing angle has no value.
bool ComputeChannelGeometry(float centerlineRatio, int tips, ChannelGeometry& geometry);

// The molten part of the row where melting ends, from the melt end (a
// position within the row) to the row's end: starved from the melt end to the
// starvation point, filled after it. A melt end at the row's end, to a
// rounding, leaves no molten part; a starvation point at or before the melt
// end, to a rounding, leaves no starved one.
struct MoltenPart {
    float length = 0;   // melt end to the row's end
    float starved = 0;  // melt end to the starvation point, at most `length`
};
MoltenPart moltenPartOf(const records::ElementRecord& row, float meltEnd);

// The starvation temperature of the row where melting ends: its start
// temperature while the starvation point lies at or before the melt end, then
// rising to its end temperature by the starved share of the molten part. The
// calculation's heat balance sets it so; the final call takes it again where
// its backward pass moved the point.
float meltEndStarvationTemperature(const records::ElementRecord& row, float meltEnd);

// Why the core stopped before it finished a call.
enum class CoreStop : std::int16_t {
    None = 0,
    BadArguments,      // counts, list sizes or run-state indices that do not fit the lists
    BadPortStream,     // speed, radius, flow rates or densities that give no throughput
    BadMaterial,       // melt or solid properties whose terms have no finite value
    BadGeometry,       // fewer than one tip, or a centre-line ratio outside (0, 2)
    BadElement,        // zero length, a helix angle that gives no finite step, zero disks or stagger, unknown port
    BadCapacity,       // a zero drag capacity from the element table
    BadFriction,       // a friction ratio outside (0, 1]
    NoSoundValue,      // no finite value (pressure, fill, film, temperature, position) to go on with or hand back
    ProfileTooLong,    // more melting-profile points than a 16-bit index holds
};

// Outcome of one call. When the core stops, the run state and the profile keep
// what they held at entry (but for the profile pressures, once the backward
// pass has supplied them) and the element fields may be partly rewritten: the
// caller should tell the user and not go on with the run. A call that finishes
// hands back finite numbers only.
struct CoreStatus {
    CoreStop stop = CoreStop::None;
    std::int16_t element = 0;  // element index at which it stopped, 0 when none applies
    bool ok() const { return stop == CoreStop::None; }
};

// One call of the simulation core. Elements holds the analysed element parts
// in axial order, then the end-zone record "p" (and a die record "d");
// ElementCount records of it are used, Ports 1..PortCount. State and Profile
// (rows 0..State.LastProfileRow) carry the melting region from one call to the
// next; FinalCall only turns the film values of the profile into average
// temperatures.
CoreStatus SimulateFillAndMelting(const float& SpeedRps, const float& Radius, const std::int16_t& PortCount,
                                  OneBasedList<records::ElementRecord>& Elements,
                                  const records::SolidsBlock& Solids, const records::MeltingBlock& Melting,
                                  const OneBasedList<records::PortRecord>& Ports,
                                  const std::int16_t& ElementCount, records::RunState& State,
                                  std::vector<records::MeltProfileRow>& Profile, bool FinalCall);

}  // namespace sim
