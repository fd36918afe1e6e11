#include "records/design_files.h"

#include <cmath>
#include <limits>

#include "platform/rt/error.h"

namespace records {

namespace {

constexpr std::size_t kMaxRecords = std::numeric_limits<std::int16_t>::max();

template <class Rec>
std::vector<Rec> readAll(const std::string& path, OpenMode mode, ReadCount rule) {
    RecordFile f(path, Rec::kSize, mode);
    int count = f.recordCount();
    if (count == 0 && rule == ReadCount::ZeroAsOne) count = 1;
    std::vector<Rec> recs;
    recs.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) recs.push_back(f.template read<Rec>(n));
    return recs;
}

template <class Rec>
std::vector<Rec> readLibrary(const std::string& path) {
    try {
        return readAll<Rec>(path, OpenMode::ReadOnly, ReadCount::AsIs);
    } catch (const rt::Error& e) {
        if (e.number() != rt::kFileNotFound) throw;
        return {};
    }
}

template <class Rec>
void appendPacked(std::vector<std::uint8_t>& out, const Rec& rec) {
    PackWriter w(out);
    rec.write(w);
}

// A record file that its own readers can count again: at most 32767 records.
template <class Rec>
void rewriteAll(const std::string& path, const std::vector<Rec>& recs) {
    if (recs.size() > kMaxRecords) rt::raise(rt::kOverflow, "too many records for one file");
    rewriteRecords(path, Rec::kSize, recs);
}

float divideOrRaise(float num, float den) {
    if (den == 0.0f) rt::raise(rt::kDivisionByZero);
    return num / den;
}

}  // namespace

// --- Element database ---------------------------------------------------

std::vector<ScrewGeoRec> readScrewGeoFile(const std::string& path, OpenMode mode, ReadCount count) {
    return readAll<ScrewGeoRec>(path, mode, count);
}
std::vector<KneadGeoRec> readKneadGeoFile(const std::string& path, OpenMode mode, ReadCount count) {
    return readAll<KneadGeoRec>(path, mode, count);
}
std::vector<BarrelRec> readBarrelGeoFile(const std::string& path, OpenMode mode, ReadCount count) {
    return readAll<BarrelRec>(path, mode, count);
}

std::vector<KneadGeoRec> readKneadLibrary(const std::string& path) { return readLibrary<KneadGeoRec>(path); }
std::vector<BarrelRec> readBarrelLibrary(const std::string& path) { return readLibrary<BarrelRec>(path); }

void writeScrewGeoFile(const std::string& path, const std::vector<ScrewGeoRec>& recs) { rewriteAll(path, recs); }
void writeKneadGeoFile(const std::string& path, const std::vector<KneadGeoRec>& recs) { rewriteAll(path, recs); }
void writeBarrelGeoFile(const std::string& path, const std::vector<BarrelRec>& recs) { rewriteAll(path, recs); }

// --- Screw file -----------------------------------------------------------

ScrewRec screwElementFrom(const ScrewGeoRec& g) {
    const float radius = g.Diameter / 2.0f;
    ScrewRec s;
    s.Code = g.Code;
    s.Kind = std::string_view("s");
    s.CenterlineRatio = divideOrRaise(g.CenterlineDistance, radius);
    s.Tips = g.Tips;
    s.Hand = g.Hand;
    s.Length = divideOrRaise(g.Length, radius);
    // The helix angle is formed in double precision and stored as a Single.
    s.HelixAngle = static_cast<float>(std::atan(static_cast<double>(g.Lead) /
                                                (static_cast<double>(g.Diameter) * 3.141592654)));
    s.Disks = kNoDisks;
    s.StaggerAngle = kNoStagger;
    return s;
}

ScrewRec screwElementFrom(const KneadGeoRec& k) {
    const float radius = k.Diameter / 2.0f;
    ScrewRec s;
    s.Code = k.Code;
    s.Kind = std::string_view("k");
    s.CenterlineRatio = divideOrRaise(k.CenterlineDistance, radius);
    s.Tips = k.Tips;
    s.Hand = k.Hand;
    s.Length = divideOrRaise(k.Length, radius);
    s.HelixAngle = 0.0f;
    s.Disks = k.Disks;
    s.StaggerAngle = k.StaggerAngle;
    return s;
}

ScrewRec screwRootRecord() {
    ScrewRec r;
    r.Code = std::string_view("Screw Root");
    r.Kind = std::string_view("r");
    r.Length = 3.0f;
    return r;
}

ScrewRec screwHeadRecord() {
    ScrewRec h = screwRootRecord();
    h.Code = std::string_view("Screw Head");
    h.Kind = std::string_view("h");
    h.Length = 0.577f;
    return h;
}

ScrewRec screwFileHeader(std::string_view code, float diameter, const std::vector<ScrewRec>& elements) {
    if (elements.size() + 3 > kMaxRecords) rt::raise(rt::kOverflow, "too many screw elements");
    std::int16_t conveying = 0, kneading = 0;
    float leftHanded = 0.0f, lengthSum = 0.0f;
    for (const ScrewRec& e : elements) {
        const char kind = e.kind();
        if (kind == 's' || kind == 'S')
            ++conveying;
        else
            ++kneading;
        if (e.Hand < 0) leftHanded += 1.0f;
        lengthSum += e.Length;
    }
    ScrewRec h;
    h.Code = code;
    h.Kind = markerFor(FileKind::Screw);
    h.headerScrewDiameter() = diameter;
    h.headerElementCount() = static_cast<std::int16_t>(elements.size());
    h.headerConveyingCount() = conveying;
    h.headerTotalLength() = lengthSum;
    h.headerLeftHandedCount() = leftHanded;
    h.headerKneadingCount() = kneading;
    h.StaggerAngle = kNoStagger;
    return h;
}

std::vector<ScrewRec> readScrewFile(const std::string& path, OpenMode mode, ReadCount count) {
    return readAll<ScrewRec>(path, mode, count);
}

void writeScrewFile(const std::string& path, const ScrewRec& header, const std::vector<ScrewRec>& elements) {
    if (elements.size() + 3 > kMaxRecords) rt::raise(rt::kOverflow, "too many screw elements");
    std::vector<ScrewRec> recs;
    recs.reserve(elements.size() + 3);
    recs.push_back(header);
    recs.push_back(screwRootRecord());
    recs.insert(recs.end(), elements.begin(), elements.end());
    recs.push_back(screwHeadRecord());
    rewriteAll(path, recs);
}

// --- Barrel file ----------------------------------------------------------

float barrelLengthOverD(float diameter, const std::vector<BarrelRec>& blocks) {
    float lengthOverD = 0.0f;
    for (const BarrelRec& b : blocks) lengthOverD += divideOrRaise(b.Length, diameter);
    return lengthOverD;
}

BarrelRec barrelFileHeader(std::string_view code, float diameter, const std::vector<BarrelRec>& blocks) {
    if (blocks.size() + 1 > kMaxRecords) rt::raise(rt::kOverflow, "too many barrel blocks");
    float hoppers = 0.0f, vents = 0.0f;
    for (const BarrelRec& b : blocks) {
        const char type = b.blockType();
        if (type == 'V' || type == 'v')
            vents += 1.0f;
        else if (type == 'H' || type == 'h')
            hoppers += 1.0f;
    }
    const float lengthOverD = barrelLengthOverD(diameter, blocks);
    BarrelRec h;
    h.Code = code;
    h.Type = markerFor(FileKind::Barrel);
    h.headerScrewDiameter() = diameter;
    h.headerHopperCount() = hoppers;
    h.headerTotalLength() = lengthOverD * diameter;
    h.headerVentCount() = vents;
    h.headerBlockCount() = static_cast<float>(blocks.size());
    return h;
}

std::vector<BarrelRec> readBarrelFile(const std::string& path, OpenMode mode, ReadCount count) {
    return readAll<BarrelRec>(path, mode, count);
}

void writeBarrelFile(const std::string& path, const BarrelRec& header, const std::vector<BarrelRec>& blocks) {
    if (blocks.size() + 1 > kMaxRecords) rt::raise(rt::kOverflow, "too many barrel blocks");
    std::vector<BarrelRec> recs;
    recs.reserve(blocks.size() + 1);
    recs.push_back(header);
    recs.insert(recs.end(), blocks.begin(), blocks.end());
    rewriteAll(path, recs);
}

// --- Die file -------------------------------------------------------------

DieRec readDieFile(const std::string& path, OpenMode mode) {
    RecordFile f(path, DieRec::kSize, mode);
    return f.read<DieRec>(1);
}

void writeDieFile(const std::string& path, const DieRec& die) { rewriteAll(path, std::vector<DieRec>{die}); }

// --- Extruder file --------------------------------------------------------

ExtHeader readExtHeader(const std::string& path) {
    ByteStream s(path, OpenMode::ReadOnly);
    return s.read<ExtHeader>();
}

ExtruderFileContent parseExtruderFile(const std::vector<std::uint8_t>& bytes) {
    PackReader r(bytes);
    ExtruderFileContent c;
    c.header.read(r);
    const std::int16_t nS = c.header.ScrewCount, nB = c.header.BarrelCount;
    if (nS < 0 || nB < 0) rt::raise(rt::kBadRecordLength, "negative record count in extruder header");
    if (extruderFileLength(static_cast<std::size_t>(nS), static_cast<std::size_t>(nB)) > bytes.size())
        rt::raise(rt::kInputPastEndOfFile, "extruder header announces more records than the file holds");
    c.screw.resize(static_cast<std::size_t>(nS));
    for (ScrewRec& s : c.screw) s.read(r);
    c.barrel.resize(static_cast<std::size_t>(nB));
    for (BarrelRec& b : c.barrel) b.read(r);
    return c;
}

ExtruderFileContent readExtruderFile(const std::string& path) {
    ByteStream s(path, OpenMode::ReadOnly);
    // Only what the largest possible header can announce is ever read.
    const std::uint64_t limit = extruderFileLength(kMaxRecords, kMaxRecords);
    const std::uint64_t length = s.length();
    std::vector<std::uint8_t> bytes = s.readRaw(static_cast<std::size_t>(length < limit ? length : limit));
    return parseExtruderFile(bytes);
}

std::vector<std::uint8_t> packExtruderFile(const ExtruderFileContent& c) {
    if (c.header.ScrewCount < 0 || c.header.BarrelCount < 0 ||
        static_cast<std::size_t>(c.header.ScrewCount) != c.screw.size() ||
        static_cast<std::size_t>(c.header.BarrelCount) != c.barrel.size())
        rt::raise(rt::kInvalidCall, "extruder header counts do not match its records");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(extruderFileLength(c.screw.size(), c.barrel.size()));
    appendPacked(bytes, c.header);
    for (const ScrewRec& s : c.screw) appendPacked(bytes, s);
    for (const BarrelRec& b : c.barrel) appendPacked(bytes, b);
    return bytes;
}

void writeExtruderFile(const std::string& path, const ExtruderFileContent& content, ExtruderWrite mode) {
    const std::vector<std::uint8_t> bytes = packExtruderFile(content);
    if (mode == ExtruderWrite::Replace)
        io::replaceFileContents(path, bytes);
    else
        writeOverFromStart(path, bytes);
}

}  // namespace records
