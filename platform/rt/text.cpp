#include "platform/rt/text.h"

#include "platform/rt/error.h"

namespace rt {

std::string ltrim(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return std::string(s.substr(b));
}

std::string rtrim(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && s[e - 1] == ' ') --e;
    return std::string(s.substr(0, e));
}

std::string trim(std::string_view s) { return ltrim(rtrim(s)); }

std::string ucase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string lcase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string left(std::string_view s, long n) {
    if (n < 0) raise(kInvalidCall, "Left");
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string right(std::string_view s, long n) {
    if (n < 0) raise(kInvalidCall, "Right");
    auto k = static_cast<std::size_t>(n);
    if (k >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - k));
}

std::string mid(std::string_view s, long start, long length) {
    if (start < 1) raise(kInvalidCall, "Mid");
    auto b = static_cast<std::size_t>(start - 1);
    if (b >= s.size()) return {};
    if (length < 0) return std::string(s.substr(b));
    return std::string(s.substr(b, static_cast<std::size_t>(length)));
}

}  // namespace rt
