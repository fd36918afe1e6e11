#pragma once
// The interface between the toolkit-free core and a user-interface backend
// (the desktop toolkit, or the scripted headless backend of the tests).
//
// All behaviour lives in the core. A backend
//  - creates one peer per loaded window that mirrors the core's state (the
//    window's caption, size, colours and display list; each control's
//    position, caption, text, enabled and visible state, list items ...) and
//    reports user input to the core through platform/ui/input.h;
//  - shows message boxes, input boxes, file dialogs and the printer setup;
//  - runs a modal window until it is unloaded;
//  - repaints on request while a long command holds the GUI thread;
//  - sleeps, prints finished documents, and ends the program.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/display_list.h"
#include "platform/ui/controls.h"

namespace ui {

class Form;

// The mirror of one loaded window.
class FormPeer {
public:
    virtual ~FormPeer() = default;
    // Something changed: a property of the control, or of the window itself
    // when control is null (Caption, Geometry, BackColor, ForeColor, Visible,
    // Drawing, Menus, Focus). The peer reads the new state from the core.
    virtual void changed(const Control* control, Property what) = 0;
    // Shows the window and brings it to the front.
    virtual void show() = 0;
    // Makes the window the active one (focus follows the core's focus).
    virtual void activate() = 0;
};

struct MessageBoxRequest {
    std::string text;
    std::string title;
    int buttons = 0;         // 0 OK, 4 Yes and No
    int icon = 0;            // 0 none, 16 critical, 64 information
    bool defaultNo = false;  // No is the default button
};

struct InputBoxRequest {
    std::string prompt;
    std::string title;
    std::string defaultText;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string fileName;  // name or pattern shown when the dialog opens
    std::string filter;    // "description|pattern|description|pattern"
    std::string initDir;
    std::string title;
    // The filter the dialog opens with (0 the first): the one whose pattern
    // is the preset name without its folder, else the first; -1 without a
    // filter. Every backend opens on this one.
    int openingFilter() const;
    // That filter's pattern; empty without a filter.
    std::string openingPattern() const;
};

// A confirmed file dialog: the full path, and the pattern of the filter the
// dialog showed then (empty without a filter).
struct FileDialogChoice {
    std::string path;
    std::string pattern;
};

// The printer every printout goes to, and its printable area in twips.
struct PrinterSettings {
    std::string name;  // empty: the system's default (or none)
    gfx::Twips pageWidth = 11185;
    gfx::Twips pageHeight = 16118;
};

// One finished printout.
struct PrintJob {
    PrinterSettings printer;
    std::vector<gfx::DisplayList> pages;
};

class Backend {
public:
    virtual ~Backend() = default;

    // A peer for a window that is being loaded. Its state is complete
    // (design() has run) apart from what onLoad() changes afterwards.
    virtual std::unique_ptr<FormPeer> createPeer(Form& form) = 0;
    // The window was unloaded. This may happen inside an event of that very
    // window (its own handler or load): destroy the widgets later.
    virtual void destroyPeer(std::unique_ptr<FormPeer> peer) = 0;

    // Returns the button pressed: 1 OK, 6 Yes, 7 No.
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // The text entered, or nothing for Cancel.
    virtual std::optional<std::string> inputBox(const InputBoxRequest& request) = 0;
    // The full path chosen and the filter shown, or nothing for Cancel.
    virtual std::optional<FileDialogChoice> fileDialog(const FileDialogRequest& request) = 0;
    // The printer chosen, or nothing for Cancel.
    virtual std::optional<PrinterSettings> printerSetup(const PrinterSettings& current) = 0;
    // The printer used until the user chooses another.
    virtual PrinterSettings defaultPrinter() = 0;
    // Prints one finished document; raises rt::Error when it cannot.
    virtual void print(const PrintJob& job) = 0;

    // Handles user input until the window is unloaded.
    virtual void runModal(Form& form) = 0;
    // Paints every window as the core now describes it, without handling
    // user input.
    virtual void flushPaint(Form& form) = 0;
    // Pauses the program for ms milliseconds, painting but handling no input.
    virtual void sleep(int ms) = 0;
    // The event loop of the program, until it ends or its main window is
    // unloaded.
    virtual void run(Form& mainForm) = 0;
    // Ends the program at once, with no window's closing logic. A backend
    // that cannot end the process (headless) returns.
    virtual void exit() = 0;
};

}  // namespace ui
