// The die designer from the Design/Edit menu: the five boxes of a new or an
// edited die, the record that View and Done write, and the boxes and files
// it refuses.
#include <filesystem>
#include <string>
#include <vector>

#include "design/dndie.h"
#include "designers_fixture.h"
#include "views/viewdie.h"

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
    // Edit Existing Die on the file; the designer may refuse it with a
    // message under its title.
    void edit(const std::string& file, bool refused = false) {
        script().chooseFile(path(file));
        if (refused) script().ok(std::nullopt, "Design Die");
        choose("mnuEdie");
        session.expectScriptDone();
    }

    DNdie& w = ui::form<DNdie>();
};

TEST_F(DieDesigner, ANewDieStartsFromZerosAndDoneWritesOneRecord) {
    choose("mnuDdie");
    EXPECT_EQ(w.caption(), "Design Die");
    EXPECT_EQ(w.Text1.text(), "ZX40");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(std::filesystem::exists("noname"));
    EXPECT_FALSE(std::filesystem::exists(dir() / "noname"));

    type({"20", "4", "12", "40", "2.5"});
    script().chooseFile(path("a.die"), ui::FileDialogKind::Save);
    driver().click(w.Command3);
    const ui::FileDialogRequest& dialog = session.backend.fileDialogs().back();
    EXPECT_EQ(dialog.fileName + dialog.filter, "*.diedie file(*.die)|*.die");
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::DieFile, "noname");
    const auto b = bytes(path("a.die"));
    ASSERT_EQ(b.size(), 27u);
    EXPECT_EQ(text(b, 0, 9), padded("ZX40", 8) + "\x03");
    const std::vector<float> values = {f32(b, 9), f32(b, 13), f32(b, 17), f32(b, 21)};
    EXPECT_EQ(values, (std::vector<float>{20, 4, 12, 40}));
    EXPECT_EQ(i16(b, 25), 2);  // 2.5 to the even 2

    choose("mnuDdie");
    type({"20", "4", "12", "40", "3.5"});
    script().chooseFile(path("a.die")).yes(path("a.die") + " already exists.\nDo you want to replace it?", "Save As");
    driver().click(w.Command3);
    session.expectScriptDone();  // the question was asked
    EXPECT_EQ(i16(bytes(path("a.die")), 25), 4);  // 3.5 to the even 4
}

TEST_F(DieDesigner, AnEditedDieShowsRecordOneAndViewWritesThePreviewFile) {
    records::rewriteRecords(path("two.die"), 27, std::vector<records::DieRec>{die("ZX40", 12.5f, 0.8f, 3),
                                                                               die("ZX40", 99, 9, 9)});
    const auto before = bytes(path("two.die"));
    edit("two.die");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"12.5", "0.8", "10", "30", "3"}));

    driver().replaceText(w.Text3, "14");
    driver().click(w.Command2);  // View
    const std::string preview = shared::TempDir + "temp.die";
    EXPECT_EQ(shared::DieFile, preview);
    EXPECT_EQ(bytes(path("temp/temp.die")).size(), 27u);
    EXPECT_EQ(records::readDieFile(preview), die("ZX40", 14, 0.8f, 3));
    EXPECT_TRUE(ui::form<viewdie>().isVisible());  // the die display draws the preview file
    EXPECT_EQ(ui::form<viewdie>().caption(), padded("ZX40", 8) + "   " + preview);
    EXPECT_EQ(ui::form<viewdie>().width(), 9000);

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
    edit("old.die");
    shared::ExtruderCategory = "OTHER";  // changed by another command meanwhile

    driver().replaceText(w.Text5, "abc");
    for (ui::CommandButton* command : {&w.Command3, &w.Command2}) {
        script().ok("The Capillary Zone Length \"abc\" is not a number.", "Design Die");
        driver().click(*command);
    }
    driver().replaceText(w.Text5, "10");
    driver().replaceText(w.Text7, "40000");
    script().ok("The Number of Holes \"40000\" is not a whole number from -32768 to 32767.", "Design Die");
    driver().click(w.Command3);
    driver().replaceText(w.Text7, "1");
    w.Text6.setText("");
    script().ok("The Total Die Length \"\" is not a number.", "Design Die");
    driver().click(w.Command2);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.fileDialogs().size(), 1u);  // the Edit command's only
    EXPECT_FALSE(std::filesystem::exists(dir() / "temp" / "temp.die"));
    EXPECT_EQ(bytes(path("old.die")), before);

    // A cancelled dialog hands back "*.die": nothing written, the window stays.
    driver().replaceText(w.Text6, "30");
    script().cancelFile();
    driver().click(w.Command3);
    EXPECT_TRUE(w.isVisible());
    script().chooseFile(path("old.die")).yes();
    driver().click(w.Command3);
    session.expectScriptDone();  // the question was asked
    EXPECT_EQ(records::readDieFile(path("old.die")), die("ZX40", 20, 4, 1));  // the code of the load
}

TEST_F(DieDesigner, AFileThatIsNoDieAndACodeThatIsNoFileNameAreRefused) {
    records::writeBarrelFile(path("barrel.die"), records::barrelFileHeader("ZX40", 50, {}), {});
    records::writeDieFile(path("bad.die"), die("..", 20, 4, 2));
    edit("barrel.die", true);
    EXPECT_EQ(lastMessage().text, "Incorrect file format!");
    EXPECT_FALSE(w.isLoaded());
    edit("bad.die", true);
    EXPECT_NE(lastMessage().text.find("\"..\""), std::string::npos) << lastMessage().text;
    EXPECT_FALSE(w.isLoaded());
}

}  // namespace
