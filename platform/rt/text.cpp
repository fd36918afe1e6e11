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

namespace {

constexpr std::string_view kEllipsis = "...";

// The text with its middle replaced by "...", room characters long
// (room >= 3, text longer than room). The start keeps the odd character.
std::string middleOut(std::string_view text, std::size_t room) {
    const std::size_t kept = room - kEllipsis.size();
    const std::size_t head = kept - kept / 2;
    std::string out(text.substr(0, head));
    out.append(kEllipsis);
    out.append(text.substr(text.size() - kept / 2));
    return out;
}

}  // namespace

std::string shortenedPath(std::string_view text, std::size_t room) {
    if (text.size() <= room) return std::string(text);
    if (room <= kEllipsis.size()) return std::string(text.substr(0, room));
    const std::size_t separator = text.find_last_of("/\\");
    if (separator != std::string_view::npos) {
        const std::string_view name = text.substr(separator);
        // The name stays whole wherever "..." fits beside it.
        if (name.size() + kEllipsis.size() <= room)
            return middleOut(text.substr(0, separator), room - name.size()) + std::string(name);
    }
    return middleOut(text, room);
}

std::string lineWithPath(std::string_view before, std::string_view path, std::string_view after,
                         std::size_t room) {
    const std::size_t fixed = before.size() + after.size();
    std::string shown(path);
    if (fixed + path.size() > room) shown = shortenedPath(rtrim(path), room > fixed ? room - fixed : 0);
    return std::string(before).append(shown).append(after);
}

}  // namespace rt
