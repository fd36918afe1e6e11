#include <algorithm>
#include <string>
#include <vector>

#include "shell_fixture.h"

namespace {

using headless::Driver;

struct SplashClose {
    const char* name;
    std::function<void(Driver&)> action;
};

class SplashCloses : public ShellRun, public ::testing::WithParamInterface<SplashClose> {};

TEST_P(SplashCloses, EmptiesTheCodeThenSetsTheDirectories) {
    shared::ExtruderCategory = "LEFTOVER";
    bool mainShownFirst = false;
    std::string dirsDuringSplash = "unset";
    Mainprog& main = start([&](Driver& d) {
        mainShownFirst = ui::form<Mainprog>().isVisible();
        dirsDuringSplash = shared::AppDir;
        GetParam().action(d);
    });

    EXPECT_TRUE(mainShownFirst);
    EXPECT_EQ(dirsDuringSplash, "");
    EXPECT_FALSE(ui::form<logo>().isLoaded());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.caption(), "Velkor-Twin Screw Extruder");
    EXPECT_EQ(shared::ExtruderCategory, "");

    const std::string app = dir().string() + "/";
    EXPECT_EQ(shared::AppDir, app);
    EXPECT_EQ(shared::TempDir, app + "temp/");
    // Nothing else is set, and no file is written at start-up.
    EXPECT_EQ(shared::DieFile, "");
    EXPECT_EQ(shared::ExtruderFile, "");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir()))
        EXPECT_TRUE(entry.is_directory()) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    ThreeWays, SplashCloses,
    ::testing::Values(SplashClose{"ClickOnWindow", [](Driver& d) { d.clickForm(ui::form<logo>()); }},
                      SplashClose{"KeyPress", [](Driver& d) { d.pressKey(ui::form<logo>(), 'X'); }},
                      SplashClose{"ClickOnPicture", [](Driver& d) { d.click(ui::form<logo>().Image1); }}),
    [](const ::testing::TestParamInfo<SplashClose>& info) { return std::string(info.param.name); });

TEST_F(ShellRun, SplashShowsItsOwnPictureInsideItsFrame) {
    bool checked = false;
    start([&](Driver& d) {
        logo& splash = ui::form<logo>();
        const gfx::Picture& picture = splash.Image1.picture();
        ASSERT_FALSE(picture.empty());
        EXPECT_GT(picture.drawing.size(), 20u);
        bool hasText = false;
        for (const gfx::DrawOp& op : picture.drawing) {
            EXPECT_GE(std::min(op.x1, op.x2), 0.0f);
            EXPECT_GE(std::min(op.y1, op.y2), 0.0f);
            EXPECT_LE(std::max(op.x1, op.x2), picture.width);
            EXPECT_LE(std::max(op.y1, op.y2), picture.height);
            hasText = hasText || op.kind == gfx::OpKind::Text;
        }
        EXPECT_TRUE(hasText);
        EXPECT_EQ(splash.Image1.width(), splash.scaleWidth());
        checked = true;
        d.clickForm(splash);
    });
    EXPECT_TRUE(checked);
}

struct ExpectedMenu {
    std::string name, caption;
    bool enabled;
    std::vector<ExpectedMenu> items;
};

void expectMenu(const ui::MenuItem& m, const ExpectedMenu& want) {
    SCOPED_TRACE(want.name);
    EXPECT_EQ(m.name(), want.name);
    EXPECT_EQ(m.caption(), want.caption);
    EXPECT_EQ(m.enabled(), want.enabled);
    ASSERT_EQ(m.children().size(), want.items.size());
    for (std::size_t i = 0; i < want.items.size(); ++i) expectMenu(*m.children()[i], want.items[i]);
}

TEST_F(ShellRun, MenuBarIsExactlyTheTableWithItsStartStates) {
    Mainprog& main = start();
    const std::vector<ExpectedMenu> bar = {
        {"mnuFiles", "Files", true,
         {{"mnuExtchoose", "Select/Edit Extruder Category", true, {}},
          {"mnuSep1", "-", true, {}},
          {"mnuPsetup", "Printer Setup", true, {}},
          {"mnuSep2", "-", true, {}},
          {"mnuExit", "Exit", true, {}}}},
        {"mnuDesign", "Design/Edit", true,
         {{"mnuSdesign", "Screw Design/Edit", false,
           {{"mnuNscrew", "Design New Screw", true, {}}, {"mnuEscrew1", "Edit Existing Screw", true, {}}}},
          {"mnuBdesign", "Barrel Design/Edit", false,
           {{"mnuDbarrel", "Design New Barrel", true, {}}, {"mnuEbarrel", "Edit Existing Barrel", true, {}}}},
          {"mnuDdesign", "Die Design/Edit", false,
           {{"mnuDdie", "Design New Die", true, {}}, {"mnuEdie", "Edit Existing Die", true, {}}}},
          {"mnuSep3", "-", true, {}},
          {"mnuExtassem", "Extruder Assembly", false, {}}}},
        {"mnuSimul", "Simulation", true,
         {{"mnuExtspecify", "Specify Extruder", true, {}},
          {"mnuAnalyse", "Analyse Extruder", false, {}},
          {"mnuParameter", "Specify Parameter", false,
           {{"mnuNewparameter", "Specify New Parameters", true, {}},
            {"mnuOldparameters", "Retrive Old Parameters", true, {}}}},
          {"mnuSep5", "-", true, {}},
          {"mnuCalculation", "Calculation", false, {}}}},
        {"mnuDisplay", "Display", true,
         {{"mnuSdisplay", "Screw Display", true, {}},
          {"mnuBdiaplay", "Barrel Display", true, {}},
          {"mnuDdisplay", "Die Display", true, {}},
          {"mnuExtdisplay", "Extruder Display", true, {}},
          {"mnuPdisplay", "Profile Display", true, {}}}},
        {"mnuView", "View File", true,
         {{"mnuSview", "View Screw File", true, {}},
          {"mnuBview", "View Barrel File", true, {}},
          {"mnuDview", "View Die File", true, {}},
          {"mnuEview", "View Extruder File", true, {}},
          {"mnuRview", "View Result File", true, {}}}},
        {"mnuPrint", "Print File", true,
         {{"mnuSprint", "Print Screw File", true, {}},
          {"mnuBprint", "Print Barrel File", true, {}},
          {"mnuDprint", "Print Die File", true, {}},
          {"mnuExtprint", "Print Extruder File", true, {}},
          {"mnuRprint", "Print Result File", true, {}},
          {"mnuSep6", "-", true, {}},
          {"mnuRconvert", "Convert Result File", true, {}}}},
        {"mnuData", "Database", true,
         {{"mnuSbuild", "Build/Edit Screw Element", true, {}},
          {"mnuSep7", "-", true, {}},
          {"mnuKbuild", "Build/Edit Kneading Disk Element", true, {}},
          {"mnuSep8", "-", true, {}},
          {"mnuBbuild", "Build/Edit Barrel Element", true, {}}}},
    };
    ASSERT_EQ(main.menuBar().size(), bar.size());
    for (std::size_t i = 0; i < bar.size(); ++i) expectMenu(*main.menuBar()[i], bar[i]);
}

}  // namespace
