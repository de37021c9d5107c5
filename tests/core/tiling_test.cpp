#include "core/tiling.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "core/project.h"
#include "core/syst.h"
#include "core/syst_bmp.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

Bytes Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    Bytes b(static_cast<std::size_t>(fs::file_size(p)));
    in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return b;
}

void Write(const fs::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

uint32_t U32(const Bytes& b, std::size_t at) { return plat::GetU32(&b[at]); }

// Map pixel value at (x, y) from the top: distinct enough to catch a shifted or flipped copy.
uint8_t Pattern(int64_t x, int64_t y, int k) { return static_cast<uint8_t>((x * 7 + y * 13 + k * 101) & 0xFF); }

// A map bitmap of w x h pixels with the pattern, 8 or 24 bits, stored bottom-up or top-down.
Bytes Make_Map(int32_t w, int32_t h, unsigned bits, bool top_down = false, uint32_t colours_used = 256) {
    const std::size_t bpp = bits / 8;
    const std::size_t row = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    const std::size_t table = bits == 8 ? 4 * colours_used : 0;
    const std::size_t offset = 54 + table;
    Bytes b(offset + row * static_cast<std::size_t>(h), 0);
    b[0] = 'B', b[1] = 'M';
    plat::PutU32(&b[2], static_cast<uint32_t>(b.size()));
    plat::PutU32(&b[10], static_cast<uint32_t>(offset));
    plat::PutU32(&b[14], 40);
    plat::PutU32(&b[18], static_cast<uint32_t>(w));
    plat::PutU32(&b[22], static_cast<uint32_t>(top_down ? -h : h));
    plat::PutU16(&b[26], 1);
    plat::PutU16(&b[28], static_cast<uint16_t>(bits));
    plat::PutU32(&b[46], bits == 8 ? colours_used : 0);
    for (std::size_t i = 0; i < table; i += 4) b[54 + i] = static_cast<uint8_t>(i / 4), b[55 + i] = 1, b[56 + i] = 2;
    for (int64_t y = 0; y < h; ++y) {
        const int64_t stored = top_down ? y : h - 1 - y;
        for (int64_t x = 0; x < w; ++x)
            for (std::size_t k = 0; k < bpp; ++k)
                b[offset + static_cast<std::size_t>(stored) * row + static_cast<std::size_t>(x) * bpp + k] = Pattern(x, y, static_cast<int>(k));
    }
    return b;
}

struct Recorder : Tiling_Progress_Window {
    std::vector<std::string> events;
    void Set_LTex2500(const std::string& s) override { events.push_back("LTex2500=" + s); }
    void Set_LPourCent(const std::string& s) override { events.push_back("LPourCent=" + s); }
    void Set_LNbTex(const std::string& s) override { events.push_back("LNbTex=" + s); }
    void Show_Fram_Creat_2500(bool v) override { events.push_back(v ? "show" : "hide"); }
    void Refresh() override { events.push_back("refresh"); }
    std::size_t Count(const std::string& e) const { return static_cast<std::size_t>(std::count(events.begin(), events.end(), e)); }
};

class MapTiling : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        dir = testenv::ScratchDir("tiles");
        App_Dir = dir.string();
        fs::create_directories(dir / "Temp");
    }
    void TearDown() override { testenv::ResetProgramState(); }

    int16_t Split(const Bytes& map, const std::string& name = "map.bmp") {
        Write(dir / name, map);
        int16_t error = -1;
        Com_Split_Map_Bitmap(progress, App_Dir + "\\" + name, error);
        return error;
    }
    fs::path Tile(const std::string& name) { return dir / "Temp" / ("$$$_" + name + ".bmp"); }
    std::set<std::string> Tiles() {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir / "Temp")) names.insert(e.path().filename().string());
        return names;
    }
    // The tile pixel at (x, y) from the tile's top.
    static uint8_t Tile_Byte(const Bytes& tile, std::size_t offset, std::size_t bpp, int x, int y, int k) {
        return tile[offset + static_cast<std::size_t>(1999 - y) * 2000 * bpp + static_cast<std::size_t>(x) * bpp + k];
    }

    fs::path dir;
    Recorder progress;
};

TEST_F(MapTiling, OneTileMapGivesTile00ByteForByte) {
    const Bytes map = Make_Map(2000, 2000, 24);
    ASSERT_EQ(Split(map), 0);
    EXPECT_EQ(Tiles(), (std::set<std::string>{"$$$_00.bmp"}));
    const Bytes tile = Read(Tile("00"));
    ASSERT_EQ(tile.size(), 12000054u);
    EXPECT_EQ(tile[0], 'B');
    EXPECT_EQ(tile[1], 'M');
    EXPECT_EQ(U32(tile, 2), 12000054u);
    EXPECT_EQ(U32(tile, 10), 54u);
    EXPECT_EQ(plat::GetU16(&tile[28]), 24);
    EXPECT_EQ(U32(tile, 34), 12000000u);
    EXPECT_EQ(U32(tile, 38), 2834u);
    EXPECT_EQ(U32(tile, 46), 0u);
    // The pixel rows are those of the map, in the same order.
    EXPECT_TRUE(std::equal(tile.begin() + 54, tile.end(), map.begin() + 54));
    EXPECT_EQ(Tile_Cols, 1);
    EXPECT_EQ(Tile_Rows, 1);
    EXPECT_EQ(Tile_Count, 1);
}

TEST_F(MapTiling, MapOneColumnWiderThanATileGivesASecondTileOfOneColumn) {
    ASSERT_EQ(Split(Make_Map(2001, 1, 24)), 0);
    EXPECT_EQ(Tiles(), (std::set<std::string>{"$$$_00.bmp", "$$$_10.bmp"}));
    const Bytes t0 = Read(Tile("00")), t1 = Read(Tile("10"));
    ASSERT_EQ(t1.size(), 12000054u);
    // The map's one row is the tile's top row; everything else is black.
    EXPECT_EQ(Tile_Byte(t0, 54, 3, 1999, 0, 2), Pattern(1999, 0, 2));
    EXPECT_EQ(Tile_Byte(t1, 54, 3, 0, 0, 0), Pattern(2000, 0, 0));
    EXPECT_EQ(Tile_Byte(t1, 54, 3, 0, 0, 1), Pattern(2000, 0, 1));
    std::size_t nonzero = 0;
    for (std::size_t i = 54; i < t1.size(); ++i) nonzero += t1[i] != 0;
    EXPECT_LE(nonzero, 3u);
    EXPECT_EQ(Tile_Byte(t0, 54, 3, 5, 1, 0), 0);
    EXPECT_EQ(Tile_Cols, 2);
    EXPECT_EQ(Tile_Rows, 1);
    EXPECT_EQ(Tile_Count, 2);
}

TEST_F(MapTiling, EightBitMapIsCutIntoItsTileGridWithItsColourTable) {
    const Bytes map = Make_Map(4500, 3000, 8, false, 200);
    ASSERT_EQ(Split(map), 0);
    EXPECT_EQ(Tiles(), (std::set<std::string>{"$$$_00.bmp", "$$$_01.bmp", "$$$_10.bmp", "$$$_11.bmp",
                                              "$$$_20.bmp", "$$$_21.bmp"}));
    EXPECT_EQ(Tile_Cols, 3);
    EXPECT_EQ(Tile_Rows, 2);
    EXPECT_EQ(Tile_Count, 6);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 2; ++r) {
            SCOPED_TRACE("tile " + std::to_string(c) + std::to_string(r));
            const Bytes t = Read(Tile(std::to_string(c) + std::to_string(r)));
            ASSERT_EQ(t.size(), 4001078u);
            EXPECT_EQ(U32(t, 10), 1078u);
            EXPECT_EQ(U32(t, 46), 256u);
            // The map's table (200 colours) with black after it.
            EXPECT_EQ(t[54 + 4 * 199], 199);
            EXPECT_EQ(t[55 + 4 * 199], 1);
            EXPECT_EQ(t[54 + 4 * 200], 0);
            EXPECT_EQ(t[55 + 4 * 200], 0);
            for (int y : {0, 1, 999, 1999}) {
                for (int x : {0, 1, 499, 500, 1999}) {
                    const int64_t mx = int64_t{c} * 2000 + x, my = int64_t{r} * 2000 + y;
                    const uint8_t want = (mx < 4500 && my < 3000) ? Pattern(mx, my, 0) : 0;
                    ASSERT_EQ(Tile_Byte(t, 1078, 1, x, y, 0), want) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(MapTiling, TopDownMapGivesTheSameTilesAsBottomUp) {
    ASSERT_EQ(Split(Make_Map(2100, 2100, 24, false), "up.bmp"), 0);
    const Bytes up00 = Read(Tile("00")), up11 = Read(Tile("11"));
    ASSERT_EQ(Split(Make_Map(2100, 2100, 24, true), "down.bmp"), 0);
    EXPECT_TRUE(Read(Tile("00")) == up00);
    EXPECT_TRUE(Read(Tile("11")) == up11);
    EXPECT_EQ(Tile_Byte(up11, 54, 3, 99, 99, 0), Pattern(2099, 2099, 0));
}

TEST_F(MapTiling, ProgressFrameShowsCountsAndPercentages) {
    Language = "US";
    ASSERT_EQ(Split(Make_Map(2000, 2000, 8)), 0);
    const auto& e = progress.events;
    ASSERT_GE(e.size(), 6u);
    EXPECT_EQ(e[0], "LTex2500=Creation of  1 temporary .bmp");
    EXPECT_EQ(e[1], "LPourCent=0%");
    EXPECT_EQ(e[2], "LNbTex=");
    EXPECT_EQ(e[3], "show");
    EXPECT_EQ(e[4], "LPourCent=0%");
    EXPECT_EQ(e[5], "LNbTex= 1");
    EXPECT_EQ(e[6], "refresh");
    // Every 10th row: 10 rows is 0.5%, which rounds to 0 (halves to even); 2000 rows 100%.
    EXPECT_EQ(e[7], "LPourCent=0%");
    EXPECT_EQ(e[8], "LPourCent=1%");
    EXPECT_EQ(e[e.size() - 2], "LPourCent=100%");
    EXPECT_EQ(e.back(), "hide");
    EXPECT_EQ(progress.Count("refresh"), 1u);

    progress.events.clear();
    Language = "FR";
    ASSERT_EQ(Split(Make_Map(2001, 2001, 24)), 0);
    EXPECT_EQ(progress.events[0], "LTex2500=Création de  4 .bmp temporaires");
    EXPECT_EQ(progress.Count("LNbTex= 4"), 1u);
    EXPECT_EQ(progress.Count("refresh"), 4u);
    // The last tile row holds one map row: no tenth row, no percentage beyond 0%.
    EXPECT_EQ(progress.events[progress.events.size() - 2], "refresh");
}

TEST_F(MapTiling, ExistingTileFileIsReplaced) {
    Write(Tile("00"), Bytes(13000000, 0x77));
    ASSERT_EQ(Split(Make_Map(10, 10, 24)), 0);
    const Bytes t = Read(Tile("00"));
    EXPECT_EQ(t.size(), 12000054u);
    EXPECT_EQ(t.back(), 0);
}

TEST_F(MapTiling, TileCountsComeFromTheBitmapNotFromThoseStoredBefore) {
    Tile_Cols = 7, Tile_Rows = 7, Tile_Count = 49;
    ASSERT_EQ(Split(Make_Map(4001, 10, 24)), 0);
    EXPECT_EQ(Tile_Cols, 3);
    EXPECT_EQ(Tile_Rows, 1);
    EXPECT_EQ(Tile_Count, 3);
}

TEST_F(MapTiling, MapsTheTilerCannotReadAreRefusedAndNothingIsWritten) {
    Tile_Cols = 2, Tile_Rows = 3, Tile_Count = 6;
    auto refused = [&](Bytes map, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(Split(map), 1);
        EXPECT_TRUE(Tiles().empty());
        EXPECT_EQ(Tile_Count, 6) << "the counts of the open project stay";
    };
    Bytes m16 = Make_Map(10, 10, 24);
    plat::PutU16(&m16[28], 16);
    refused(m16, "16 bits");
    Bytes rle = Make_Map(10, 10, 8);
    plat::PutU32(&rle[30], plat::BI_RLE8);
    refused(rle, "compressed");
    Bytes cut = Make_Map(100, 100, 24);
    cut.resize(cut.size() / 2);
    refused(cut, "truncated");
    Bytes huge = Make_Map(10, 10, 24);
    plat::PutU32(&huge[18], 2000000000);
    plat::PutU32(&huge[22], 2000000000);
    refused(huge, "absurd size");
    Bytes zero = Make_Map(10, 10, 24);
    plat::PutU32(&zero[22], 0);
    refused(zero, "height 0");
    refused(Bytes{'B', 'M', 0}, "three bytes");

    int16_t error = 0;
    Com_Split_Map_Bitmap(progress, App_Dir + "\\none.bmp", error);
    EXPECT_EQ(error, 1);
}

TEST_F(MapTiling, MoreTilesThanATileCountHoldsIsRefused) {
    // 182 x 181 tiles (above 32767) of a sparse file whose rows are all there.
    Bytes m = Make_Map(1, 1, 8);
    plat::PutU32(&m[18], 364000);
    plat::PutU32(&m[22], 362000);
    m.resize(1078);
    Write(dir / "big.bmp", m);
    std::error_code ec;
    fs::resize_file(dir / "big.bmp", 1078 + uint64_t{364000} * 362000, ec);
    if (ec) GTEST_SKIP() << "no sparse files here";
    Tile_Count = 5;
    int16_t error = 0;
    Com_Split_Map_Bitmap(progress, App_Dir + "\\big.bmp", error);
    EXPECT_EQ(error, 1);
    EXPECT_TRUE(Tiles().empty());
    EXPECT_EQ(Tile_Count, 5);
    fs::remove(dir / "big.bmp");
}

TEST_F(MapTiling, TilesThatCannotBeWrittenFailApartFromTheMapAndLeaveNoTile) {
    Tile_Cols = 2, Tile_Rows = 3, Tile_Count = 6;
    // The second tile's name is taken by a folder: the first tile is written, then removed.
    fs::create_directory(Tile("10"));
    EXPECT_EQ(Split(Make_Map(2001, 5, 24)), Tiling_Tiles_Unwritable);
    EXPECT_EQ(Tiles(), (std::set<std::string>{"$$$_10.bmp"}));
    EXPECT_EQ(Tile_Count, 6);
    // A file where the Temp folder should be.
    fs::remove_all(dir / "Temp");
    Write(dir / "Temp", Bytes{1});
    EXPECT_EQ(Split(Make_Map(5, 5, 8)), Tiling_Tiles_Unwritable);
    EXPECT_EQ(Split(Bytes{'B', 'M', 0}), Tiling_Map_Unreadable) << "a bad map is still the map's fault";
    EXPECT_EQ(Tile_Count, 6);
}

TEST_F(MapTiling, MissingTempFolderIsCreated) {
    fs::remove_all(dir / "Temp");
    ASSERT_EQ(Split(Make_Map(5, 5, 8)), 0);
    EXPECT_TRUE(fs::exists(Tile("00")));
}

TEST(TileNames, NamesJoinColumnAndRowAsTheViewsExpect) {
    const char* want[] = {"00", "10", "20", "01", "11", "21"};
    for (int k = 0; k < 6; ++k) {
        std::string name;
        Com_Tile_Name(3, 2, k, name);
        EXPECT_EQ(name, want[k]) << k;
    }
    std::string name;
    Com_Tile_Name(4, 13, 12 * 4 + 3, name);
    EXPECT_EQ(name, "312");
    Com_Tile_Name(5, 3, 12, name);
    EXPECT_EQ(name, "22");
}

TEST(TileNames, LargeGridsKeepEveryTileApart) {
    // Column 1 row 10 and column 11 row 0 would both be "110".
    std::string a, b;
    Com_Tile_Name(12, 11, 10 * 12 + 1, a);
    Com_Tile_Name(12, 11, 11, b);
    EXPECT_EQ(a, "1_10");
    EXPECT_EQ(b, "11_0");
    // One column fewer, or one row fewer, and nothing can collide: the joined names stay.
    Com_Tile_Name(11, 11, 10 * 11 + 1, a);
    EXPECT_EQ(a, "110");
    Com_Tile_Name(12, 10, 11, b);
    EXPECT_EQ(b, "110");

    for (int cols : {12, 40, 181}) {
        const int rows = cols == 181 ? 181 : 40;
        std::set<std::string> seen;
        for (int k = 0; k < cols * rows; ++k) {
            Com_Tile_Name(cols, rows, k, a);
            ASSERT_TRUE(seen.insert(a).second) << "duplicate " << a;
            if (a.find('_') == std::string::npos) {
                ASSERT_EQ(a, std::to_string(k % cols) + std::to_string(k / cols));
            }
        }
        Com_Tile_Name(cols, rows, 0, a);
        EXPECT_EQ(a, "00") << "the first tile keeps its name in every grid";
        Com_Tile_Name(cols, rows, 2 * cols + 3, a);
        EXPECT_EQ(a, "32");
    }
}

TEST(TileNames, TileFileLiesInTheTempFolder) {
    testenv::ResetProgramState();
    App_Dir = "C:\\Prog";
    EXPECT_EQ(Com_Tile_File(3, 2, 4), "C:\\Prog\\Temp\\$$$_11.bmp");
    int32_t c = 0, r = 0;
    EXPECT_TRUE(Com_Tile_Grid(2000, 2001, c, r));
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 2);
    EXPECT_FALSE(Com_Tile_Grid(0, 5, c, r));
    EXPECT_EQ(c, 0);
    testenv::ResetProgramState();
}

TEST_F(MapTiling, BmpCheckAcceptsOnlyMapsTheTilerReads) {
    auto check = [&](const Bytes& b) {
        Write(dir / "c.bmp", b);
        uint8_t rejected = 9;
        SYST_Check_Bmp(App_Dir + "\\c.bmp", rejected);
        return rejected;
    };
    EXPECT_EQ(check(Make_Map(3, 3, 8)), 0);
    EXPECT_EQ(check(Make_Map(3, 3, 24, true)), 0);
    Bytes m = Make_Map(3, 3, 24);
    plat::PutU16(&m[28], 32);
    EXPECT_EQ(check(m), 1);
    m = Make_Map(3, 3, 8);
    plat::PutU32(&m[30], plat::BI_RLE8);
    EXPECT_EQ(check(m), 1);
    EXPECT_EQ(check(Bytes{'B', 'M'}), 1);
    EXPECT_EQ(check(Bytes(100, 'x')), 1);
    uint8_t rejected = 0;
    SYST_Check_Bmp(App_Dir + "\\missing.bmp", rejected);
    EXPECT_EQ(rejected, 1);
    EXPECT_FALSE(fs::exists(dir / "missing.bmp"));
}

}  // namespace
