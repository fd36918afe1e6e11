#pragma once
// The two kinds of data file and the ways they are written.
//
// Record file: records of one fixed length L, numbered from 1; record n lies
// at bytes (n - 1) * L .. n * L - 1. Its record count is the file length / L
// rounded to the nearest whole number, a half to the even one, as a 16-bit
// count. Writing record n beyond the end leaves zero bytes in between. A
// record that lies wholly or partly beyond the end reads as a blank record:
// the bytes that are there, and for the rest blank text fields and zero
// numbers (see blankRecord).
//
// Byte-stream file: packed records of different types read and written one
// after another from a current byte position (0 after opening). Reading past
// the end raises kInputPastEndOfFile: a truncated file is an error.
//
// Whole-file rewrites go through io::replaceFileContents: the file on disk
// ends up holding exactly the new records, and a failure half way leaves
// the old file as it was.
//
// Files close when their object is destroyed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "records/packed.h"

namespace records {

using io::OpenMode;

namespace detail {
template <class T>
struct IsFixedText : std::false_type {};
template <std::size_t N>
struct IsFixedText<FixedText<N>> : std::true_type {};
}  // namespace detail

// The record that a read beyond the end of a record file yields:
// - Rec::blank() when the type has one;
// - otherwise, for a type with a field list (Rec::layout), every text field
//   blanks, every number zero, nested records likewise;
// - otherwise the record unpacked from zero bytes.
template <class Rec>
Rec blankRecord();

namespace detail {
template <class T>
void blankField(T& field) {
    if constexpr (std::is_arithmetic_v<T>)
        field = T{};
    else if constexpr (IsFixedText<T>::value)
        field.fillBytes(' ');
    else
        field = blankRecord<T>();
}
}  // namespace detail

template <class Rec>
Rec blankRecord() {
    if constexpr (requires { Rec::blank(); }) {
        return Rec::blank();
    } else if constexpr (requires { Rec::layout([](auto) {}); }) {
        Rec r{};
        Rec::layout([&](auto member) { detail::blankField(r.*member); });
        return r;
    } else {
        std::vector<std::uint8_t> zeros(Rec::kSize, 0);
        return unpack<Rec>(zeros);
    }
}

class RecordFile {
public:
    // Record lengths run from 1 to 32767 (else kBadRecordLength).
    RecordFile(std::string_view path, std::size_t recordLength, OpenMode mode);

    std::size_t recordLength() const { return length_; }
    std::uint64_t fileLength() const { return file_.length(); }
    // File length / L, halves to even; above 32767 raises kOverflow.
    std::int16_t recordCount() const;

    // The L bytes of record n; bytes beyond the end of the file are zero.
    // Record numbers below 1 raise kBadRecordNumber.
    std::vector<std::uint8_t> readBytes(long n);
    // Writes record n: the bytes (at most L, else kBadRecordLength), then
    // zero bytes up to L.
    void writeBytes(long n, const std::vector<std::uint8_t>& bytes);

    template <class Rec>
    Rec read(long n) {
        checkFits(Rec::kSize);
        std::vector<std::uint8_t> buf(length_);
        std::size_t present = readSlot(n, buf.data());
        if (present < Rec::kSize) {
            std::vector<std::uint8_t> blank = pack(blankRecord<Rec>());
            std::copy(blank.begin() + static_cast<std::ptrdiff_t>(present), blank.end(),
                      buf.begin() + static_cast<std::ptrdiff_t>(present));
        }
        return unpack<Rec>(buf.data(), Rec::kSize);
    }
    template <class Rec>
    void write(long n, const Rec& rec) {
        checkFits(Rec::kSize);
        writeBytes(n, pack(rec));
    }
    // The record after the last one read or written (record 1 after opening).
    template <class Rec>
    Rec readNext() {
        return read<Rec>(next_);
    }
    template <class Rec>
    void writeNext(const Rec& rec) {
        write(next_, rec);
    }
    long nextRecord() const { return next_; }

    void close() { file_.close(); }

private:
    void checkFits(std::size_t size) const;
    // Reads record n into out (L bytes, zero-filled); returns how many bytes
    // the file held; sets the next record.
    std::size_t readSlot(long n, std::uint8_t* out);
    std::uint64_t offsetOf(long n) const;

    std::size_t length_;
    io::File file_;
    long next_ = 1;
};

class ByteStream {
public:
    ByteStream(std::string_view path, OpenMode mode);

    // The next packed record; fewer bytes left than the record needs raise
    // kInputPastEndOfFile and leave the position where it was.
    template <class Rec>
    Rec read() {
        std::vector<std::uint8_t> buf = readRaw(Rec::kSize);
        return unpack<Rec>(buf);
    }
    template <class Rec>
    void read(Rec& rec) {
        rec = read<Rec>();
    }
    template <class Rec>
    void write(const Rec& rec) {
        writeRaw(pack(rec));
    }
    // Exactly n bytes, or kInputPastEndOfFile.
    std::vector<std::uint8_t> readRaw(std::size_t n);
    void writeRaw(const std::vector<std::uint8_t>& bytes);
    void writeRaw(const std::uint8_t* data, std::size_t n);

    // Byte positions count from 0, the first byte of the file.
    void seek(std::uint64_t byte) { pos_ = byte; }
    std::uint64_t position() const { return pos_; }
    std::uint64_t length() const { return file_.length(); }

    void close() { file_.close(); }

private:
    io::File file_;
    std::uint64_t pos_ = 0;
};

// --- Whole-file writers ---------------------------------------------------

// Rewrites a record file with exactly these records, each padded with zero
// bytes to L (a record longer than L raises kBadRecordLength). No records
// leave an empty file.
void rewriteRecordFile(std::string_view path, std::size_t recordLength,
                       const std::vector<std::vector<std::uint8_t>>& records);

template <class Range>
void rewriteRecords(std::string_view path, std::size_t recordLength, const Range& recs) {
    std::vector<std::vector<std::uint8_t>> packed;
    for (const auto& r : recs) packed.push_back(pack(r));
    rewriteRecordFile(path, recordLength, packed);
}

// Writes bytes over a file from its start without shortening it: bytes
// beyond the new content keep their old values. Creates a missing file. The
// result replaces the file in one step, so a failure leaves the old file.
void writeOverFromStart(std::string_view path, const std::vector<std::uint8_t>& bytes);

// How an append takes the record count: as it is, or 0 taken as 1 (the new
// record then goes to record 2 of an empty file, record 1 staying zero).
enum class AppendCount { AsIs, ZeroAsOne };

// Writes one record as record count + 1; returns that record number.
long appendRecordBytes(std::string_view path, std::size_t recordLength, const std::vector<std::uint8_t>& bytes,
                       AppendCount rule);
template <class Rec>
long appendRecord(std::string_view path, std::size_t recordLength, const Rec& rec, AppendCount rule) {
    return appendRecordBytes(path, recordLength, pack(rec), rule);
}

}  // namespace records
