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
#include "shell/state.h"

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

struct ExpectedItem {
    const char* name;
    bool enabled;
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
                const std::vector<std::pair<const char*, std::vector<ExpectedItem>>> bar = {
                    {"Files", {{"mnuExtchoose", true}, {"mnuSep1", true}, {"mnuPsetup", true},
                               {"mnuSep2", true}, {"mnuExit", true}}},
                    {"Design/Edit", {{"mnuSdesign", false}, {"mnuBdesign", false}, {"mnuDdesign", false},
                                     {"mnuSep3", true}, {"mnuExtassem", false}}},
                    {"Simulation", {{"mnuExtspecify", true}, {"mnuAnalyse", false}, {"mnuParameter", false},
                                    {"mnuSep5", true}, {"mnuCalculation", false}}},
                    {"Display", {{"mnuSdisplay", true}, {"mnuBdiaplay", true}, {"mnuDdisplay", true},
                                 {"mnuExtdisplay", true}, {"mnuPdisplay", true}}},
                    {"View File", {{"mnuSview", true}, {"mnuBview", true}, {"mnuDview", true},
                                   {"mnuEview", true}, {"mnuRview", true}}},
                    {"Print File", {{"mnuSprint", true}, {"mnuBprint", true}, {"mnuDprint", true},
                                    {"mnuExtprint", true}, {"mnuRprint", true}, {"mnuSep6", true},
                                    {"mnuRconvert", true}}},
                    {"Database", {{"mnuSbuild", true}, {"mnuSep7", true}, {"mnuKbuild", true},
                                  {"mnuSep8", true}, {"mnuBbuild", true}}},
                };
                QList<QAction*> tops = window->menuBar()->actions();
                EXPECT_EQ(tops.size(), static_cast<int>(bar.size()));
                for (int i = 0; i < tops.size() && i < static_cast<int>(bar.size()); ++i) {
                    SCOPED_TRACE(bar[static_cast<std::size_t>(i)].first);
                    EXPECT_EQ(tops[i]->text().toStdString(), bar[static_cast<std::size_t>(i)].first);
                    EXPECT_NE(tops[i]->menu(), nullptr);
                    if (!tops[i]->menu()) continue;
                    QList<QAction*> items = tops[i]->menu()->actions();
                    const auto& expected = bar[static_cast<std::size_t>(i)].second;
                    EXPECT_EQ(items.size(), static_cast<int>(expected.size()));
                    for (int j = 0; j < items.size() && j < static_cast<int>(expected.size()); ++j) {
                        const ExpectedItem& e = expected[static_cast<std::size_t>(j)];
                        SCOPED_TRACE(e.name);
                        ui::MenuItem* item = main.menu(e.name);
                        EXPECT_NE(item, nullptr);
                        if (!item) continue;
                        EXPECT_EQ(backend.actionOf(*item), items[j]);
                        if (item->separator()) {
                            EXPECT_TRUE(items[j]->isSeparator());
                        } else {
                            EXPECT_EQ(items[j]->text().toStdString(), item->caption());
                            EXPECT_EQ(items[j]->isEnabled(), e.enabled);
                        }
                    }
                }
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
        QTimer::singleShot(20000, [&] { ADD_FAILURE() << "timed out at step " << steps.reached(); std::abort(); });

        ui::app().run(ui::form<Mainprog>());

        EXPECT_TRUE(steps.done());
        EXPECT_TRUE(splashSeen);
        EXPECT_TRUE(mainShownUnderSplash);
        EXPECT_EQ(shared::ExtruderCategory, "");
        EXPECT_EQ(shared::AppDir, dir.string() + "\\");
        ui::app().reset();
    }
    EXPECT_TRUE(exited);
    shared::resetSharedState();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

}  // namespace
