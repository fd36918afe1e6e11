#pragma once
// The program object: the default window instances, the active window, the
// dialogs, simulated keystrokes, the pause, the end of the program, and the
// handling of errors that no handler traps.
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/rt/error.h"
#include "platform/ui/backend.h"
#include "platform/ui/form.h"

namespace ui {

class Printer;

// Message box buttons, icons and answers.
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kNoIcon = 0;
inline constexpr int kCritical = 16;
inline constexpr int kInformation = 64;
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;

enum class SendKey { Tab, ShiftTab };

// Thrown by Application::end() when the backend cannot end the process
// (headless): it unwinds the running command and is caught where the event
// was dispatched. Deliberately not an rt::Error, so no error trap stops it.
struct ProgramEnded {};

class Application {
public:
    static Application& instance();

    // The backend; none is installed at first (windows then work without
    // peers, and dialogs fail with std::logic_error).
    void setBackend(Backend* backend) { backend_ = backend; }
    Backend* backend() const { return backend_; }

    // The application's title: the default title of message and input boxes.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // The folder that holds the executable.
    const std::filesystem::path& appDir() const { return appDir_; }
    void setAppDir(std::filesystem::path dir) { appDir_ = std::move(dir); }

    // The default instance of window class T, created on first use.
    template <class T>
    T& form() {
        auto& slot = forms_[std::type_index(typeid(T))];
        if (!slot) slot = std::make_unique<T>();
        return static_cast<T&>(*slot);
    }

    // The window that has the user's attention: the modal window, the
    // active child of the main window, or the active top-level window.
    Form* activeForm() const;
    // The modal window running innermost, if any.
    Form* modalForm() const { return modal_.empty() ? nullptr : modal_.back(); }
    // The main window (the MDI parent), if one is loaded.
    Form* mainForm() const;
    // Loaded windows, in order of loading.
    const std::vector<Form*>& loadedForms() const { return loaded_; }

    int msgBox(const std::string& text, int buttons = kOkOnly, int icon = kNoIcon,
               const std::string& title = {}, bool defaultNo = false);
    std::string inputBox(const std::string& prompt, const std::string& title = {},
                         const std::string& defaultText = {});

    // Queues Tab or Shift+Tab for the active window; the focus moves once the
    // running handler has returned.
    void sendKeys(SendKey key);
    void sleep(int ms);
    // Ends the program at once, with no window's closing logic.
    [[noreturn]] void end();
    bool ended() const { return ended_; }
    // Shows the main window and runs the event loop.
    void run(Form& mainForm);

    // Runs one event from the user (a click, a key, a menu command ...) with
    // everything it causes. An rt::Error that no handler trapped goes to the
    // unhandled-error hook; when the outermost event is done, queued
    // keystrokes are delivered and an unfinished printout is discarded.
    void dispatch(const std::function<void()>& event);
    // The default hook shows "Run-time error N" and the description in a
    // message box; the program keeps running.
    using ErrorHook = std::function<void(const rt::Error&)>;
    void setUnhandledErrorHook(ErrorHook hook) { errorHook_ = std::move(hook); }
    static std::string runTimeErrorText(const rt::Error& e);

    Printer& printer();

    // Forgets every window instance and all state (between tests).
    void reset();

    // Bookkeeping used by Form.
    void formLoaded(Form& f);
    // With events: a child's unload activates the next child and counts as
    // an activation of the main window.
    void formUnloaded(Form& f, bool withEvents);
    void formShown(Form& f);
    void activate(Form& f);
    void modalStarted(Form& f);
    // Without events while an exception unwinds the modal window.
    void modalEnded(Form& f, bool withEvents);
    int dispatchDepth() const { return depth_; }

private:
    Application();
    void afterEvent();
    void deliverKey(SendKey key);
    void handleUnhandled(const rt::Error& e);
    void activateTopLevel(Form& f);

    Backend* backend_ = nullptr;
    std::string title_;
    std::filesystem::path appDir_;
    std::map<std::type_index, std::unique_ptr<Form>> forms_;
    std::vector<Form*> loaded_;
    std::vector<Form*> activation_;  // top-level windows, most recent last
    std::vector<Form*> children_;    // MDI children, most recently active last
    std::vector<Form*> modal_;       // running modal windows
    std::vector<Form*> beforeModal_; // the active window when each began
    Form* active_ = nullptr;
    Form* activeChild_ = nullptr;
    std::deque<SendKey> keys_;
    std::vector<int> loopBase_;
    int depth_ = 0;
    bool ended_ = false;
    ErrorHook errorHook_;
    std::unique_ptr<Printer> printer_;
};

inline Application& app() { return Application::instance(); }

template <class T>
T& form() {
    return app().form<T>();
}

inline int msgBox(const std::string& text, int buttons = kOkOnly, int icon = kNoIcon,
                  const std::string& title = {}, bool defaultNo = false) {
    return app().msgBox(text, buttons, icon, title, defaultNo);
}
inline std::string inputBox(const std::string& prompt, const std::string& title = {},
                            const std::string& defaultText = {}) {
    return app().inputBox(prompt, title, defaultText);
}
inline void sleep(int ms) { app().sleep(ms); }
inline void sendKeys(SendKey key) { app().sendKeys(key); }

// Runs a command body that ends quietly at the first run-time error.
template <class Body>
bool endQuietly(Body&& body) {
    return rt::endQuietlyOnError(std::forward<Body>(body));
}

}  // namespace ui
