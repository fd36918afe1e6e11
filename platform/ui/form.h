#pragma once
// A window class. Each window class has one default instance (ui::form<T>()),
// created on first use; its own fields survive unload, its controls are
// created afresh by design() at every load.
//
// Lifecycle:
//  - load(): design(), the peer, then onLoad(). An error raised in onLoad
//    reaches the caller (the command that caused the load); the window is
//    then left unloaded. Loading a loaded window does nothing.
//  - show(): loads if needed, shows the window, brings it to the front.
//    Events: Load, then Resize when first shown and on every size change
//    while shown, then Activate when it becomes the active window.
//  - showModal(): shows it and returns when it has been unloaded.
//  - unload(): runs onUnload and takes the window away; safe from inside the
//    window's own handlers and its own load (the backend destroys widgets
//    later, never on the spot).
//  - Setting the caption, size or colours of an unloaded window loads it.
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/draw_target.h"
#include "platform/ui/controls.h"

namespace ui {

class FormPeer;

class Form : public gfx::WindowTarget {
public:
    explicit Form(std::string className);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form() override;

    // The window's class name (Mainprog, selet, DNScrew ...).
    const std::string& className() const { return className_; }

    void load();
    void show();
    void showModal();
    void unload();
    bool isLoaded() const { return state_ == State::Loading || state_ == State::Loaded; }
    bool isVisible() const { return visible_; }
    bool isModal() const { return modal_; }

    // The main window holding the others as children.
    bool isMdiParent() const { return mdiParent_; }
    // A modeless window other than the main window is a child of it.
    bool isMdiChild() const;

    const std::string& caption();
    void setCaption(std::string caption);
    // Outer size in twips, whole pixels.
    Twips width();
    Twips height();
    void setWidth(Twips width);
    void setHeight(Twips height);
    void setSize(Twips width, Twips height);
    // The drawing area: the outer size less the frame, 8 pixels across and
    // 27 pixels down.
    Twips scaleWidth();
    Twips scaleHeight();
    void setBackColor(Color c) override;
    void setForeColor(Color c) override;
    // Erases the drawing (the controls stay).
    void cls() { clear(); }
    // Sloped lines of the drawing are shown smoothed on screen (charts);
    // off by default, where every line is one sharp pixel wide (drawings).
    bool smoothSlopes() const { return smoothSlopes_; }
    void setSmoothSlopes(bool on) { smoothSlopes_ = on; }
    // Shows the window as it is now, even while a long command holds the GUI
    // thread; no user input is handled meanwhile.
    void refresh();

    // The controls of the current load, in creation order.
    const std::vector<Control*>& controls() const { return created_; }
    Control* control(const std::string& name) const;
    // The menu bar, in order.
    const std::vector<MenuItem*>& menuBar() const { return menuBar_; }
    MenuItem* menu(const std::string& name) const;
    // The control with the focus, or null.
    Control* activeControl() const { return focus_; }
    // Focusable controls in tab order.
    std::vector<Control*> tabOrder() const;

    FormPeer* peer() const { return peer_.get(); }

    // Entry points of the user-input layer (platform/ui/input.h).
    void fireClick();
    void fireKeyPress(int& keyAscii);
    // Moves the focus to target (null: none). The control losing the focus
    // runs LostFocus first (held back while the focus is on controls that do
    // not cause validation); when it puts the focus back the move is
    // cancelled and false returned.
    bool moveFocus(Control* target);
    // Moves the focus to the next (or previous) control in tab order, as
    // the Tab key does.
    bool tabFocus(bool backwards);
    // The user resized the window.
    void userResize(Twips width, Twips height);

protected:
    // Creates the controls: called at every load, before onLoad.
    virtual void design() {}
    virtual void onLoad() {}
    virtual void onUnload() {}
    virtual void onActivate() {}
    virtual void onResize() {}
    virtual void onClick() {}
    virtual void onKeyPress(int& /*keyAscii*/) {}

    void setMdiParent(bool v) { mdiParent_ = v; }
    void drawingChanged() override;

private:
    bool smoothSlopes_ = false;
    friend class Control;
    friend class MenuItem;
    friend class Application;
    enum class State { Unloaded, Loading, Loaded };

    void registerControl(Control* c);
    void unregisterControl(Control* c);
    void controlCreated(Control* c);
    void addTopMenu(MenuItem* m);
    void changed(const Control* c, Property what);
    void ensureLoaded();
    void finishUnload();
    void resetControls();
    void applySize(int pixelsWide, int pixelsHigh);
    void fireActivate();
    void fireResize();
    void giveInitialFocus();
    void unloadSilently();

    std::string className_;
    State state_ = State::Unloaded;
    bool visible_ = false;
    bool modal_ = false;
    bool mdiParent_ = false;
    bool unloading_ = false;
    bool focusMoving_ = false;
    bool redirected_ = false;
    Control* redirect_ = nullptr;
    std::string caption_;
    int pixelsWide_ = 320, pixelsHigh_ = 240;
    std::vector<Control*> all_;      // every control member
    std::vector<Control*> created_;  // created by the current load
    std::vector<MenuItem*> menuBar_;
    Control* focus_ = nullptr;
    Control* unchecked_ = nullptr;  // left for a control that does not cause validation
    Control* initialFocus_ = nullptr;
    std::unique_ptr<FormPeer> peer_;
};

}  // namespace ui
