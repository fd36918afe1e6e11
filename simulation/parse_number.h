#pragma once
// The number parser of the parameter wizard's boxes: turns typed text into a
// single-precision value and a status the box turns into its message.
#include <cstdint>
#include <string>

namespace sim {

// Status values of ParseNumberText.
enum ParseStatusCode : std::int16_t {
    kParseGood = 0,        // the text was a number as it stood
    kParseEmpty = 1,       // nothing but blanks
    kParseCharsDropped = 2,  // characters outside "0123456789.+-ED" were dropped
    kParseOverflow = 3,    // too large for a single
};

// Working storage of the parser; keeps its last values after a call.
extern std::string ParseAllowedChars;
extern std::string ParseFilteredText;
extern std::int16_t ParseCharPos;
extern float ParseValue;

// The value returned with status 3 (the single whose bits are 7F7FFFFD).
float parseOverflowValue();

// Reads the number in `text` and sets `status`. The text is rewritten: upper
// case and trimmed, then the kept characters, then the value's shortest decimal
// form ("0" when nothing was kept, a row of "*" as long as the trimmed text on
// overflow). Locale-independent; never raises.
float ParseNumberText(std::string& text, std::int16_t& status);

}  // namespace sim
