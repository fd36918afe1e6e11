#pragma once
// Number conversions of the language runtime. Every conversion to a 16- or
// 32-bit integer checks its range first: a NaN or a value that does not fit
// raises rt::Error kOverflow, never undefined behaviour. Text conversions
// are locale-free: the decimal point is always ".".
#include <cstdint>
#include <string_view>

namespace rt {

// Nearest whole number, a half to the even one (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// CInt: nearest 16-bit integer, halves to even.
std::int16_t cint(double v);
// CLng: nearest 32-bit integer, halves to even.
std::int32_t clng(double v);
// CSng: to single precision; a finite value beyond the single range is an
// overflow. NaN and infinities pass through unchanged.
float csng(double v);
// Int: the largest whole number not above v.
double intFloor(double v);
// Fix: v with its fraction cut off (towards zero).
double fix(double v);

// Checked conversions of a value that is meant to be whole: the fraction,
// if any, is cut off towards zero; NaN or a value outside the range raises
// kOverflow. Use cint/clng where rounding is wanted.
std::int16_t toInt16(double v);
std::int32_t toInt32(double v);

// Text to Single (CSng of a text): optional blanks, sign, digits with one
// optional point, optional exponent introduced by E or D, optional blanks.
// Anything else, or no digit at all, is kTypeMismatch; a value beyond the
// single range is kOverflow; a value too small to represent becomes 0.
float textToSingle(std::string_view text);
// Text to Integer (CInt of a text): the same syntax, rounded to the nearest
// whole number with halves to even; out of the 16-bit range is kOverflow.
std::int16_t textToInteger(std::string_view text);
// Text to Double with the same syntax; used by the two above.
double textToDouble(std::string_view text);

// Val: the number at the start of a text. Blanks, tabs and line feeds are
// skipped wherever they stand; then an optional sign, digits with at most one
// point, and an optional exponent by E or D ("1D3" is 1000). Reading stops at
// the first character that does not fit; no number at all gives 0. A value
// beyond the double range raises kOverflow.
double val(std::string_view text);

}  // namespace rt
