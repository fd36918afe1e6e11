#pragma once
// Calculation runs in a scratch application directory that holds the demo
// data set, each test with a work-file folder of its own, and a stand-in for
// the user that records what the run shows and answers from a script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/ui/application.h"
#include "records/result_file.h"
#include "simulation/calculation.h"
#include "simulation/parameter_file.h"
#include "state/state.h"
#include "tools/demo_model.h"

namespace calctest {

namespace fs = std::filesystem;

inline std::vector<std::uint8_t> bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The user of a run: every box and window the run shows, in order.
struct ScriptedUser : sim::CalculationUser {
    std::vector<sim::UserMessage> shown;           // messages and questions, in order
    std::deque<bool> answers;                      // Yes/No, in order; No when none is left
    std::deque<std::optional<std::string>> files;  // save dialog: a path, or Cancel
    std::vector<std::pair<int, float>> progress;   // iteration, residual
    int pauses = 0, pausedMs = 0;
    bool progressOpen = false;
    std::function<void(int iteration)> onPause;
    std::function<void(const sim::UserMessage&)> onAsk;

    void message(const sim::UserMessage& m) override { shown.push_back(m); }
    bool ask(const sim::UserMessage& q) override {
        shown.push_back(q);
        if (onAsk) onAsk(q);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void showProgress(int iteration, float residual) override {
        progress.emplace_back(iteration, residual);
        progressOpen = true;
    }
    void closeProgress() override { progressOpen = false; }
    void pause(int ms) override {
        ++pauses;
        pausedMs += ms;
        if (onPause) onPause(progress.back().first);
    }
    std::optional<std::string> chooseResultFile() override {
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : shown) t.push_back(m.text);
        return t;
    }
};

inline constexpr const char* kSaveQuestion = "Calculations are finished. Do You want to save result?";
inline constexpr const char* kNotSaved = "Flow file was not saved!";
inline const std::string kMismatch =
    "The analysis and the parameters do not belong together.\nAnalyse the extruder and specify the parameters again.";

// The demo data set once per test program; a work-file folder per test.
class DemoRun : public ::testing::Test {
protected:
    // Every run writes and syncs a dozen small work files: in the folder
    // TMPDIR names, or else in memory where the machine has a folder for that.
    static fs::path scratchRoot() {
        if (const char* chosen = std::getenv("TMPDIR"); chosen && *chosen) return fs::temp_directory_path();
        const fs::path memory = "/dev/shm";
        std::error_code ec;
        if (fs::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0) return memory;
        return fs::temp_directory_path();
    }
    static void SetUpTestSuite() {
        if (app_) return;
        std::string pattern = (scratchRoot() / "velkor-calc-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        app_ = new fs::path(pattern);
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp", "screwflw", "kneadflw"})
            fs::create_directories(*app_ / sub);
        const auto problems = demo::writeDemoData(app_->string());
        for (const auto& p : problems) ADD_FAILURE() << p;
        std::atexit([] { fs::remove_all(*app_); });
    }
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (*app_ / "run-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        temp_ = pattern;
        paths_ = {app_->string() + "/", temp_.string() + "/"};
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        fs::remove_all(temp_, ec);
    }

    static std::string appFile(const std::string& name) { return (*app_ / name).string(); }
    std::string tempFile(const std::string& name) const { return (temp_ / name).string(); }
    std::string flow() const { return tempFile("flow.tmp"); }

    // Work files for a run of demo.ext with the given parameters, written to
    // a parameter file of this test.
    void prepare(const sim::ParameterSet& parameters = demo::demoParameters()) {
        const std::string prm = tempFile("run.prm");
        sim::writeParameterFile(prm, parameters);
        for (const auto& p : demo::prepareDemoRun(app_->string(), paths_.tempDir, prm)) ADD_FAILURE() << p;
    }
    bool run(const sim::CalculationOptions& options = {}) { return sim::runCalculation(paths_, user, options); }

    // The demo parameters at another throughput through the hopper.
    static sim::ParameterSet at(float kgPerHour) {
        sim::ParameterSet p = demo::demoParameters();
        p.ports.at(1).FlowRate = kgPerHour;
        return p;
    }

    static records::ResultData resultOf(const std::string& path) {
        records::ResultData r;
        EXPECT_EQ(records::readResultFile(path, records::ResultExtent::WithExtruder, r), records::ResultCheck::Ok);
        return r;
    }

    static fs::path* app_;
    fs::path temp_;
    sim::CalculationPaths paths_;
    ScriptedUser user;
};
inline fs::path* DemoRun::app_ = nullptr;

}  // namespace calctest
