#pragma once
// A message for the user as the simulation's domain code hands it to a
// window: an OK-only box with its text, title and icon. The domain code never
// shows it; the window that called it does, in order.
#include <string>

namespace sim {

// Icons of a message box, with the platform's numbers.
enum class MessageIcon : int { None = 0, Critical = 16, Information = 64 };

struct UserMessage {
    std::string text;
    std::string title;  // empty: the application's title
    MessageIcon icon = MessageIcon::None;
    bool operator==(const UserMessage&) const = default;
};

// The message naming a work file that could not be written.
inline UserMessage workFileNotWritten(const std::string& path, const std::string& title) {
    return {"The work file " + path + "\ncould not be written.", title, MessageIcon::Critical};
}

}  // namespace sim
