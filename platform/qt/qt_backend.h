#pragma once
// The desktop backend: Qt 6 Widgets.
//
// The main window is a QMainWindow holding a QMdiArea; every other modeless
// window is a child of it (QMdiSubWindow); a modal window (the splash) is a
// top-level window of its own, as is any window shown while no main window
// is loaded. Controls are placed absolutely at 15 twips per pixel, drawings
// are painted from the window's retained display list.
//
// User input never runs program code from inside a Qt event handler: it is
// queued and run from the event loop, one event at a time, through
// ui::input. The one exception is the opening of a menu, whose Click must
// run before the menu drops down. While a dialog is open, or while the
// program refreshes or sleeps during a long command, queued input waits.
//
// Use (a QApplication must exist for the backend's whole life):
//   QApplication qapp(argc, argv);
//   qtui::Backend backend;            // installs itself in ui::app()
//   ui::app().setTitle(...);
//   ui::app().setAppDir(...);
//   ui::app().run(ui::form<MainWindow>());
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/backend.h"

class QAction;
class QEventLoop;
class QMdiArea;
class QObject;
class QPageLayout;
class QTimer;
class QWidget;

namespace qtui {

class FormPeer;

class Backend final : public ui::Backend {
public:
    Backend();
    // Takes every window's widgets away and uninstalls itself.
    ~Backend() override;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override;
    void destroyPeer(std::unique_ptr<ui::FormPeer> peer) override;
    int messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> inputBox(const ui::InputBoxRequest& request) override;
    std::optional<ui::FileDialogChoice> fileDialog(const ui::FileDialogRequest& request) override;
    std::optional<ui::PrinterSettings> printerSetup(const ui::PrinterSettings& current) override;
    ui::PrinterSettings defaultPrinter() override;
    void print(const ui::PrintJob& job) override;
    void runModal(ui::Form& form) override;
    void flushPaint(ui::Form& form) override;
    void sleep(int ms) override;
    void run(ui::Form& mainForm) override;
    void exit() override;

    // What Exit does. By default the process ends at once; a test may
    // install a handler that only records it (the core then takes every
    // window away).
    void setExitHandler(std::function<void()> handler) { exitHandler_ = std::move(handler); }

    // The widgets of a loaded window (null when it has none): its outer
    // window (main window, sub-window or top-level window), its drawing
    // area, the widget of a control, the action of a menu item, and the
    // main window's MDI area.
    QWidget* windowOf(const ui::Form& form) const;
    QWidget* surfaceOf(const ui::Form& form) const;
    QWidget* widgetOf(const ui::Control& control) const;
    QAction* actionOf(const ui::MenuItem& item) const;
    QMdiArea* mdiArea() const;

    // The file a printout goes to when no printer is configured: a new PDF
    // file in the application directory.
    std::string nextPdfPath() const;
    std::filesystem::path pdfDirectory() const;

    // ---- used by the window peers ----
    // Queues user input; it runs later from the event loop unless the
    // window it came from has been unloaded by then.
    void post(std::shared_ptr<const bool> alive, std::function<void()> action);
    // True while the backend itself changes widgets (their signals are not
    // user input then).
    bool syncing() const { return syncing_ > 0; }
    struct Syncing {
        explicit Syncing(Backend& b) : backend(b) { ++backend.syncing_; }
        ~Syncing() { --backend.syncing_; }
        Syncing(const Syncing&) = delete;
        Syncing& operator=(const Syncing&) = delete;
        Backend& backend;
    };
    // Runs input, showing what escapes the core's own error handling the way
    // an untrapped run-time error is shown.
    void runGuarded(const std::function<void()>& action);
    FormPeer* peerOf(const ui::Form& form) const;
    FormPeer* mainPeer() const;
    // The window dialogs belong to.
    QWidget* dialogParent() const;

private:
    struct Pending {
        std::shared_ptr<const bool> alive;
        std::function<void()> action;
    };
    // Holds queued input while a dialog, a refresh or a pause runs.
    struct Block {
        explicit Block(Backend& b);
        ~Block();
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        Backend& backend;
    };
    void runNext();
    void arm();
    void sweep();
    void quitLoops();

    QObject* context_ = nullptr;  // receiver of the backend's own timers
    QTimer* pump_ = nullptr;
    std::deque<Pending> queue_;
    int blocked_ = 0;
    int syncing_ = 0;
    std::vector<FormPeer*> peers_;                    // live peers
    std::vector<std::unique_ptr<FormPeer>> unloaded_; // waiting for their widgets to go
    std::vector<QEventLoop*> loops_;
    std::function<void()> exitHandler_;
    // The page set-up last chosen in Printer Setup, and for which printer.
    std::unique_ptr<QPageLayout> pageLayout_;
    std::string pageLayoutPrinter_;
};

}  // namespace qtui
