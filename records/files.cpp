#include "records/files.h"

#include <climits>

namespace records {

namespace {

constexpr std::size_t kMaxRecordLength = 32767;
constexpr long kMaxRecordNumber = 2147483647L;

std::size_t checkedRecordLength(std::size_t recordLength) {
    if (recordLength < 1 || recordLength > kMaxRecordLength) rt::raise(rt::kBadRecordLength);
    return recordLength;
}

}  // namespace

// The length is checked before the file is opened, so a bad length creates nothing.
RecordFile::RecordFile(std::string_view path, std::size_t recordLength, OpenMode mode)
    : length_(checkedRecordLength(recordLength)), file_(path, mode) {}

std::int16_t RecordFile::recordCount() const {
    std::uint64_t len = file_.length();
    std::uint64_t q = len / length_;
    std::uint64_t r = len % length_;
    if (2 * r > length_ || (2 * r == length_ && (q % 2) == 1)) ++q;
    if (q > 32767) rt::raise(rt::kOverflow, "record count of " + file_.path());
    return static_cast<std::int16_t>(q);
}

void RecordFile::checkFits(std::size_t size) const {
    if (size > length_) rt::raise(rt::kBadRecordLength, file_.path());
}

std::uint64_t RecordFile::offsetOf(long n) const {
    if (n < 1 || n > kMaxRecordNumber) rt::raise(rt::kBadRecordNumber, file_.path());
    return static_cast<std::uint64_t>(n - 1) * length_;
}

std::size_t RecordFile::readSlot(long n, std::uint8_t* out) {
    std::uint64_t offset = offsetOf(n);
    std::fill(out, out + length_, std::uint8_t{0});
    std::size_t present = file_.readAt(offset, out, length_);
    next_ = n + 1;
    return present;
}

std::vector<std::uint8_t> RecordFile::readBytes(long n) {
    std::vector<std::uint8_t> buf(length_);
    readSlot(n, buf.data());
    return buf;
}

void RecordFile::writeBytes(long n, const std::vector<std::uint8_t>& bytes) {
    checkFits(bytes.size());
    std::uint64_t offset = offsetOf(n);
    std::vector<std::uint8_t> slot(bytes);
    slot.resize(length_, 0);
    file_.writeAt(offset, slot.data(), slot.size());
    next_ = n + 1;
}

ByteStream::ByteStream(std::string_view path, OpenMode mode) : file_(path, mode) {}

std::vector<std::uint8_t> ByteStream::readRaw(std::size_t n) {
    std::uint64_t len = file_.length();
    if (pos_ > len || n > len - pos_) rt::raise(rt::kInputPastEndOfFile, file_.path());
    std::vector<std::uint8_t> buf(n);
    std::size_t got = file_.readAt(pos_, buf.data(), n);
    if (got != n) rt::raise(rt::kInputPastEndOfFile, file_.path());
    pos_ += n;
    return buf;
}

void ByteStream::writeRaw(const std::uint8_t* data, std::size_t n) {
    file_.writeAt(pos_, data, n);
    pos_ += n;
}

void ByteStream::writeRaw(const std::vector<std::uint8_t>& bytes) { writeRaw(bytes.data(), bytes.size()); }

void rewriteRecordFile(std::string_view path, std::size_t recordLength,
                       const std::vector<std::vector<std::uint8_t>>& records) {
    checkedRecordLength(recordLength);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * recordLength);
    for (const auto& rec : records) {
        if (rec.size() > recordLength) rt::raise(rt::kBadRecordLength, std::string(path));
        bytes.insert(bytes.end(), rec.begin(), rec.end());
        bytes.resize(bytes.size() + (recordLength - rec.size()), 0);
    }
    io::replaceFileContents(path, bytes);
}

void writeOverFromStart(std::string_view path, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> content = bytes;
    if (io::fileExists(path)) {
        io::File old(path, OpenMode::ReadOnly);
        std::uint64_t len = old.length();
        if (len > bytes.size()) {
            content.resize(static_cast<std::size_t>(len));
            std::size_t tail = static_cast<std::size_t>(len) - bytes.size();
            std::size_t got = old.readAt(bytes.size(), content.data() + bytes.size(), tail);
            if (got != tail) rt::raise(rt::kDeviceIOError, std::string(path));
        }
    }
    io::replaceFileContents(path, content);
}

long appendRecordBytes(std::string_view path, std::size_t recordLength, const std::vector<std::uint8_t>& bytes,
                       AppendCount rule) {
    RecordFile file(path, recordLength, OpenMode::CreateIfMissing);
    long count = file.recordCount();
    if (count == 0 && rule == AppendCount::ZeroAsOne) count = 1;
    file.writeBytes(count + 1, bytes);
    return count + 1;
}

}  // namespace records
