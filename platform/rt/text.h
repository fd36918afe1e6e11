#pragma once
// Text helpers of the language runtime. Trimming removes blanks (character
// 32) only; case changes touch the ASCII letters only.
#include <string>
#include <string_view>

namespace rt {

std::string trim(std::string_view s);
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);
std::string ucase(std::string_view s);
std::string lcase(std::string_view s);

// The first / last n characters (all of them when n is larger). A negative
// n raises kInvalidCall.
std::string left(std::string_view s, long n);
std::string right(std::string_view s, long n);
// The characters from 1-based position start on, at most length of them
// (to the end when length is negative, i.e. omitted). start below 1 raises
// kInvalidCall; a start past the end gives "".
std::string mid(std::string_view s, long start, long length = -1);

// A text shortened to at most room characters by putting "..." in place of
// its middle. A path loses the middle of its folder part, so that the file's
// name and the separator before it ("/" or "\") stay whole wherever "..."
// fits beside them; a text without a separator, or a name too long for the
// room, loses its own middle. A room below 4 keeps the text's first
// characters.
std::string shortenedPath(std::string_view text, std::size_t room);

// The line before + path + after, kept to room characters: a path that makes
// it longer loses its trailing blanks (a stored field's padding) and is then
// shortened (shortenedPath) to the room that before and after leave it.
std::string lineWithPath(std::string_view before, std::string_view path, std::string_view after,
                         std::size_t room);

}  // namespace rt
