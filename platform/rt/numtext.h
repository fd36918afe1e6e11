#pragma once
// Numbers as text: display patterns, the general form of a single and the
// printed number item. All locale-free.
#include <string>
#include <string_view>

namespace rt {

// The number shown by a display pattern of "#" and "0" digit places with an
// optional point ("#0.00", "###0.00", "#0.#0", "#.###", "#0.##0", ...):
// - after the point at least as many decimals as reach the last "0" and at
//   most as many as there are places, trailing zeros trimmed in between;
// - before the point as many digits as the value needs ("#" never limits the
//   width); at least one digit when a "0" stands before the point, none for a
//   value below 1 otherwise ("#.###" of 0.25 is ".25", of 1 is "1.");
// - the value is taken as a single: its seven significant decimal digits are
//   rounded half away from zero (2.625 gives "2.63");
// - a value that rounds to zero shows no minus sign.
// A pattern with any other character raises kInvalidCall. A value beyond the
// single range raises kOverflow; NaN and infinities show as "NaN", "Inf", "-Inf".
std::string format(double value, std::string_view pattern);

// The general form of a single: the shortest text of at most seven
// significant digits, no blanks; exponent form ("1.234568E+07", "1E-05")
// when the value is 1E+07 or more or below 1E-04 in magnitude.
std::string generalForm(float value);

// A number printed as an item of its own: a blank or a minus sign, the
// digits (general form of a single, or the integer's digits), one blank.
// The double overload takes the value as a single (beyond its range: kOverflow).
std::string numberItem(double value);
std::string numberItem(int value);

}  // namespace rt
