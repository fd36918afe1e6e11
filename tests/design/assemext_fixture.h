#pragma once
// A headless run of the program with an extruder code chosen, so that
// Design/Edit > Extruder Assembly is enabled, and helpers that lay down
// screw, barrel, die and extruder files and read their bytes back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalog/selet.h"
#include "design/assemext.h"
#include "design/fitext.h"
#include "records/design_files.h"
#include "shell/shell_fixture.h"

class AssemblyRun : public ShellRun {
protected:
    // Starts the program, makes code the current one and opens the assembly.
    assemext& openAssembly(const std::string& code = "ZX40") {
        start();
        shared::ExtruderCategory = code;
        // Closing a child activates the main window, which enables the menus.
        choose("mnuExtchoose");
        session.driver.closeBox(ui::form<selet>());
        choose("mnuExtassem");
        assemext& a = ui::form<assemext>();
        EXPECT_TRUE(a.isVisible());
        return a;
    }

    // The user picks path in the Find's open dialog.
    void find(ui::CommandButton& button, const std::string& path) {
        session.script.chooseFile(path, ui::FileDialogKind::Open);
        session.driver.click(button);
    }

    // Conveying elements of the given L/R.
    static std::vector<records::ScrewRec> elements(const std::vector<float>& lengths) {
        std::vector<records::ScrewRec> out;
        for (float l : lengths) {
            records::ScrewRec e;
            e.Code = std::string("SE") + std::to_string(out.size());
            e.Kind = std::string_view("s");
            e.CenterlineRatio = 1.7f;
            e.Tips = 2;
            e.Hand = 1;
            e.Length = l;
            e.HelixAngle = 0.3f;
            e.Disks = -999;
            e.StaggerAngle = -999.0f;
            out.push_back(e);
        }
        return out;
    }
    std::string screwFile(const std::string& name, const std::vector<float>& lengths, float diameter = 50,
                          const std::string& code = "ZX40") {
        const auto e = elements(lengths);
        records::writeScrewFile(path(name), records::screwFileHeader(code, diameter, e), e);
        return path(name);
    }

    static records::BarrelRec block(char type, float length, float width = 0, float location = 0) {
        records::BarrelRec b;
        b.Code = std::string(1, type) + "BLOCK";
        b.BoreDiameter = 52;
        b.CenterlineSpacing = 42;
        b.Type = std::string(1, type);
        b.Length = length;
        b.OpeningWidth = width;
        b.OpeningLocation = location;
        return b;
    }
    std::string barrelFile(const std::string& name, const std::vector<records::BarrelRec>& blocks,
                           const std::string& code = "ZX40") {
        records::writeBarrelFile(path(name), records::barrelFileHeader(code, 50, blocks), blocks);
        return path(name);
    }
    // Hopper 100 mm (opening 50 at 50), plain 200 mm, vent 100 mm (40 at 50).
    std::string threeBlockBarrel(const std::string& name = "three.brl") {
        return barrelFile(name, {block('H', 100, 50, 50), block('P', 200), block('V', 100, 40, 50)});
    }

    std::string dieFile(const std::string& name, float total = 50, std::int16_t holes = 3,
                        const std::string& code = "ZX40") {
        records::DieRec d;
        d.Code = code;
        d.Marker = records::markerFor(records::FileKind::Die);
        d.EntranceDiameter = 40;
        d.CapillaryDiameter = 10;
        d.CapillaryZoneLength = 20;
        d.TotalLength = total;
        d.Holes = holes;
        records::writeDieFile(path(name), d);
        return path(name);
    }

    static std::vector<std::uint8_t> bytesOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(const std::string& file, const std::vector<std::uint8_t>& data) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    static float f32(const std::vector<std::uint8_t>& b, std::size_t at) {
        float v = 0;
        if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);  // little-endian host
        return v;
    }
    static int i16(const std::vector<std::uint8_t>& b, std::size_t at) {
        return static_cast<std::int16_t>(b.at(at) | (b.at(at + 1) << 8));
    }
    static std::string text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
        if (at + n > b.size()) return "<short>";
        return std::string(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    static std::string padded(const std::string& s, std::size_t n) {
        return s.size() >= n ? s.substr(0, n) : s + std::string(n - s.size(), ' ');
    }

    std::vector<std::string> messages() const { return session.backend.messageTexts(); }
};
