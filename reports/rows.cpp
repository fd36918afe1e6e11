#include "reports/rows.h"

#include "platform/rt/numtext.h"
#include "platform/rt/text.h"

namespace reports {

namespace {
constexpr const char* kMm = "##0.00";
constexpr double kPi = 3.141592654;
}  // namespace

float ratio(float num, float den) {
    if (den == 0.0f) rt::raise(rt::kDivisionByZero);
    return num / den;
}

std::string integerText(int value, IntegerStyle style) {
    return style == IntegerStyle::Plain ? std::to_string(value) : rt::numberItem(value);
}

ScrewElementRow screwElementRow(int number, const records::ScrewRec& e, float radius, IntegerStyle style) {
    ScrewElementRow row;
    auto& c = row.cells;
    c[0] = integerText(number, style);
    c[1] = rt::trim(shownText(e.Code));
    c[2] = rt::trim(shownText(e.Kind));
    c[3] = integerText(e.Tips, style);
    c[4] = integerText(e.Hand, style);
    c[5] = rt::format(e.Length * radius, kMm);
    if (e.kind() == records::kConveyingKind) {
        c[6] = rt::format(static_cast<double>(e.HelixAngle) * 180.0 / kPi, kMm);
        c[7] = "--";
        c[8] = "--";
        row.listed = true;
    } else if (e.kind() == records::kKneadingKind) {
        c[6] = "--";
        c[7] = integerText(e.Disks, style);
        c[8] = rt::format(e.StaggerAngle, kMm);
        row.listed = true;
    }
    return row;
}

std::optional<float> blockScale(const records::BarrelRec& header, BarrelSource source) {
    const float radius = header.headerScrewDiameter() * 0.5f;
    const char marker = header.blockType();
    if (marker == static_cast<char>(records::FileKind::Barrel))
        return source == BarrelSource::BarrelFile ? 1.0f : radius;
    if (marker == static_cast<char>(records::FileKind::Extruder)) return radius;
    return std::nullopt;
}

std::array<std::string, 7> BarrelBlockRows::next(int number, const records::BarrelRec& b, IntegerStyle style) {
    std::array<std::string, 7> c;
    c[0] = integerText(number, style);
    c[1] = rt::trim(shownText(b.Code));
    c[2] = shownText(b.Type);
    if (scale_) {
        const float k = *scale_;
        c[3] = rt::format(b.Length * k, kMm);
        c[4] = rt::format(b.OpeningWidth * k, kMm);
        c[5] = rt::format(b.OpeningLocation * k, kMm);
        const char type = b.blockType();
        c[6] = type == records::kVentBlock || type == records::kHopperBlock
                   ? rt::format((x_ + b.OpeningLocation) * k, kMm)
                   : "--";
    }
    x_ += b.Length;
    return c;
}

}  // namespace reports
