#include "reports/profile_export.h"

#include "platform/io/textout.h"
#include "platform/rt/numtext.h"
#include "reports/result_input.h"
#include "reports/rows.h"

namespace reports {

namespace {

using records::ElementRecord;
using records::MeltProfileRow;

// Starvation points at most this far into a segment are no points of their
// own, except in the solids part of the temperature profile.
constexpr float kStarvationThreshold = 0.0001f;

struct Point {
    float x = 0;
    float y = 0;
};

// Where a profile takes its values from (null: not used by that profile).
struct Source {
    float ElementRecord::*atStart;
    float ElementRecord::*atStarvation;
    float MeltProfileRow::*inProfile;
};
constexpr Source kPressure{&ElementRecord::PressureStart, &ElementRecord::PressureStarvation,
                           &MeltProfileRow::Pressure};
constexpr Source kTemperature{&ElementRecord::TempStart, &ElementRecord::TempStarvation,
                              &MeltProfileRow::AverageTemperature};
constexpr Source kMelting{nullptr, nullptr, &MeltProfileRow::SolidFraction};
constexpr Source kResidence{&ElementRecord::ResTimeStart, &ElementRecord::ResTimeStarvation, nullptr};
constexpr Source kPower{&ElementRecord::PowerStart, &ElementRecord::PowerStarvation,
                        &MeltProfileRow::CumulativePower};

// Builds one pair of columns with its row cursor.
class Pair {
public:
    Pair(ProfileTable& table, const records::ResultData& result, int pair, Source source)
        : table_(table), result_(result), x_(2 * pair - 1), y_(2 * pair), source_(source),
          radius_(screwRadius(result)) {}

    Point start(long e) const {
        const ElementRecord& el = record(result_.elements, e);
        return {el.SegmentStart * radius_, el.*source_.atStart};
    }
    Point starvation(long e) const {
        const ElementRecord& el = record(result_.elements, e);
        return {(el.SegmentStart + el.StarvationPoint) * radius_, el.*source_.atStarvation};
    }
    Point profile(long j) const {
        const MeltProfileRow& row = record(result_.profile, j + 1);
        return {row.AxialPosition * radius_, row.*source_.inProfile};
    }
    float starvationPoint(long e) const { return record(result_.elements, e).StarvationPoint; }

    void set(long row, Point p) {
        table_[row][x_] = p.x;
        table_[row][y_] = p.y;
    }
    void push(Point p) { set(cursor_++, p); }
    // A point at the position of the row before stays in the cursor row, to
    // be overwritten by the next point.
    void merge(Point p) {
        set(cursor_, p);
        if (table_[cursor_][x_] != table_[cursor_ - 1][x_]) ++cursor_;
    }
    void moveTo(long row) { cursor_ = row; }

    // Merges the start and the starvation point of elements from..to; a
    // starvation point counts when it lies beyond the threshold (or, with
    // anyStarvation, anywhere past the segment start).
    void mergeElements(long from, long to, bool anyStarvation = false) {
        for (long e = from; e <= to; ++e) {
            merge(start(e));
            const float w = starvationPoint(e);
            if (anyStarvation ? w != 0.0f : w > kStarvationThreshold) merge(starvation(e));
        }
    }

private:
    ProfileTable& table_;
    const records::ResultData& result_;
    std::size_t x_, y_;
    Source source_;
    float radius_;
    long cursor_ = 1;
};

constexpr std::array<long, 11> kStartColumn = {0, 1, 10, 20, 30, 40, 50, 60, 70, 80, 90};
constexpr std::array<const char*, 11> kFirstLineFormat = {"",        "####0.00", "###0.00", "###0.00",
                                                          "###0.00", "###0.00",  "#0.00",   "###0.00",
                                                          "#0.00",   "###0.00",  "###0.00"};

const char* lineFormat(std::size_t column) { return column == 1 ? "###0.00" : kFirstLineFormat[column]; }

}  // namespace

ProfileTable profileTable(const records::ResultData& r) {
    const long nE = static_cast<long>(r.elements.size());
    const long M = r.runState.LastProfileRow;
    const long Kp = r.header.RunConditions.MeltEndElement;
    const long Kd = r.runState.MeltStartElement;
    const long Kr = r.runState.MeltEndElement;
    const float S = r.runState.MeltEndPosition;
    ProfileTable t(0, 2 * nE + M + 1);

    // Pressure: the melting profile, the point where melting ends when it
    // lies beyond S, then the melt conveying zone.
    Pair pressure(t, r, 1, kPressure);
    if (M >= 1)
        for (long j = 0; j <= M; ++j) pressure.push(pressure.profile(j));
    if (pressure.starvationPoint(Kp) > S) pressure.push({pressure.starvation(Kp).x, 0.0f});
    pressure.mergeElements(Kp + 1, nE - 1);

    // Temperature and power: the solids conveying zone, the melting profile
    // and the melt conveying zone.
    Pair temperature(t, r, 2, kTemperature);
    temperature.set(1, temperature.start(1));
    temperature.moveTo(2);
    temperature.mergeElements(1, Kd - 1, true);
    if (M >= 1)
        for (long j = 0; j <= M; ++j) temperature.push(temperature.profile(j));
    temperature.mergeElements(Kr + 1, nE - 1);

    Pair melting(t, r, 3, kMelting);
    if (M >= 1) melting.set(1, melting.profile(0));
    melting.moveTo(2);
    for (long j = 1; j <= M; ++j) melting.merge(melting.profile(j));

    Pair residence(t, r, 4, kResidence);
    residence.set(1, residence.start(1));
    residence.moveTo(2);
    residence.mergeElements(1, nE - 1);

    Pair power(t, r, 5, kPower);
    power.set(1, power.start(1));
    power.moveTo(2);
    power.mergeElements(1, Kd - 1);
    if (M >= 1)
        for (long j = 0; j <= M; ++j) power.merge(power.profile(j));
    power.mergeElements(Kr + 1, nE - 1);
    return t;
}

void writeProfileLines(const ProfileTable& t, rt::ColumnWriter& out) {
    for (std::size_t c = 1; c <= 10; ++c) out.tab(kStartColumn[c]).text(rt::format(t[1][c], kFirstLineFormat[c]));
    out.endLine();
    for (long r = 2; r <= t.ubound(); ++r) {
        const std::array<float, 11>& row = t[r];
        for (std::size_t k = 1; k <= 5; ++k) {
            const std::size_t x = 2 * k - 1, y = 2 * k;
            if (row[x] != 0.0f) {
                out.tab(kStartColumn[x]).text(rt::format(row[x], lineFormat(x)));
                out.tab(kStartColumn[y]).text(rt::format(row[y], lineFormat(y)));
            }
            // Every pair but the last, blank or not, ends at the next pair's column.
            if (k < 5) out.tab(kStartColumn[x + 2]);
        }
        out.endLine();
    }
}

void writeProfileFile(const std::string& path, const ProfileTable& table) {
    io::TextOutput out(path);
    writeProfileLines(table, out.columns());
    out.close();
}

}  // namespace reports
