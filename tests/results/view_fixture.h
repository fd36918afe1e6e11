#pragma once
// A headless run of the result view on result files that the test writes:
// a fresh application directory, the window opened as Profile Display opens
// it, and the drawing read as text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "results/dispresult.h"
#include "state/state.h"
#include "tests/support/result_builder.h"

class ResultViewRun : public ::testing::Test {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-results-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // Writes the result and returns its path.
    std::string write(resulttest::ResultBuilder& b, const std::string& name = "run.flw") {
        b.write(path(name));
        return path(name);
    }

    dispresult& view() { return ui::form<dispresult>(); }
    // Stores the file and shows the window, as Profile Display does.
    dispresult& open(const std::string& file) {
        shared::ResultFile = file;
        ui::app().dispatch([] { ui::form<dispresult>().show(); });
        return view();
    }
    void click(ui::CommandButton& button) { session.driver.click(button); }
    void close() { session.driver.closeBox(view()); }

    // The window's drawing, one operation a line.
    std::vector<std::string> drawing() const { return lines(headless::Driver::dump(ui::form<dispresult>())); }
    // The printed pages, one operation a line each.
    std::vector<std::string> page(std::size_t job = 0) const {
        const ui::PrintJob& j = session.backend.printed().at(job);
        EXPECT_EQ(j.pages.size(), 1u);
        return lines(gfx::dump(j.pages.at(0)));
    }
    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) out.push_back(l);
        return out;
    }
    // The lines that start with the given text, in order.
    static std::vector<std::string> starting(const std::vector<std::string>& all, const std::string& prefix) {
        std::vector<std::string> out;
        for (const std::string& l : all)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }

    headless::Session session;

private:
    std::filesystem::path dir_;
};
