// Convert Result File as the user runs it: the text file compared byte for
// byte with the columns worked out by hand.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "report_fixture.h"

namespace {

using reporttest::blanks;

class Convert : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
    }
    // Chooses the result file, then the text file; `message`: the text of the
    // message box that follows.
    void convert(const std::string& result, const std::string& target, const std::string& message = {}) {
        session.script.chooseFile(result, ui::FileDialogKind::Open).chooseFile(target, ui::FileDialogKind::Save);
        if (!message.empty()) session.script.ok(message, "Convert file");
        choose("mnuRconvert");
        session.expectScriptDone();
    }
    static std::string crlf(const std::vector<std::string>& lines) {
        std::string s;
        for (const std::string& l : lines) s += l + "\r\n";
        return s;
    }
};

// R = 15 mm. Pressure: profile points 0..2 at 60, 66, 72 mm, the end of
// melting in element 3 beyond S (75 mm, 0), then element 4's start (90 mm).
// Temperature: element 1's start, its starvation point (7.5 mm; its start
// merged into row 1), element 2's start (30 mm), the profile points, element
// 4's start. Melting: the profile points. Residence time: the starts and
// starvation points of elements 1 to 4. Power: as temperature, with the
// profile points merged. Element 5 is used by no pair.
TEST_F(Convert, WritesTheFiveProfilesAsColumnPairs) {
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    convert(path("run.flw"), path("run.txt"));
    const std::vector<std::string> expected = {
        "60.00    1.00      0.00      151.00    60.00     1.00      0.00      0.10      0.00      0.50",
        "66.00    2.00      7.50      152.00    66.00     0.50      7.50      0.12      7.50      0.60",
        "72.00    3.00      30.00     152.00    72.00     0.00      30.00     0.20      30.00     1.00",
        "75.00    0.00      60.00     170.00                        60.00     0.30      60.00     2.00",
        "90.00    0.40      66.00     171.00                        75.00     0.36      66.00     3.00",
        "                   72.00     172.00                        90.00     0.40      72.00     4.00",
        "                   90.00     154.00                                            90.00     2.00",
        blanks(79), blanks(79), blanks(79), blanks(79), blanks(79), blanks(79),
    };
    EXPECT_EQ(reporttest::fileText(path("run.txt")), crlf(expected));
    EXPECT_EQ(shared::ResultFile, path("run.flw"));
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    ASSERT_EQ(shared::PortRecords.count(), 2);
    EXPECT_EQ(shared::PortRecords.at(2).FlowRate, 20.0f);
    EXPECT_TRUE(session.backend.messages().empty());
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "*.txt");
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "Converted Result Files|*.txt|All files|*.*");
}

// Four elements at 0, 30, 60, 90 mm with starvation points 0.00005, 0.5, 0,
// 0; melting starts and ends in element 2 (S = 0.25); one profile row (M = 0).
// Element 1's tiny starvation point (0.00075 mm) is a point of the
// temperature profile only. Element 3's pressure of 1E7 fills columns 10 to
// 20, so the temperature pair goes to column 20 of a new line. A line whose
// power pair is blank ends with blanks to column 79.
TEST_F(Convert, WithoutMeltingProfileAndWithAValueRunningIntoTheNextColumn) {
    records::ResultData d = reporttest::sampleResult();
    d.elements.resize(4);
    d.elements[0].StarvationPoint = 0.00005f;
    d.elements[1].StarvationPoint = 0.5f;
    d.elements[2].StarvationPoint = 0.0f;
    d.elements[2].PressureStart = 1.0e7f;
    d.header.RunConditions.MeltEndElement = 2;
    d.runState.MeltStartElement = 2;
    d.runState.MeltEndElement = 2;
    d.runState.MeltEndPosition = 0.25f;
    d.runState.LastProfileRow = 0;
    d.profile.resize(1);
    reporttest::writeResult(path("dry.flw"), d);
    convert(path("dry.flw"), path("dry.txt"));
    const std::vector<std::string> expected = {
        "37.50    0.00      0.00      151.00    0.00      0.00      0.00      0.10      0.00      0.50",
        "60.00    10000000.00",
        blanks(19) + "0.00      152.00" + blanks(24) + "30.00     0.20      60.00     1.50",
        blanks(19) + "60.00     153.00" + blanks(24) + "37.50     0.24" + blanks(6),
        blanks(59) + "60.00     0.30" + blanks(6),
        blanks(79), blanks(79), blanks(79), blanks(79), blanks(79),
    };
    EXPECT_EQ(reporttest::fileText(path("dry.txt")), crlf(expected));
}

TEST_F(Convert, ATargetThatCannotBeWrittenIsReported) {
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    // A missing folder, a folder, a name longer than the file system takes.
    std::filesystem::create_directory(path("runs.txt"));
    const std::vector<std::string> targets = {path("no-such-folder/run.txt"), path("runs.txt"),
                                              path(std::string(300, 'x') + ".txt")};
    for (const std::string& target : targets) convert(path("run.flw"), target, "Could not write " + target + ".");
    EXPECT_FALSE(std::filesystem::exists(path("no-such-folder")));
    EXPECT_TRUE(std::filesystem::is_directory(path("runs.txt")));

    // The pattern handed back by a cancelled save dialog ends quietly.
    session.script.chooseFile(path("run.flw")).cancelFile(ui::FileDialogKind::Save);
    choose("mnuRconvert");
    session.expectScriptDone();
    EXPECT_FALSE(std::filesystem::exists(path("*.txt")));
    EXPECT_EQ(session.backend.messages().size(), targets.size());
}

TEST_F(Convert, AReadOnlyTargetKeepsItsOlderFile) {
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    io::replaceFileContents(path("old.txt"), std::string("old export\r\n"));
    ASSERT_EQ(chmod(path("old.txt").c_str(), 0444), 0);
    session.script.chooseFile(path("run.flw")).chooseFile(path("old.txt")).yes();
    session.script.ok("Could not write " + path("old.txt") + ".", "Convert file");
    choose("mnuRconvert");
    session.expectScriptDone();
    EXPECT_EQ(reporttest::fileText(path("old.txt")), "old export\r\n");
}

}  // namespace
