#include "views/view_files.h"

#include <cmath>
#include <span>

#include "catalog/catalog_files.h"
#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "records/files.h"
#include "records/markers.h"
#include "state/state.h"

namespace views {
namespace {

// Opens a design file for reading; shorter than one record is no design.
records::RecordFile openDesignFile(const std::string& path, std::size_t recordLength) {
    records::RecordFile file(path, recordLength, records::OpenMode::ReadOnly);
    if (file.fileLength() < recordLength) rt::raise(rt::kInputPastEndOfFile, "shorter than one record: " + path);
    return file;
}

template <class Rec>
std::vector<Rec> readDesignFile(const std::string& path) {
    records::RecordFile file = openDesignFile(path, Rec::kSize);
    std::vector<Rec> recs;
    const int n = file.recordCount();
    for (int i = 1; i <= n; ++i) recs.push_back(file.read<Rec>(i));
    return recs;
}

}  // namespace

std::string workFilePath(std::string_view name) { return shared::TempDir + std::string(name); }

records::ScrewRec readScrewHeader(const std::string& path) {
    return openDesignFile(path, records::ScrewRec::kSize).read<records::ScrewRec>(1);
}

records::DieRec lastDieRecord(const std::string& path) {
    records::RecordFile file = openDesignFile(path, records::DieRec::kSize);
    return file.read<records::DieRec>(file.recordCount());
}

records::DieRec firstDieRecord(const std::string& path) {
    return openDesignFile(path, records::DieRec::kSize).read<records::DieRec>(1);
}

records::BarrelRec copyBarrelBlocks(const std::string& barrelFile, const std::string& workFile) {
    const std::vector<records::BarrelRec> recs = readDesignFile<records::BarrelRec>(barrelFile);
    records::rewriteRecords(workFile, records::BarrelRec::kSize, std::span(recs).subspan(1));
    return recs.front();
}

std::vector<records::BarrelRec> readBarrelBlocks(const std::string& workFile) {
    return records::readBarrelGeoFile(workFile, records::OpenMode::ReadOnly);
}

std::vector<records::ScrewRec> copyScrewElements(const std::string& screwFile, const std::string& workFile) {
    const std::vector<records::ScrewRec> recs = readDesignFile<records::ScrewRec>(screwFile);
    std::vector<records::ScrewRec> elements;
    if (recs.size() > 3) elements.assign(recs.begin() + 2, recs.end() - 1);
    records::rewriteRecords(workFile, records::ScrewRec::kSize, elements);
    return elements;
}

std::optional<records::ScrewGeoRec> categoryScrewGeo(const std::string& code) {
    if (code.empty() || !catalog::codeNameFault(code).empty()) return std::nullopt;
    std::optional<records::ScrewGeoRec> geo;
    rt::endQuietlyOnError([&] {
        records::RecordFile file(shared::screwElementPath(code), records::ScrewGeoRec::kSize,
                                 records::OpenMode::ReadOnly);
        if (file.fileLength() >= records::ScrewGeoRec::kSize) geo = file.read<records::ScrewGeoRec>(1);
    });
    return geo;
}

float drawingRadius(float elementDiameter, float headerDiameter) {
    const float fromElements = elementDiameter / 2;
    return fromElements > 0 && std::isfinite(fromElements) ? fromElements : headerDiameter / 2;
}

bool adoptExtruderCode(const std::string& code) {
    if (code.empty() || !catalog::codeNameFault(code).empty()) return false;
    shared::ExtruderCategory = code;
    return true;
}

CheckedExtruder readCheckedExtruder(const std::string& path) {
    CheckedExtruder result;
    std::uint64_t length = 0;
    if (!rt::endQuietlyOnError([&] { length = io::fileLen(path); }) || length == 0) return result;
    result.check = ExtruderCheck::BadFormat;
    if (!rt::endQuietlyOnError([&] { result.content = records::readExtruderFile(path); })) return result;
    const records::ExtHeader& h = result.content.header;
    if (!records::hasMarker(h) || h.ScrewCount < 3 || h.BarrelCount < 1) return result;
    result.check = ExtruderCheck::Good;
    return result;
}

double drawnLength(const records::ExtruderFileContent& extruder, float radius) {
    const float barrel = extruder.barrel.empty() ? 0.0f : extruder.barrel.front().headerTotalLength();
    if (extruder.header.DieFile.trimmed().empty() || extruder.barrel.empty()) return barrel;
    return radius * extruder.barrel.back().dieTotalLength() + barrel;
}

}  // namespace views
