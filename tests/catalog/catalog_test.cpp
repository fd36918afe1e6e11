// The catalog as the user works it: series and codes added, chosen,
// deleted and renamed, and what maincat.dat / maincode.dat hold afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "catalog/adet.h"
#include "catalog/catalog_files.h"
#include "catalog/selet.h"
#include "catalog_fixture.h"
#include "platform/rt/text.h"

namespace {

class Catalog : public AppDirRun {
protected:
    selet& sel = ui::form<selet>();
    adet& add = ui::form<adet>();

    // Lays down series names and (series, code) pairs as the windows store them.
    void file(const std::vector<std::string>& series, const std::vector<std::pair<std::string, std::string>>& codes) {
        std::vector<records::CatalogSeriesRec> s;
        for (const auto& n : series) s.push_back({records::FixedText<64>(n)});
        catalog::writeSeriesTable(catalog::seriesFilePath(), s);
        std::vector<records::CatalogCodeRec> c;
        for (const auto& [ser, code] : codes) c.push_back({records::FixedText<64>(ser), records::FixedText<8>(code)});
        catalog::writeCodeTable(catalog::codeFilePath(), c);
    }
    // The (series, code) pairs of maincode.dat, trimmed.
    std::vector<std::pair<std::string, std::string>> codeFile() {
        std::vector<std::pair<std::string, std::string>> out;
        auto b = bytes("maincode.dat");
        for (std::size_t o = 0; o + 72 <= b.size(); o += 72)
            out.emplace_back(rt::trim(text(b, o, 64)), rt::trim(text(b, o + 64, 8)));
        return out;
    }
    std::vector<std::string> seriesFile() {
        std::vector<std::string> out;
        auto b = bytes("maincat.dat");
        for (std::size_t o = 0; o + 64 <= b.size(); o += 64) out.push_back(rt::trim(text(b, o, 64)));
        return out;
    }
    void openCatalog() {
        sel.show();
        ASSERT_TRUE(sel.isVisible());
    }
    void pickSeries(const std::string& name) {
        for (int i = 0; i < sel.Combo1.listCount(); ++i) {
            if (rt::trim(sel.Combo1.list(i)) == name) {
                driver.pickItem(sel.Combo1, i);
                return;
            }
        }
        FAIL() << "no series " << name;
    }
    void pickCode(const std::string& code) {
        for (int i = 0; i < sel.List1.listCount(); ++i) {
            if (rt::trim(sel.List1.list(i)) == code) {
                driver.selectItem(sel.List1, i);
                return;
            }
        }
        FAIL() << "no code " << code;
    }
    std::vector<std::string> listedCodes() {
        std::vector<std::string> out;
        for (const auto& item : sel.List1.items()) out.push_back(item);
        return out;
    }
};

TEST_F(Catalog, WindowsCarryTheirCaptions) {
    openCatalog();
    EXPECT_EQ(sel.caption(), "Select Extruder");
    EXPECT_EQ(sel.Label1.caption(), "Extruder Series :");
    EXPECT_EQ(sel.Label2.caption(), "Extruder Codes:");
    const std::vector<std::pair<ui::CommandButton*, std::string>> buttons = {
        {&sel.Command1, "Select"},      {&sel.Command2, "Add Extruder"}, {&sel.Command3, "Delete Extruder"},
        {&sel.Command4, "Edit Extruder"}, {&sel.Command5, "Add Series"}, {&sel.Command6, "Delete Series"},
        {&sel.Command7, "Edit Series"}, {&sel.Command8, "Close"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->caption(), caption) << b->name();
    driver.click(sel.Command2);
    EXPECT_FALSE(sel.isLoaded());
    ASSERT_TRUE(add.isVisible());
    EXPECT_EQ(add.caption(), "Add Extruder");
    EXPECT_EQ(add.Label1.caption(), "Extruder Series :");
    EXPECT_EQ(add.Label2.caption(), "Extruder Code :");
    EXPECT_EQ(add.Command1.caption(), "Accept");
    EXPECT_EQ(add.Command2.caption(), "Cancel");
    EXPECT_TRUE(add.Text1.created());
    EXPECT_EQ(add.Combo1.text(), "");
}

TEST_F(Catalog, EmptyFilesListOneBlankEntryAndNoCodes) {
    openCatalog();
    ASSERT_EQ(sel.Combo1.listCount(), 1);
    EXPECT_EQ(sel.Combo1.list(0), "");
    EXPECT_EQ(sel.List1.listCount(), 0);
    driver.pickItem(sel.Combo1, 0);
    EXPECT_EQ(sel.List1.listCount(), 0);
    // Opening creates the files empty and writes nothing.
    EXPECT_TRUE(exists("maincat.dat"));
    EXPECT_TRUE(bytes("maincat.dat").empty());
    EXPECT_TRUE(bytes("maincode.dat").empty());

    driver.click(sel.Command2);
    EXPECT_EQ(add.Combo1.listCount(), 1);
}

TEST_F(Catalog, WholeRoadFromEmptyFiles) {
    openCatalog();
    // The first series of an empty file becomes record 2; record 1 stays zero.
    script.input("twin", "Input New Series Name", "Add Extruder Series");
    driver.click(sel.Command5);
    auto cat = bytes("maincat.dat");
    ASSERT_EQ(cat.size(), 128u);
    EXPECT_EQ(text(cat, 0, 64), std::string(64, '\0'));
    EXPECT_EQ(text(cat, 64, 64), padded("TWIN", 64));
    ASSERT_EQ(sel.Combo1.listCount(), 2);
    EXPECT_EQ(sel.Combo1.list(1), padded("TWIN", 64));

    // Add Extruder closes the catalog; Accept adds the code and brings it back.
    pickSeries("TWIN");
    driver.click(sel.Command2);
    ASSERT_TRUE(add.isVisible());
    driver.pickItem(add.Combo1, 1);
    driver.typeText(add.Text1, "zx40");
    driver.click(add.Command1);
    EXPECT_FALSE(add.isLoaded());
    ASSERT_TRUE(sel.isVisible());
    auto code = bytes("maincode.dat");
    ASSERT_EQ(code.size(), 72u);  // the first code is record 1
    EXPECT_EQ(text(code, 0, 64), padded("TWIN", 64));
    EXPECT_EQ(text(code, 64, 8), "ZX40    ");

    // Select sets the current code, trimmed, and closes the catalog.
    EXPECT_EQ(sel.List1.listCount(), 0);  // loaded afresh: no series chosen
    pickSeries("TWIN");
    EXPECT_EQ(listedCodes(), std::vector<std::string>{"ZX40    "});
    driver.selectItem(sel.List1, 0);
    script.ok("Current Extruder Code is ZX40 !", "Select extruder");
    driver.click(sel.Command1);
    session.expectScriptDone();
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");
    EXPECT_FALSE(sel.isLoaded());

    // Double-click selects too.
    openCatalog();
    pickSeries("TWIN");
    script.ok("Current Extruder Code is ZX40 !", "Select extruder");
    driver.doubleClickItem(sel.List1, 0);
    EXPECT_FALSE(sel.isLoaded());

    // The empty entry left by the first Add Series can be deleted.
    openCatalog();
    driver.pickItem(sel.Combo1, 0);
    EXPECT_EQ(sel.List1.listCount(), 0);
    driver.click(sel.Command6);
    EXPECT_EQ(bytes("maincat.dat").size(), 64u);
    EXPECT_EQ(sel.Combo1.list(0), padded("TWIN", 64));
}

TEST_F(Catalog, MissingChoicesAreAnsweredAndChangeNothing) {
    file({"A", "B"}, {{"A", "X1"}});
    auto cat = bytes("maincat.dat"), code = bytes("maincode.dat");
    openCatalog();
    script.ok("Select Extruder Code please!", "Select Extruder");
    driver.click(sel.Command1);
    script.ok("Select Extruder Code!", "Delete Extruder code");
    driver.click(sel.Command3);
    script.ok("Select Extruder Code!", "Edit Extruder code");
    driver.click(sel.Command4);
    script.ok("You must select Extruder Series!", "Delete Extruder Series");
    driver.click(sel.Command6);
    script.ok("You must select Extruder Series!", "Edit Extruder Series");
    driver.click(sel.Command7);
    script.cancelInput("Input New Series Name", "Add Extruder Series");
    script.ok("You must input New Series Name", "Add Series");
    driver.click(sel.Command5);
    pickSeries("A");
    pickCode("X1");
    script.cancelInput("Input New Name", "Edit Extruder Code");
    script.ok("You must input New Name", ui::app().title());
    driver.click(sel.Command4);
    script.input("", "Input New Series Name", "Edit Extruder Code");
    script.ok("You must input New Series Name", ui::app().title());
    driver.click(sel.Command7);
    script.no("Is delete this Extruder Code?", "Delete code");
    driver.click(sel.Command3);
    session.expectScriptDone();
    for (const auto& m : session.backend.messages()) EXPECT_EQ(m.request.icon, ui::kNoIcon);
    EXPECT_EQ(shared::ExtruderCategory, "");
    EXPECT_EQ(bytes("maincat.dat"), cat);
    EXPECT_EQ(bytes("maincode.dat"), code);

    // Close leaves the files as they are.
    driver.click(sel.Command8);
    EXPECT_FALSE(sel.isLoaded());
    EXPECT_EQ(bytes("maincode.dat"), code);
}

TEST_F(Catalog, AcceptRefusesDuplicatesAcrossSeriesAndMissingInput) {
    file({"A", "B"}, {{"A", "X1"}});
    auto code = bytes("maincode.dat");
    openCatalog();
    driver.click(sel.Command2);
    script.ok("Input Extruder code please!", "Add Extruder Category");
    driver.click(add.Command1);
    driver.typeText(add.Text1, "x1");
    script.ok("Input Select Extruder series!", "Add Extruder Category");
    driver.click(add.Command1);
    driver.pickItem(add.Combo1, 1);  // series B: X1 lives under A
    script.ok("This Extruder Code is Exist!", "Add Extruder code");
    driver.click(add.Command1);
    session.expectScriptDone();
    EXPECT_TRUE(add.isVisible());
    EXPECT_EQ(bytes("maincode.dat"), code);

    // Cancel goes back to the catalog and writes nothing.
    driver.click(add.Command2);
    EXPECT_FALSE(add.isLoaded());
    EXPECT_TRUE(sel.isVisible());
    EXPECT_EQ(bytes("maincode.dat"), code);
}

TEST_F(Catalog, StoredFormOfTypedCodes) {
    file({"A"}, {{"A", "ABCDEFGH"}});
    openCatalog();
    // A code longer than 8 characters never matches and is stored cut; a
    // trailing blank is not trimmed before the test either.
    for (const char* typed : {"abcdefghij", "abcdefgh "}) {
        driver.click(sel.Command2);
        driver.pickItem(add.Combo1, 0);
        driver.typeText(add.Text1, typed);
        driver.click(add.Command1);
        EXPECT_TRUE(sel.isVisible()) << typed;
    }
    auto c = bytes("maincode.dat");
    ASSERT_EQ(c.size(), 3u * 72);
    EXPECT_EQ(text(c, 72 + 64, 8), "ABCDEFGH");
    EXPECT_EQ(text(c, 144 + 64, 8), "ABCDEFGH");
    pickSeries("A");
    EXPECT_EQ(sel.List1.listCount(), 3);
}

TEST_F(Catalog, CodesThatCannotNameAFileAreRefused) {
    file({"A"}, {{"A", "X1"}});
    auto code = bytes("maincode.dat");
    openCatalog();
    driver.click(sel.Command2);
    driver.pickItem(add.Combo1, 0);
    for (const char* bad :
         {"..", " . ", "a/b", "a\\b", "c:x", "a*", "q?", "\"q\"", "<a", "a>", "a|b", "..      x", " a b"}) {
        driver.replaceText(add.Text1, bad);
        script.answer(ui::kOk, std::nullopt, "Add Extruder Category");
        driver.click(add.Command1);
        EXPECT_TRUE(add.isVisible()) << bad;
    }
    session.expectScriptDone();
    EXPECT_NE(session.backend.messages().back().request.text.find("cannot name"), std::string::npos);
    EXPECT_EQ(bytes("maincode.dat"), code);
    // A dot inside a code is fine.
    driver.replaceText(add.Text1, "zx.40");
    driver.click(add.Command1);
    EXPECT_EQ(codeFile().back(), (std::pair<std::string, std::string>{"A", "ZX.40"}));

    // The same check guards renaming.
    pickSeries("A");
    pickCode("X1");
    for (const char* bad : {"../up", "x 1"}) {
        script.input(bad, "Input New Name", "Edit Extruder Code");
        script.answer(ui::kOk, std::nullopt, "Edit Extruder Code");
        driver.click(sel.Command4);
    }
    EXPECT_NE(session.backend.messages().back().request.text.find("a blank"), std::string::npos);
    session.expectScriptDone();
    EXPECT_EQ(codeFile().front().second, "X1");
}

TEST_F(Catalog, DeleteExtruderRemovesExactlyTheMatchingRecords) {
    file({"A", "B"}, {{"A", "X"}, {"B", "Y"}, {"A", "X"}, {"A", "Z"}, {"B", "W"}});
    openCatalog();
    pickSeries("A");
    EXPECT_EQ(sel.List1.listCount(), 3);
    pickCode("X");
    script.yes("Is delete this Extruder Code?", "Delete code");
    driver.click(sel.Command3);
    // Both X of series A go; nothing else moves or doubles.
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(codeFile(), (std::vector<P>{{"B", "Y"}, {"A", "Z"}, {"B", "W"}}));
    EXPECT_EQ(listedCodes(), std::vector<std::string>{"Z       "});

    // After a series command no series is chosen while the list still shows
    // codes: deleting one of them matches nothing and removes nothing.
    script.input("C");
    driver.click(sel.Command5);
    EXPECT_EQ(sel.List1.listCount(), 1);
    driver.selectItem(sel.List1, 0);
    script.yes();
    driver.click(sel.Command3);
    EXPECT_EQ(codeFile(), (std::vector<P>{{"B", "Y"}, {"A", "Z"}, {"B", "W"}}));
}

TEST_F(Catalog, TheOnlyCodeRecordStaysAfterItsDelete) {
    file({"A"}, {{"A", "X"}});
    openCatalog();
    pickSeries("A");
    pickCode("X");
    script.yes();
    driver.click(sel.Command3);
    EXPECT_EQ(codeFile(), (std::vector<std::pair<std::string, std::string>>{{"A", "X"}}));
    EXPECT_EQ(sel.List1.listCount(), 1);
}

TEST_F(Catalog, EditExtruderRenamesUpperCasedAndCut) {
    file({"A", "B"}, {{"A", "X"}, {"B", "X"}});
    openCatalog();
    pickSeries("A");
    pickCode("X");
    script.input("newcode12", "Input New Name", "Edit Extruder Code");
    driver.click(sel.Command4);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.inputBoxes().back().defaultText, "X");
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(codeFile(), (std::vector<P>{{"A", "NEWCODE1"}, {"B", "X"}}));
    EXPECT_EQ(listedCodes(), std::vector<std::string>{"NEWCODE1"});
}

TEST_F(Catalog, SeriesDeleteAndRenameLeaveTheCodes) {
    file({"A", "B"}, {{"A", "X"}, {"B", "Y"}});
    auto codes = bytes("maincode.dat");
    openCatalog();
    pickSeries("A");
    script.input("renamed", "Input New Series Name", "Edit Extruder Code");
    driver.click(sel.Command7);
    EXPECT_EQ(session.backend.inputBoxes().back().defaultText, "A");
    EXPECT_EQ(seriesFile(), (std::vector<std::string>{"RENAMED", "B"}));
    EXPECT_EQ(bytes("maincode.dat"), codes);
    EXPECT_EQ(sel.Combo1.listIndex(), -1);
    EXPECT_EQ(sel.List1.listCount(), 1);  // still the codes of A
    pickSeries("RENAMED");
    EXPECT_EQ(sel.List1.listCount(), 0);

    pickSeries("B");
    driver.click(sel.Command6);  // no question
    EXPECT_EQ(seriesFile(), std::vector<std::string>{"RENAMED"});
    EXPECT_EQ(bytes("maincode.dat"), codes);
    // A series added later under the old name lists the old codes again.
    script.input("b");
    driver.click(sel.Command5);
    pickSeries("B");
    EXPECT_EQ(listedCodes(), std::vector<std::string>{"Y       "});
}

TEST_F(Catalog, DeletingTheLastSeriesLeavesAnEmptyFile) {
    file({"A"}, {});
    openCatalog();
    pickSeries("A");
    driver.click(sel.Command6);
    EXPECT_TRUE(bytes("maincat.dat").empty());
    EXPECT_EQ(sel.Combo1.listCount(), 1);  // the blank entry of an empty file
}

TEST_F(Catalog, DuplicateSeriesNamesBothListTheirCodes) {
    file({"A", "A"}, {{"A", "X"}});
    openCatalog();
    driver.pickItem(sel.Combo1, 1);
    EXPECT_EQ(sel.List1.listCount(), 1);
    driver.pickItem(sel.Combo1, 0);
    EXPECT_EQ(sel.List1.listCount(), 1);
    driver.click(sel.Command6);  // every series of that name goes
    EXPECT_TRUE(seriesFile().empty());
}

TEST_F(Catalog, TruncatedAndGarbageFilesOpen) {
    std::vector<std::uint8_t> garbage(100);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
    put("maincat.dat", garbage);                                   // 1.56 records: 2
    put("maincode.dat", std::vector<std::uint8_t>(garbage.begin(), garbage.begin() + 30));  // 0.42: 0, read as 1
    openCatalog();
    EXPECT_EQ(sel.Combo1.listCount(), 2);
    driver.pickItem(sel.Combo1, 1);
    driver.pickItem(sel.Combo1, 0);
    driver.click(sel.Command2);
    EXPECT_EQ(add.Combo1.listCount(), 2);
    driver.click(add.Command2);

    put("maincode.dat", std::vector<std::uint8_t>(garbage.begin(), garbage.begin() + 40));  // 0.56: 1, partial
    openCatalog();
    driver.pickItem(sel.Combo1, 0);
    driver.click(sel.Command8);
}

}  // namespace

namespace {

// Expected entries of a catalog file of the given bytes: the record count
// rounded to the nearest whole number (a half to the even one), at least one
// record, each record the bytes there are followed by zero bytes.
std::vector<std::vector<std::uint8_t>> expectedEntries(const std::vector<std::uint8_t>& file, std::size_t length) {
    const double exact = static_cast<double>(file.size()) / static_cast<double>(length);
    long count = std::lround(exact);
    if (exact - std::floor(exact) == 0.5 && count % 2 == 1) --count;
    if (count < 1) count = 1;
    std::vector<std::vector<std::uint8_t>> out;
    for (long r = 0; r < count; ++r) {
        std::vector<std::uint8_t> rec(length, 0);
        for (std::size_t i = 0; i < length && r * length + i < file.size(); ++i) rec[i] = file[r * length + i];
        out.push_back(rec);
    }
    return out;
}

template <class Rec>
std::vector<std::vector<std::uint8_t>> packed(const std::vector<Rec>& table) {
    std::vector<std::vector<std::uint8_t>> out;
    for (const auto& rec : table) out.push_back(records::pack(rec));
    return out;
}

TEST_F(Catalog, FilesCutAtEveryLengthListTheBytesTheyHold) {
    std::vector<std::uint8_t> series(2 * 64), codes(2 * 72);
    for (std::size_t i = 0; i < series.size(); ++i) series[i] = static_cast<std::uint8_t>('A' + i % 26);
    for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<std::uint8_t>('a' + i % 26);
    for (std::size_t len = 0; len <= series.size(); ++len) {
        std::vector<std::uint8_t> cut(series.begin(), series.begin() + static_cast<std::ptrdiff_t>(len));
        put("maincat.dat", cut);
        EXPECT_EQ(packed(catalog::readSeriesTable(catalog::seriesFilePath())), expectedEntries(cut, 64))
            << "maincat.dat of " << len << " bytes";
    }
    for (std::size_t len = 0; len <= codes.size(); ++len) {
        std::vector<std::uint8_t> cut(codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(len));
        put("maincode.dat", cut);
        EXPECT_EQ(packed(catalog::readCodeTable(catalog::codeFilePath())), expectedEntries(cut, 72))
            << "maincode.dat of " << len << " bytes";
    }
    // A rewrite after reading a short file keeps its bytes.
    put("maincat.dat", std::vector<std::uint8_t>(series.begin(), series.begin() + 20));
    catalog::writeSeriesTable(catalog::seriesFilePath(), catalog::readSeriesTable(catalog::seriesFilePath()));
    auto rewritten = bytes("maincat.dat");
    ASSERT_EQ(rewritten.size(), 64u);
    EXPECT_TRUE(std::equal(series.begin(), series.begin() + 20, rewritten.begin()));
}

}  // namespace
