#include "simulation/parse_number.h"

#include <bit>
#include <charconv>
#include <cmath>

#include "platform/rt/convert.h"
#include "platform/rt/error.h"

namespace sim {

std::string ParseAllowedChars;
std::string ParseFilteredText;
std::int16_t ParseCharPos = 0;
float ParseValue = 0.0f;

float parseOverflowValue() { return std::bit_cast<float>(std::uint32_t{0x7F7FFFFDu}); }

namespace {

// The single-precision range as written out: numbers above it overflow.
constexpr double kLargestSingleText = 3.4028235e38;

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

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
        text.assign(1, '0');
        return 0.0f;
    }

    // The leading number as the platform's numeric-prefix conversion reads
    // it; beyond the double range, or above 3.4028235E+38 in magnitude, it is
    // an overflow. Below that bound it rounds to a single (at most the
    // largest one).
    bool overflow = false;
    try {
        const double number = rt::val(text);
        if (std::fabs(number) > kLargestSingleText) {
            overflow = true;
        } else {
            ParseValue = rt::csng(number);
        }
    } catch (const rt::Error&) {
        overflow = true;
    }
    if (overflow) {
        status = kParseOverflow;
        text.assign(length, '*');
        return parseOverflowValue();
    }

    if (ParseValue == 0.0f) ParseValue = 0.0f;  // no negative zero
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, ParseValue);
    text.assign(buf, res.ptr);
    return ParseValue;
}

}  // namespace sim
