#include "simulation/tables.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "simulation/numerics.h"

namespace sim {

float LookupFlowRate = 0.0f;

namespace {

const char* const kTitle = "Calculation";
constexpr std::uint64_t kMaxKeptTable = 1000 * kTableRecordSize;

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The interpolation grid n = 0.1 .. 1.0, each computed as k times 0.1.
const std::array<double, kTableValues>& grid() {
    static const std::array<double, kTableValues> X = [] {
        std::array<double, kTableValues> x{};
        for (std::size_t k = 1; k <= kTableValues; ++k) x[k - 1] = static_cast<double>(k) * 0.1;
        return x;
    }();
    return X;
}

struct Row {
    float q = 0.0f;
    std::array<float, kTableValues> Y{};  // reversed onto the grid: Y(k) = value 11 - k
};

float floatAt(const unsigned char* p) {
    std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    float v;
    std::memcpy(&v, &u, 4);
    return v;
}

// A table opened for reading only (a missing table is never created), read
// from a current position as a byte stream: from the file, or from the run's
// copy of it.
class TableStream {
public:
    // False when the table is missing or cannot be opened.
    bool open(const std::string& path, TableFiles* files = nullptr) {
        if (files && (bytes_ = files->bytes(path)) != nullptr) return true;
        try {
            file_ = std::make_unique<io::File>(path, io::OpenMode::ReadOnly);
        } catch (const rt::Error&) {
            file_.reset();
        }
        return file_ != nullptr;
    }
    void seek(std::uint64_t offset) { pos_ = offset; }
    // True when the file holds every byte of the record, its last row included.
    bool holdsWholeRecord(std::int64_t record) const {
        try {
            return length() >= static_cast<std::uint64_t>(record + 1) * kTableRecordSize;
        } catch (const rt::Error&) {
            return false;
        }
    }
    // Reads exactly n bytes; false when the file ends first.
    bool read(unsigned char* out, std::size_t n) {
        std::size_t got = 0;
        if (bytes_) {
            if (pos_ < bytes_->size()) got = std::min<std::size_t>(n, bytes_->size() - static_cast<std::size_t>(pos_));
            if (got > 0) std::memcpy(out, bytes_->data() + pos_, got);
        } else {
            try {
                got = file_->readAt(pos_, out, n);
            } catch (const rt::Error&) {
                return false;
            }
        }
        pos_ += got;
        return got == n;
    }

private:
    std::uint64_t length() const { return bytes_ ? bytes_->size() : file_->length(); }

    std::unique_ptr<io::File> file_;
    const std::vector<unsigned char>* bytes_ = nullptr;
    std::uint64_t pos_ = 0;
};

// Reads the next row; false when the file ends first.
bool readRow(TableStream& in, Row& row) {
    unsigned char buf[kTableRowSize];
    if (!in.read(buf, kTableRowSize)) return false;
    row.q = floatAt(buf);
    for (std::size_t k = 1; k <= kTableValues; ++k) row.Y[k - 1] = floatAt(buf + 4 * (kTableValues + 1 - k));
    return true;
}

float atIndex(const Row& row, float n) {
    return NevilleInterpolate(grid(), row.Y, static_cast<int>(kTableValues), n);
}

// Reads keys from the given record on; leaves the stream just after the key
// of the first matching record. False when the file ends first.
bool seekMatchingRecord(TableStream& in, std::int64_t& record, std::string_view type, std::string_view code) {
    unsigned char key[kTableKeySize];
    for (;; ++record) {
        in.seek(static_cast<std::uint64_t>(record) * kTableRecordSize);
        if (!in.read(key, kTableKeySize)) return false;
        if (TableKeyMatches(std::string_view(reinterpret_cast<const char*>(key), kTableKeySize), type, code))
            return true;
    }
}

// The cap, first step of every lookup: LookupFlowRate is the flow rate as a
// single, at most 0.25; a larger one (or not a number) is replaced with the
// lookup's own message.
void capFlowRate(const TableSource& source, double flowRate, const char* message) {
    if (std::isfinite(flowRate) && std::fabs(flowRate) > static_cast<double>(FLT_MAX))
        LookupFlowRate = flowRate > 0 ? INFINITY : -INFINITY;
    else
        LookupFlowRate = static_cast<float>(flowRate);
    if (!(LookupFlowRate <= kLookupFlowRateCap)) {
        if (source.notify) source.notify(message, kTitle);
        LookupFlowRate = kLookupFlowRateCap;
    }
}

TableResult missed(TableResult r, TableMiss why) {
    r.miss = why;
    r.hasValue = false;
    return r;
}

// The shared algorithm of ReadFlowTable2 and ReadHeatTable: rows 2..52 of the
// matching records, at the capped flow rate and n.
TableResult readRows(const TableSource& source, std::string_view type, std::string_view code,
                     const float& n, const char* extension) {
    TableResult r;
    r.code = std::string(code);
    r.table = TablePath(source, type, extension);
    TableStream in;
    if (!in.open(r.table, source.files.get())) return missed(r, TableMiss::NoTable);

    const float Q = LookupFlowRate;
    Row prev;  // q = 0 and ten zeros, once per call
    Row cur;
    bool anyRecord = false;
    std::int64_t record = 0;
    while (seekMatchingRecord(in, record, type, code)) {
        anyRecord = true;
        if (!readRow(in, cur)) return missed(r, TableMiss::RecordCutShort);  // row 1, discarded
        for (std::size_t k = 2; k <= kTableRowCount; ++k) {
            if (!readRow(in, cur)) return missed(r, TableMiss::RecordCutShort);
            const double q = cur.q;
            const double Qd = Q;
            if (std::fabs(Qd - q) <= 1e-05) {
                r.value = atIndex(cur, n);
                r.hasValue = true;
                return r;
            }
            if (q >= Qd) {
                const double vPrev = atIndex(prev, n);
                const double vCur = atIndex(cur, n);
                const double qPrev = prev.q;
                // Two rows at the same q (a first row at q = 0 with a negative
                // flow rate) leave no interval: take the row's own value.
                const double v = (q == qPrev) ? vCur : (vPrev * (q - Qd) + vCur * (Qd - qPrev)) / (q - qPrev);
                r.value = static_cast<float>(v);
                r.hasValue = true;
                return r;
            }
            prev = cur;
        }
        ++record;  // every row lay below Q: go on with the next record
    }
    return missed(r, anyRecord ? TableMiss::FlowRateBeyondRows : TableMiss::NoRecord);
}

bool knownType(std::string_view type) {
    const std::string t = upper(type);
    return t == "S" || t == "K";
}

}  // namespace

const std::vector<unsigned char>* TableFiles::bytes(const std::string& path) {
    auto [it, added] = files_.try_emplace(path);
    if (added) {
        try {
            io::File file(path, io::OpenMode::ReadOnly);
            // Tables hold a few records; anything far larger is read from disk.
            if (file.length() > kMaxKeptTable) return nullptr;
            std::vector<unsigned char> all(static_cast<std::size_t>(file.length()));
            all.resize(file.readAt(0, all.data(), all.size()));
            it->second = std::move(all);
        } catch (const rt::Error&) {
        }
    }
    return it->second ? &*it->second : nullptr;
}

std::string TableResult::missText() const {
    switch (miss) {
    case TableMiss::None:
        return {};
    case TableMiss::UnknownType:
        return "Element " + code + " has no element type with a table.";
    case TableMiss::NoTable:
        return "Element table " + table + " is missing or cannot be read (element " + code + ").";
    case TableMiss::NoRecord:
        return "Element " + code + " has no record in the element table " + table + ".";
    case TableMiss::RecordCutShort:
        return "The record of element " + code + " in the element table " + table + " is cut short.";
    case TableMiss::FlowRateBeyondRows:
        return "The flow rate of element " + code + " lies beyond every row of the element table " + table + ".";
    }
    return {};
}

std::string TablePath(const TableSource& source, std::string_view type, std::string_view extension) {
    const std::string t = upper(type);
    const char* dir = t == "S" ? "screwflw" : t == "K" ? "kneadflw" : nullptr;
    if (!dir) return {};
    return io::folderPath(source.appDir + dir) + source.category + std::string(extension);
}

bool TableKeyMatches(std::string_view key, std::string_view type, std::string_view code) {
    const bool leftHanded = code.find("LH") != std::string_view::npos;
    std::string_view search;
    if (upper(type) == "K") {
        search = code;
    } else {
        const std::size_t slash = code.find('/');
        if (slash != std::string_view::npos) {
            search = code.substr(0, slash + 1);
            while (!search.empty() && search.back() == ' ') search.remove_suffix(1);
        }
    }
    if (key.find(search) == std::string_view::npos) return false;
    if (!leftHanded) return true;
    const std::size_t keyLH = key.find("LH");
    return keyLH != std::string_view::npos && keyLH >= 1;
}

std::optional<std::int64_t> FindTableRecord(const std::string& tablePath, std::string_view type,
                                            std::string_view code) {
    TableStream in;
    if (!in.open(tablePath)) return std::nullopt;
    std::int64_t record = 0;
    if (!seekMatchingRecord(in, record, type, code)) return std::nullopt;
    return record;
}

TableResult ReadFlowTable(const TableSource& source, std::string_view type, std::string_view code,
                          double flowRate, const float& n) {
    capFlowRate(source, flowRate, "Flow rate too large. Default maximum is used");
    TableResult r;
    r.code = std::string(code);
    r.value = kFlowTableMissing;
    if (!knownType(type)) {
        if (source.notify) source.notify("Element file not defined", kTitle);
        return missed(r, TableMiss::UnknownType);
    }
    r.table = TablePath(source, type, ".dp1");
    TableStream in;
    if (!in.open(r.table, source.files.get())) return missed(r, TableMiss::NoTable);
    std::int64_t record = 0;
    if (!seekMatchingRecord(in, record, type, code)) return missed(r, TableMiss::NoRecord);
    // Row 1 of a record that the file ends inside is no table row (a copy cut
    // short leaves blanks or nothing there): report it like the row lookups do.
    Row row1;
    if (!in.holdsWholeRecord(record) || !readRow(in, row1)) return missed(r, TableMiss::RecordCutShort);
    r.value = atIndex(row1, n);
    r.hasValue = true;
    return r;
}

TableResult ReadFlowTable2(const TableSource& source, std::string_view type, std::string_view code,
                           double flowRate, const float& n) {
    capFlowRate(source, flowRate, "Flow rate too large. default maximum is used.");
    if (!knownType(type)) {
        if (source.notify) source.notify("Elements not defined", kTitle);
        TableResult r;
        r.code = std::string(code);
        return missed(r, TableMiss::UnknownType);
    }
    return readRows(source, type, code, n, ".dp1");
}

TableResult ReadHeatTable(const TableSource& source, std::string_view type, std::string_view code,
                          double flowRate, const float& n) {
    capFlowRate(source, flowRate, "Flow rate too large. Default maximun is used.");
    if (!knownType(type)) {
        if (source.notify) source.notify("Element type not defined", kTitle);
        if (source.closeCalculation) source.closeCalculation();
        TableResult r;
        r.code = std::string(code);
        return missed(r, TableMiss::UnknownType);
    }
    return readRows(source, type, code, n, ".het");
}

}  // namespace sim
