#pragma once
// The program started headless with the extruder code ZX40 chosen, small
// element files written by the test, and readers of the bytes a designer
// writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
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
        // Closing the catalog activates the main window, which enables the
        // design menus.
        choose("mnuExtchoose");
        session.driver.closeBox(ui::form<selet>());
    }

    static records::ScrewGeoRec screw(const std::string& code, float lead, float length, std::int16_t hand = 1,
                                      float diameter = 30) {
        records::ScrewGeoRec g;
        g.Code = code;
        g.Diameter = diameter;
        g.CenterlineDistance = 26;
        g.Tips = 2;
        g.Lead = lead;
        g.Length = length;
        g.Hand = hand;
        return g;
    }
    static records::KneadGeoRec knead(const std::string& code, float stagger, float length, std::int16_t disks,
                                      std::int16_t hand = 1) {
        records::KneadGeoRec k;
        k.Code = code;
        k.Diameter = 30;
        k.CenterlineDistance = 26;
        k.Tips = 2;
        k.StaggerAngle = stagger;
        k.Length = length;
        k.Disks = disks;
        k.Hand = hand;
        return k;
    }
    static records::BarrelRec block(const std::string& code, const char* type, float length) {
        records::BarrelRec b;
        b.Code = code;
        b.BoreDiameter = 51;
        b.CenterlineSpacing = 42;
        b.Type = type;
        b.Length = length;
        b.OpeningWidth = 40;
        b.OpeningLocation = 50;
        return b;
    }
    std::string gs() const { return path("screwgeo/ZX40.gs"); }
    std::string gk() const { return path("kneadgeo/ZX40.gk"); }
    std::string gb() const { return path("brlkgeo/ZX40.gb"); }

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
        if (o + n > b.size()) return "<short>";
        return std::string(b.begin() + static_cast<std::ptrdiff_t>(o), b.begin() + static_cast<std::ptrdiff_t>(o + n));
    }
    static std::string padded(const std::string& s, std::size_t n) { return s + std::string(n - s.size(), ' '); }

    headless::Driver& driver() { return session.driver; }
    headless::Script& script() { return session.script; }
    // The last message box shown.
    const ui::MessageBoxRequest& lastMessage() const { return session.backend.messages().back().request; }
};
