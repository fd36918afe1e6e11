#include "catalog/catalog_files.h"

#include <algorithm>

#include "platform/rt/text.h"
#include "records/files.h"
#include "state/state.h"

namespace catalog {

namespace {

constexpr std::size_t kSeriesLength = CatalogSeriesRec::kSize;  // 64
constexpr std::size_t kCodeLength = CatalogCodeRec::kSize;      // 72

template <class Rec>
std::vector<Rec> readAtLeastOne(const std::string& path, std::size_t length) {
    records::RecordFile f(path, length, records::OpenMode::CreateIfMissing);
    // A count of 0 is taken as 1, as the record files do everywhere. Each
    // record holds the bytes the file has, then zero bytes: record 1 of a file
    // shorter than half a record keeps what is there for a later rewrite, and
    // record 1 of an empty file, all zero bytes, lists as an empty entry and
    // is the series of no code.
    const long count = std::max<long>(1, f.recordCount());
    std::vector<Rec> table;
    table.reserve(static_cast<std::size_t>(count));
    for (long i = 1; i <= count; ++i) table.push_back(records::unpack<Rec>(f.readBytes(i)));
    return table;
}

}  // namespace

std::string seriesFilePath() { return shared::AppDir + "maincat.dat"; }
std::string codeFilePath() { return shared::AppDir + "maincode.dat"; }

std::vector<CatalogSeriesRec> readSeriesTable(const std::string& path) {
    return readAtLeastOne<CatalogSeriesRec>(path, kSeriesLength);
}

std::vector<CatalogCodeRec> readCodeTable(const std::string& path) {
    return readAtLeastOne<CatalogCodeRec>(path, kCodeLength);
}

void writeSeriesTable(const std::string& path, const std::vector<CatalogSeriesRec>& table) {
    records::rewriteRecords(path, kSeriesLength, table);
}

void writeCodeTable(const std::string& path, const std::vector<CatalogCodeRec>& table) {
    records::rewriteRecords(path, kCodeLength, table);
}

long appendSeries(const std::string& path, std::string_view name) {
    CatalogSeriesRec rec;
    rec.SeriesName = name;
    return records::appendRecord(path, kSeriesLength, rec, records::AppendCount::ZeroAsOne);
}

long appendCode(const std::string& path, const SeriesName& series, std::string_view code) {
    CatalogCodeRec rec;
    rec.SeriesName = series;
    rec.Code = code;
    return records::appendRecord(path, kCodeLength, rec, records::AppendCount::AsIs);
}

std::vector<CodeField> codesOfSeries(const std::vector<CatalogCodeRec>& codes, const SeriesName& series) {
    std::vector<CodeField> out;
    for (const auto& c : codes)
        if (c.SeriesName == series) out.push_back(c.Code);
    return out;
}

bool codeExists(const std::vector<CatalogCodeRec>& codes, std::string_view typedCode) {
    for (const auto& c : codes)
        if (c.Code.trimmed() == typedCode) return true;
    return false;
}

int removeCodes(std::vector<CatalogCodeRec>& codes, const SeriesName& series, const CodeField& code) {
    std::vector<CatalogCodeRec> kept;
    for (const auto& c : codes)
        if (!(c.SeriesName == series && c.Code == code)) kept.push_back(c);
    int removed = static_cast<int>(codes.size() - kept.size());
    if (kept.empty() && !codes.empty()) {
        kept.push_back(codes.front());
        --removed;
    }
    codes = std::move(kept);
    return removed;
}

int renameCodes(std::vector<CatalogCodeRec>& codes, const SeriesName& series, const CodeField& code,
                std::string_view newCode) {
    int n = 0;
    for (auto& c : codes) {
        if (c.SeriesName == series && c.Code == code) {
            c.Code = newCode;
            ++n;
        }
    }
    return n;
}

int removeSeries(std::vector<CatalogSeriesRec>& series, const SeriesName& name) {
    std::size_t before = series.size();
    std::erase_if(series, [&](const CatalogSeriesRec& s) { return s.SeriesName == name; });
    return static_cast<int>(before - series.size());
}

int renameSeries(std::vector<CatalogSeriesRec>& series, const SeriesName& name, std::string_view newName) {
    int n = 0;
    for (auto& s : series) {
        if (s.SeriesName == name) {
            s.SeriesName = newName;
            ++n;
        }
    }
    return n;
}

std::string codeNameFault(std::string_view code) {
    for (char ch : code) {
        auto u = static_cast<unsigned char>(ch);
        if (u < 32 || u == 127) return "it holds a control character";
        switch (ch) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return std::string("it holds the character ") + ch;
        default:
            break;
        }
    }
    // Stored cut to the 8 characters of the code field, used trimmed.
    std::string t = rt::trim(rt::left(code, 8));
    if (t == "." || t == "..") return "it is " + t;
    return {};
}

std::string typedCodeFault(std::string_view code) {
    std::string fault = codeNameFault(code);
    if (!fault.empty()) return fault;
    if (rt::trim(rt::left(code, 8)).find(' ') != std::string::npos) return "it holds a blank between its characters";
    return {};
}

std::string refusedCodeMessage(std::string_view code) {
    std::string fault = typedCodeFault(code);
    return "The Extruder Code \"" + std::string(code) + "\" cannot name the element files: " + fault +
           ". A code may not hold \\ / : * ? \" < > | nor a blank between its characters, nor be . or ..";
}

}  // namespace catalog
