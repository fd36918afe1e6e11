#include "platform/rt/convert.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "platform/rt/error.h"

namespace rt {

double roundHalfEven(double v) {
    return std::nearbyint(v);  // default rounding mode: to nearest, ties to even
}

namespace {

template <class Int>
Int checkedWhole(double whole) {
    // whole is already integral (or NaN/inf); compare in double, where every
    // bound of a 16- or 32-bit integer is exact.
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    if (!(whole >= lo && whole <= hi)) raise(kOverflow);
    return static_cast<Int>(whole);
}

// A number text split into its parts: sign, digits of the mantissa (the
// point removed), the position of the point and the exponent.
struct NumberParts {
    bool negative = false;
    std::string digits;      // mantissa digits, point removed
    long long pointPos = 0;  // digits before the point
    long long exponent = 0;  // saturated to +-1e6
    bool anyDigit = false;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

void addExponentDigit(long long& e, char c) {
    if (e < 1000000) e = e * 10 + (c - '0');
}

// Reads an optional sign and the mantissa (digits with at most one point)
// from position i; returns the position after it.
std::size_t readMantissa(std::string_view t, std::size_t i, NumberParts& p) {
    const std::size_t n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) p.negative = t[i++] == '-';
    bool point = false;
    for (; i < n; ++i) {
        char c = t[i];
        if (isDigit(c)) {
            p.digits.push_back(c);
            if (!point) ++p.pointPos;
            p.anyDigit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    return i;
}

bool isExponentLetter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// Reads the exponent's sign and digits after its letter at position i;
// returns the position after the digits, and whether any digit was there.
std::size_t readExponent(std::string_view t, std::size_t i, NumberParts& p, bool& anyDigit) {
    const std::size_t n = t.size();
    bool negExp = false;
    if (i < n && (t[i] == '+' || t[i] == '-')) negExp = t[i++] == '-';
    anyDigit = i < n && isDigit(t[i]);
    long long e = 0;
    while (i < n && isDigit(t[i])) addExponentDigit(e, t[i++]);
    p.exponent = negExp ? -e : e;
    return i;
}

// Parses the whole text strictly; false when it is no number.
bool parseStrict(std::string_view s, NumberParts& p) {
    std::size_t i = 0, n = s.size();
    while (i < n && isBlank(s[i])) ++i;
    i = readMantissa(s, i, p);
    if (!p.anyDigit) return false;
    if (i < n && isExponentLetter(s[i])) {
        bool anyDigit = false;
        i = readExponent(s, i + 1, p, anyDigit);
        if (!anyDigit) return false;
    }
    while (i < n && isBlank(s[i])) ++i;
    return i == n;
}

// Val's reading: blanks anywhere are skipped; stops at the first misfit.
void parsePrefix(std::string_view s, NumberParts& p) {
    std::string t;
    t.reserve(s.size());
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') t.push_back(c);
    std::size_t i = readMantissa(t, 0, p);
    if (!p.anyDigit) return;
    if (i < t.size() && isExponentLetter(t[i])) {
        bool anyDigit = false;
        readExponent(t, i + 1, p, anyDigit);
    }
}

// Canonical "d.ddde<exp>" text of the parts, with leading zeros removed so
// the exponent stays small; empty digits mean zero.
std::string canonical(const NumberParts& p, long long& order) {
    std::size_t first = 0;
    while (first < p.digits.size() && p.digits[first] == '0') ++first;
    if (first == p.digits.size()) {
        order = 0;
        return p.negative ? "-0" : "0";
    }
    // value = 0.d[first]d[first+1]... * 10^(pointPos - first + exponent)
    order = p.pointPos - static_cast<long long>(first) + p.exponent;
    std::string out;
    if (p.negative) out.push_back('-');
    out += "0.";
    out.append(p.digits, first, std::string::npos);
    out.push_back('e');
    out += std::to_string(order);
    return out;
}

template <class F>
F convertParts(const NumberParts& p, bool& outOfRange, long long& order) {
    std::string text = canonical(p, order);
    F value{};
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    outOfRange = res.ec == std::errc::result_out_of_range;
    if (res.ec != std::errc() && !outOfRange) raise(kTypeMismatch);
    return value;
}

double partsToDouble(const NumberParts& p) {
    bool outOfRange = false;
    long long order = 0;
    double v = convertParts<double>(p, outOfRange, order);
    if (outOfRange) {
        if (order > 0) raise(kOverflow);
        return p.negative ? -0.0 : 0.0;
    }
    return v;
}

}  // namespace

std::int16_t cint(double v) { return checkedWhole<std::int16_t>(roundHalfEven(v)); }
std::int32_t clng(double v) { return checkedWhole<std::int32_t>(roundHalfEven(v)); }

float csng(double v) {
    // Doubles from here on round to infinity as singles (the tie goes to the
    // even neighbour, which is infinity).
    constexpr double kSingleOverflow = 0x1.ffffffp+127;
    if (std::isfinite(v) && std::fabs(v) >= kSingleOverflow) raise(kOverflow);
    return static_cast<float>(v);
}

double intFloor(double v) { return std::floor(v); }
double fix(double v) { return std::trunc(v); }

std::int16_t toInt16(double v) { return checkedWhole<std::int16_t>(std::trunc(v)); }
std::int32_t toInt32(double v) { return checkedWhole<std::int32_t>(std::trunc(v)); }

double textToDouble(std::string_view text) {
    NumberParts p;
    if (!parseStrict(text, p)) raise(kTypeMismatch, std::string(text));
    return partsToDouble(p);
}

float textToSingle(std::string_view text) {
    NumberParts p;
    if (!parseStrict(text, p)) raise(kTypeMismatch, std::string(text));
    bool outOfRange = false;
    long long order = 0;
    float f = convertParts<float>(p, outOfRange, order);
    if (!outOfRange) return f;
    if (order > 0) raise(kOverflow);
    // Below the normal range: let the double's rounding give the subnormal or 0.
    return static_cast<float>(partsToDouble(p));
}

std::int16_t textToInteger(std::string_view text) { return cint(textToDouble(text)); }

double val(std::string_view text) {
    NumberParts p;
    parsePrefix(text, p);
    if (!p.anyDigit) return 0.0;
    return partsToDouble(p);
}

}  // namespace rt
