#pragma once
// The packed encoding shared by every file of the system: 2-byte little-endian
// signed integers, 4-byte little-endian IEEE singles and fixed text fields of
// one byte per character, written one after another with no gaps. Records are
// never written as raw structs; each record type packs its fields explicitly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/error.h"

namespace records {

// A fixed text field of N characters. In memory it always holds exactly N
// characters; setting it pads with blanks or cuts. A field that was never set
// holds N zero bytes, as an unset fixed string does on disk.
template <std::size_t N>
class FixedText {
public:
    FixedText() { chars_.fill('\0'); }
    FixedText(std::string_view s) { set(s); }  // NOLINT: implicit like an assignment
    FixedText& operator=(std::string_view s) {
        set(s);
        return *this;
    }

    void set(std::string_view s) {
        chars_.fill(' ');
        std::memcpy(chars_.data(), s.data(), s.size() < N ? s.size() : N);
    }
    void fillBytes(char c) { chars_.fill(c); }

    // All N characters, trailing blanks (or zero bytes) included.
    std::string str() const { return std::string(chars_.data(), N); }
    // Without leading and trailing blanks.
    std::string trimmed() const {
        std::size_t b = 0, e = N;
        while (b < e && chars_[b] == ' ') ++b;
        while (e > b && chars_[e - 1] == ' ') --e;
        return std::string(chars_.data() + b, e - b);
    }
    // Without trailing blanks.
    std::string rtrimmed() const {
        std::size_t e = N;
        while (e > 0 && chars_[e - 1] == ' ') --e;
        return std::string(chars_.data(), e);
    }
    char operator[](std::size_t i) const { return chars_[i]; }
    char& operator[](std::size_t i) { return chars_[i]; }
    const char* data() const { return chars_.data(); }
    char* data() { return chars_.data(); }
    static constexpr std::size_t size() { return N; }

    bool operator==(const FixedText& o) const { return chars_ == o.chars_; }
    bool operator==(std::string_view s) const { return str() == FixedText(s).str(); }

private:
    std::array<char, N> chars_;
};

// Appends packed fields to a byte buffer.
class PackWriter {
public:
    explicit PackWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void i16(std::int16_t v) {
        auto u = static_cast<std::uint16_t>(v);
        out_.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out_.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    void f32(float v) {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF));
    }
    template <std::size_t N>
    void text(const FixedText<N>& t) {
        out_.insert(out_.end(), reinterpret_cast<const std::uint8_t*>(t.data()),
                    reinterpret_cast<const std::uint8_t*>(t.data()) + N);
    }
    // A variable-length text: 2-byte length, then the characters.
    void lengthText(std::string_view s) {
        i16(static_cast<std::int16_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    void bytes(const std::uint8_t* p, std::size_t n) { out_.insert(out_.end(), p, p + n); }

private:
    std::vector<std::uint8_t>& out_;
};

// Reads packed fields from a byte range; reading past its end raises
// "Input past end of file" so a truncated file never reads out of range.
class PackReader {
public:
    PackReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit PackReader(const std::vector<std::uint8_t>& buf) : PackReader(buf.data(), buf.size()) {}

    std::int16_t i16() {
        need(2);
        auto u = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return static_cast<std::int16_t>(u);
    }
    float f32() {
        need(4);
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(data_[pos_ + i]) << (8 * i);
        pos_ += 4;
        float v;
        std::memcpy(&v, &u, 4);
        return v;
    }
    template <std::size_t N>
    void text(FixedText<N>& t) {
        need(N);
        std::memcpy(t.data(), data_ + pos_, N);
        pos_ += N;
    }
    template <std::size_t N>
    FixedText<N> text() {
        FixedText<N> t;
        text(t);
        return t;
    }
    std::string lengthText() {
        std::int16_t n = i16();
        if (n < 0) rt::raise(rt::kBadRecordLength, "negative text length");
        need(static_cast<std::size_t>(n));
        std::string s(reinterpret_cast<const char*>(data_ + pos_), static_cast<std::size_t>(n));
        pos_ += static_cast<std::size_t>(n);
        return s;
    }
    void skip(std::size_t n) {
        need(n);
        pos_ += n;
    }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }

private:
    void need(std::size_t n) const {
        if (n > size_ - pos_) rt::raise(rt::kInputPastEndOfFile);
    }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Packs one record into a fresh buffer.
template <class Rec>
std::vector<std::uint8_t> pack(const Rec& r) {
    std::vector<std::uint8_t> out;
    out.reserve(Rec::kSize);
    PackWriter w(out);
    r.write(w);
    return out;
}

// Unpacks one record from exactly kSize bytes (or more; the rest is ignored).
template <class Rec>
Rec unpack(const std::uint8_t* data, std::size_t size) {
    PackReader r(data, size);
    Rec rec;
    rec.read(r);
    return rec;
}
template <class Rec>
Rec unpack(const std::vector<std::uint8_t>& buf) {
    return unpack<Rec>(buf.data(), buf.size());
}

}  // namespace records
