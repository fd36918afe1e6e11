#include "platform/rt/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/rt/convert.h"
#include "platform/rt/error.h"

namespace rt {

namespace {

// The seven significant decimal digits of a finite, non-zero single and the
// decimal exponent of the first one: |v| = d.dddddd * 10^exponent.
struct SevenDigits {
    std::string digits;  // exactly 7 characters
    int exponent = 0;
};

SevenDigits sevenDigits(float magnitude) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 6);
    std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));  // "d.dddddde+XX"
    SevenDigits out;
    out.digits.push_back(s[0]);
    std::size_t e = s.find('e');
    out.digits.append(s.substr(2, e - 2));
    out.exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
    return out;
}

std::string nonFinite(double v) {
    if (std::isnan(v)) return "NaN";
    return v < 0 ? "-Inf" : "Inf";
}

// Adds one to a decimal digit string in place.
void incrementDigits(std::string& n) {
    for (std::size_t i = n.size(); i-- > 0;) {
        if (n[i] == '9') {
            n[i] = '0';
        } else {
            ++n[i];
            return;
        }
    }
    n.insert(n.begin(), '1');
}

}  // namespace

std::string generalForm(float value) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0.0f) return "0";
    std::string out = value < 0 ? "-" : "";
    SevenDigits d = sevenDigits(std::fabs(value));
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int e = d.exponent;
    if (e >= -4 && e <= 6) {
        if (e < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-e - 1), '0');
            out += digits;
        } else {
            auto intCount = static_cast<std::size_t>(e + 1);
            if (digits.size() <= intCount) {
                out += digits;
                out.append(intCount - digits.size(), '0');
            } else {
                out.append(digits, 0, intCount);
                out.push_back('.');
                out.append(digits, intCount, std::string::npos);
            }
        }
    } else {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.push_back(e < 0 ? '-' : '+');
        int a = std::abs(e);
        if (a < 10) out.push_back('0');
        out += std::to_string(a);
    }
    return out;
}

std::string numberItem(double value) {
    float f = csng(value);
    std::string out(1, f < 0 ? '-' : ' ');
    out += std::isnan(f) ? std::string("NaN") : generalForm(std::fabs(f));
    out.push_back(' ');
    return out;
}

std::string numberItem(int value) {
    std::string digits = std::to_string(value);
    if (value < 0) return digits + " ";
    return " " + digits + " ";
}

std::string format(double value, std::string_view pattern) {
    // The pattern: digit places before and after an optional point.
    std::size_t point = pattern.find('.');
    bool hasPoint = point != std::string_view::npos;
    std::string_view intPart = pattern.substr(0, hasPoint ? point : pattern.size());
    std::string_view fracPart = hasPoint ? pattern.substr(point + 1) : std::string_view{};
    for (char c : intPart)
        if (c != '#' && c != '0') raise(kInvalidCall, "number pattern " + std::string(pattern));
    for (char c : fracPart)
        if (c != '#' && c != '0') raise(kInvalidCall, "number pattern " + std::string(pattern));
    const bool intZero = intPart.find('0') != std::string_view::npos;
    const std::size_t maxDec = fracPart.size();
    std::size_t lastZero = fracPart.rfind('0');
    const std::size_t minDec = lastZero == std::string_view::npos ? 0 : lastZero + 1;

    if (!std::isfinite(value)) return nonFinite(value);
    const float f = csng(value);

    // n = |value| * 10^maxDec, rounded half away from zero on the seven digits.
    std::string n = "0";
    if (f != 0.0f) {
        SevenDigits d = sevenDigits(std::fabs(f));
        long long shift = static_cast<long long>(d.exponent) - 6 + static_cast<long long>(maxDec);
        if (shift >= 0) {
            n = d.digits + std::string(static_cast<std::size_t>(shift), '0');
        } else if (shift >= -7) {
            auto keep = static_cast<std::size_t>(7 + shift);
            n = d.digits.substr(0, keep);
            if (n.empty()) n.push_back('0');
            if (d.digits[keep] >= '5') incrementDigits(n);
        }
    }
    std::size_t nz = 0;
    while (nz < n.size() && n[nz] == '0') ++nz;
    const bool isZero = nz == n.size();

    if (n.size() < maxDec + 1) n.insert(0, maxDec + 1 - n.size(), '0');
    std::string intDigits = n.substr(0, n.size() - maxDec);
    std::string fracDigits = n.substr(n.size() - maxDec);
    while (fracDigits.size() > minDec && fracDigits.back() == '0') fracDigits.pop_back();
    std::size_t lead = 0;
    while (lead < intDigits.size() && intDigits[lead] == '0') ++lead;
    intDigits.erase(0, lead);
    if (intDigits.empty() && intZero) intDigits.push_back('0');

    std::string out;
    if (f < 0 && !isZero) out.push_back('-');
    out += intDigits;
    if (hasPoint) {
        out.push_back('.');
        out += fracDigits;
    }
    return out;
}

}  // namespace rt
