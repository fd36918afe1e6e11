#include "elements/element_db.h"

#include "platform/rt/convert.h"
#include "platform/rt/error.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"

namespace elements {

std::string numberText(float v) { return rt::generalForm(v); }
std::string numberText(std::int16_t v) { return std::to_string(v); }

namespace {
std::string quoted(std::string_view what, std::string_view text) {
    return "The " + std::string(what) + " \"" + std::string(text) + "\"";
}
}  // namespace

std::string readSingle(std::string_view text, std::string_view what, float& out) {
    try {
        out = rt::textToSingle(text);
        return {};
    } catch (const rt::Error& e) {
        if (e.number() == rt::kOverflow) return quoted(what, text) + " is too large a number.";
        return quoted(what, text) + " is not a number.";
    }
}

std::string readInteger(std::string_view text, std::string_view what, std::int16_t& out) {
    try {
        out = rt::textToInteger(text);
        return {};
    } catch (const rt::Error& e) {
        if (e.number() == rt::kOverflow)
            return quoted(what, text) + " is not a whole number from -32768 to 32767.";
        return quoted(what, text) + " is not a number.";
    }
}

int shownRecord(std::string_view caption) {
    std::string t = rt::trim(caption);
    if (t.empty() || t.size() > 6) return 0;
    int n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

int shownAfterDelete(int shown, int k) {
    if (shown == k) return 0;
    return shown > k ? shown - 1 : shown;
}

}  // namespace elements
