#pragma once
// The Qt mirror of one loaded window: its outer window, its drawing area,
// one widget per control and one action per menu item. It follows the core's
// state (FormPeer::changed) and reports what the user does as queued input.
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/qt/qt_backend.h"
#include "platform/ui/backend.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class QAction;
class QEventLoop;
class QKeyEvent;
class QLineEdit;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace qtui {

class FormPeer;

// A window's drawing area: its back colour, its retained drawing, and the
// controls placed on it.
class Surface : public QWidget {
public:
    Surface(FormPeer& peer, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FormPeer& peer_;
};

// A static rectangle or oval.
class ShapeWidget : public QWidget {
public:
    ShapeWidget(const ui::Shape& shape, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ui::Shape& shape_;
};

// A static line; the widget covers the line's bounding box.
class LineWidget : public QWidget {
public:
    LineWidget(const ui::LineControl& line, QWidget* parent);
    // The widget's place for the line's points, in pixels of its parent.
    QRect placement() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ui::LineControl& line_;
};

// A list box. Qt makes the first item current when a list gets the focus;
// while none is chosen (ListIndex -1) no item may look chosen, so the list
// then keeps no current item and shows its focus around the whole list.
class ListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Watches the widgets of one window for user input.
class InputFilter : public QObject {
public:
    explicit InputFilter(FormPeer& peer) : peer_(peer) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FormPeer& peer_;
};

class FormPeer final : public ui::FormPeer {
public:
    FormPeer(Backend& backend, ui::Form& form);
    ~FormPeer() override;
    FormPeer(const FormPeer&) = delete;
    FormPeer& operator=(const FormPeer&) = delete;

    void changed(const ui::Control* control, ui::Property what) override;
    void show() override;
    void activate() override;

    // The window was unloaded: hide it, stop reporting input, end its modal
    // loop, and have its widgets deleted once Qt is done with them.
    void detach();
    bool detached() const { return !*alive_; }
    // True once the widgets are gone.
    bool gone() const { return window_.isNull(); }

    ui::Form& form() const { return form_; }
    bool isMain() const { return main_ != nullptr; }
    QWidget* window() const { return window_.data(); }
    Surface* surface() const { return surface_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QMdiSubWindow* subWindow() const { return sub_; }
    QWidget* widgetOf(const ui::Control* control) const;
    QAction* actionOf(const ui::MenuItem* item) const;
    void setModalLoop(QEventLoop* loop) { modalLoop_ = loop; }

    // Brings pending widget updates (grid cells) up to date.
    void syncPending();

    // Input, as seen by the filter.
    bool filter(QObject* watched, QEvent* event);

private:
    friend class Surface;
    void buildWindow();
    void buildControls();
    void createControl(ui::Control* control);
    void applyControl(ui::Control* control, ui::Property what);
    void applyGeometry(ui::Control* control);
    void applyItems(ui::Control* control);
    void applyGrid(ui::Control* control, bool cells);
    QWidget* parentFor(const ui::Control* control);
    void rebuildMenus();
    void addMenuItems(QMenu* menu, ui::MenuItem* item);
    void applyWindowGeometry();
    void placeChild();
    void applyBackColor();
    // Gives Qt's focus to the control that has it in the program. When the
    // program moved it there (moved), a text or combo box shows its whole
    // text selected, unless a click of the user put it there.
    void syncFocus(bool moved);
    QLineEdit* lineEditOf(ui::Control* control) const;
    void selectWhole(ui::Control* control);
    void typeInto(ui::Control* control, char c);
    void focusByClick(ui::Control* control);
    void mirrorText(ui::Control* control);
    void reportResize(QSize client);
    void watch(QObject* object, ui::Control* control);
    bool keyPressed(ui::Control* control, QObject* watched, QKeyEvent* key);
    void post(std::function<void()> action);
    QSize clientSize();

    Backend& backend_;
    ui::Form& form_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QPointer<QWidget> window_;        // the outer window
    QMainWindow* main_ = nullptr;     // main window
    QMdiArea* mdi_ = nullptr;
    QMdiSubWindow* sub_ = nullptr;    // MDI child
    QWidget* frame_ = nullptr;        // the window's content: menu bar and surface
    QMenuBar* menuBar_ = nullptr;
    Surface* surface_ = nullptr;
    std::unique_ptr<InputFilter> filter_;
    std::unordered_map<const ui::Control*, QWidget*> widgets_;
    std::unordered_map<QObject*, ui::Control*> watched_;
    std::unordered_map<const ui::MenuItem*, QAction*> actions_;
    std::vector<QMenu*> menus_;
    std::unordered_set<ui::Control*> pendingGrids_;
    bool pendingScheduled_ = false;
    bool replaying_ = false;
    bool placed_ = false;                     // a child window opened once
    ui::Control* pointerFocus_ = nullptr;     // the box a click is giving the focus to
    ui::Control* mirroring_ = nullptr;        // the box whose own edit the core is told of
    QEventLoop* modalLoop_ = nullptr;
};

// VB-style key codes of a Qt key, 0 when the key has none.
int keyCodeOf(int qtKey);
int shiftStateOf(Qt::KeyboardModifiers modifiers);

}  // namespace qtui
