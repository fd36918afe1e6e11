#pragma once
// Run-time errors of platform operations. Every failure of a file, dialog or
// conversion operation is raised as rt::Error carrying the classic error
// number, so handlers can trap "any error" or test a particular one.
#include <stdexcept>
#include <string>

namespace rt {

enum ErrorNumber : int {
    kInvalidCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kBadFileMode = 54,
    kFileAlreadyOpen = 55,
    kDeviceIOError = 57,
    kFileAlreadyExists = 58,
    kBadRecordLength = 59,
    kDiskFull = 61,
    kInputPastEndOfFile = 62,
    kBadRecordNumber = 63,
    kBadFileName = 64,
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kInvalidProperty = 380,
    kCancelError = 32755,
};

// The standard description of an error number ("Overflow", "File not found", ...).
std::string errorDescription(int number);

class Error : public std::runtime_error {
public:
    explicit Error(int number, const std::string& detail = {});
    int number() const noexcept { return number_; }
    // The description without the detail, as shown to the user.
    std::string description() const { return errorDescription(number_); }
    const std::string& detail() const noexcept { return detail_; }

private:
    int number_;
    std::string detail_;
};

[[noreturn]] void raise(int number, const std::string& detail = {});

// Runs a command body that "ends quietly" on any run-time error: an rt::Error
// raised inside it ends the command at that point without a message.
// Returns false when the body was ended by an error.
template <class Body>
bool endQuietlyOnError(Body&& body) {
    try {
        body();
        return true;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace rt
