#pragma once
// The program's shared state: module-level variables that live for the whole
// run. Menu commands store the file they chose here and the window they open
// reads it at load; the designers publish their design here for the previews;
// the analysis, the wizard and the calculation hand their values on here.
//
// This library sits below every window folder: windows of any folder read and
// write it, and none of them needs the main window for it.
#include <cstdint>
#include <string>
#include <vector>

#include "records/design_records.h"
#include "records/one_based_list.h"
#include "records/parameter_records.h"

namespace shared {

// Directories, each with a trailing separator; set once at start-up.
inline std::string AppDir;
inline std::string TempDir;

// The current extruder code; empty while none is chosen.
inline std::string ExtruderCategory;

// Files chosen by the main window's commands and by the windows they open.
inline std::string EditScrewFile;
inline std::string EditBarrelFile;
inline std::string DieFile;
inline std::string ScrewFile;
inline std::string BarrelFile;
inline std::string ExtruderFile;
inline std::string ParameterFile;
inline std::string ResultFile;
inline std::string DisplayScrewFile;
inline std::string DisplayBarrelFile;
inline std::string DisplayExtruderFile;

// Set to -1 when the screw designer loads and when its preview unloads, 1 when
// the designer opens the preview.
inline std::int16_t ScrewPreviewFlag = 0;

// ---- The extruder being assembled, analysed or displayed -------------------

// Screw radius of the current extruder, mm; radius units times this are mm.
inline float ScrewRadius = 0;
// Number of barrel openings (hoppers plus vents) = number of feed ports.
inline std::int16_t PortCount = 0;
// Header, screw records (header, root, elements, head) and barrel records
// (header, blocks, die last) of the extruder; 0-based as in the file.
inline records::ExtHeader ExtruderHeader;
inline std::vector<records::ScrewRec> ExtScrewRecs;
inline std::vector<records::BarrelRec> ExtBarrelRecs;
// Screw offset, gap and barrel overhang of the placement, radius units.
inline float ExtScrewOffset = 0;
inline float ExtGap = 0;
inline float ExtOverhang = 0;
// Record 1 of the current code's screw element file.
inline records::ScrewGeoRec CategoryScrewGeo;

// ---- Analysis, parameters and calculation ----------------------------------

// From the analysis: radius (mm), tip count and end-zone length (radius
// units) of the analysed extruder. The centre-line ratio is the simulation's
// own sim::CenterlineRatio.
inline float AnalysedScrewRadius = 0;
inline std::int16_t AnalysedTipCount = 0;
inline float EndZoneLength = 0;
// The tip count as the calculation reads it back from its work file.
inline std::int16_t TipCount = 0;

// The current process parameters: header, solids and melting blocks, and one
// melt stream per feed port (1..PortCount).
inline records::ParameterFileHeader ParameterHeader;
inline records::SolidsBlock SolidsParams;
inline records::MeltingBlock MeltingParams;
inline records::OneBasedList<records::PortRecord> PortRecords;
// Status of the last number parse of a wizard box (0 good, 1 empty,
// 2 characters removed, 3 overflow).
inline std::int16_t ParseStatus = 0;

// ---- Designs in progress, read by their previews ---------------------------

// The screw being designed: its elements without header, root and head, the
// radius (mm), the total element length (mm) and the element count.
inline records::OneBasedList<records::ScrewRec> ScrewDesign;
inline float ScrewDesignRadius = 0;
inline float ScrewDesignLength = 0;
inline std::int16_t ScrewDesignCount = 0;
// The barrel being designed: its blocks in mm, total length (mm), block count.
inline records::OneBasedList<records::BarrelRec> BarrelDesign;
inline float BarrelDesignLength = 0;
inline std::int16_t BarrelDesignCount = 0;

// Sets AppDir and TempDir from the application directory (a path
// with or without a trailing separator).
void setDirectories(const std::string& applicationDirectory);

// The element files of an extruder code, exactly as given, in an
// application directory (with or without a trailing separator; AppDir
// unless named): "screwgeo/" & code & ".gs", "kneadgeo/" & code & ".gk",
// "brlkgeo/" & code & ".gb".
std::string screwElementPath(const std::string& code, const std::string& appDir = AppDir);
std::string kneadElementPath(const std::string& code, const std::string& appDir = AppDir);
std::string barrelElementPath(const std::string& code, const std::string& appDir = AppDir);

// Empties every shared variable (a fresh run; used by tests).
void resetSharedState();

}  // namespace shared
