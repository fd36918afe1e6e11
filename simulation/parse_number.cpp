#include "simulation/parse_number.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cfloat>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace sim {

std::string ParseAllowedChars;
std::string ParseFilteredText;
std::int16_t ParseCharPos = 0;
float ParseValue = 0.0f;

float parseOverflowValue() { return std::bit_cast<float>(std::uint32_t{0x7F7FFFFDu}); }

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The leading number of `s` as the platform's numeric-prefix conversion reads
// it: optional sign, digits with at most one point, optionally E or D with an
// optional sign and digits. Reading stops at the first character that does not
// continue the pattern; no number at the start reads 0. Returns nothing when
// the number is too large for a double.
std::optional<double> readNumericPrefix(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string mantissa;  // digits and at most one point, as typed
    bool point = false, anyDigit = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            mantissa += s[i];
            anyDigit = true;
        } else if (s[i] == '.' && !point) {
            mantissa += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;

    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'D')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        for (; j < s.size() && isDigit(s[j]); ++j) {
            // Saturate: any exponent this large is out of range either way.
            if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
        }
        if (expNegative) exponent = -exponent;
    }

    std::string normal = mantissa + "e" + std::to_string(exponent);
    double value = 0.0;
    auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                     std::chars_format::scientific);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Out of range on either side: decide by the decimal order of the
        // first significant digit.
        long long order = 0;
        bool seenPoint = false, significant = false;
        long long intDigits = 0, leadingFracZeros = 0;
        for (char c : mantissa) {
            if (c == '.') {
                seenPoint = true;
            } else if (!significant && c == '0') {
                if (seenPoint) ++leadingFracZeros;
            } else {
                significant = true;
                if (!seenPoint) ++intDigits;
            }
            if (significant && seenPoint) break;
        }
        order = (intDigits > 0 ? intDigits : -leadingFracZeros) + exponent;
        if (order > 0) return std::nullopt;  // overflow
        value = 0.0;                         // underflow reads as zero
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

}  // namespace

float ParseNumberText(std::string& text, std::int16_t& status) {
    status = kParseGood;

    std::string work;
    work.reserve(text.size());
    for (char c : text) work += upperAscii(c);
    std::size_t b = 0, e = work.size();
    while (b < e && work[b] == ' ') ++b;
    while (e > b && work[e - 1] == ' ') --e;
    text = work.substr(b, e - b);
    const std::size_t length = text.size();
    if (length == 0) {
        status = kParseEmpty;
        return 0.0f;
    }

    ParseAllowedChars = "0123456789.+-ED";
    ParseFilteredText.clear();
    for (char c : text) {
        const std::size_t at = ParseAllowedChars.find(c);
        ParseCharPos = at == std::string::npos ? std::int16_t{0} : static_cast<std::int16_t>(at + 1);
        if (ParseCharPos != 0) {
            ParseFilteredText += c;
        } else {
            status = kParseCharsDropped;
        }
    }
    text = ParseFilteredText;
    if (text.empty()) {
        text = "0";
        return 0.0f;
    }

    const std::optional<double> number = readNumericPrefix(text);
    if (!number || std::abs(*number) > static_cast<double>(FLT_MAX)) {
        status = kParseOverflow;
        text.assign(length, '*');
        return parseOverflowValue();
    }

    ParseValue = static_cast<float>(*number);
    if (ParseValue == 0.0f) ParseValue = 0.0f;  // no negative zero
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, ParseValue);
    text.assign(buf, res.ptr);
    return ParseValue;
}

}  // namespace sim
