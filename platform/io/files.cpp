#include "platform/io/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rt/error.h"

namespace io {

namespace {

// The error number of a failed system call.
int errorNumberOf(int err) {
    switch (err) {
    case ENOENT: return rt::kFileNotFound;
    case ENOTDIR: return rt::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return rt::kPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return rt::kDiskFull;
    case EIO: return rt::kDeviceIOError;
    case ENAMETOOLONG: return rt::kBadFileName;
    case EEXIST: return rt::kFileAlreadyExists;
    default: return rt::kPathFileAccessError;
    }
}

[[noreturn]] void raiseErrno(int err, const std::string& path) {
    rt::raise(errorNumberOf(err), path);
}

std::string parentOf(const std::string& native) {
    std::size_t slash = native.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return native.substr(0, slash);
}

bool isDirectory(const std::string& native) {
    struct stat st;
    return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A missing file in a missing folder is "Path not found", as the user sees it.
[[noreturn]] void raiseMissing(const std::string& native) {
    if (!isDirectory(parentOf(native))) rt::raise(rt::kPathNotFound, native);
    rt::raise(rt::kFileNotFound, native);
}

// Writes all bytes at offset, retrying short writes.
void writeAll(int fd, std::uint64_t offset, const std::uint8_t* data, std::size_t n,
              const std::string& path) {
    while (n > 0) {
        ssize_t w = ::pwrite(fd, data, n, static_cast<off_t>(offset));
        if (w < 0) {
            if (errno == EINTR) continue;
            raiseErrno(errno, path);
        }
        if (w == 0) rt::raise(rt::kDeviceIOError, path);
        data += w;
        n -= static_cast<std::size_t>(w);
        offset += static_cast<std::uint64_t>(w);
    }
}

// Copies a regular file into a new file that must not exist yet; the copy is
// removed again when anything fails.
void copyToNew(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) raiseErrno(errno, from);
    struct stat st;
    if (::fstat(in, &st) != 0) {
        int e = errno;
        ::close(in);
        raiseErrno(e, from);
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        int e = errno;
        ::close(in);
        raiseErrno(e, to);
    }
    try {
        std::vector<std::uint8_t> buf(1 << 16);
        std::uint64_t offset = 0;
        for (;;) {
            ssize_t r = ::read(in, buf.data(), buf.size());
            if (r < 0) {
                if (errno == EINTR) continue;
                raiseErrno(errno, from);
            }
            if (r == 0) break;
            writeAll(out, offset, buf.data(), static_cast<std::size_t>(r), to);
            offset += static_cast<std::uint64_t>(r);
        }
        if (::fsync(out) != 0) raiseErrno(errno, to);
        if (::close(out) != 0) {
            out = -1;
            raiseErrno(errno, to);
        }
        out = -1;
        ::close(in);
    } catch (...) {
        if (out >= 0) ::close(out);
        ::close(in);
        ::unlink(to.c_str());
        throw;
    }
}

// A new file's name in the target's own folder, so that it can take the
// target's place by a rename.
std::string besideName(const std::string& native, int attempt) {
    return native + ".new" + std::to_string(::getpid()) + "_" + std::to_string(attempt);
}

// The file a whole-file replacement writes: what a symbolic link points to,
// not the link. Refuses a missing folder, a folder as the target and a
// read-only target: one without write permission, or without any write bit
// (a read-only attribute binds an administrator too). With `source` given,
// returns "" when the target is that very file.
std::string writableTarget(std::string native, const struct stat* source = nullptr) {
    char resolved[PATH_MAX];
    struct stat lst;
    if (::lstat(native.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && ::realpath(native.c_str(), resolved) != nullptr)
        native = resolved;
    if (!isDirectory(parentOf(native))) rt::raise(rt::kPathNotFound, native);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) return native;
    if (S_ISDIR(st.st_mode)) rt::raise(rt::kPathFileAccessError, native);
    if (source && st.st_dev == source->st_dev && st.st_ino == source->st_ino) return {};
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(native.c_str(), W_OK) != 0)
        rt::raise(rt::kPermissionDenied, native);
    return native;
}

}  // namespace

std::string folderPath(std::string folder) {
    if (!folder.empty() && folder.back() != kDirSeparator) folder += kDirSeparator;
    return folder;
}

std::string nativePath(std::string_view path) {
    if (path.empty()) rt::raise(rt::kBadFileName, "empty file name");
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '*':
        case '?':
        case '<':
        case '>':
        case '|':
        case '"': rt::raise(rt::kBadFileName, std::string(path));
        default:
            if (u < 32) rt::raise(rt::kBadFileName, std::string(path));
            out.push_back(c);
        }
    }
    return out;
}

std::string appDirectory() {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) rt::raise(rt::kPathNotFound, "/proc/self/exe");
    std::string exe(buf.data(), static_cast<std::size_t>(n));
    return parentOf(exe);
}

std::uint64_t fileLen(std::string_view path) {
    std::string native = nativePath(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) {
        if (errno == ENOENT) raiseMissing(native);
        raiseErrno(errno, native);
    }
    if (S_ISDIR(st.st_mode)) rt::raise(rt::kPathFileAccessError, native);
    return static_cast<std::uint64_t>(st.st_size);
}

bool fileExists(std::string_view path) {
    std::string native = nativePath(path);
    struct stat st;
    return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void kill(std::string_view path) {
    std::string native = nativePath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0) {
        if (errno == ENOENT) raiseMissing(native);
        raiseErrno(errno, native);
    }
    if (S_ISDIR(st.st_mode)) rt::raise(rt::kPathFileAccessError, native);
    if (::unlink(native.c_str()) != 0) raiseErrno(errno, native);
}

void rename(std::string_view from, std::string_view to) {
    std::string src = nativePath(from);
    std::string dst = nativePath(to);
    struct stat st;
    if (::lstat(src.c_str(), &st) != 0) {
        if (errno == ENOENT) raiseMissing(src);
        raiseErrno(errno, src);
    }
    if (S_ISDIR(st.st_mode)) rt::raise(rt::kPathFileAccessError, src);
    if (::lstat(dst.c_str(), &st) == 0) rt::raise(rt::kFileAlreadyExists, dst);
    if (!isDirectory(parentOf(dst))) rt::raise(rt::kPathNotFound, dst);
    if (::rename(src.c_str(), dst.c_str()) == 0) return;
    if (errno != EXDEV) raiseErrno(errno, dst);
    // Another file system: copy, then remove the source. When the source
    // cannot be removed the copy goes again, so the move happens whole or not.
    copyToNew(src, dst);
    if (::unlink(src.c_str()) != 0) {
        int e = errno;
        ::unlink(dst.c_str());
        raiseErrno(e, src);
    }
}

void replaceFileContents(std::string_view path, std::string_view bytes) {
    const std::string native = writableTarget(nativePath(path));
    struct stat st;
    const bool exists = ::stat(native.c_str(), &st) == 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = besideName(native, attempt);
        mode_t mode = exists ? (st.st_mode & 07777) : 0666;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && (errno != EEXIST || attempt >= 100)) raiseErrno(errno, native);
    }
    try {
        if (exists) ::fchmod(fd, st.st_mode & 07777);  // the umask may have narrowed it
        writeAll(fd, 0, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), native);
        if (::fsync(fd) != 0) raiseErrno(errno, native);
        int rc = ::close(fd);
        fd = -1;
        if (rc != 0) raiseErrno(errno, native);
        if (::rename(temp.c_str(), native.c_str()) != 0) raiseErrno(errno, native);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
}

void moveReplacing(std::string_view from, std::string_view to) {
    const std::string src = nativePath(from);
    struct stat sst;
    if (::stat(src.c_str(), &sst) != 0) {
        if (errno == ENOENT) raiseMissing(src);
        raiseErrno(errno, src);
    }
    if (!S_ISREG(sst.st_mode)) rt::raise(rt::kPathFileAccessError, src);
    const std::string dst = writableTarget(nativePath(to), &sst);
    if (dst.empty()) return;  // the source itself
    // The source must be removable before the target is given up for it.
    if (::access(parentOf(src).c_str(), W_OK) != 0) raiseErrno(errno, src);
    if (::rename(src.c_str(), dst.c_str()) == 0) return;
    if (errno != EXDEV) raiseErrno(errno, dst);
    // Another file system: the whole copy is made beside the target first,
    // then takes its place in one step.
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = besideName(dst, attempt);
        try {
            copyToNew(src, temp);
            break;
        } catch (const rt::Error& e) {
            if (e.number() != rt::kFileAlreadyExists || attempt >= 100) throw;
        }
    }
    if (::rename(temp.c_str(), dst.c_str()) != 0) {
        int e = errno;
        ::unlink(temp.c_str());
        raiseErrno(e, dst);
    }
    ::unlink(src.c_str());
}

void replaceFileContents(std::string_view path, const std::vector<std::uint8_t>& bytes) {
    replaceFileContents(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

File::File(std::string_view path, OpenMode mode) : path_(nativePath(path)) {
    struct stat st;
    bool exists = ::stat(path_.c_str(), &st) == 0;
    // Only regular files: a folder or a device would read nonsense or block.
    if (exists && !S_ISREG(st.st_mode)) rt::raise(rt::kPathFileAccessError, path_);
    if (mode == OpenMode::ReadOnly) {
        if (!exists) raiseMissing(path_);
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) raiseErrno(errno, path_);
        return;
    }
    if (!exists && !isDirectory(parentOf(path_))) rt::raise(rt::kPathNotFound, path_);
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ >= 0) {
        writable_ = true;
        return;
    }
    int e = errno;
    if (exists && (e == EACCES || e == EROFS)) {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ >= 0) return;
        e = errno;
    }
    raiseErrno(e, path_);
}

File::~File() {
    if (fd_ >= 0) ::close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_), writable_(other.writable_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        writable_ = other.writable_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

std::uint64_t File::length() const {
    if (fd_ < 0) rt::raise(rt::kBadFileNameOrNumber, path_);
    struct stat st;
    if (::fstat(fd_, &st) != 0) raiseErrno(errno, path_);
    return static_cast<std::uint64_t>(st.st_size);
}

std::size_t File::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) const {
    if (fd_ < 0) rt::raise(rt::kBadFileNameOrNumber, path_);
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::pread(fd_, out + got, n - got, static_cast<off_t>(offset + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            raiseErrno(errno, path_);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

void File::writeAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) rt::raise(rt::kBadFileNameOrNumber, path_);
    if (!writable_) rt::raise(rt::kPermissionDenied, path_);
    if (offset > static_cast<std::uint64_t>(INT64_MAX) - n) rt::raise(rt::kBadRecordNumber, path_);
    writeAll(fd_, offset, data, n, path_);
}

void File::close() {
    if (fd_ < 0) return;
    int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0 && errno != EINTR) raiseErrno(errno, path_);
}

}  // namespace io
