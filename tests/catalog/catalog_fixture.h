#pragma once
// A headless run with a fresh application directory holding the data
// folders, and helpers to lay down and inspect catalog files byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "state/state.h"

class AppDirRun : public ::testing::Test {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-cat-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp"})
            std::filesystem::create_directory(dir_ / sub);
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string path(const std::string& rel) const { return (dir_ / rel).string(); }
    bool exists(const std::string& rel) const { return std::filesystem::exists(dir_ / rel); }

    std::vector<std::uint8_t> bytes(const std::string& rel) const {
        std::ifstream in(dir_ / rel, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void put(const std::string& rel, const std::vector<std::uint8_t>& data) const {
        std::ofstream out(dir_ / rel, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    // The n characters at offset as text.
    static std::string text(const std::vector<std::uint8_t>& b, std::size_t offset, std::size_t n) {
        if (offset + n > b.size()) return "<short>";
        return std::string(b.begin() + static_cast<std::ptrdiff_t>(offset),
                           b.begin() + static_cast<std::ptrdiff_t>(offset + n));
    }
    static std::string padded(const std::string& s, std::size_t n) { return s + std::string(n - s.size(), ' '); }

    headless::Session session;
    headless::Script& script = session.script;
    headless::Driver& driver = session.driver;

private:
    std::filesystem::path dir_;
};
