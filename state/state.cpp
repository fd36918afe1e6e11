#include "state/state.h"

#include "platform/io/files.h"

namespace shared {

void setDirectories(const std::string& applicationDirectory) {
    AppDir = io::folderPath(applicationDirectory);
    ScrewGeoDir = io::folderPath(AppDir + "screwgeo");
    BarrelGeoDir = io::folderPath(AppDir + "brlkgeo");
    KneadGeoDir = io::folderPath(AppDir + "kneadgeo");
    TempDir = io::folderPath(AppDir + "temp");
}

void resetSharedState() {
    for (std::string* s : {&AppDir, &ScrewGeoDir, &KneadGeoDir, &BarrelGeoDir, &TempDir,
                           &ExtruderCategory, &EditScrewFile, &EditBarrelFile, &DieFile,
                           &ScrewFile, &BarrelFile, &ExtruderFile, &ParameterFile, &ResultFile,
                           &DisplayScrewFile, &DisplayBarrelFile, &DisplayExtruderFile})
        s->clear();
    ScrewPreviewFlag = 0;

    ScrewRadius = 0;
    PortCount = 0;
    ExtruderHeader = {};
    ExtScrewRecs.clear();
    ExtBarrelRecs.clear();
    ExtScrewOffset = ExtGap = ExtOverhang = 0;
    CategoryScrewGeo = {};

    AnalysedScrewRadius = 0;
    AnalysedTipCount = 0;
    EndZoneLength = 0;
    TipCount = 0;
    ParameterHeader = {};
    SolidsParams = {};
    MeltingParams = {};
    PortRecords.clear();
    ParseStatus = 0;

    ScrewDesign.clear();
    ScrewDesignRadius = ScrewDesignLength = 0;
    ScrewDesignCount = 0;
    BarrelDesign.clear();
    BarrelDesignLength = 0;
    BarrelDesignCount = 0;
}

}  // namespace shared
