#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/io/files.h"
#include "platform/io/textout.h"
#include "platform/rt/error.h"

namespace fs = std::filesystem;

namespace {

class Dir : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/velkor_io_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    static void put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The names in the folder (to see that nothing was left behind).
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    std::string dir_;
};

template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

TEST(NativePath, PathsStayAsBuiltAndInvalidNamesAreRefused) {
    // A backslash is an ordinary character of a file name here.
    EXPECT_EQ(io::nativePath("/app\\temp.flw"), "/app\\temp.flw");
    EXPECT_EQ(io::nativePath("a/b.srw"), "a/b.srw");
    EXPECT_EQ(io::folderPath("/app"), "/app/");
    EXPECT_EQ(io::folderPath("/app/"), "/app/");
    EXPECT_EQ(io::folderPath(""), "");
    for (const char* bad : {"*.flw", "/x/a?.die", "a<b", "a>b", "a|b", "a\"b", ""})
        EXPECT_EQ(errorOf([&] { io::nativePath(bad); }), rt::kBadFileName) << bad;
    EXPECT_EQ(errorOf([] { io::nativePath(std::string("a\0b", 3)); }), rt::kBadFileName);
}

TEST_F(Dir, WildcardNamesAreNeverCreatedOrDeleted) {
    std::string pattern = at("*.flw");
    EXPECT_EQ(errorOf([&] { io::File f(pattern, io::OpenMode::CreateIfMissing); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::replaceFileContents(pattern, std::string("x")); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::TextOutput out(at("*.txt")); }), rt::kBadFileName);
    EXPECT_EQ(entries(), 0u);
    // A file that happens to carry such a name is left alone as well.
    put(pattern, "keep");
    EXPECT_EQ(errorOf([&] { io::kill(pattern); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::rename(pattern, at("b")); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::fileLen(pattern); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::fileExists(pattern); }), rt::kBadFileName);
    EXPECT_EQ(get(pattern), "keep");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(Dir, LengthExistenceAndDelete) {
    put(at("a.dat"), std::string(100, 'x'));
    EXPECT_EQ(io::fileLen(at("a.dat")), 100u);
    EXPECT_TRUE(io::fileExists(at("a.dat")));
    EXPECT_FALSE(io::fileExists(at("b.dat")));
    EXPECT_FALSE(io::fileExists(dir_));
    EXPECT_EQ(errorOf([&] { io::fileLen(at("b.dat")); }), rt::kFileNotFound);
    EXPECT_EQ(errorOf([&] { io::fileLen(at("nodir/b.dat")); }), rt::kPathNotFound);
    io::kill(at("a.dat"));
    EXPECT_FALSE(io::fileExists(at("a.dat")));
    EXPECT_EQ(errorOf([&] { io::kill(at("a.dat")); }), rt::kFileNotFound);
    EXPECT_EQ(errorOf([&] { io::kill(dir_); }), rt::kPathFileAccessError);

    // A name holding a backslash names that file, not one in a subfolder.
    fs::create_directory(at("sub"));
    put(at("sub/c.srw"), "other");
    io::replaceFileContents(at("sub\\c.srw"), std::string_view("mine"));
    EXPECT_EQ(get(at("sub\\c.srw")), "mine");
    EXPECT_EQ(get(at("sub/c.srw")), "other");
}

TEST_F(Dir, RenameAcrossDirectoriesAndFileSystems) {
    fs::create_directory(at("sub"));
    put(at("a.tmp"), "payload");
    io::rename(dir_ + "/a.tmp", at("sub/b.flw"));
    EXPECT_FALSE(io::fileExists(at("a.tmp")));
    EXPECT_EQ(get(at("sub/b.flw")), "payload");

    put(at("c.tmp"), "other");
    EXPECT_EQ(errorOf([&] { io::rename(at("c.tmp"), at("sub/b.flw")); }), rt::kFileAlreadyExists);
    EXPECT_EQ(errorOf([&] { io::rename(at("none"), at("d")); }), rt::kFileNotFound);
    EXPECT_EQ(errorOf([&] { io::rename(at("c.tmp"), at("nodir/d")); }), rt::kPathNotFound);
    EXPECT_EQ(get(at("c.tmp")), "other");

    // /dev/shm is another file system where there is one: copy, then delete.
    struct stat a, b;
    if (::stat("/dev/shm", &b) == 0 && ::stat(dir_.c_str(), &a) == 0 && a.st_dev != b.st_dev &&
        ::access("/dev/shm", W_OK) == 0) {
        std::string far = "/dev/shm/velkor_io_rename_" + std::to_string(::getpid());
        ::unlink(far.c_str());
        io::rename(at("c.tmp"), far);
        EXPECT_FALSE(io::fileExists(at("c.tmp")));
        EXPECT_EQ(get(far), "other");
        io::rename(far, at("back.tmp"));
        EXPECT_EQ(get(at("back.tmp")), "other");
        EXPECT_FALSE(io::fileExists(far));
    }
}

TEST_F(Dir, MoveReplacingSwapsInTheWholeFileOrLeavesTheTarget) {
    put(at("flow.tmp"), "result");
    put(at("old.flw"), "previous");
    io::moveReplacing(dir_ + "/flow.tmp", at("old.flw"));
    EXPECT_EQ(get(at("old.flw")), "result");
    EXPECT_EQ(entries(), 1u);
    io::moveReplacing(at("old.flw"), at("old.flw"));  // onto itself: nothing happens
    EXPECT_EQ(get(at("old.flw")), "result");

    // Refused targets keep their bytes and the source stays.
    put(at("flow.tmp"), "next");
    put(at("locked.flw"), "kept");
    fs::permissions(at("locked.flw"), fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(at("folder.flw"));
    EXPECT_EQ(errorOf([&] { io::moveReplacing(at("flow.tmp"), at("locked.flw")); }), rt::kPermissionDenied);
    EXPECT_EQ(errorOf([&] { io::moveReplacing(at("flow.tmp"), at("folder.flw")); }), rt::kPathFileAccessError);
    EXPECT_EQ(errorOf([&] { io::moveReplacing(at("flow.tmp"), "*.flw"); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { io::moveReplacing(at("flow.tmp"), at("nodir/a.flw")); }), rt::kPathNotFound);
    EXPECT_EQ(errorOf([&] { io::moveReplacing(at("none"), at("a.flw")); }), rt::kFileNotFound);
    EXPECT_EQ(get(at("locked.flw")), "kept");
    EXPECT_EQ(get(at("flow.tmp")), "next");
    EXPECT_EQ(entries(), 4u);

    // Into another file system and back over an existing file.
    struct stat a, b;
    if (::stat("/dev/shm", &b) == 0 && ::stat(dir_.c_str(), &a) == 0 && a.st_dev != b.st_dev &&
        ::access("/dev/shm", W_OK) == 0) {
        const std::string far = "/dev/shm/velkor_io_move_" + std::to_string(::getpid());
        put(far, "far away");
        io::moveReplacing(at("flow.tmp"), far);
        EXPECT_EQ(get(far), "next");
        io::moveReplacing(far, at("old.flw"));
        EXPECT_EQ(get(at("old.flw")), "next");
        EXPECT_FALSE(io::fileExists(far));
        EXPECT_EQ(entries(), 3u);
    }
}

TEST_F(Dir, ReplaceFileContentsKeepsOldFileOnFailure) {
    std::string target = at("elem.gs");
    io::replaceFileContents(target, std::string("first"));
    EXPECT_EQ(get(target), "first");
    io::replaceFileContents(target, std::string("xy"));
    EXPECT_EQ(get(target), "xy");
    io::replaceFileContents(target, std::vector<std::uint8_t>{});
    EXPECT_EQ(fs::file_size(target), 0u);
    io::replaceFileContents(target, std::string("old content"));
    EXPECT_EQ(entries(), 1u);

    // A write that fails half way (file size limit): the old file stays,
    // and nothing is left beside it.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int err = errorOf([&] { io::replaceFileContents(target, std::string(100000, 'z')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(err, rt::kDiskFull);
    EXPECT_EQ(get(target), "old content");
    EXPECT_EQ(entries(), 1u);

    EXPECT_EQ(errorOf([&] { io::replaceFileContents(at("nodir/x"), std::string("a")); }), rt::kPathNotFound);
    EXPECT_EQ(errorOf([&] { io::replaceFileContents(dir_, std::string("a")); }), rt::kPathFileAccessError);
}

TEST_F(Dir, FileOpenModes) {
    EXPECT_EQ(errorOf([&] { io::File f(at("missing"), io::OpenMode::ReadOnly); }), rt::kFileNotFound);
    EXPECT_FALSE(io::fileExists(at("missing")));
    EXPECT_EQ(errorOf([&] { io::File f(at("nodir/x"), io::OpenMode::CreateIfMissing); }), rt::kPathNotFound);
    EXPECT_EQ(errorOf([&] { io::File f(dir_, io::OpenMode::ReadOnly); }), rt::kPathFileAccessError);
    {
        io::File f(at("new"), io::OpenMode::CreateIfMissing);
        EXPECT_EQ(f.length(), 0u);
        const std::uint8_t abc[] = {'a', 'b', 'c'};
        f.writeAt(5, abc, 3);  // gap of zero bytes
        EXPECT_EQ(f.length(), 8u);
    }
    EXPECT_EQ(get(at("new")), std::string("\0\0\0\0\0abc", 8));
    {
        io::File f(at("new"), io::OpenMode::CreateIfMissing);  // never truncates
        EXPECT_EQ(f.length(), 8u);
        std::uint8_t buf[16];
        EXPECT_EQ(f.readAt(6, buf, 16), 2u);
        EXPECT_EQ(buf[0], 'b');
        EXPECT_EQ(f.readAt(100, buf, 16), 0u);
    }
    io::File r(at("new"), io::OpenMode::ReadOnly);
    const std::uint8_t one = 1;
    EXPECT_EQ(errorOf([&] { r.writeAt(0, &one, 1); }), rt::kPermissionDenied);
}

TEST_F(Dir, TextOutputWritesCrLfLinesOnClose) {
    std::string path = dir_ + "/out.txt";
    {
        io::TextOutput out(path);
        out.tab(1).text("12.50").tab(10).text("3.00").endLine();
        out.number(7).endLine();
        out.endLine();
        EXPECT_FALSE(io::fileExists(path));  // nothing on disk before close
        out.close();
    }
    EXPECT_EQ(get(at("out.txt")), "12.50    3.00\r\n 7 \r\n\r\n");

    // An output abandoned by an error leaves the earlier file as it was.
    try {
        io::TextOutput out(path);
        out.text("half").endLine();
        rt::raise(rt::kInputPastEndOfFile);
    } catch (const rt::Error&) {
    }
    EXPECT_EQ(get(at("out.txt")), "12.50    3.00\r\n 7 \r\n\r\n");
    EXPECT_EQ(errorOf([&] { io::TextOutput out(at("nodir/x.txt")); }), rt::kPathNotFound);
}

TEST(AppDirectory, IsTheFolderOfThisProgram) {
    std::string dir = io::appDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(fs::exists(dir + "/test_platform_io"));
}

}  // namespace
