#include "reports/result_input.h"

#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "reports/rows.h"
#include "state/state.h"

namespace reports {

namespace {

// Every index the readers follow points into the result's rows. The melting
// region starts at or before it ends, but in a result in which melting never
// started: the run hands that back as starting in the end zone one row past its
// end, with no profile point past the first, and the readers show its rows as
// they stand. A region that starts later than that is not a result.
bool indexable(const records::ResultData& r) {
    const long elements = static_cast<long>(r.elements.size());
    const long meltEnd = r.runState.MeltEndElement;
    const long meltStart = r.runState.MeltStartElement;
    const long listedFrom = r.header.RunConditions.MeltEndElement;
    const bool regionInOrder = meltStart <= meltEnd || r.runState.meltingNeverStarted();
    return !r.ports.empty() && elements >= 1 && !r.screw.empty() && listedFrom >= 1 && listedFrom <= elements &&
           meltEnd >= 1 && meltEnd <= elements && meltStart >= 0 && regionInOrder && meltStart <= elements;
}

}  // namespace

records::ResultCheck readResultInput(const std::string& path, records::ResultData& out) {
    records::ResultData read;
    const records::ResultCheck check = records::readResultFile(path, records::ResultExtent::WithExtruder, read);
    if (check != records::ResultCheck::Ok || !indexable(read)) return records::ResultCheck::NotAResultFile;
    out = std::move(read);
    return records::ResultCheck::Ok;
}

float screwRadius(const records::ResultData& result) {
    return record(result.screw, 1).headerScrewDiameter() / 2.0f;
}

bool takeResult(const std::string& path, const char* title, CodeTrim trim, records::ResultData& out) {
    if (readResultInput(path, out) != records::ResultCheck::Ok) {
        ui::msgBox("Incorrect file format.", ui::kOkOnly, ui::kNoIcon, title);
        return false;
    }
    const std::string code = shownText(out.header.Code);
    shared::ExtruderCategory = trim == CodeTrim::BothEnds ? rt::trim(code) : rt::rtrim(code);
    shared::PortRecords.items() = out.ports;
    return true;
}

}  // namespace reports
