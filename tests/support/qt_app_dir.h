#pragma once
// A desktop-backend test in an application directory of its own: a fresh
// temporary folder with the given data subfolders, the shared state reset
// before and after, and every window forgotten before the folder goes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/ui/application.h"
#include "platform_qt/support.h"
#include "state/state.h"

namespace qttest {

// The data subfolders of an application directory.
inline const std::vector<std::string> kDataFolders = {"screwgeo", "kneadgeo", "brlkgeo", "temp", "screwflw", "kneadflw"};

class AppDirTest : public QtTest {
protected:
    explicit AppDirTest(const std::vector<std::string>& subfolders) {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-qt-XXXXXX").string();
        if (!mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder " << pattern;
        dir_ = pattern;
        for (const std::string& sub : subfolders) std::filesystem::create_directory(dir_ / sub);
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
    }
    ~AppDirTest() override {
        ui::app().reset();
        backend.reset();
        pump(5);
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

}  // namespace qttest
