#pragma once
// A printed line that names a path too long for the page's line.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace printtest {

// The line fills the room exactly; the texts before and after the path stand
// whole; the path shows its start, "..." and its end, where its folders keep
// their last characters before the file's name and the separator before it.
inline void expectShortenedPath(const std::string& line, const std::string& before, const std::string& path,
                                const std::string& after, std::size_t room) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.size(), room);
    ASSERT_GE(line.size(), before.size() + after.size());
    ASSERT_TRUE(line.starts_with(before));
    ASSERT_TRUE(line.ends_with(after));
    const std::string shown = line.substr(before.size(), line.size() - before.size() - after.size());
    const std::size_t dots = shown.find("...");
    ASSERT_NE(dots, std::string::npos);
    const std::string head = shown.substr(0, dots), tail = shown.substr(dots + 3);
    EXPECT_FALSE(head.empty());
    EXPECT_TRUE(path.starts_with(head));
    EXPECT_TRUE(path.ends_with(tail));
    EXPECT_GT(tail.size(), path.size() - path.find_last_of("/\\"));
}

}  // namespace printtest
