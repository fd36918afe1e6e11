#pragma once
// The scripted backend of the tests. A Script answers the dialogs in order;
// a dialog that the script does not expect, or one shown after the answers
// ran out, fails the test with the dialog's text (ScriptError). A Driver
// plays the user. Message boxes, dialogs, drawings and printouts are
// recorded; sleeping advances a virtual clock.
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "platform/ui/application.h"
#include "platform/ui/backend.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace headless {

// A failed expectation of a headless run. Not an rt::Error: no error trap
// of the program can swallow it.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An error that no handler of the program trapped.
class UnhandledError : public ScriptError {
public:
    explicit UnhandledError(const rt::Error& e);
    int number() const { return number_; }

private:
    int number_;
};

class Driver;

class Script {
public:
    // Message boxes: the button pressed (ui::kOk, kYes, kNo), optionally
    // checking the text and title shown.
    Script& answer(int button, std::optional<std::string> text = {},
                   std::optional<std::string> title = {});
    Script& ok(std::optional<std::string> text = {}, std::optional<std::string> title = {});
    Script& yes(std::optional<std::string> text = {}, std::optional<std::string> title = {});
    Script& no(std::optional<std::string> text = {}, std::optional<std::string> title = {});
    // Input boxes: the text entered, or Cancel.
    Script& input(std::string text, std::optional<std::string> prompt = {},
                  std::optional<std::string> title = {});
    Script& cancelInput(std::optional<std::string> prompt = {}, std::optional<std::string> title = {});
    // File dialogs: the path chosen (the filter staying the one the dialog
    // opens with), or Cancel; optionally checking the kind.
    Script& chooseFile(std::string path, std::optional<ui::FileDialogKind> kind = {});
    Script& cancelFile(std::optional<ui::FileDialogKind> kind = {});
    // The printer setup dialog.
    Script& choosePrinter(std::string name);
    Script& cancelPrinter();
    // A modal window of the given class: what the user does while it shows.
    // It must be unloaded when the actions are done.
    Script& modal(std::string className, std::function<void(Driver&)> actions);

    bool done() const { return steps_.empty(); }
    std::size_t remaining() const { return steps_.size(); }
    // The steps not yet used, one per line.
    std::string describeRemaining() const;
    void clear() { steps_.clear(); }

private:
    friend class Backend;
    enum class Kind { Message, Input, File, Printer, Modal };
    struct Step {
        Kind kind = Kind::Message;
        int button = 0;
        bool cancel = false;
        std::string value;  // input text, path, printer name, window class
        std::optional<std::string> text, title;
        std::optional<ui::FileDialogKind> fileKind;
        std::function<void(Driver&)> actions;
    };
    std::string describe(const Step& step) const;
    std::deque<Step> steps_;
};

struct ShownMessage {
    ui::MessageBoxRequest request;
    int answer = 0;
};

class Backend : public ui::Backend {
public:
    Backend();
    ~Backend() override;

    Script& script() { return script_; }

    const std::vector<ShownMessage>& messages() const { return messages_; }
    // The texts of the message boxes shown, in order.
    std::vector<std::string> messageTexts() const;
    const std::vector<ui::InputBoxRequest>& inputBoxes() const { return inputs_; }
    const std::vector<ui::FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    const std::vector<ui::PrintJob>& printed() const { return printed_; }
    // The virtual clock, advanced only by sleeping.
    long long clockMs() const { return clockMs_; }
    int paintFlushes() const { return flushes_; }
    bool exited() const { return exited_; }
    // Makes every later print fail with a device error (or work again).
    void failPrinting(bool fail) { failPrinting_ = fail; }
    void setPrinter(ui::PrinterSettings settings) { printer_ = std::move(settings); }

    // Called once per window that is shown modally, with the driver.
    void setDriver(Driver* driver) { driver_ = driver; }

    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override;
    void destroyPeer(std::unique_ptr<ui::FormPeer> peer) override;
    int messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputBoxRequest& request) override;
    std::optional<ui::FileDialogChoice> fileDialog(const ui::FileDialogRequest& request) override;
    std::optional<ui::PrinterSettings> printerSetup(const ui::PrinterSettings& current) override;
    ui::PrinterSettings defaultPrinter() override { return printer_; }
    void print(const ui::PrintJob& job) override;
    void runModal(ui::Form& form) override;
    void flushPaint(ui::Form& form) override;
    void sleep(int ms) override;
    void run(ui::Form& mainForm) override;
    void exit() override { exited_ = true; }

private:
    Script::Step next(Script::Kind kind, const std::string& what);

    Script script_;
    Driver* driver_ = nullptr;
    std::vector<ShownMessage> messages_;
    std::vector<ui::InputBoxRequest> inputs_;
    std::vector<ui::FileDialogRequest> fileDialogs_;
    std::vector<ui::PrintJob> printed_;
    ui::PrinterSettings printer_;
    long long clockMs_ = 0;
    int flushes_ = 0;
    bool exited_ = false;
    bool failPrinting_ = false;
};

// The simulated user. Every action runs as one user event; an error that no
// handler traps fails the test (UnhandledError) unless the session records
// such errors.
class Driver {
public:
    explicit Driver(Backend& backend) : backend_(&backend) {}

    // Opens the menus above the named item (running their Click), then
    // chooses it. Choosing a disabled item fails the test.
    void chooseMenu(ui::Form& form, const std::string& name);
    // Opens a menu of the menu bar (or a submenu): runs its Click.
    void openMenu(ui::Form& form, const std::string& name);
    void openTopMenu(ui::Form& form, const std::string& name) { openMenu(form, name); }

    void click(ui::Control& control);
    void selectItem(ui::ListBox& list, int index);
    void selectItem(ui::ListBox& list, const std::string& text);
    void doubleClickItem(ui::ListBox& list, int index);
    void pickItem(ui::ComboBox& combo, int index);
    void pickItem(ui::ComboBox& combo, const std::string& text);
    // Moves the focus to the box, then types the characters (each replacing
    // the selection, as typing does).
    void typeText(ui::TextBox& box, const std::string& text);
    void typeText(ui::ComboBox& combo, const std::string& text);
    // Moves the focus to the box, selects all of it and types the text.
    void replaceText(ui::TextBox& box, const std::string& text);
    // Moves the focus as a mouse click would; false when it was put back.
    bool setFocus(ui::Control& control);
    void tab(ui::Form& form);
    void shiftTab(ui::Form& form);
    // A key on the control (KeyDown, KeyPress for character keys).
    void pressKey(ui::Control& control, int keyCode, int shift = 0);
    // A key in the window: to the control with the focus, or the window.
    void pressKey(ui::Form& form, int keyCode, int shift = 0);
    void clickForm(ui::Form& form);
    void closeBox(ui::Form& form);
    void resize(ui::Form& form, gfx::Twips width, gfx::Twips height);
    void activate(ui::Form& form);

    // The window's drawing as text.
    static std::string dump(const ui::Form& form);
    // The pages of a printout as text, each headed "page N".
    static std::string dump(const ui::PrintJob& job);

    Backend& backend() { return *backend_; }

private:
    void checkUsable(const ui::Control& control, const char* action) const;
    Backend* backend_;
};

// One headless test run: installs a backend and a driver, makes errors that
// no handler traps fail the test, and forgets every window at the end.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Backend backend;
    Script& script;
    Driver driver;

    // Records errors that no handler traps instead of failing.
    void recordUnhandledErrors();
    const std::vector<rt::Error>& unhandledErrors() const { return unhandled_; }
    // Fails (ScriptError) when scripted answers were not used.
    void expectScriptDone() const;

private:
    std::vector<rt::Error> unhandled_;
};

}  // namespace headless
