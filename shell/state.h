#pragma once
// The program's shared state: module-level variables that live for the whole
// run. Menu commands store the file they chose here and the window they open
// reads it at load; the designers publish their design here for the previews.
#include <cstdint>
#include <string>

namespace shared {

// Directories, each with a trailing separator; set once at start-up.
inline std::string AppDir;
inline std::string ScrewGeoDir;
inline std::string KneadGeoDir;
inline std::string BarrelGeoDir;
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

// Sets AppDir and its subdirectories from the application directory (a path
// with or without a trailing separator).
void setDirectories(const std::string& applicationDirectory);

// Empties every shared variable (a fresh run; used by tests).
void resetSharedState();

}  // namespace shared
