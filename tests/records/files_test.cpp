#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/io/files.h"
#include "records/files.h"
#include "records/packed.h"

namespace fs = std::filesystem;
using records::FixedText;
using records::OpenMode;

namespace {

// A record with a field list: 4 text, 2 integer, 4 single = 10 bytes.
struct Item {
    FixedText<4> Name;
    std::int16_t Count = 0;
    float Value = 0;
    static constexpr std::size_t kSize = 10;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&Item::Name);
        f(&Item::Count);
        f(&Item::Value);
    }
    void write(records::PackWriter& w) const {
        w.text(Name);
        w.i16(Count);
        w.f32(Value);
    }
    void read(records::PackReader& r) {
        r.text(Name);
        Count = r.i16();
        Value = r.f32();
    }
};

// A record holding another one, with no field list of its own.
struct Outer {
    Item Inner;
    FixedText<2> Tag;
    static constexpr std::size_t kSize = 12;
    void write(records::PackWriter& w) const {
        Inner.write(w);
        w.text(Tag);
    }
    void read(records::PackReader& r) {
        Inner.read(r);
        r.text(Tag);
    }
};

// A nested record in a field list.
struct Wrapper {
    Item Inner;
    FixedText<2> Tag;
    static constexpr std::size_t kSize = 12;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&Wrapper::Inner);
        f(&Wrapper::Tag);
    }
    void write(records::PackWriter& w) const {
        Inner.write(w);
        w.text(Tag);
    }
    void read(records::PackReader& r) {
        Inner.read(r);
        r.text(Tag);
    }
};

class RecordFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/velkor_files_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    std::string native(const std::string& name) const { return dir_ + "/" + name; }
    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(native(name), std::ios::binary) << bytes;
    }
    std::string get(const std::string& name) const {
        std::ifstream in(native(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir_;
};

template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

Item item(const char* name, std::int16_t count, float value) {
    Item i;
    i.Name = name;
    i.Count = count;
    i.Value = value;
    return i;
}

TEST_F(RecordFiles, RecordCountRoundsHalvesToEven) {
    struct Case {
        std::size_t bytes, length;
        int count;
    } cases[] = {{100, 64, 2}, {96, 64, 2}, {32, 64, 0}, {0, 64, 0}, {160, 64, 2},
                 {224, 64, 4}, {95, 64, 1}, {97, 64, 2}, {39 * 5, 39, 5}};
    for (const Case& c : cases) {
        put("f.dat", std::string(c.bytes, 'x'));
        records::RecordFile f(at("f.dat"), c.length, OpenMode::ReadOnly);
        EXPECT_EQ(f.recordCount(), c.count) << c.bytes << " / " << c.length;
    }
    put("big.dat", std::string(32768 * 2, 'x'));
    records::RecordFile big(at("big.dat"), 2, OpenMode::ReadOnly);
    EXPECT_EQ(errorOf([&] { big.recordCount(); }), rt::kOverflow);
}

TEST_F(RecordFiles, OpenModesCreateOrRefuse) {
    EXPECT_EQ(errorOf([&] { records::RecordFile f(at("none.gs"), 36, OpenMode::ReadOnly); }), rt::kFileNotFound);
    EXPECT_FALSE(fs::exists(native("none.gs")));
    {
        records::RecordFile f(at("new.gs"), 36, OpenMode::CreateIfMissing);
        EXPECT_EQ(f.recordCount(), 0);
    }
    EXPECT_TRUE(fs::exists(native("new.gs")));
    EXPECT_EQ(fs::file_size(native("new.gs")), 0u);
    put("old.gs", std::string(72, 'a'));
    records::RecordFile f(at("old.gs"), 36, OpenMode::CreateIfMissing);
    EXPECT_EQ(f.recordCount(), 2);  // never truncated
    EXPECT_EQ(errorOf([&] { records::RecordFile g(at("x.gs"), 0, OpenMode::CreateIfMissing); }),
              rt::kBadRecordLength);
    EXPECT_FALSE(fs::exists(native("x.gs")));
    // A cancelled dialog's pattern never becomes a file.
    EXPECT_EQ(errorOf([&] { records::RecordFile g(at("*.flw"), 36, OpenMode::CreateIfMissing); }),
              rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { records::ByteStream g(at("*.flw"), OpenMode::CreateIfMissing); }), rt::kBadFileName);
    EXPECT_EQ(errorOf([&] { records::rewriteRecords(at("*.flw"), 10, std::vector<Item>{}); }), rt::kBadFileName);
    EXPECT_FALSE(fs::exists(native("*.flw")));
}

TEST_F(RecordFiles, WritesBeyondTheEndLeaveZeroGaps) {
    {
        records::RecordFile f(at("r.dat"), 12, OpenMode::CreateIfMissing);
        f.write(3, item("AB", 7, 1.5f));  // 10-byte record in a 12-byte slot
        EXPECT_EQ(f.recordCount(), 3);
        f.writeNext(item("CD", 8, 2.5f));  // after record 3
        EXPECT_EQ(f.nextRecord(), 5);
    }
    std::string bytes = get("r.dat");
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(bytes.substr(0, 24), std::string(24, '\0'));
    EXPECT_EQ(bytes.substr(24, 6), std::string("AB  \x07\x00", 6));
    EXPECT_EQ(bytes.substr(34, 2), std::string(2, '\0'));  // slot tail
    EXPECT_EQ(bytes.substr(36, 4), "CD  ");

    records::RecordFile f(at("r.dat"), 12, OpenMode::ReadOnly);
    Item third = f.read<Item>(3);
    EXPECT_EQ(third.Name.str(), "AB  ");
    EXPECT_EQ(third.Count, 7);
    EXPECT_EQ(third.Value, 1.5f);
    Item fourth = f.readNext<Item>();
    EXPECT_EQ(fourth.Count, 8);
    EXPECT_EQ(errorOf([&] { f.read<Item>(0); }), rt::kBadRecordNumber);
    EXPECT_EQ(errorOf([&] { f.write(1, item("X", 1, 1)); }), rt::kPermissionDenied);
    records::RecordFile narrow(at("r.dat"), 8, OpenMode::ReadOnly);
    EXPECT_EQ(errorOf([&] { narrow.read<Item>(1); }), rt::kBadRecordLength);
}

TEST_F(RecordFiles, ReadsBeyondTheEndGiveBlankRecords) {
    records::RecordFile f(at("empty.dat"), 10, OpenMode::CreateIfMissing);
    Item first = f.read<Item>(1);  // the zero-to-one rule reads record 1 of an empty file
    EXPECT_EQ(first.Name.str(), "    ");
    EXPECT_EQ(first.Name.trimmed(), "");
    EXPECT_EQ(first.Count, 0);
    EXPECT_EQ(first.Value, 0.0f);
    EXPECT_EQ(f.readBytes(1), std::vector<std::uint8_t>(10, 0));

    // Without a field list the record comes from zero bytes; nested field
    // lists blank their text too.
    records::RecordFile g(at("empty2.dat"), 12, OpenMode::CreateIfMissing);
    Outer o = g.read<Outer>(4);
    EXPECT_EQ(o.Tag.str(), std::string(2, '\0'));
    Wrapper w = g.read<Wrapper>(4);
    EXPECT_EQ(w.Inner.Name.str(), "    ");
    EXPECT_EQ(w.Tag.str(), "  ");

    // A record cut short by the end of the file keeps the bytes it has.
    put("short.dat", std::string("XY\0\0\x05\x00", 6));
    records::RecordFile s(at("short.dat"), 10, OpenMode::ReadOnly);
    EXPECT_EQ(s.recordCount(), 1);
    Item part = s.read<Item>(1);
    EXPECT_EQ(part.Name.str(), std::string("XY\0\0", 4));
    EXPECT_EQ(part.Count, 5);
    EXPECT_EQ(part.Value, 0.0f);
}

TEST_F(RecordFiles, RewriteHoldsExactlyTheNewRecords) {
    put("e.gk", std::string(500, 'o'));
    std::vector<Item> recs = {item("A", 1, 1), item("B", 2, 2)};
    records::rewriteRecords(at("e.gk"), 12, recs);
    std::string expect;
    for (const Item& r : recs) {
        auto p = records::pack(r);
        expect.append(p.begin(), p.end());
        expect.append(2, '\0');
    }
    EXPECT_EQ(get("e.gk"), expect);
    records::rewriteRecords(at("e.gk"), 12, std::vector<Item>{});
    EXPECT_EQ(get("e.gk"), "");
    EXPECT_EQ(errorOf([&] { records::rewriteRecords(at("e.gk"), 8, recs); }), rt::kBadRecordLength);
    EXPECT_EQ(get("e.gk"), "");
}

TEST_F(RecordFiles, WriteOverFromStartKeepsTheOldTail) {
    put("p.prm", "0123456789abcdef");
    records::writeOverFromStart(at("p.prm"), {'X', 'Y', 'Z'});
    EXPECT_EQ(get("p.prm"), "XYZ3456789abcdef");
    std::vector<std::uint8_t> longer(20, 'L');
    records::writeOverFromStart(at("p.prm"), longer);
    EXPECT_EQ(get("p.prm"), std::string(20, 'L'));
    records::writeOverFromStart(at("fresh.prm"), {'a'});
    EXPECT_EQ(get("fresh.prm"), "a");

    // The same through a byte stream opened on the old file.
    put("x.ext", "0123456789");
    {
        records::ByteStream s(at("x.ext"), OpenMode::CreateIfMissing);
        s.write(item("Q", 1, 0));
    }
    EXPECT_EQ(get("x.ext").size(), 10u);
    EXPECT_EQ(get("x.ext").substr(0, 4), "Q   ");
}

TEST_F(RecordFiles, AppendTakesCountPlusOne) {
    EXPECT_EQ(records::appendRecord(at("cat.dat"), 10, item("S1", 0, 0), records::AppendCount::AsIs), 1);
    EXPECT_EQ(records::appendRecord(at("cat.dat"), 10, item("S2", 0, 0), records::AppendCount::AsIs), 2);
    EXPECT_EQ(get("cat.dat").substr(10, 4), "S2  ");
    // The zero-to-one rule puts the first record of an empty file at record 2.
    EXPECT_EQ(records::appendRecord(at("code.dat"), 10, item("C1", 0, 0), records::AppendCount::ZeroAsOne), 2);
    EXPECT_EQ(get("code.dat").substr(0, 10), std::string(10, '\0'));
    EXPECT_EQ(records::appendRecord(at("code.dat"), 10, item("C2", 0, 0), records::AppendCount::ZeroAsOne), 3);
}

TEST_F(RecordFiles, ByteStreamReadsInOrderAndRefusesTruncatedFiles) {
    {
        records::ByteStream s(at("f.flw"), OpenMode::CreateIfMissing);
        s.write(item("H", 5, 0.5f));
        s.write(item("E1", 1, 1.0f));
        s.writeRaw({1, 2, 3});
        EXPECT_EQ(s.position(), 23u);
        EXPECT_EQ(s.length(), 23u);
    }
    records::ByteStream s(at("f.flw"), OpenMode::ReadOnly);
    EXPECT_EQ(s.read<Item>().Count, 5);
    EXPECT_EQ(s.read<Item>().Name.trimmed(), "E1");
    EXPECT_EQ(s.position(), 20u);
    EXPECT_EQ(errorOf([&] { s.read<Item>(); }), rt::kInputPastEndOfFile);
    EXPECT_EQ(s.position(), 20u);  // a failed read does not move
    EXPECT_EQ(s.readRaw(3), (std::vector<std::uint8_t>{1, 2, 3}));
    s.seek(10);
    Item again;
    s.read(again);
    EXPECT_EQ(again.Value, 1.0f);
    s.seek(1000);
    EXPECT_EQ(errorOf([&] { s.readRaw(1); }), rt::kInputPastEndOfFile);
    EXPECT_EQ(errorOf([] { records::ByteStream m("/nonexistent-dir/x.flw", OpenMode::ReadOnly); }),
              rt::kPathNotFound);

    // Every cut of a file reads what is there and then fails cleanly.
    std::string full = get("f.flw");
    for (std::size_t len = 0; len < full.size(); ++len) {
        put("cut.flw", full.substr(0, len));
        records::ByteStream c(at("cut.flw"), OpenMode::ReadOnly);
        int err = errorOf([&] {
            c.read<Item>();
            c.read<Item>();
            c.readRaw(3);
        });
        EXPECT_EQ(err, rt::kInputPastEndOfFile) << len;
    }
}

}  // namespace
