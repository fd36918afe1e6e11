#include "shell/state.h"

namespace shared {

void setDirectories(const std::string& applicationDirectory) {
    std::string dir = applicationDirectory;
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) dir += '\\';
    AppDir = dir;
    ScrewGeoDir = AppDir + "screwgeo\\";
    BarrelGeoDir = AppDir + "brlkgeo\\";
    KneadGeoDir = AppDir + "kneadgeo\\";
    TempDir = AppDir + "temp\\";
}

void resetSharedState() {
    for (std::string* s : {&AppDir, &ScrewGeoDir, &KneadGeoDir, &BarrelGeoDir, &TempDir,
                           &ExtruderCategory, &EditScrewFile, &EditBarrelFile, &DieFile,
                           &ScrewFile, &BarrelFile, &ExtruderFile, &ParameterFile, &ResultFile,
                           &DisplayScrewFile, &DisplayBarrelFile, &DisplayExtruderFile})
        s->clear();
    ScrewPreviewFlag = 0;
}

}  // namespace shared
