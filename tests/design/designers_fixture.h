#pragma once
// The program started headless with the extruder code ZX40 chosen, element
// records for the test's own element files, and readers of the bytes a
// designer writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/selet.h"
#include "records/design_files.h"
#include "shell/shell_fixture.h"

class DesignerRun : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
        shared::ExtruderCategory = "ZX40";
        // Closing the catalog activates the main window: the design menus enable.
        choose("mnuExtchoose");
        session.driver.closeBox(ui::form<selet>());
    }

    // D 30 mm and centre-line distance 26 mm unless said otherwise; two tips.
    static records::ScrewGeoRec screw(std::string_view code, float lead, float length, std::int16_t hand = 1,
                                      float diameter = 30) {
        return {.Code = code, .Diameter = diameter, .CenterlineDistance = 26, .Tips = 2, .Lead = lead,
                .Length = length, .Hand = hand};
    }
    static records::KneadGeoRec knead(std::string_view code, float stagger, float length, std::int16_t disks) {
        return {.Code = code, .Diameter = 30, .CenterlineDistance = 26, .Tips = 2, .StaggerAngle = stagger,
                .Length = length, .Disks = disks, .Hand = 1};
    }
    static records::BarrelRec block(std::string_view code, std::string_view type, float length) {
        return {.Code = code, .BoreDiameter = 51, .CenterlineSpacing = 42, .Type = type, .Length = length,
                .OpeningWidth = 40, .OpeningLocation = 50};
    }
    std::string gs() const { return path("screwgeo/ZX40.gs"); }

    std::vector<std::uint8_t> bytes(const std::string& file) const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static float f32(const std::vector<std::uint8_t>& b, std::size_t o) {
        std::uint32_t u = 0;
        for (std::size_t i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b.at(o + i)) << (8 * i);
        float v;
        std::memcpy(&v, &u, 4);
        return v;
    }
    static int i16(const std::vector<std::uint8_t>& b, std::size_t o) {
        return static_cast<std::int16_t>(b.at(o) | (b.at(o + 1) << 8));
    }
    static std::string text(const std::vector<std::uint8_t>& b, std::size_t o, std::size_t n) {
        return o + n > b.size() ? "<short>" : std::string(b.begin() + o, b.begin() + o + n);
    }
    static std::string padded(const std::string& s, std::size_t n) { return s + std::string(n - s.size(), ' '); }

    headless::Driver& driver() { return session.driver; }
    headless::Script& script() { return session.script; }
    const ui::MessageBoxRequest& lastMessage() const { return session.backend.messages().back().request; }
};
