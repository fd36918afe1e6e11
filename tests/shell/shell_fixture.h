#pragma once
// A headless run of the program: a fresh application directory, the main
// window started as the program starts it, and the splash closed by the
// given user action.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "shell/logo.h"
#include "simulation/extruder_fixture.h"
#include "shell/mainprog.h"
#include "state/state.h"

class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-shell-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        // The application directory as the build lays it out.
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp", "screwflw", "kneadflw"})
            std::filesystem::create_directory(dir_ / sub);
        ui::app().setAppDir(dir_);
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Starts the program; the splash is closed by a click on it.
    Mainprog& start(std::function<void(headless::Driver&)> closeSplash = {}) {
        if (!closeSplash) closeSplash = [](headless::Driver& d) { d.clickForm(ui::form<logo>()); };
        session.script.modal("logo", std::move(closeSplash));
        ui::app().run(ui::form<Mainprog>());
        session.expectScriptDone();
        return ui::form<Mainprog>();
    }

    ui::MenuItem& menu(const std::string& name) {
        ui::MenuItem* m = ui::form<Mainprog>().menu(name);
        if (!m) throw headless::ScriptError("no menu " + name);
        return *m;
    }
    void choose(const std::string& name) { session.driver.chooseMenu(ui::form<Mainprog>(), name); }
    void open(const std::string& name) { session.driver.openMenu(ui::form<Mainprog>(), name); }

    // Simulation, Analyse Extruder on a two-port extruder: enables Specify
    // Parameter and Calculation.
    void analyse() {
        shared::ExtruderFile = path("line.ext");
        records::writeExtruderFile(shared::ExtruderFile, testext::content(testext::workedExample()));
        open("mnuSimul");
        session.script.ok("Sucessfully Analysed.");
        choose("mnuAnalyse");
    }

    // A path inside the application directory.
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }

    headless::Session session;

private:
    std::filesystem::path dir_;
};
