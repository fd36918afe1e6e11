// Window lifecycle: default instances, load/show/unload rules, event order,
// sizes, modal windows, activation of the main window, the end of the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"

namespace {

std::vector<std::string> events;

struct Child : ui::Form {
    Child() : Form("child") {}
    int loads = 0;            // a field of the window object: survives unload
    bool unloadInLoad = false;
    bool failInLoad = false;
    ui::CommandButton Command1{*this, "Command1"};

    void design() override {
        setCaption("Child");
        Command1.create(120, 120, 975, 375, "Close");
        Command1.onClick = [this] {
            events.push_back("Command1_Click");
            unload();
            // The handler goes on after its window was unloaded.
            events.push_back("after unload");
        };
    }
    void onLoad() override {
        ++loads;
        events.push_back("Load");
        if (failInLoad) rt::raise(rt::kFileNotFound, "x.srw");
        if (unloadInLoad) unload();
    }
    void onUnload() override { events.push_back("Unload"); }
    void onResize() override { events.push_back("Resize"); }
    void onActivate() override { events.push_back("Activate"); }
};

struct Other : ui::Form {
    Other() : Form("other") {}
    void onActivate() override { events.push_back("other Activate"); }
};

struct Main : ui::Form {
    Main() : Form("Mainprog") { setMdiParent(true); }
    int activations = 0;
    void onActivate() override {
        ++activations;
        events.push_back("main Activate");
    }
};

struct Splash : ui::Form {
    Splash() : Form("logo") {}
    ui::Image Image1{*this, "Image1"};
    void design() override {
        Image1.create(0, 0, 3000, 2000);
        Image1.onClick = [this] { unload(); };
    }
    void onKeyPress(int&) override { unload(); }
};

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    headless::Session s;
};

TEST_F(Lifecycle, DefaultInstanceIsCreatedOnceAndKeepsItsFieldsOverUnload) {
    Child& a = ui::form<Child>();
    EXPECT_EQ(&a, &ui::form<Child>());
    EXPECT_FALSE(a.isLoaded());
    a.show();
    a.unload();
    a.show();
    EXPECT_EQ(a.loads, 2);
    EXPECT_EQ(&a, &ui::form<Child>());
}

TEST_F(Lifecycle, ShowRunsLoadResizeActivateOnceAndAgainOnlyBringsToFront) {
    Child& c = ui::form<Child>();
    c.show();
    EXPECT_EQ(events, (std::vector<std::string>{"Load", "Resize", "Activate"}));
    ui::form<Other>().show();
    events.clear();
    c.show();  // loaded: no second load, only activation
    EXPECT_EQ(events, (std::vector<std::string>{"Activate"}));
    EXPECT_EQ(ui::app().activeForm(), &c);
}

TEST_F(Lifecycle, SettingASizeLoadsTheWindowAndResizeFiresOnlyWhileShown) {
    Child& c = ui::form<Child>();
    c.setWidth(10000);
    EXPECT_TRUE(c.isLoaded());
    EXPECT_FALSE(c.isVisible());
    c.setHeight(3000);
    EXPECT_EQ(events, (std::vector<std::string>{"Load"}));
    c.show();
    events.clear();
    c.setWidth(8000);
    EXPECT_EQ(events, (std::vector<std::string>{"Resize"}));
    events.clear();
    c.setWidth(8000);  // no change, no event
    s.driver.resize(c, 9000, 4000);
    EXPECT_EQ(events, (std::vector<std::string>{"Resize"}));
}

TEST_F(Lifecycle, SizesAreWholePixelsAndTheDrawingAreaExcludesTheFrame) {
    Child& c = ui::form<Child>();
    c.setSize(10000, 3000);
    EXPECT_FLOAT_EQ(c.width(), 10005);  // 667 pixels
    EXPECT_FLOAT_EQ(c.height(), 3000);
    EXPECT_FLOAT_EQ(c.scaleWidth(), 9885);
    EXPECT_FLOAT_EQ(c.scaleHeight(), 3000 - 27 * 15);
    c.setSize(10785, 7215);
    EXPECT_FLOAT_EQ(c.width(), 10785);
    EXPECT_FLOAT_EQ(c.scaleWidth(), 10785 - 120);
    c.setWidth(-5);  // never below the frame
    EXPECT_FLOAT_EQ(c.scaleWidth(), 0);
}

TEST_F(Lifecycle, UnloadInsideItsOwnLoadLeavesTheWindowUnloadedAndUnshown) {
    Child& c = ui::form<Child>();
    c.unloadInLoad = true;
    c.show();
    EXPECT_FALSE(c.isLoaded());
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"Load", "Unload"}));
}

TEST_F(Lifecycle, UnloadInsideAHandlerLetsTheHandlerFinish) {
    Child& c = ui::form<Child>();
    c.show();
    events.clear();
    s.driver.click(c.Command1);
    EXPECT_FALSE(c.isLoaded());
    EXPECT_EQ(events, (std::vector<std::string>{"Command1_Click", "Unload", "after unload"}));
    EXPECT_THROW(s.driver.click(c.Command1), headless::ScriptError);  // gone with its window
}

TEST_F(Lifecycle, AnErrorInTheLoadReachesTheCallerAndLeavesTheWindowUnloaded) {
    Child& c = ui::form<Child>();
    c.failInLoad = true;
    bool ended = !ui::endQuietly([&] { c.show(); });
    EXPECT_TRUE(ended);
    EXPECT_FALSE(c.isLoaded());
    c.failInLoad = false;
    c.show();
    EXPECT_TRUE(c.isVisible());
}

TEST_F(Lifecycle, ModalWindowRunsItsScriptAndTheMainWindowIsActivatedAfterwards) {
    Main& m = ui::form<Main>();
    m.show();
    // The main window behind the modal one takes no activation while it runs.
    s.script.modal("logo", [&](headless::Driver& d) {
        d.activate(m);
        EXPECT_EQ(ui::app().activeForm(), &ui::form<Splash>());
        d.pressKey(ui::form<Splash>(), 'A');
    });
    events.clear();
    ui::form<Splash>().showModal();
    EXPECT_FALSE(ui::form<Splash>().isLoaded());
    EXPECT_EQ(events, (std::vector<std::string>{"main Activate"}));
    EXPECT_EQ(ui::app().activeForm(), &m);

    // A modal window the script does not expect fails the test.
    EXPECT_THROW(ui::form<Splash>().showModal(), headless::ScriptError);
    // One that the actions leave open fails it too.
    s.script.modal("logo", [](headless::Driver&) {});
    EXPECT_THROW(ui::form<Splash>().showModal(), headless::ScriptError);
}

TEST_F(Lifecycle, ChildWindowsActivateTheMainWindowWhenTheyUnload) {
    Main& m = ui::form<Main>();
    m.show();
    Child& c = ui::form<Child>();
    ui::form<Other>().show();
    c.show();
    EXPECT_TRUE(c.isMdiChild());
    EXPECT_EQ(ui::app().activeForm(), &c);
    events.clear();
    s.driver.closeBox(c);
    // The other child becomes the active one, and the main window counts as activated.
    EXPECT_EQ(events, (std::vector<std::string>{"Unload", "other Activate", "main Activate"}));
    EXPECT_EQ(ui::app().activeForm(), &ui::form<Other>());
    events.clear();
    s.driver.closeBox(ui::form<Other>());
    EXPECT_EQ(events, (std::vector<std::string>{"main Activate"}));
    EXPECT_EQ(ui::app().activeForm(), &m);
}

TEST_F(Lifecycle, EndTakesEveryWindowAwayWithoutItsClosingLogic) {
    Main& m = ui::form<Main>();
    m.show();
    ui::form<Child>().show();
    events.clear();
    bool after = false;
    ui::app().dispatch([&] {
        ui::app().end();
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_TRUE(s.backend.exited());
    EXPECT_FALSE(m.isLoaded());
    EXPECT_FALSE(ui::form<Child>().isLoaded());
    EXPECT_TRUE(events.empty());  // no Unload ran
}

}  // namespace
