#pragma once
// The fixed names of the work files in the "temp/" folder of the application
// directory. Writers and readers of one file take its name from here, so the
// file has one spelling (names differ in letter case on this file system).
#include <string_view>

namespace records::workfile {

// Analysis hand-over (record files of AnalysisRecord, and the die record
// followed by the AnalysisHeader).
inline constexpr std::string_view kAnalysis = "Analysis.TMP";
inline constexpr std::string_view kDiffElem = "DiffElem.TMP";
inline constexpr std::string_view kCalc2 = "Calc2.TMP";
// The wizard's hand-over to the calculation (nine 128-byte records).
inline constexpr std::string_view kCalc1 = "Calc1.tmp";
// The flow work file that becomes the saved result file.
inline constexpr std::string_view kFlow = "flow.tmp";
// Work files of the die designer and the geometry views.
inline constexpr std::string_view kTempDie = "temp.die";
inline constexpr std::string_view kTempBarrel = "temp1.brl";
inline constexpr std::string_view kTempScrew = "temp1.srw";
inline constexpr std::string_view kViewBarrel = "vbarrel1.tmp";
inline constexpr std::string_view kViewScrew = "vscrew.tmp";

}  // namespace records::workfile
