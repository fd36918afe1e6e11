// The program on the desktop backend (offscreen): start-up with the splash,
// the main window's menu bar, a menu command, and Exit.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalog/selet.h"
#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "shell/logo.h"
#include "shell/mainprog.h"
#include "state/state.h"

namespace {

void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// Runs the steps one after another from the event loop; each step returns
// true once it is done (false: try again a little later).
class Steps {
public:
    explicit Steps(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (next_ < steps_.size() && steps_[next_]()) ++next_;
            if (next_ == steps_.size()) timer_.stop();
        });
        timer_.start(10);
    }
    bool done() const { return next_ == steps_.size(); }
    std::size_t reached() const { return next_; }

private:
    std::vector<std::function<bool()>> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

TEST(Program, StartsWithTheSplashShowsTheMenuBarRunsACommandAndExits) {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkor-shell-qt-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;

    shared::resetSharedState();
    bool exited = false;
    {
        qtui::Backend backend;
        backend.setExitHandler([&] { exited = true; });
        ui::app().setAppDir(dir);

        bool splashSeen = false, mainShownUnderSplash = false;
        Steps steps({
            [&] {
                logo& splash = ui::form<logo>();
                if (!splash.isLoaded() || !backend.widgetOf(splash.Image1)) return false;
                splashSeen = backend.windowOf(splash) && backend.windowOf(splash)->isVisible();
                mainShownUnderSplash = ui::form<Mainprog>().isVisible();
                // The desktop may tell the main window of its activation at
                // any time while the splash is up, before or after the code
                // below is set: the window behind the splash takes none, so
                // the design menus stay disabled whenever it comes.
                QEvent activated(QEvent::WindowActivate);
                QApplication::sendEvent(backend.windowOf(ui::form<Mainprog>()), &activated);
                shared::ExtruderCategory = "LEFTOVER";
                click(backend.widgetOf(splash.Image1));
                return true;
            },
            [&] { return !ui::form<logo>().isLoaded() && !shared::AppDir.empty(); },
            [&] {
                Mainprog& main = ui::form<Mainprog>();
                auto* window = qobject_cast<QMainWindow*>(backend.windowOf(main));
                EXPECT_NE(window, nullptr);
                if (!window) return true;
                EXPECT_EQ(window->windowTitle().toStdString(), "Velkor-Twin Screw Extruder");
                // The menu bar on the desktop mirrors the main window's menus
                // item for item (their exact table is checked headless); the
                // items that start disabled are disabled there too.
                QList<QAction*> tops = window->menuBar()->actions();
                EXPECT_EQ(tops.size(), static_cast<int>(main.menuBar().size()));
                for (int i = 0; i < tops.size() && i < static_cast<int>(main.menuBar().size()); ++i) {
                    const ui::MenuItem& top = *main.menuBar()[static_cast<std::size_t>(i)];
                    SCOPED_TRACE(top.name());
                    EXPECT_EQ(tops[i]->text().toStdString(), top.caption());
                    EXPECT_NE(tops[i]->menu(), nullptr);
                    if (!tops[i]->menu()) continue;
                    QList<QAction*> items = tops[i]->menu()->actions();
                    EXPECT_EQ(items.size(), static_cast<int>(top.children().size()));
                    for (int j = 0; j < items.size() && j < static_cast<int>(top.children().size()); ++j) {
                        const ui::MenuItem& item = *top.children()[static_cast<std::size_t>(j)];
                        SCOPED_TRACE(item.name());
                        EXPECT_EQ(backend.actionOf(item), items[j]);
                        if (item.separator()) {
                            EXPECT_TRUE(items[j]->isSeparator());
                        } else {
                            EXPECT_EQ(items[j]->text().toStdString(), item.caption());
                            EXPECT_EQ(items[j]->isEnabled(), item.enabled());
                        }
                    }
                }
                for (const char* name : {"mnuSdesign", "mnuBdesign", "mnuDdesign", "mnuExtassem", "mnuAnalyse",
                                         "mnuParameter", "mnuCalculation"}) {
                    ui::MenuItem* item = main.menu(name);
                    EXPECT_TRUE(item && backend.actionOf(*item) && !backend.actionOf(*item)->isEnabled()) << name;
                }
                EXPECT_TRUE(backend.actionOf(main.mnuSbuild)->isEnabled());
                // Files, Select/Edit Extruder Category: the catalog opens as a child window.
                backend.actionOf(main.mnuExtchoose)->trigger();
                return true;
            },
            [&] {
                selet& catalog = ui::form<selet>();
                if (!catalog.isVisible()) return false;
                auto* sub = qobject_cast<QMdiSubWindow*>(backend.windowOf(catalog));
                EXPECT_NE(sub, nullptr);
                EXPECT_TRUE(backend.mdiArea()->subWindowList().contains(sub));
                backend.actionOf(ui::form<Mainprog>().mnuExit)->trigger();
                return true;
            },
        });
        // Each step waits for what it needs, however long a busy machine
        // takes; only a program that hangs meets this guard, which names the
        // step before the test runner's own limit ends the test unexplained.
        QTimer::singleShot(300000, [&] { ADD_FAILURE() << "hangs at step " << steps.reached(); std::abort(); });

        ui::app().run(ui::form<Mainprog>());

        EXPECT_TRUE(steps.done());
        EXPECT_TRUE(splashSeen);
        EXPECT_TRUE(mainShownUnderSplash);
        EXPECT_EQ(shared::ExtruderCategory, "");
        EXPECT_EQ(shared::AppDir, dir.string() + "/");
        ui::app().reset();
    }
    EXPECT_TRUE(exited);
    shared::resetSharedState();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

}  // namespace
