#include "records/parameter_records.h"

#include "platform/rt/error.h"

namespace records {

namespace {

std::vector<std::uint8_t> padRecord(std::vector<std::uint8_t> bytes) {
    bytes.resize(kCalc1RecordLength, 0);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> calc1SingleRecord(float v) {
    std::vector<std::uint8_t> out;
    PackWriter(out).f32(v);
    return padRecord(std::move(out));
}

std::vector<std::uint8_t> calc1IntegerRecord(std::int16_t v) {
    std::vector<std::uint8_t> out;
    PackWriter(out).i16(v);
    return padRecord(std::move(out));
}

std::vector<std::uint8_t> calc1TextRecord(const std::string& text) {
    if (text.size() > kCalc1MaxText)
        rt::raise(rt::kBadRecordLength, "text of " + std::to_string(text.size()) +
                                            " characters does not fit a 128-byte record");
    std::vector<std::uint8_t> out;
    PackWriter(out).lengthText(text);
    return padRecord(std::move(out));
}

float calc1Single(const std::vector<std::uint8_t>& record) { return PackReader(record).f32(); }

std::int16_t calc1Integer(const std::vector<std::uint8_t>& record) { return PackReader(record).i16(); }

std::string calc1Text(const std::vector<std::uint8_t>& record) {
    PackReader r(record);
    PackReader peek(record);
    if (peek.i16() > static_cast<std::int16_t>(kCalc1MaxText))
        rt::raise(rt::kBadRecordLength, "text length beyond its record");
    return r.lengthText();
}

std::vector<std::vector<std::uint8_t>> Calc1Values::toRecords() const {
    return {calc1SingleRecord(ScrewRadius),   calc1SingleRecord(CenterlineRatio),
            calc1IntegerRecord(TipCount),     calc1IntegerRecord(PortCount),
            calc1SingleRecord(EndZoneLength), calc1TextRecord(ParameterFile),
            calc1TextRecord(ExtruderFile),    calc1TextRecord(ExtruderCategory),
            calc1TextRecord(DieFile)};
}

Calc1Values Calc1Values::fromRecords(const std::vector<std::vector<std::uint8_t>>& records) {
    if (records.size() < static_cast<std::size_t>(kRecordCount)) rt::raise(rt::kInputPastEndOfFile);
    Calc1Values v;
    v.ScrewRadius = calc1Single(records[0]);
    v.CenterlineRatio = calc1Single(records[1]);
    v.TipCount = calc1Integer(records[2]);
    v.PortCount = calc1Integer(records[3]);
    v.EndZoneLength = calc1Single(records[4]);
    v.ParameterFile = calc1Text(records[5]);
    v.ExtruderFile = calc1Text(records[6]);
    v.ExtruderCategory = calc1Text(records[7]);
    v.DieFile = calc1Text(records[8]);
    return v;
}

}  // namespace records
