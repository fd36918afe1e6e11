#include "state/state.h"

#include "platform/io/files.h"

namespace shared {

namespace {
// The element database's folders in the application directory.
constexpr const char* kScrewGeo = "screwgeo";
constexpr const char* kKneadGeo = "kneadgeo";
constexpr const char* kBarrelGeo = "brlkgeo";

std::string elementPath(const std::string& appDir, const char* folder, const std::string& code, const char* ext) {
    return io::folderPath(io::folderPath(appDir) + folder) + code + ext;
}
}  // namespace

void setDirectories(const std::string& applicationDirectory) {
    AppDir = io::folderPath(applicationDirectory);
    TempDir = io::folderPath(AppDir + "temp");
}

std::string screwElementPath(const std::string& code, const std::string& appDir) {
    return elementPath(appDir, kScrewGeo, code, ".gs");
}
std::string kneadElementPath(const std::string& code, const std::string& appDir) {
    return elementPath(appDir, kKneadGeo, code, ".gk");
}
std::string barrelElementPath(const std::string& code, const std::string& appDir) {
    return elementPath(appDir, kBarrelGeo, code, ".gb");
}

void resetSharedState() {
    for (std::string* s : {&AppDir, &TempDir, &ExtruderCategory, &EditScrewFile, &EditBarrelFile, &DieFile,
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
