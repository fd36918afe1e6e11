#include "platform/headless/headless.h"

namespace headless {

namespace {
std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }
}  // namespace

UnhandledError::UnhandledError(const rt::Error& e)
    : ScriptError("error that no handler trapped: " + ui::Application::runTimeErrorText(e)), number_(e.number()) {}

Script& Script::answer(int button, std::optional<std::string> text, std::optional<std::string> title) {
    Step s;
    s.kind = Kind::Message;
    s.button = button;
    s.text = std::move(text);
    s.title = std::move(title);
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::ok(std::optional<std::string> text, std::optional<std::string> title) {
    return answer(ui::kOk, std::move(text), std::move(title));
}
Script& Script::yes(std::optional<std::string> text, std::optional<std::string> title) {
    return answer(ui::kYes, std::move(text), std::move(title));
}
Script& Script::no(std::optional<std::string> text, std::optional<std::string> title) {
    return answer(ui::kNo, std::move(text), std::move(title));
}

Script& Script::input(std::string text, std::optional<std::string> prompt, std::optional<std::string> title) {
    Step s;
    s.kind = Kind::Input;
    s.value = std::move(text);
    s.text = std::move(prompt);
    s.title = std::move(title);
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::cancelInput(std::optional<std::string> prompt, std::optional<std::string> title) {
    Step s;
    s.kind = Kind::Input;
    s.cancel = true;
    s.text = std::move(prompt);
    s.title = std::move(title);
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::chooseFile(std::string path, std::optional<ui::FileDialogKind> kind) {
    Step s;
    s.kind = Kind::File;
    s.value = std::move(path);
    s.fileKind = kind;
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::cancelFile(std::optional<ui::FileDialogKind> kind) {
    Step s;
    s.kind = Kind::File;
    s.cancel = true;
    s.fileKind = kind;
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::choosePrinter(std::string name) {
    Step s;
    s.kind = Kind::Printer;
    s.value = std::move(name);
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::cancelPrinter() {
    Step s;
    s.kind = Kind::Printer;
    s.cancel = true;
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::modal(std::string className, std::function<void(Driver&)> actions) {
    Step s;
    s.kind = Kind::Modal;
    s.value = std::move(className);
    s.actions = std::move(actions);
    steps_.push_back(std::move(s));
    return *this;
}

std::string Script::describe(const Step& s) const {
    switch (s.kind) {
    case Kind::Message: {
        std::string d = "message box answered " + std::to_string(s.button);
        if (s.text) d += " text " + inQuotes(*s.text);
        if (s.title) d += " title " + inQuotes(*s.title);
        return d;
    }
    case Kind::Input: {
        std::string d = s.cancel ? "input box cancelled" : "input box answered " + inQuotes(s.value);
        if (s.text) d += " prompt " + inQuotes(*s.text);
        if (s.title) d += " title " + inQuotes(*s.title);
        return d;
    }
    case Kind::File: {
        std::string d = s.fileKind ? (*s.fileKind == ui::FileDialogKind::Save ? "save dialog" : "open dialog")
                                   : "file dialog";
        return d + (s.cancel ? " cancelled" : " choosing " + inQuotes(s.value));
    }
    case Kind::Printer:
        return s.cancel ? "printer setup cancelled" : "printer setup choosing " + inQuotes(s.value);
    case Kind::Modal:
        return "modal window " + s.value;
    }
    return {};
}

std::string Script::describeRemaining() const {
    std::string out;
    for (const Step& s : steps_) out += describe(s) + "\n";
    return out;
}

}  // namespace headless
