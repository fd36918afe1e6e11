// The die designer from the Design/Edit menu: the five boxes of a new or an
// edited die, the record that View and Done write, and the boxes and files
// it refuses.
#include <filesystem>
#include <string>
#include <vector>

#include "design/dndie.h"
#include "designers_fixture.h"

namespace {

class DieDesigner : public DesignerRun {
protected:
    std::vector<std::string> boxes() const {
        return {w.Text3.text(), w.Text4.text(), w.Text5.text(), w.Text6.text(), w.Text7.text()};
    }
    void type(const std::vector<std::string>& values) {
        ui::TextBox* box[] = {&w.Text3, &w.Text4, &w.Text5, &w.Text6, &w.Text7};
        for (std::size_t i = 0; i < values.size(); ++i) driver().replaceText(*box[i], values[i]);
    }
    static records::DieRec die(const std::string& code, float entrance, float capillary, std::int16_t holes) {
        records::DieRec d;
        d.Code = code;
        d.Marker = records::markerFor(records::FileKind::Die);
        d.EntranceDiameter = entrance;
        d.CapillaryDiameter = capillary;
        d.CapillaryZoneLength = 10;
        d.TotalLength = 30;
        d.Holes = holes;
        return d;
    }

    DNdie& w = ui::form<DNdie>();
};

TEST_F(DieDesigner, ANewDieStartsFromZerosAndDoneWritesOneRecord) {
    choose("mnuDdie");
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "Design Die");
    EXPECT_EQ(w.Text1.text(), "ZX40");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(std::filesystem::exists("noname"));
    EXPECT_FALSE(std::filesystem::exists(dir() / "noname"));

    type({"20", "4", "12", "40", "2.5"});
    script().chooseFile(path("a.die"), ui::FileDialogKind::Save);
    driver().click(w.Command3);
    EXPECT_EQ(session.backend.fileDialogs().back().fileName, "*.die");
    EXPECT_EQ(session.backend.fileDialogs().back().filter, "die file(*.die)|*.die");
    EXPECT_EQ(session.backend.fileDialogs().back().initDir, shared::AppDir);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::DieFile, "noname");
    const auto b = bytes(path("a.die"));
    ASSERT_EQ(b.size(), 27u);
    EXPECT_EQ(text(b, 0, 8), padded("ZX40", 8));
    EXPECT_EQ(b[8], 3);
    EXPECT_EQ(f32(b, 9), 20.0f);
    EXPECT_EQ(f32(b, 13), 4.0f);
    EXPECT_EQ(f32(b, 17), 12.0f);
    EXPECT_EQ(f32(b, 21), 40.0f);
    EXPECT_EQ(i16(b, 25), 2);  // 2.5 to the even 2

    choose("mnuDdie");
    type({"20", "4", "12", "40", "3.5"});
    script().chooseFile(path("a.die"));
    driver().click(w.Command3);
    EXPECT_EQ(i16(bytes(path("a.die")), 25), 4);  // 3.5 to the even 4
}

TEST_F(DieDesigner, AnEditedDieShowsRecordOneAndViewWritesThePreviewFile) {
    records::rewriteRecords(path("two.die"), 27, std::vector<records::DieRec>{die("ZX40", 12.5f, 0.8f, 3),
                                                                               die("ZX40", 99, 9, 9)});
    const auto before = bytes(path("two.die"));
    script().chooseFile(path("two.die"));
    choose("mnuEdie");
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(boxes(), (std::vector<std::string>{"12.5", "0.8", "10", "30", "3"}));

    driver().replaceText(w.Text3, "14");
    driver().click(w.Command2);  // View
    const std::string preview = shared::TempDir + "temp.die";
    EXPECT_EQ(shared::DieFile, preview);
    EXPECT_EQ(records::readDieFile(preview), die("ZX40", 14, 0.8f, 3));
    EXPECT_EQ(bytes(path("temp/temp.die")).size(), 27u);

    driver().replaceText(w.Text7, "5");
    script().chooseFile(path("b.die"));
    driver().click(w.Command3);  // Done saves the boxes as they are now
    EXPECT_EQ(records::readDieFile(path("b.die")), die("ZX40", 14, 0.8f, 5));
    EXPECT_EQ(shared::DieFile, preview);
    EXPECT_EQ(bytes(path("two.die")), before);  // read, never written
}

TEST_F(DieDesigner, ABoxThatIsNoNumberTouchesNoFile) {
    records::writeDieFile(path("old.die"), die("ZX40", 20, 4, 2));
    const auto before = bytes(path("old.die"));
    script().chooseFile(path("old.die"));
    choose("mnuEdie");
    shared::ExtruderCategory = "OTHER";  // changed by another command meanwhile

    driver().replaceText(w.Text5, "abc");
    script().ok("The Capillary Zone Length \"abc\" is not a number.", "Design Die");
    driver().click(w.Command3);
    script().ok("The Capillary Zone Length \"abc\" is not a number.", "Design Die");
    driver().click(w.Command2);
    driver().replaceText(w.Text5, "12");
    driver().replaceText(w.Text7, "40000");
    script().ok("The Number of Holes \"40000\" is not a whole number from -32768 to 32767.", "Design Die");
    driver().click(w.Command3);
    driver().replaceText(w.Text7, "1");
    w.Text6.setText("");  // emptied
    script().ok("The Total Die Length \"\" is not a number.", "Design Die");
    driver().click(w.Command2);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.fileDialogs().size(), 1u);  // the Edit command's only
    EXPECT_FALSE(std::filesystem::exists(dir() / "temp" / "temp.die"));
    EXPECT_EQ(bytes(path("old.die")), before);
    EXPECT_EQ(shared::DieFile, path("old.die"));

    // A cancelled dialog hands back "*.die": nothing written, the window stays.
    driver().replaceText(w.Text6, "30");
    script().cancelFile();
    driver().click(w.Command3);
    EXPECT_TRUE(w.isVisible());
    script().chooseFile(path("old.die"));
    driver().click(w.Command3);
    EXPECT_EQ(records::readDieFile(path("old.die")).Code.str(), padded("ZX40", 8));  // the code of the load
    EXPECT_EQ(records::readDieFile(path("old.die")).Holes, 1);
}

TEST_F(DieDesigner, AFileThatIsNoDieAndACodeThatIsNoFileNameAreRefused) {
    // A barrel header where a die record belongs: no die marker.
    records::writeBarrelFile(path("barrel.die"), records::barrelFileHeader("ZX40", 50, {}), {});
    script().chooseFile(path("barrel.die")).ok("Incorrect file format!", "Design Die");
    choose("mnuEdie");
    session.expectScriptDone();
    EXPECT_FALSE(w.isLoaded());

    // A code that cannot name a file is refused.
    records::writeDieFile(path("bad.die"), die("..", 20, 4, 2));
    script().chooseFile(path("bad.die")).ok(std::nullopt, "Design Die");
    choose("mnuEdie");
    EXPECT_NE(lastMessage().text.find("\"..\""), std::string::npos) << lastMessage().text;
    EXPECT_FALSE(w.isLoaded());
}

}  // namespace
