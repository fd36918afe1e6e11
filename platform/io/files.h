#pragma once
// File access. Paths are native paths, built with the platform's directory
// separator (kDirSeparator, folderPath). A name holding one of * ? < > | "
// (or a control character) is no valid file name: every operation on it
// raises rt::Error kBadFileName before touching the disk, so such a file is
// never created, read, renamed or deleted. (A cancelled file dialog hands
// back a pattern such as "*.flw"; opening it must fail.)
// Failures raise rt::Error with the matching error number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace io {

// The platform's directory separator.
inline constexpr char kDirSeparator = '/';

// A folder's path with the separator at its end, ready for a name to follow
// (an empty path, the current folder, stays empty).
std::string folderPath(std::string folder);

// The path as the system takes it; invalid names raise kBadFileName.
std::string nativePath(std::string_view path);

// The folder that holds the running executable, without a trailing separator.
std::string appDirectory();

// Length of a file in bytes; kFileNotFound when it does not exist.
std::uint64_t fileLen(std::string_view path);
// True when a regular file of that name exists.
bool fileExists(std::string_view path);
// Deletes a file; kFileNotFound when it does not exist.
void kill(std::string_view path);
// Renames (moves) a file, also to another file system. The source must exist
// (kFileNotFound) and the target must not (kFileAlreadyExists).
void rename(std::string_view from, std::string_view to);

// Moves a file to a name that may already exist, replacing that file only
// once the whole content stands complete beside it: the target holds either
// its old bytes or all of the source's, never a mix, also when the move
// crosses file systems. The source must be a regular file (kFileNotFound);
// a folder as the target is kPathFileAccessError; a read-only target (no
// write permission, or no write bit at all, as a read-only file attribute
// is kept even from an administrator) is refused with kPermissionDenied and
// left as it was. The source is gone afterwards; moving a file onto itself
// does nothing.
void moveReplacing(std::string_view from, std::string_view to);

// Replaces the whole content of a file: the new bytes are written to a new
// file beside the target, which takes the target's place only when every
// write succeeded. A failure leaves the old file as it was. The target is
// created when missing; a read-only target is refused (kPermissionDenied).
void replaceFileContents(std::string_view path, const std::vector<std::uint8_t>& bytes);
void replaceFileContents(std::string_view path, std::string_view bytes);

enum class OpenMode {
    CreateIfMissing,  // read and write; a missing file is created empty; never truncates
    ReadOnly,         // reading only; a missing file is kFileNotFound and is not created
};

// An open file read and written at byte offsets; closed when destroyed.
// A read-only file opened with CreateIfMissing is opened for reading, and
// writing to it raises kPermissionDenied.
class File {
public:
    File(std::string_view path, OpenMode mode);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    std::uint64_t length() const;
    // Reads up to n bytes at offset; returns how many there were (fewer at
    // the end of the file).
    std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) const;
    // Writes n bytes at offset; a gap between the old end and offset reads
    // as zero bytes.
    void writeAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // The native path.
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    bool writable_ = false;
    std::string path_;
};

}  // namespace io
