#include "platform/rt/error.h"

namespace rt {

std::string errorDescription(int number) {
    switch (number) {
    case kInvalidCall: return "Invalid procedure call or argument";
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kDivisionByZero: return "Division by zero";
    case kTypeMismatch: return "Type mismatch";
    case kBadFileNameOrNumber: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kBadFileMode: return "Bad file mode";
    case kFileAlreadyOpen: return "File already open";
    case kDeviceIOError: return "Device I/O error";
    case kFileAlreadyExists: return "File already exists";
    case kBadRecordLength: return "Bad record length";
    case kDiskFull: return "Disk full";
    case kInputPastEndOfFile: return "Input past end of file";
    case kBadRecordNumber: return "Bad record number";
    case kBadFileName: return "Bad file name";
    case kPermissionDenied: return "Permission denied";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    case kInvalidProperty: return "Invalid property value";
    case kCancelError: return "Cancel was selected.";
    default: return "Application-defined or object-defined error";
    }
}

namespace {
std::string errorText(int number, const std::string& detail) {
    std::string text = errorDescription(number);
    if (!detail.empty()) {
        text.append(": ");
        text.append(detail);
    }
    return text;
}
}  // namespace

Error::Error(int number, const std::string& detail)
    : std::runtime_error(errorText(number, detail)), number_(number), detail_(detail) {}

void raise(int number, const std::string& detail) { throw Error(number, detail); }

}  // namespace rt
