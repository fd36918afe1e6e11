#include "platform/io/textout.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/io/files.h"
#include "platform/rt/error.h"

namespace io {

TextOutput::TextOutput(std::string_view path) : path_(path) {
    std::string native = nativePath(path);
    std::size_t slash = native.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) rt::raise(rt::kPathNotFound, native);
    if (::stat(native.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) rt::raise(rt::kPathFileAccessError, native);
        if (::access(native.c_str(), W_OK) != 0) rt::raise(rt::kPermissionDenied, native);
    } else if (::access(dir.c_str(), W_OK) != 0) {
        rt::raise(rt::kPermissionDenied, native);
    }
}

void TextOutput::close() {
    if (closed_) return;
    std::string content;
    for (const std::string& line : columns_.lines()) {
        content += line;
        content += "\r\n";
    }
    content += columns_.currentLine();
    replaceFileContents(path_, content);
    closed_ = true;
}

}  // namespace io
