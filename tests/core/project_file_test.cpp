// The project file: what a saved project holds, how it reads back, the version rules and the
// older-project conversion, and that a bad file or a failed save never costs the user data.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <random>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/ui/controls.h"
#include "setup/frm_v24.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

using testenv::Read_File;
using testenv::Write_File;
// The file without its first line (date and path of the save).
std::string Body(const std::string& text) { return text.substr(text.find('\n') + 1); }
std::vector<std::string> Lines_Of(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}
std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

// A small 24-bit map bitmap.
std::string Bmp24(int w, int h) {
    const int row = (3 * w + 3) / 4 * 4;
    const int size = 54 + row * h;
    std::string b(static_cast<size_t>(size), '\0');
    auto put32 = [&](int at, uint32_t v) { for (int i = 0; i < 4; ++i) b[static_cast<size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 255); };
    auto put16 = [&](int at, uint16_t v) { b[static_cast<size_t>(at)] = static_cast<char>(v & 255); b[static_cast<size_t>(at + 1)] = static_cast<char>(v >> 8); };
    b[0] = 'B'; b[1] = 'M';
    put32(2, static_cast<uint32_t>(size)); put32(10, 54); put32(14, 40); put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h)); put16(26, 1); put16(28, 24); put32(34, static_cast<uint32_t>(row * h));
    for (int i = 54; i < size; ++i) b[static_cast<size_t>(i)] = static_cast<char>(i * 7);
    return b;
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host().Reset();
        dir = testenv::ScratchDir("pf");
        fs::create_directories(dir / "Temp");
        fs::create_directories(dir / "Resource");
        App_Dir = dir.string();
        Ini_Path = App_Dir + "\\Resource\\Tessaline.Ini";
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        // The names the parameters window asks of every project, as the empty fixture holds them.
        Bgl_Base_Path = "Empty.bgl";
        Bgl_Excl_Path = "Empty_Excl.bgl";
    }
    void TearDown() override { testenv::ResetProgramState(); }

    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static fs::path Fixture(const std::string& name) { return testenv::Fixtures() / "projects" / name; }

    // The whole project in memory as text, so two states compare in one assertion.
    static std::string State() { return Body(Project_File_Text("x", "")); }
    // The tables' sizes, which the file text does not show.
    static std::vector<int64_t> Sizes() {
        return {Line_Capacity, Line_Table.UBound(), Point_Capacity, Point_Table.UBound(),
                Lwm_Cell_Capacity, Lwm_Cell_Table.UBound(), Excl_Cell_Capacity, Excl_Cell_Table.UBound(),
                Lod8_Cell_Capacity, Lod8_Cell_Table.UBound(), Lc_Cell_Capacity, Lc_Cell_Table.UBound(),
                Wc_Cell_Capacity, Wc_Cell_Table.UBound(), Image_Capacity, Image_Table.UBound(),
                Grid_Point_Capacity, Grid_Point_Table.UBound()};
    }

    void Read(const fs::path& p) { Pinit_Read_Project(p.string()); }

    fs::path dir;
};

// ---------------------------------------------------------------------------------------------

TEST(ProjectFileNumbers, AreShortestWithALeadingBlankAndNoZeroBeforeThePoint) {
    EXPECT_EQ(Project_Num(0.5), " .5");
    EXPECT_EQ(Project_Num(-0.25), "-.25");
    EXPECT_EQ(Project_Num(0), " 0");
    EXPECT_EQ(Project_Num(45.5), " 45.5");
    EXPECT_EQ(Project_Num(-3), "-3");
    EXPECT_EQ(Project_Num(1.0 / 3), " .333333333333333");
    EXPECT_EQ(Project_Num(0.1 + 0.2), " .3");
    EXPECT_EQ(Project_Num(123456789012345.0), " 123456789012345");
    EXPECT_EQ(Project_Num(1e15), " 1E+15");
    EXPECT_EQ(Project_Num(1e20), " 1E+20");
    EXPECT_EQ(Project_Num(-1.5e-7), "-1.5E-07");
    EXPECT_EQ(Project_Num(0.0001), " .0001");
    EXPECT_EQ(Project_Num(0.00001), " 1E-05");
    // Below the normal range the file has the shortest text that reads back.
    EXPECT_EQ(Project_Num(5e-324), " 5E-324");
    EXPECT_EQ(Project_Num(-0x0.08f9d0f57c993p-1022), "-7.8015302433005E-310");
    std::string text;
    for (float value : {0.1f, 12.5f, 12345678.0f}) Project_Append_Num_Float(text, value);
    for (int64_t value : {0, -7}) Project_Append_Num_Int(text, value);
    EXPECT_EQ(text, " .1" " 12.5" " 1.234568E+07" " 0" "-7");
}

TEST(ProjectFileNumbers, ReadAsFarAsTheTokenReadsAndEmptyGivesZero) {
    for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{
             {".5", 0.5}, {"0.5", 0.5}, {"-.25", -0.25}, {"+5", 5}, {"1E+20", 1e20}, {"1.5E-07", 1.5e-7},
             {"  7", 7}, {"1x", 1}, {"12a", 12}, {"1.2.3", 1.2}, {"1E", 1}, {"1,5", 1}, {"5.", 5},
             {"", 0}, {"-", 0}, {".", 0}, {"abc", 0}, {"inf", 0}, {"nan", 0}, {"0x10", 0}, {"+-5", 0}, {"1E-999", 0}}) {
        const plat::NumberText n = plat::ReadNumber(text);
        EXPECT_EQ(n.value, value) << text;
        EXPECT_TRUE(n.fits) << text;
    }
    EXPECT_EQ(plat::ReadNumber("12a").length, 2u);
    EXPECT_EQ(plat::ReadNumber("abc").length, 0u);
    // Too large for a double is no value: the readers refuse it rather than store a made-up one.
    const std::string long_whole = "1" + std::string(400, '0');
    for (const std::string& huge : {std::string("1E999"), std::string("-1E400"), long_whole, std::string("0.001E400")}) {
        EXPECT_FALSE(plat::ReadNumber(huge).fits) << huge;
        EXPECT_EQ(plat::ReadNumber(huge).value, 0) << huge;
    }
    EXPECT_TRUE(plat::ReadNumber(long_whole + "E-500").fits);
    EXPECT_TRUE(plat::ReadNumber("1000E-400").fits);
}

TEST(ProjectFileNumbers, EveryWrittenNumberReadsBackToTheSameValue) {
    for (double x : {0.5, -0.25, 1.0 / 3, 45.4921875, 1e-5, 2999.75, -9999.0, 1e20, 6.02214076e23, 4.9e-300}) {
        const plat::NumberText back = plat::ReadNumber(Project_Num(x));
        EXPECT_EQ(back.length, Project_Num(x).size()) << x;
        EXPECT_NEAR(back.value, x, std::abs(x) * 1e-14) << x;
    }
}

// ---------------------------------------------------------------------------------------------

TEST_F(ProjectFileTest, AProjectOfEveryObjectKindReadsIntoTheTables) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Map_Top_Lat, 45.5);
    EXPECT_EQ(Map_Lon_West, 5.2734375);
    EXPECT_EQ(Map_File, "C:\\Maps\\Town map.bmp");
    EXPECT_EQ(Raw_Dir, "C:\\Raw\\");
    EXPECT_EQ(Map_Width_Px, 4500);
    EXPECT_EQ(Grid_Frame_Cells[7], 395);
    EXPECT_EQ(Proj_Px_SE_Y, 2900);
    EXPECT_EQ(Map_Px_West, 0.5);
    EXPECT_EQ(Tile_Cols, 3);
    EXPECT_EQ(Alt_Offset, 12.5f);
    EXPECT_EQ(Alt_Unit_Feet, 1);

    ASSERT_EQ(Line_Count, 4);
    EXPECT_EQ(Line_Capacity, 4);
    EXPECT_EQ(Line_Id_Counter, 4);
    EXPECT_EQ(Line_Table(1).Line_Id, 0);
    const Line_Rec& road = Line_Table(2);
    EXPECT_EQ(road.Attr.Text_Rt, "Main road");
    EXPECT_EQ(road.Attr.Type_Code, 1026);
    EXPECT_EQ(road.Attr.Layer, 21);
    EXPECT_EQ(road.Attr.Meter_Feet, 1);
    EXPECT_EQ(road.Attr.Texture_Name[0], "C:\\Tex\\RoadSU.bmp");
    EXPECT_EQ(road.Nb_Points, 3);
    EXPECT_EQ(road.First_Point, 1);
    EXPECT_EQ(road.Last_Point, 3);
    EXPECT_EQ(Point_Table(3).X, 1e-5);
    EXPECT_EQ(Point_Table(2).Prev_Point, 1);
    EXPECT_EQ(Point_Table(2).Next_Point, 3);
    EXPECT_EQ(Point_Table(3).Next_Point, 0);
    const Line_Rec& lake = Line_Table(3);
    EXPECT_EQ(lake.Attr.Imbrication, "A01");
    EXPECT_EQ(lake.Attr.Alt_Coast, 0.25);
    EXPECT_EQ(lake.Attr.Image_Link, 1);
    EXPECT_EQ(lake.First_Point, 4);
    EXPECT_EQ(Point_Table(4).Prev_Point, 0);
    EXPECT_EQ(Line_Table(4).Attr.Largeur, -3);
    EXPECT_EQ(Point_Count, 8);
    EXPECT_EQ(Point_Capacity, 8);

    ASSERT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Lwm_Cell_Capacity, 4);
    EXPECT_EQ(Lwm_Cell_Table(1).Lod13_Col, 3);
    EXPECT_EQ(Lwm_Cell_Table(1).Lod8_Col, 394);
    EXPECT_EQ(Lwm_Cell_Table(1).Layer, 5);
    // Names and text without a closing quote keep their blanks.
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Name[0], "C:\\Tex\\Field 1.bmp");
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Name[5], "  two blanks ");
    EXPECT_EQ(Lwm_Cell_Table(1).Texte, "Area text, with blanks  ");

    ASSERT_EQ(Excl_Cell_Count, 1);
    EXPECT_EQ(Excl_Cell_Capacity, 3);
    EXPECT_EQ(Excl_Cell_Table(1).Excluded[4], 1);
    EXPECT_EQ(Excl_Cell_Table(1).Excluded[100], 1);
    EXPECT_EQ(Excl_Cell_Table(1).Excluded[7], 0);
    ASSERT_EQ(Lod8_Cell_Count, 2);
    EXPECT_EQ(Lod8_Cell_Table(2).Alti, -9999);
    ASSERT_EQ(Lc_Cell_Count, 2);
    EXPECT_EQ(Lc_Cell_Capacity, 3);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 254);
    ASSERT_EQ(Wc_Cell_Count, 1);
    EXPECT_EQ(Wc_Cell_Table(1).Lod13_Row, 31);
    ASSERT_EQ(Image_Count, 1);
    EXPECT_EQ(Image_Capacity, 4);
    EXPECT_EQ(Image_Table(1).Ima_In_Use, 1);
    EXPECT_EQ(Image_Table(1).Ima_Texture[1], "Su.bmp");
    EXPECT_EQ(Image_Table(1).Ima_X2, 110);
    EXPECT_EQ(Image_Table(1).Ima_Height, 256);
    EXPECT_EQ(Mesh_Lod_Index, 3);
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
    ASSERT_EQ(Grid_Point_Count, 2);
    EXPECT_EQ(Grid_Point_Capacity, 52);
    EXPECT_EQ(Grid_Point_Table(2).Alt, -2.25f);
    EXPECT_EQ(Grid_Point_Table(2).Defined, 1);
}

TEST_F(ProjectFileTest, SavingAReadProjectWritesTheSameFileAgain) {
    const std::string fixture = Read_File(Fixture("all_kinds.LWM"));
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    Project_Open = 1;
    Project_File = (dir / "copy.LWM").string();
    Pinit_Save_Project(0, "");
    ASSERT_EQ(Project_Save_Failed, 0);
    const std::string saved = Read_File(dir / "copy.LWM");
    EXPECT_EQ(Body(saved), Body(fixture));
    EXPECT_EQ(saved.rfind("0000 V5.1  (5.1) ", 0), 0u);
    EXPECT_NE(saved.find(Project_File + "\r\n"), std::string::npos);
    // Nothing is left beside the project.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

TEST_F(ProjectFileTest, AnEmptyProjectHasOnlyThePlaceholderLine) {
    PSais_Init_Arrays();
    const std::vector<std::string> lines = Lines_Of(Project_File_Text("C:\\p.LWM", ""));
    const std::vector<std::string> expected_0100 = {
        "0100  1  0  0", "      \"\"", "      \"\"",
        "       0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0",
        "     \"\"", "     \"\"", "     \"\"", "     \"\"", "     \"\"", "     \"\"", "0120  0"};
    ASSERT_GE(lines.size(), 30u);
    EXPECT_EQ(lines[1], "0002         ");
    EXPECT_EQ(lines[2], "0010   0  0  0  0  0  0  0  0  0  0  0  0");
    EXPECT_EQ(lines[10], "0040   0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 15, lines.begin() + 26), expected_0100);
    EXPECT_EQ(lines.back(), "End");
    EXPECT_EQ(Body(Project_File_Text("C:\\p.LWM", "")), Body(Read_File(Fixture("empty.LWM"))));
}

TEST_F(ProjectFileTest, SaveAsNamesTheProjectItCameFrom) {
    PSais_Init_Arrays();
    Project_Open = 1;
    Project_File = (dir / "old.LWM").string();
    Pinit_Save_Project(1, (dir / "new.LWM").string());
    const std::vector<std::string> lines = Lines_Of(Read_File(dir / "new.LWM"));
    EXPECT_EQ(lines[1], "0002          issu de " + Project_File);
    EXPECT_FALSE(fs::exists(dir / "old.LWM"));
}

TEST_F(ProjectFileTest, AVersion50ProjectReadsWithMetresAndTheSameObjects) {
    Read(Fixture("all_kinds.LWM"));
    Line_Table(2).Attr.Meter_Feet = 0;
    const std::string as_50 = State();
    Read(Fixture("v50.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Table(2).Attr.Meter_Feet, 0);
    EXPECT_EQ(State(), as_50);
}

TEST_F(ProjectFileTest, PointsAreRenumberedInFileOrder) {
    PSais_Init_Arrays();
    const int32_t a = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(a, 1, 1);
    const int32_t gone = Project_Append_Point(a, 2, 2);
    Project_Append_Point(a, 3, 3);
    const int32_t b = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(b, 4, 4);
    Project_Unlink_Point(a, gone);
    Project_Append_Point(a, 5, 5);
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Pinit_Save_Project(0, "");
    Read(dir / "p.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Point_Count, 4);
    EXPECT_EQ(Line_Table(2).First_Point, 1);
    EXPECT_EQ(Line_Table(2).Last_Point, 3);
    EXPECT_EQ(Point_Table(3).X, 5);
    EXPECT_EQ(Line_Table(3).First_Point, 4);
    EXPECT_EQ(Point_Table(4).X, 4);
}

TEST_F(ProjectFileTest, ADamagedPointChainStillGivesAFileThatReadsBack) {
    PSais_Init_Arrays();
    const int32_t a = Project_Append_Line(Route_Attrib{});
    for (int i = 1; i <= 4; ++i) Project_Append_Point(a, i, i);
    Point_Table(3).Next_Point = 2;       // a loop that never reaches the last point
    const int32_t b = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(b, 9, 9);
    Point_Table(5).Next_Point = 999;     // and a link outside the table
    Line_Table(b).Last_Point = 0;
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Pinit_Save_Project(0, "");
    Read(dir / "p.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Count, 3);
    EXPECT_EQ(Line_Table(3).Nb_Points, 1);
    EXPECT_EQ(Point_Table(Line_Table(3).First_Point).X, 9);
}

TEST_F(ProjectFileTest, QuotesAndLineBreaksInTextsCannotBreakTheFile) {
    PSais_Init_Arrays();
    Route_Attrib attr;
    attr.Text_Rt = "the \"old\" road\r\nnorth";
    attr.Imbrication = "A\"1";
    attr.Texture_Name[2] = "C:\\x\ny.bmp";
    const int32_t a = Project_Append_Line(attr);
    Project_Append_Point(a, 1, 2);
    Lwm_Cell_Count = 1;
    Lwm_Cell_Table(1).Texte = "area \"x\"\rend";
    Map_File = "C:\\maps\\\"town\".bmp";
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Pinit_Save_Project(0, "");
    Read(dir / "p.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Table(2).Attr.Text_Rt, "the 'old' road  north");
    EXPECT_EQ(Line_Table(2).Attr.Imbrication, "A'1");
    EXPECT_EQ(Line_Table(2).Attr.Texture_Name[2], "C:\\x y.bmp");
    EXPECT_EQ(Lwm_Cell_Table(1).Texte, "area 'x' end");
    EXPECT_EQ(Map_File, "C:\\maps\\'town'.bmp");
    EXPECT_EQ(Point_Table(1).Y, 2);
}

TEST_F(ProjectFileTest, AccentedTextsAreWindows1252OnDiskAndComeBackWhole) {
    PSais_Init_Arrays();
    Route_Attrib attr;
    attr.Text_Rt = "Rivière Mérée";
    Project_Append_Line(attr);
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Pinit_Save_Project(0, "");
    EXPECT_NE(Read_File(dir / "p.LWM").find("Rivi\xE8re M\xE9r\xE9" "e"), std::string::npos);
    Read(dir / "p.LWM");
    EXPECT_EQ(Line_Table(2).Attr.Text_Rt, "Rivière Mérée");
}

TEST_F(ProjectFileTest, AnExclusionSectionOfNoAreaKeepsTheTableThatWasThere) {
    Excl_Cell_Capacity = 7;
    Excl_Cell_Table.ReDim(7);
    Excl_Cell_Count = 1;
    Excl_Cell_Table(1).Lod8_Col = 42;
    Read(Fixture("empty.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Excl_Cell_Count, 0);
    EXPECT_EQ(Excl_Cell_Capacity, 7);
    EXPECT_EQ(Excl_Cell_Table.UBound(), 7);
    EXPECT_EQ(Lwm_Cell_Capacity, 3);
    EXPECT_EQ(Point_Capacity, 10);
    EXPECT_EQ(Grid_Point_Capacity, 50);
}

TEST_F(ProjectFileTest, DeletedImagesAndUndefinedGridPointsAreLeftOut) {
    PSais_Init_Arrays();
    Image_Count = 2;
    Image_Table(1).Ima_In_Use = 0;
    Image_Table(1).Ima_File = "gone.bmp";
    Image_Table(2).Ima_In_Use = 1;
    Image_Table(2).Ima_File = "kept.bmp";
    Grid_Point_Count = 3;
    Grid_Point_Table(2).Defined = 1;
    Grid_Point_Table(2).Alt = 7.5f;
    const std::string text = Project_File_Text("p", "");
    EXPECT_NE(text.find("0180  1\r\n      \"kept.bmp\""), std::string::npos);
    EXPECT_EQ(text.find("gone.bmp"), std::string::npos);
    EXPECT_NE(text.find("0200  2  0  1\r\n      7.5  0  0\r\nEnd"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Versions

TEST_F(ProjectFileTest, NewerAndUnversionedFilesAreRefusedWithMessage30) {
    std::string text = Read_File(Fixture("empty.LWM"));
    for (const std::string& first : {std::string("0000 V5.2  (5.2)"), std::string("0000 5.1"), std::string("0000 v5.1")}) {
        Write_File(dir / "p.LWM", first + text.substr(text.find("\r\n")));
        host().QueueAnswer(plat::ID_OK);
        Read(dir / "p.LWM");
        EXPECT_EQ(Project_Read_Failed, 1) << first;
        ASSERT_FALSE(host().boxes.empty());
        EXPECT_EQ(host().boxes.back().prompt.rfind("(30) ", 0), 0u) << host().boxes.back().prompt;
    }
}

TEST_F(ProjectFileTest, VersionsBelow4AreRefusedWithTheOldVersionText) {
    std::string text = Read_File(Fixture("empty.LWM"));
    Write_File(dir / "p.LWM", "0000 V3.5" + text.substr(text.find("\r\n")));
    host().QueueAnswer(plat::ID_OK);
    Read(dir / "p.LWM");
    EXPECT_EQ(Project_Read_Failed, 1);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Old Tessal version 3.5not allowed");
}

TEST_F(ProjectFileTest, OnlyAVersion4FileAsksForTheConversion) {
    Read(Fixture("v50.LWM"));
    EXPECT_EQ(Project_Read_Failed, 0);
    EXPECT_TRUE(host().log.empty() || host().log.front().find("Frm_V24") == std::string::npos);
    int shown = 0;
    host().OnModal("Frm_V24", [&](plat::Form&) { ++shown; Frm_V24_Window().Cmd_Ok.UserClick(); });
    Read(Fixture("v4.LWM"));
    EXPECT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(shown, 1);
}

TEST_F(ProjectFileTest, Version4WithTheDefaultOptionsConvertsLineEndsAndExclusionsOnly) {
    host().OnModal("Frm_V24", [](plat::Form&) { Frm_V24_Window().Cmd_Ok.UserClick(); });
    Read(Fixture("v4.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Table(2).Attr.Effil_Deb, 0);
    EXPECT_EQ(Line_Table(2).Attr.Effil_Fin, 0);
    for (int i = 2; i <= 5; ++i) {
        EXPECT_EQ(Line_Table(i).Attr.Layer, 5);
        EXPECT_EQ(Line_Table(i).Attr.Layer_Vtp2, 3);
        EXPECT_EQ(Line_Table(i).Attr.Meter_Feet, 0);
    }
    // Kind 4 to 7, then 16 to 4, then 31/32 to 6.
    const auto& f = Excl_Cell_Table(1).Excluded;
    EXPECT_EQ(f[7], 1);
    EXPECT_EQ(f[4], 1);
    EXPECT_EQ(f[16], 0);
    EXPECT_EQ(f[32], 0);
    EXPECT_EQ(f[6], 1);
    // An area without kinds 31 and 32 keeps its kind 6 as it was.
    EXPECT_EQ(Excl_Cell_Table(2).Excluded[6], 1);
    EXPECT_EQ(Excl_Cell_Table(2).Excluded[31], 0);
}

TEST_F(ProjectFileTest, Version4LayerOptionsFollowTheShoreOptionAndTypeCode) {
    host().OnModal("Frm_V24", [](plat::Form&) {
        Frm_V24& w = Frm_V24_Window();
        w.Chk_Change_layer_Line.UserClick();
        w.Chk_Change_Layer_Poly.UserClick();
        w.Chk_Adapt_lines.UserClick();
        w.Cmd_Ok.UserClick();
    });
    Read(Fixture("v4.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    // Shore option 0: only the polygon option.
    EXPECT_EQ(Line_Table(2).Attr.Layer, 5);
    EXPECT_EQ(Line_Table(2).Attr.Layer_Vtp2, 17);
    EXPECT_EQ(Line_Table(2).Attr.Effil_Deb, 1);
    // Shore option 1: both, type 1024 gives 22.
    EXPECT_EQ(Line_Table(3).Attr.Layer, 22);
    EXPECT_EQ(Line_Table(3).Attr.Layer_Vtp2, 17);
    // Shore options 2 and 3: only the line option; 1181 gives 23, 1182 gives 24.
    EXPECT_EQ(Line_Table(4).Attr.Layer, 23);
    EXPECT_EQ(Line_Table(4).Attr.Layer_Vtp2, 3);
    EXPECT_EQ(Line_Table(5).Attr.Layer, 24);
    EXPECT_EQ(Line_Table(5).Attr.Layer_Vtp2, 3);
}

TEST_F(ProjectFileTest, Version4ClosedWithoutOkConvertsNothing) {
    host().OnModal("Frm_V24", [](plat::Form&) {
        Frm_V24_Window().Chk_Change_layer_Line.UserClick();
        Frm_V24_Window().UserClose();
    });
    Read(Fixture("v4.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Table(2).Attr.Effil_Deb, 1);
    EXPECT_EQ(Line_Table(3).Attr.Layer, 5);
    EXPECT_EQ(Excl_Cell_Table(1).Excluded[4], 1);
    EXPECT_EQ(Excl_Cell_Table(1).Excluded[7], 0);
}

// ---------------------------------------------------------------------------------------------
// Malformed files

TEST_F(ProjectFileTest, AMalformedFileIsRefusedAndTheOpenProjectStaysAsItWas) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    // Spare room in every table, which no read of the file gives, so that a size a refused read
    // fails to put back shows.
    const auto spare = [](auto& table, int32_t& capacity) { table.ReDim_Preserve(capacity += 3); };
    spare(Line_Table, Line_Capacity);
    spare(Point_Table, Point_Capacity);
    spare(Lwm_Cell_Table, Lwm_Cell_Capacity);
    spare(Excl_Cell_Table, Excl_Cell_Capacity);
    spare(Lod8_Cell_Table, Lod8_Cell_Capacity);
    spare(Lc_Cell_Table, Lc_Cell_Capacity);
    spare(Wc_Cell_Table, Wc_Cell_Capacity);
    spare(Image_Table, Image_Capacity);
    spare(Grid_Point_Table, Grid_Point_Capacity);
    const std::string before = State();
    const std::vector<int64_t> sizes = Sizes();
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    host().strict = false;

    std::vector<std::pair<std::string, std::string>> cases;
    // Cut after every line before the last section's records end ("End" itself is not needed).
    ASSERT_EQ(good.back(), "End");
    for (size_t n = 1; n + 1 < good.size(); ++n)
        cases.push_back({"cut after line " + std::to_string(n), Join(std::vector<std::string>(good.begin(), good.begin() + static_cast<long>(n)))});
    auto edit = [&](const std::string& name, size_t line, const std::string& text) {
        std::vector<std::string> l = good;
        l[line] = text;
        cases.push_back({name, Join(l)});
    };
    edit("huge line count", 15, "0100  2000000000  4  8");
    edit("negative line count", 15, "0100 -4  4  8");
    edit("no placeholder", 15, "0100  0  4  8");
    edit("point count past the file", 27, "       2  300000 -9999  1  0  1026  12  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1");
    edit("layer beyond its byte", 27, "       2  3 -9999  1  0  1026  12  2  0  256  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1");
    edit("huge number", 2, "0010   45.5  1E999  45  6  45.45  5.3  45.05  5.9  45.4921875  5.2734375  45  6");
    edit("offset beyond a float", 14, "0063  1  1E300  0");
    edit("line too long for the scanner", 26, "      \"" + std::string(40000, 'a') + "\"");
    edit("type code beyond 16 bits", 27, "       2  3 -9999  1  0  99999  12  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1");
    for (size_t i = 0; i < good.size(); ++i) {
        if (good[i].rfind("0120", 0) == 0) edit("a point line in place of the 0120 section", i, good[34]);
        if (good[i].rfind("0140", 0) == 0) edit("exclusion count too large", i, "0140  5");
        if (good[i].rfind("0200", 0) == 0) edit("grid point count past the file", i, "0200  3  1  50");
    }
    for (const auto& [name, text] : cases) {
        Write_File(dir / "bad.LWM", text);
        Read(dir / "bad.LWM");
        EXPECT_EQ(Project_Read_Failed, 1) << name;
        EXPECT_EQ(State(), before) << name;
        EXPECT_EQ(Sizes(), sizes) << name;
    }
}

TEST_F(ProjectFileTest, AFrameOutsideTheWorldOrBeyondThirtyTwoBitPixelsIsRefusedWithItsMessage) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    // The twelve degrees of the 0010 line and the four frame pixels of the 0060 line.
    const std::vector<std::string> degrees = {"45.5", "5.25", "45", "6", "45.45", "5.3", "45.05", "5.9", "45.4921875", "5.2734375", "45", "6"};
    const std::vector<std::string> pixels = {"100", "200", "4400", "2900", ".5", "10.25", "4499.5", "2999.75"};
    auto line = [](const char* tag, const std::vector<std::string>& v) {
        std::string l = tag;
        for (const std::string& x : v) l += "  " + x;
        return l;
    };
    auto read_with = [&](size_t at, const std::string& text) {
        std::vector<std::string> l = good;
        l[at] = text;
        Write_File(dir / "frame.LWM", Join(l));
        host().boxes.clear();
        Read(dir / "frame.LWM");
    };
    host().strict = false;
    const std::string file = (dir / "frame.LWM").string();
    struct Case { size_t at; size_t value; std::string text; std::string says; };
    std::vector<Case> cases;
    for (size_t k = 0; k < degrees.size(); ++k)
        for (const char* v : {"1E5", "-1E308", "99999999999999999999"}) cases.push_back({2, k, v, "outside the world"});
    cases.push_back({2, 8, "44", "wrong way round"});      // frame north below its south
    cases.push_back({2, 9, "6.5", "wrong way round"});     // frame west beyond its east
    cases.push_back({2, 4, "44", "wrong way round"});      // calibration north below south
    for (size_t k = 4; k < pixels.size(); ++k)
        for (const char* v : {"2147483648", "-2147483649", "1E308"}) cases.push_back({11, k, v, "too far"});
    cases.push_back({11, 6, "-5", "wrong way round"});     // east pixel left of the west one
    for (const Case& c : cases) {
        std::vector<std::string> v = c.at == 2 ? degrees : pixels;
        v[c.value] = c.text;
        Language = "US";
        read_with(c.at, line(c.at == 2 ? "0010 " : "0060", v));
        const std::string name = line("", v);
        EXPECT_EQ(Project_Read_Failed, 1) << name;
        EXPECT_EQ(State(), before) << name;
        ASSERT_EQ(host().boxes.size(), 1u) << name;
        EXPECT_NE(host().boxes[0].prompt.find(c.says), std::string::npos) << host().boxes[0].prompt;
        EXPECT_NE(host().boxes[0].prompt.find(file), std::string::npos) << host().boxes[0].prompt;
    }
    Language = "FR";
    read_with(2, line("0010 ", {"45.5", "5.25", "45", "6", "45.45", "5.3", "45.05", "5.9", "1E5", "5.2734375", "45", "6"}));
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("La carte sort du monde", 0), 0u) << host().boxes[0].prompt;

    // The whole world, and pixels at the 32-bit limits, are sound and open.
    read_with(2, line("0010 ", {"90", "-180", "-90", "180", "90", "-180", "-90", "180", "90", "-180", "-90", "180"}));
    EXPECT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Map_Lat_South, -90);
    read_with(11, line("0060", {"100", "200", "4400", "2900", "-2147483647", "-2147483647", "2147483647", "2147483647"}));
    EXPECT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Map_Px_East, 2147483647);
}

TEST_F(ProjectFileTest, CellsBeyondTheGridAndValuesNoWindowTakesAreRefusedNamingTheObjectAndField) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    auto read_with = [&](size_t at, const std::string& text) {
        std::vector<std::string> l = good;
        l[at] = text;
        Write_File(dir / "v.LWM", Join(l));
        host().boxes.clear();
        Read(dir / "v.LWM");
    };
    host().strict = false;
    Language = "US";
    const std::vector<std::tuple<size_t, std::string, std::string>> refused = {
        {61, "       -9999  1  3  4  768  126  1  0  2  1  0  9  5", "Textured area 1: its LOD8 column (768)"},
        {61, "       -9999  1  3  32  394  126  1  0  2  1  0  9  5", "Textured area 1: its LOD13 row (32)"},
        {70, "       394  126  -1  4", "Exclusion area 1: its LOD13 column (-1)"},
        {173, "       352  1  -1  126", "LOD8 cell 1: its LOD8 column (-1)"},
        {177, "      394  512  5  6  9", "Land-class cell 2: its LOD8 row (512)"},
        {179, "      395  127  0  32  7", "Water-class cell 1: its LOD13 row (32)"},
        {27, "       2  3 -9999  1  0  1026 -32768  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1",
         "Line 2 (Main road): its width (-32768)"},
        {27, "       2  3 -9999  1  0 -32768  12  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1",
         "Line 2 (Main road): its type code (-32768)"},
        {14, "0063  1  3.4E38  0", "altitude offset"},
        {14, "0063  1 -1000  0", "altitude offset"},
    };
    for (const auto& [at, text, says] : refused) {
        read_with(at, text);
        EXPECT_EQ(Project_Read_Failed, 1) << text;
        EXPECT_EQ(State(), before) << text;
        ASSERT_EQ(host().boxes.size(), 1u) << text;
        EXPECT_NE(host().boxes[0].prompt.find(says), std::string::npos) << host().boxes[0].prompt;
        EXPECT_NE(host().boxes[0].prompt.find((dir / "v.LWM").string()), std::string::npos);
    }
    Language = "FR";
    read_with(173, "       352  1  768  126");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("Cellule LOD8 n°1 : sa colonne LOD8 (768) sort des valeurs permises, de 0 à 767.", 0), 0u)
        << host().boxes[0].prompt;

    // The grid's last cell and area, the widest width a window takes, an offset just inside, and a
    // width no writer reads (the coastline's -3 of the fixture) all open.
    for (const auto& [at, text] : std::vector<std::pair<size_t, std::string>>{
             {61, "       -9999  1  31  31  767  511  1  0  2  1  0  9  5"},
             {27, "       2  3 -9999  1  0  9999  255  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1"},
             {14, "0063  1 -999.5  0"}}) {
        read_with(at, text);
        EXPECT_EQ(Project_Read_Failed, 0) << text;
    }
    EXPECT_EQ(Line_Table(4).Attr.Largeur, -3);
}

TEST_F(ProjectFileTest, ACountPastItsRecordsIsRefusedNamingTheObjectAndFieldAndEndIsNoRecord) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    ASSERT_EQ(good[188], "0200  3  1  2");
    auto read_with = [&](size_t at, const std::string& text) {
        std::vector<std::string> l = good;
        l[at] = text;
        Write_File(dir / "g.LWM", Join(l));
        host().boxes.clear();
        Read(dir / "g.LWM");
    };
    host().strict = false;
    Language = "US";
    const std::vector<std::tuple<size_t, std::string, std::string>> refused = {
        // One grid point more than the file holds: "End" is no point.
        {188, "0200  3  1  3", "Altitude grid points: their count (3) runs past the records that follow it in the file."},
        {188, "0200  3  1 -1", "Altitude grid points: their count (-1) cannot be negative."},
        {27, "       2  300000 -9999  1  0  1026  12  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1",
         "Line 2: its point count (300000) runs past"},
        {172, "0150  2000", "LOD8 cells: their count (2000) runs past"},
        {175, "0160 -2", "Land-class cells: their count (-2) cannot be negative."},
        {15, "0100  2000000000  4  8", "Lines: their count (2000000000) runs past"},
    };
    for (const auto& [at, text, says] : refused) {
        read_with(at, text);
        EXPECT_EQ(Project_Read_Failed, 1) << text;
        EXPECT_EQ(State(), before) << text;
        ASSERT_EQ(host().boxes.size(), 1u) << text;
        EXPECT_EQ(host().boxes[0].prompt.find(says), 0u) << host().boxes[0].prompt;
        EXPECT_NE(host().boxes[0].prompt.find("\r\nThe project file was not loaded: " + (dir / "g.LWM").string()),
                  std::string::npos) << host().boxes[0].prompt;
    }
    Language = "FR";
    read_with(188, "0200  3  1  3");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt,
              "Points d'altitude : leur nombre (3) dépasse les enregistrements qui le suivent dans le fichier.\r\n"
              "Le fichier projet n'a pas été chargé : " + (dir / "g.LWM").string());
}

TEST_F(ProjectFileTest, BglNamesOfNoFileAndLineIdCountersWithoutAFreshIdAreRefusedNamingTheField) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    ASSERT_EQ(good[15], "0100  4  4  8");
    auto read_with = [&](size_t at, const std::string& text) {
        std::vector<std::string> l = good;
        l[at] = text;
        Write_File(dir / "n.LWM", Join(l));
        host().boxes.clear();
        Read(dir / "n.LWM");
    };
    host().strict = false;
    Language = "US";
    const std::string base = "Project parameters: the Bgl name of the Fill/Polys LWM-VTP/Lines Bgls ";
    const std::string excl = "Project parameters: the Bgl name of the Exclude Bgls ";
    // As the parameters window refuses them, with its message.
    const std::vector<std::tuple<size_t, std::string, std::string>> refused_names = {
        {8, "0030 \"\"", base + "is empty."},
        {8, "0030 \"   \"", base + "is empty."},
        {8, "0030 \"out/\"", base + "(\"out/\") holds no file name."},
        {8, "0030 \"out/.bgl\"", base + "(\"out/.bgl\") holds no file name."},
        {8, "0030 \"C:\\Scenery\\.BGL\"", base + "(\"C:\\Scenery\\.BGL\") holds no file name."},
        {8, "0030 \"\t\"", base + "is empty."},
        {8, "0030 \"out/\t.bgl\"", base + "(\"out/\t.bgl\") holds no file name."},
        {9, "0031 \"\"", excl + "is empty."},
        {9, "0031 \"out\\\"", excl + "(\"out\\\") holds no file name."},
    };
    for (const auto& [at, text, says] : refused_names) {
        read_with(at, text);
        EXPECT_EQ(Project_Read_Failed, 1) << text;
        EXPECT_EQ(State(), before) << text;
        ASSERT_EQ(host().boxes.size(), 1u) << text;
        EXPECT_EQ(host().boxes[0].prompt.rfind("(509) Project parameters incomplete", 0), 0u) << host().boxes[0].prompt;
        EXPECT_NE(host().boxes[0].prompt.find("\r\n" + says + "\r\nThe project file was not loaded: " + (dir / "n.LWM").string()),
                  std::string::npos) << host().boxes[0].prompt;
    }
    // New lines would repeat an id.
    for (const char* counter : {"-1", "3"}) {
        read_with(15, std::string("0100  4  ") + counter + "  8");
        EXPECT_EQ(Project_Read_Failed, 1) << counter;
        EXPECT_EQ(State(), before) << counter;
        ASSERT_EQ(host().boxes.size(), 1u) << counter;
        EXPECT_EQ(host().boxes[0].prompt.rfind(std::string("Lines: their id counter (") + counter +
                                                   ") lies outside the values allowed, 4 to 2147483647.", 0),
                  0u) << host().boxes[0].prompt;
    }
    Language = "FR";
    read_with(9, "0031 \"\"");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("\r\nParamètres du projet : le nom bgl des Exclude Bgls est vide.\r\n"
                                          "Le fichier projet n'a pas été chargé : "),
              std::string::npos) << host().boxes[0].prompt;
    EXPECT_EQ(host().boxes[0].prompt.rfind("(9) ", 0), 0u) << host().boxes[0].prompt;

    // A base without ".bgl" opens; and a project whose counter gave its last id, then a free one,
    // opens again as saved.
    read_with(8, "0030 \"out/Town\"");
    EXPECT_EQ(Project_Read_Failed, 0);
    read_with(15, "0100  4  2147483646  8");
    ASSERT_EQ(Project_Read_Failed, 0);
    Project_Open = 1;
    Project_File = (dir / "n.LWM").string();
    for (int32_t expected : {2147483647, 1}) {
        EXPECT_EQ(Line_Table(Project_Append_Line(Route_Attrib{})).Line_Id, expected);
        Pinit_Save_Project(0, "");
        Read(dir / "n.LWM");
        EXPECT_EQ(Project_Read_Failed, 0) << expected;
        EXPECT_EQ(Line_Id_Counter, 2147483647);
    }
    EXPECT_TRUE(host().boxes.empty()) << host().boxes[0].prompt;
}

TEST_F(ProjectFileTest, NumbersAndLinesPastWhatTheirFieldsHoldAreRefusedNamingTheObjectAndField) {
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    auto at = [&good](const char* tag) {
        size_t i = 0;
        while (good[i].rfind(tag, 0) != 0) ++i;
        return i;
    };
    ASSERT_EQ(good[25], "      \"Main road\"");
    host().strict = false;
    Language = "US";
    const std::vector<std::tuple<size_t, std::string, std::string>> cases = {
        {at("0120"), "0120  4294967296", "Textured areas: their count (4294967296) is not a whole number that fits 32 bits."},
        {at("0200"), "0200  2147483648  1  2", "Section 0200: Mesh_Lod_Index (2147483648) does not fit its field, -32768 .. 32767."},
        {at("0200"), "0200 -2147483648  1  2", "Section 0200: Mesh_Lod_Index (-2147483648) does not fit its field"},
        {at("0100"), "0100  4  4 -8", "Points: their stored count (-8) cannot be negative."},
        {at("0100"), "0100  0  4  8", "Lines: their count (0) must be at least 1, the placeholder entry."},
        {at("0100"), "0100 -0  4  8", "Lines: their count (0) must be at least 1"},
        {at("0100"), "0100  0x4  4  8", "Lines: their count (0) must be at least 1"},
        {25, "      \"" + std::string(70000, 'a') + "\"",
         "Line of entry 2: a line of 70008 characters is longer than the 32766 the reader takes."},
        {27, "       2  3 -9999  1  0  99999  12  2  0  21  0  0  1  0  0  0  1  1  3  0  0  0  0  0  1",
         "Line 2: Type_Code (99999) does not fit its field, -32768 .. 32767."},
        {2, "0010   45.5  1E999  45  6  45.45  5.3  45.05  5.9  45.4921875  5.2734375  45  6",
         "The project's header: Map_Left_Lon (1E999) is a number too large for the program."},
    };
    for (const auto& [line, text, says] : cases) {
        std::vector<std::string> l = good;
        l[line] = text;
        Write_File(dir / "n.LWM", Join(l));
        host().boxes.clear();
        Read(dir / "n.LWM");
        EXPECT_EQ(Project_Read_Failed, 1) << says;
        ASSERT_EQ(host().boxes.size(), 1u) << says;
        EXPECT_EQ(host().boxes[0].prompt.rfind(says, 0), 0u) << host().boxes[0].prompt;
    }
    Language = "FR";
    std::vector<std::string> l = good;
    l[at("0120")] = "0120  4294967296";
    Write_File(dir / "n.LWM", Join(l));
    host().boxes.clear();
    Read(dir / "n.LWM");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("Zones texturées : leur nombre (4294967296) n'est pas un nombre entier sur 32 bits.", 0), 0u)
        << host().boxes[0].prompt;
}

TEST_F(ProjectFileTest, AFileSavedWithAUtf8MarkReadsAsIfTheMarkWereAbsent) {
    std::vector<std::string> l = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    ASSERT_EQ(l[25], "      \"Main road\"");
    l[25] = "      \"Route de la For\xEAt\"";   // Windows-1252, as the program writes it
    Write_File(dir / "plain.LWM", Join(l));
    Read(dir / "plain.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string plain = State();
    // A text editor's save: the mark, then UTF-8.
    l[25] = "      \"Route de la For\xC3\xAAt\"";
    Write_File(dir / "marked.LWM", "\xEF\xBB\xBF" + Join(l));
    PSais_Init_Arrays();
    Read(dir / "marked.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Table(2).Attr.Text_Rt, "Route de la Forêt");
    EXPECT_EQ(State(), plain);
}

TEST_F(ProjectFileTest, MissingOrLooseNumbersReadAsFarAsTheyReadAndEndIsNotNeeded) {
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    auto read_with = [&](std::vector<std::string> l) {
        Write_File(dir / "loose.LWM", Join(l));
        PSais_Init_Arrays();
        Read(dir / "loose.LWM");
        ASSERT_EQ(Project_Read_Failed, 0);
    };
    std::vector<std::string> l = good;
    l[2] = "0010   45.5  abc  45x  6";   // letters read as 0, "45x" as 45, the missing values as 0
    l[3] = "0017  1";                   // Lc_Keep_Raw missing
    l[14] = "0063  1  12.5";            // Cfs_Mode missing
    l[34] = "       10.5";              // a point without y
    l[35] = "      \"x\"";                // a text where a point stands
    l.pop_back();                       // no "End"
    read_with(l);
    EXPECT_EQ(Map_Top_Lat, 45.5);
    EXPECT_EQ(Map_Left_Lon, 0);
    EXPECT_EQ(Map_Bottom_Lat, 45);
    EXPECT_EQ(Map_Right_Lon, 6);
    EXPECT_EQ(Map_Lon_East, 0);
    EXPECT_EQ(Lc_Merge, 1);
    EXPECT_EQ(Lc_Keep_Raw, 0);
    EXPECT_EQ(Alt_Unit_Feet, 1);
    EXPECT_EQ(Alt_Offset, 12.5f);
    EXPECT_EQ(Cfs_Mode, 0);
    const std::vector<int32_t> points = Project_Line_Points(2);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(Point_Table(points[0]).X, 10.5);
    EXPECT_EQ(Point_Table(points[0]).Y, 0);
    EXPECT_EQ(Point_Table(points[1]).X, 0);
    EXPECT_EQ(Point_Table(points[1]).Y, 0);
    EXPECT_EQ(Grid_Point_Count, 2);

    // The fields that were cut short hold values of their own when they are there.
    std::vector<std::string> whole = good;
    whole[3] = "0017  1  1";
    whole[14] = "0063  1  12.5  1";
    read_with(whole);
    EXPECT_EQ(Cfs_Mode, 1);
    EXPECT_EQ(Lc_Keep_Raw, 1);
    EXPECT_EQ(Point_Table(Project_Line_Points(2)[0]).Y, 20);
    EXPECT_EQ(Point_Table(Project_Line_Points(2)[1]).X, 300.25);
}

TEST_F(ProjectFileTest, ARemeshLevelOutsideTheFiveOptionsReadsAsNeverChosen) {
    std::vector<std::string> l = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    size_t at = 0;
    while (l[at].rfind("0200", 0) != 0) ++at;
    std::istringstream head(l[at].substr(4));
    int index = 0, chosen = 0, count = 0;
    head >> index >> chosen >> count;
    for (const auto& [level, expected_index, expected_chosen] :
         std::vector<std::tuple<int, int, int>>{{4, 4, 1}, {0, 0, 1}, {5, 2, 0}, {-1, 2, 0}, {99, 2, 0}}) {
        l[at] = "0200  " + std::to_string(level) + "  1  " + std::to_string(count);
        Write_File(dir / "m.LWM", Join(l));
        Read(dir / "m.LWM");
        ASSERT_EQ(Project_Read_Failed, 0) << level;
        EXPECT_EQ(Mesh_Lod_Index, expected_index) << level;
        EXPECT_EQ(Mesh_Lod_Chosen, expected_chosen) << level;
    }
}

TEST_F(ProjectFileTest, ASectionTagOutOfPlaceGivesMessage31) {
    std::vector<std::string> l = Lines_Of(Read_File(Fixture("empty.LWM")));
    for (auto& line : l)
        if (line.rfind("0150", 0) == 0) line = "0151  0";
    Write_File(dir / "bad.LWM", Join(l));
    host().QueueAnswer(plat::ID_OK);
    Read(dir / "bad.LWM");
    EXPECT_EQ(Project_Read_Failed, 1);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(31) ", 0), 0u);
}

TEST_F(ProjectFileTest, AMissingFileIsReportedAndNothingChanges) {
    Read(Fixture("all_kinds.LWM"));
    const std::string before = State();
    host().QueueAnswer(plat::ID_OK);
    Read(dir / "none.LWM");
    EXPECT_EQ(Project_Read_Failed, 1);
    EXPECT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(State(), before);
}

TEST_F(ProjectFileTest, MorePointsThanTheStoredCountGrowTheTable) {
    std::vector<std::string> l = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    for (auto& line : l)
        if (line.rfind("0100", 0) == 0) line = "0100  4  4  2";
    Write_File(dir / "p.LWM", Join(l));
    Read(dir / "p.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Point_Count, 8);
    EXPECT_GE(Point_Table.UBound(), 8);
    EXPECT_EQ(Point_Table(8).X, 4499);
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(ProjectFileTest, NothingIsSavedWithoutAnOpenProject) {
    Project_Open = 0;
    Project_File = (dir / "p.LWM").string();
    Pinit_Save_Project(0, "");
    EXPECT_FALSE(fs::exists(dir / "p.LWM"));
}

TEST_F(ProjectFileTest, SaveAsOntoTheOpenProjectIsRefusedWithMessage14) {
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Write_File(dir / "p.LWM", "kept");
    host().QueueAnswer(plat::ID_OK);
    Pinit_Save_Project(1, Project_File);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(14) ", 0), 0u);
    EXPECT_EQ(Msg_Answer, plat::ID_OK);
    EXPECT_EQ(Read_File(dir / "p.LWM"), "kept");
}

TEST_F(ProjectFileTest, AFailedSaveTellsTheUserAndKeepsThePreviousFile) {
    Read(Fixture("all_kinds.LWM"));
    const std::string before = State();
    Project_Open = 1;
    // The target cannot be replaced: a folder stands at its name.
    fs::create_directories(dir / "p.LWM" / "inside");
    Write_File(dir / "p.LWM" / "inside" / "keep.txt", "old");
    Project_File = (dir / "p.LWM").string();
    host().QueueAnswer(plat::ID_OK);
    Pinit_Save_Project(0, "");
    EXPECT_EQ(Project_Save_Failed, 1);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_NE(host().boxes[0].prompt.find("p.LWM"), std::string::npos);
    EXPECT_EQ(Read_File(dir / "p.LWM" / "inside" / "keep.txt"), "old");
    EXPECT_EQ(State(), before);
    // A folder that does not exist fails the same way.
    host().QueueAnswer(plat::ID_OK);
    Pinit_Save_Project(1, (dir / "missing" / "q.LWM").string());
    EXPECT_EQ(Project_Save_Failed, 1);
    // So does a disk that cannot flush the new file: the previous file stays as it was.
    Write_File(dir / "r.LWM", "previous");
    plat::SetFileFlush([](int) { return -1; });
    host().QueueAnswer(plat::ID_OK);
    Pinit_Save_Project(1, (dir / "r.LWM").string());
    plat::SetFileFlush(nullptr);
    EXPECT_EQ(Project_Save_Failed, 1);
    EXPECT_EQ(host().boxes.size(), 3u);
    EXPECT_EQ(Read_File(dir / "r.LWM"), "previous");
    for (const std::string& name : plat::ListFolder(dir.string())) EXPECT_EQ(name.find("r.LWM."), std::string::npos) << name;
}

TEST_F(ProjectFileTest, SavingOverAProjectReplacesItWhole) {
    Project_Open = 1;
    Project_File = (dir / "p.LWM").string();
    Write_File(dir / "p.LWM", std::string(100000, 'x'));
    PSais_Init_Arrays();
    Pinit_Save_Project(0, "");
    EXPECT_EQ(Body(Read_File(dir / "p.LWM")), Body(Read_File(Fixture("empty.LWM"))));
}

// ---------------------------------------------------------------------------------------------
// Opening, backup and the recent list

class ProjectOpenTest : public ProjectFileTest {
protected:
    // A project in the scratch folder whose map is a real bitmap there.
    fs::path Make_Project(const std::string& name) {
        Write_File(dir / "map.bmp", Bmp24(30, 20));
        Read(Fixture("all_kinds.LWM"));
        Map_File = (dir / "map.bmp").string();
        Image_Count = 0;
        Project_Open = 1;
        Project_File = (dir / name).string();
        Pinit_Save_Project(0, "");
        Project_Open = 0;
        return dir / name;
    }
};

TEST_F(ProjectOpenTest, OpeningTilesTheMapBacksUpTheFileAndPutsItFirstInTheRecentList) {
    const fs::path p = Make_Project("Town.LWM");
    std::vector<std::string> calls;
    Project_Window.Init_View_And_Tiles = [&] { calls.push_back("view"); };
    Project_Window.Set_Caption = [&](const std::string& c) { calls.push_back("caption " + c); };
    Project_Window.Enter_Project_State = [&] { calls.push_back("state"); };
    Proj_New = 1;
    Pinit_Open_Project(p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Proj_New, 0);
    EXPECT_TRUE(fs::exists(dir / "Temp" / "$$$_00.bmp"));
    EXPECT_EQ(Read_File(dir / "Town.bak"), Read_File(p));
    EXPECT_EQ(Recent_Projects[0], p.string());
    EXPECT_EQ(plat::GetPrivateProfileString("Tessaline", "DerApt1", "", Ini_Path), p.string());
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "view");
    EXPECT_EQ(calls[1], std::string("caption Tessaline V5.1 ") + Tessaline_Release_Date + "  " + p.string());
    EXPECT_EQ(calls[2], "state");
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

TEST_F(ProjectOpenTest, NeitherTheBackupNorATileIsWrittenOverAMapThatCarriesItsName) {
    host().strict = false;
    Language = "US";
    fs::create_directories(dir / "Temp");
    const std::string bmp = Bmp24(30, 20);
    const std::vector<std::tuple<std::string, fs::path, std::string>> cases = {
        {"Demo.LWM", dir / "Demo.bak", "The project's backup copy was not made: " + (dir / "Demo.bak").string() +
                                           " is the project's map."},
        {"Tile.LWM", dir / "Temp" / "$$$_00.bmp", "The map was not cut into tiles: one of its tiles would take the place of " +
                                                      (dir / "Temp" / "$$$_00.bmp").string()},
    };
    for (const auto& [name, map, says] : cases) {
        Write_File(map, bmp);
        Read(Fixture("all_kinds.LWM"));
        Map_File = map.string();
        Image_Count = 0;
        Project_Open = 1;
        Project_File = (dir / name).string();
        Pinit_Save_Project(0, "");
        Project_Open = 0;
        host().boxes.clear();
        Pinit_Open_Project(Project_File);
        EXPECT_EQ(Project_Open, 1) << name;
        EXPECT_EQ(Read_File(map), bmp) << name;
        ASSERT_FALSE(host().boxes.empty()) << name;
        EXPECT_EQ(host().boxes[0].prompt.rfind(says, 0), 0u) << host().boxes[0].prompt;
    }
}

TEST_F(ProjectOpenTest, AProjectNamedLikeItsBackupIsNeverDeleted) {
    const fs::path p = Make_Project("Town.bak");
    const std::string content = Read_File(p);
    Pinit_Open_Project(p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Read_File(p), content);
    EXPECT_EQ(Project_Backup_Path("C:\\x\\Town.LWM"), "C:\\x\\Town.bak");
    EXPECT_EQ(Project_Backup_Path("C:\\x\\Town.LWMX"), "C:\\x\\Town.Lbak");
}

// A disk full for the backup alone: the flush of its new copy fails, every other file is written.
int Backup_Disk_Full(int fd) {
    std::error_code ec;
    const std::string name = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).filename().string();
    if (name.rfind("Town.bak.", 0) == 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::fsync(fd);
}

TEST_F(ProjectOpenTest, ABackupThatCannotBeWrittenOnAFullDiskLeavesTheOlderOneAsItWas) {
    const fs::path p = Make_Project("Town.LWM");
    Write_File(dir / "Town.bak", "the older backup");
    plat::SetFileFlush(Backup_Disk_Full);
    Language = "US";
    host().QueueAnswer(plat::ID_OK);
    Pinit_Open_Project(p.string());
    plat::SetFileFlush(nullptr);
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Recent_Projects[0], p.string());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "The project's backup copy could not be written: " + (dir / "Town.bak").string() +
                                          "\r\nAn older backup of that name, if there is one, was left as it was.");
    EXPECT_EQ(Read_File(dir / "Town.bak"), "the older backup");
    for (const std::string& name : plat::ListFolder(dir.string())) EXPECT_EQ(name.find("Town.bak."), std::string::npos) << name;
}

TEST_F(ProjectOpenTest, ABackupThatCannotBeWrittenIsNamedAndTheProjectStillOpens) {
    const fs::path p = Make_Project("Town.LWM");
    fs::create_directories(dir / "Town.bak");   // nothing can be written in its place
    host().QueueAnswer(plat::ID_OK);
    Pinit_Open_Project(p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Recent_Projects[0], p.string());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "La copie de sauvegarde du projet n'a pas pu être écrite : " +
                                          (dir / "Town.bak").string() +
                                          "\r\nUne sauvegarde plus ancienne de ce nom, s'il y en a une, est restée telle quelle.");
}

TEST_F(ProjectOpenTest, AMapThatCannotBeTiledLeavesTheProjectOpenWithoutMap) {
    const fs::path p = Make_Project("Town.LWM");
    Write_File(dir / "map.bmp", "not a bitmap at all, far too short to be one.......................");
    std::vector<std::string> calls;
    Project_Window.Init_View_And_Tiles = [&] { calls.push_back("view"); };
    Project_Window.Set_Caption = [&](const std::string&) { calls.push_back("caption"); };
    Project_Window.Enter_Project_State = [&] { calls.push_back("state"); };
    Proj_New = 1;
    host().QueueAnswer(plat::ID_OK);
    Pinit_Open_Project(p.string());
    EXPECT_EQ(Project_Open, 1);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Fail to load bitmap : " + (dir / "map.bmp").string());
    EXPECT_EQ(Recent_Projects[0], "");
    // A later save must still find the version opened kept.
    EXPECT_EQ(Read_File(dir / "Town.bak"), Read_File(p));
    // Open with the menus of an open project, so that it can be saved, closed or given its
    // map again; no map view, and the caption waits for a whole opening.
    EXPECT_EQ(calls, std::vector<std::string>{"state"});
    EXPECT_EQ(Proj_New, 0);
}

TEST_F(ProjectOpenTest, TilesThatCannotBeWrittenAreReportedWithTheirFolderNotAsABadMap) {
    const fs::path p = Make_Project("Town.LWM");
    // A file where the Temp folder should be: no tile can be written, even by root.
    fs::remove_all(dir / "Temp");
    Write_File(dir / "Temp", "x");
    const std::string folder = (dir / "Temp").string();
    for (const char* language : {"US", "FR"}) {
        SCOPED_TRACE(language);
        Language = language;
        host().boxes.clear();
        host().QueueAnswer(plat::ID_OK);
        Pinit_Open_Project(p.string());
        EXPECT_EQ(Project_Open, 1);
        ASSERT_EQ(host().boxes.size(), 1u);
        const std::string want = Language == "US"
                                     ? "Cannot write the map tiles in the folder " + folder + " (full disk or read-only folder?)"
                                     : "Impossible d'écrire les tuiles de la carte dans le dossier " + folder +
                                           " (disque plein ou dossier protégé en écriture ?)";
        EXPECT_EQ(host().boxes[0].prompt, want);
        EXPECT_EQ(Recent_Projects[0], "");
        EXPECT_EQ(Read_File(dir / "Town.bak"), Read_File(p));
    }
}

TEST_F(ProjectOpenTest, AFileThatFailsToReadOpensNothing) {
    Write_File(dir / "bad.LWM", "0000 V5.1\r\n");
    host().strict = false;
    Pinit_Open_Project((dir / "bad.LWM").string());
    EXPECT_EQ(Project_Open, 0);
    EXPECT_EQ(Recent_Projects[0], "");
    EXPECT_FALSE(fs::exists(dir / "bad.bak"));
}

TEST_F(ProjectFileTest, TheRecentListMovesAnEntryToTheTopAndDropsTheFifth) {
    std::vector<std::string> captions(4);
    Project_Window.Set_Recent_Caption = [&](int k, const std::string& c) { captions[static_cast<size_t>(k)] = c; };
    for (const char* p : {"a", "b", "c", "d", "e"}) Pinit_Update_Recent(p, 1);
    EXPECT_EQ(Recent_Projects, (std::array<std::string, 4>{"e", "d", "c", "b"}));
    Pinit_Update_Recent("C", 1);
    EXPECT_EQ(Recent_Projects, (std::array<std::string, 4>{"C", "e", "d", "b"}));
    EXPECT_EQ(captions[0], "C");
    EXPECT_EQ(plat::GetPrivateProfileString("Tessaline", "DerApt4", "", Ini_Path), "b");
    Pinit_Update_Recent("d", 2);
    EXPECT_EQ(Recent_Projects, (std::array<std::string, 4>{"C", "e", "b", ""}));
    EXPECT_EQ(captions[3], "");
    Pinit_Update_Recent("zz", 2);
    EXPECT_EQ(Recent_Projects, (std::array<std::string, 4>{"C", "e", "b", ""}));
}

TEST_F(ProjectFileTest, TheTopEntryInOtherLetterCaseChangesAndWritesNothing) {
    Pinit_Update_Recent("C:\\Town.LWM", 1);
    fs::remove(dir / "Resource" / "Tessaline.Ini");
    Pinit_Update_Recent("c:\\town.lwm", 1);
    EXPECT_EQ(Recent_Projects[0], "C:\\Town.LWM");
    EXPECT_FALSE(fs::exists(dir / "Resource" / "Tessaline.Ini"));
}

TEST_F(ProjectFileTest, ARecentListThatCannotBeWrittenIsToldNamingTheSettingsFile) {
    fs::create_directories(dir / "Resource" / "Tessaline.Ini");   // no file can take its place
    host().QueueAnswer(plat::ID_OK);
    Pinit_Update_Recent("C:\\Town.LWM", 1);
    EXPECT_EQ(Recent_Projects[0], "C:\\Town.LWM");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt,
              "La liste des projets récents n'a pas pu être écrite dans " + (dir / "Resource" / "Tessaline.Ini").string());
}

}  // namespace

namespace {

TEST_F(ProjectFileTest, TheDemoProjectReads) {
    Read(testenv::SourceDir() / "examples" / "Demo.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Line_Count, 4);
    EXPECT_EQ(Map_File, "Demo.bmp");
    EXPECT_EQ(Map_Width_Px, 800);
    EXPECT_EQ(Lc_Cell_Count, 1);
    EXPECT_EQ(Grid_Point_Count, 3);
}

}  // namespace

namespace {

TEST_F(ProjectOpenTest, EachImageGetsItsPictureOrAnEmptyOneWhenItsBitmapFails) {
    const fs::path p = Make_Project("Town.LWM");
    Write_File(dir / "ima.bmp", Bmp24(4, 4));
    Read(p);
    Image_Count = 2;
    Image_Table(1) = Image_Rec{};
    Image_Table(1).Ima_In_Use = 1;
    Image_Table(1).Ima_File = (dir / "missing.bmp").string();
    Image_Table(2) = Image_Table(1);
    Image_Table(2).Ima_File = (dir / "ima.bmp").string();
    Project_Open = 1;
    Pinit_Save_Project(0, "");
    Project_Open = 0;
    Temp_Tex_Bmp = App_Dir + "\\Temp\\$Tex$.bmp";
    std::vector<std::pair<int, bool>> pictures;
    int cleared = 0;
    Project_Window.Clear_Image_Pictures = [&] { ++cleared; };
    Project_Window.Load_Image_Picture = [&](int32_t element, const std::string& bmp) {
        pictures.push_back({element, !bmp.empty() && fs::exists(plat::MapPath(bmp))});
        return true;
    };
    Pinit_Open_Project(p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(cleared, 1);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0], std::make_pair(0, false));
    EXPECT_EQ(pictures[1], std::make_pair(1, true));
    // The scratch bitmaps are gone afterwards.
    EXPECT_FALSE(fs::exists(dir / "Temp" / "$BmpIma$.bmp"));
}

}  // namespace

namespace {

// The reference: 15 significant digits, correctly rounded, laid out as the file writes them.
std::string Reference_Num(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", std::fabs(v));
    std::string s = buf;
    const size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string exp = s.substr(e + 2);
        while (exp.size() > 2 && exp[0] == '0') exp.erase(0, 1);
        s = s.substr(0, e + 2) + exp;
    }
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    return (v < 0 ? "-" : " ") + s;
}

TEST(ProjectFileNumbers, AgreeWithCorrectlyRoundedFifteenDigitTextsOverEveryMagnitude) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::uniform_int_distribution<int> exponent(-8, 18);
    int checked = 0;
    for (int i = 0; i < 100000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (i % 3 == 0) v = std::round(v * 100) / 100;  // the short values of clicked points
        if (i % 2) v = -v;
        ASSERT_EQ(Project_Num(v), Reference_Num(v)) << std::hexfloat << v;
        ++checked;
    }
    // Halves at the 15th digit and values just under a power of ten.
    for (double v : {0.000123456789012345, 99999.99999999999, 9.999999999999995, 0.0009999999999999999,
                     1234567.890123455, 0.5, 999999999999999.5, 99999999999999.95})
        EXPECT_EQ(Project_Num(v), Reference_Num(v)) << v;
    EXPECT_EQ(checked, 100000);
}

}  // namespace

namespace {

TEST(ProjectFileNumbers, ReadExactlyAsTheStandardConversionDoes) {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<int> digits(1, 17), point(0, 17);
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        const int n = digits(rng), at = point(rng);
        for (int k = 0; k < n; ++k) {
            if (k == at) text += '.';
            text += static_cast<char>('0' + rng() % 10);
        }
        if (i % 2) text = "-" + text;
        if (i % 3 == 0) text += "E" + std::to_string(static_cast<int>(rng() % 40) - 20);
        const plat::NumberText v = plat::ReadNumber(text);
        ASSERT_EQ(v.length, text.size()) << text;
        EXPECT_EQ(v.value, std::strtod(text.c_str(), nullptr)) << text;
    }
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------------------------
// Large projects: the fast number texts, the in-place reader and the save split over threads

// Values of every kind a project holds: clicked pixels, computed coordinates, whole numbers,
// tiny and huge magnitudes, exact binary fractions (whose 16th digit can be an exact half).
double Random_Value(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(0, 1);
    double v = 0;
    switch (rng() % 7) {
    case 0: v = std::round(unit(rng) * 4000000) / 100; break;
    case 1: v = unit(rng) * 40000; break;
    case 2: v = static_cast<double>(rng() % 100000); break;
    case 3: v = unit(rng) * std::pow(10.0, static_cast<int>(rng() % 30) - 10); break;
    case 4: v = std::ldexp(static_cast<double>(rng() >> 11), -static_cast<int>(rng() % 70)); break;
    case 5: v = std::nextafter(std::pow(10.0, static_cast<int>(rng() % 24) - 6), rng() % 2 ? 0.0 : 1e300); break;
    default: v = unit(rng) * 1e-3; break;  // below 2^-11 as well
    }
    return rng() % 3 == 0 ? -v : v;
}

std::string Random_Text(std::mt19937_64& rng) {
    static const char* const pieces[] = {"road", " ", "Mérée", "\"q\"", "€", "C:\\tex\\a.bmp", "x\r\ny", "", "  "};
    std::string s;
    for (int k = static_cast<int>(rng() % 4); k > 0; --k) s += pieces[rng() % std::size(pieces)];
    return s;
}

// A project of `lines` lines with up to 2 * `points_per_line` points each, and some records in
// every other table.
void Make_Random_Project(std::mt19937_64& rng, int lines, int points_per_line) {
    PSais_Init_Arrays();
    for (int l = 0; l < lines; ++l) {
        Route_Attrib a;
        a.Text_Rt = Random_Text(rng);
        a.Imbrication = Random_Text(rng);
        for (std::string& name : a.Texture_Name) name = Random_Text(rng);
        a.Alti = Random_Value(rng);
        a.Alt_Coast = Random_Value(rng);
        a.Type_Code = static_cast<int16_t>(rng() % 2000);
        a.Largeur = static_cast<int16_t>(rng() % 50);
        a.Layer = static_cast<uint8_t>(rng() % 256);
        a.LC_Code = static_cast<int16_t>(static_cast<int>(rng() % 600) - 300);
        a.Meter_Feet = static_cast<int16_t>(rng() % 2);
        const int32_t line = Project_Append_Line(a);
        for (int p = static_cast<int>(rng() % static_cast<uint64_t>(2 * points_per_line)); p > 0; --p)
            Project_Append_Point(line, Random_Value(rng), Random_Value(rng));
    }
    Lwm_Cell_Count = 5;
    Lwm_Cell_Capacity = 8;
    Lwm_Cell_Table.ReDim(Lwm_Cell_Capacity);
    Excl_Cell_Count = 2;
    Excl_Cell_Capacity = 4;
    Excl_Cell_Table.ReDim(Excl_Cell_Capacity);
    Lod8_Cell_Count = 3;
    Lod8_Cell_Capacity = 6;
    Lod8_Cell_Table.ReDim(Lod8_Cell_Capacity);
    Image_Count = 2;
    Image_Capacity = 5;
    Image_Table.ReDim(Image_Capacity);
    Grid_Point_Count = 40;
    Grid_Point_Capacity = 90;
    Grid_Point_Table.ReDim(Grid_Point_Capacity);
    for (int32_t i = 1; i <= Lwm_Cell_Count; ++i) {
        Lwm_Cell_Rec& c = Lwm_Cell_Table(i);
        c.Alti = Random_Value(rng);
        c.Lod13_Col = static_cast<int16_t>(rng() % 32);   // an area of the grid, as the reader demands
        c.Texte = Random_Text(rng);
        for (std::string& name : c.Texture_Name) name = Random_Text(rng);
    }
    for (int32_t i = 1; i <= Excl_Cell_Count; ++i)
        for (uint8_t& f : Excl_Cell_Table(i).Excluded) f = static_cast<uint8_t>(rng() % 2);
    for (int32_t i = 1; i <= Lod8_Cell_Count; ++i) Lod8_Cell_Table(i).Alti = Random_Value(rng);
    for (int32_t i = 1; i <= Image_Count; ++i) {
        Image_Rec& m = Image_Table(i);
        m.Ima_In_Use = 1;
        m.Ima_File = Random_Text(rng);
        m.Ima_X1 = Random_Value(rng);
        m.Ima_Y2 = Random_Value(rng);
    }
    for (int32_t i = 1; i <= Grid_Point_Count; ++i) {
        Grid_Point_Rec& g = Grid_Point_Table(i);
        g.Defined = static_cast<uint8_t>(rng() % 2);
        g.Alt = static_cast<float>(static_cast<int>(rng() % 2000000) - 1000000) / 100;  // floats keep 7 digits
        g.X = Random_Value(rng);
        g.Y = Random_Value(rng);
    }
    // Any digits, as a latitude north of the other edges (0): a frame outside the world is refused.
    Map_Top_Lat = std::fabs(std::fmod(Random_Value(rng), 90.0));
    Alt_Offset = static_cast<float>(static_cast<int>(rng() % 7999) - 3999) / 4;   // inside the window's ±1000
    Raw_Dir = Random_Text(rng);
    // Values the fixture's header does not hold, so that a field a refused read fails to put
    // back shows.
    Lc_Keep_Raw = 1;
    Cfs_Mode = 1;
}

TEST_F(ProjectFileTest, ALargeRandomProjectSavesReadsAndSavesToTheSameBytes) {
    std::mt19937_64 rng(2026);
    // Enough points for the save to be laid out in several parts at once.
    Make_Random_Project(rng, 2500, 60);
    ASSERT_GT(Point_Count, 120000);
    // Each line's own values, to see that the parts come back in their order.
    std::vector<std::pair<int16_t, int32_t>> kinds;
    for (int32_t i = 1; i <= Line_Count; ++i) kinds.push_back({Line_Table(i).Attr.Type_Code, Line_Table(i).Nb_Points});
    Project_Open = 1;
    Project_File = (dir / "big.LWM").string();
    Pinit_Save_Project(0, "");
    ASSERT_EQ(Project_Save_Failed, 0);
    const std::string first = Read_File(dir / "big.LWM");

    PSais_Init_Arrays();
    Read(dir / "big.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    ASSERT_EQ(Line_Count, static_cast<int32_t>(kinds.size()));
    for (int32_t i = 1; i <= Line_Count; ++i) {
        ASSERT_EQ(Line_Table(i).Attr.Type_Code, kinds[static_cast<size_t>(i - 1)].first) << "line " << i;
        ASSERT_EQ(Line_Table(i).Nb_Points, kinds[static_cast<size_t>(i - 1)].second) << "line " << i;
    }
    Project_Open = 1;
    Project_File = (dir / "big.LWM").string();
    Pinit_Save_Project(0, "");
    ASSERT_EQ(Project_Save_Failed, 0);
    const std::string second = Read_File(dir / "big.LWM");
    ASSERT_EQ(second.size(), first.size());
    EXPECT_TRUE(Body(second) == Body(first)) << "the files differ from byte "
                                              << std::mismatch(first.begin(), first.end(), second.begin()).first - first.begin();

    // Every point read is the standard conversion of the text the file holds for it.
    const std::vector<std::string> lines = Lines_Of(first);
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind("0100", 0) != 0) ++at;
    int32_t checked = 0;
    for (int32_t i = 1; i <= Line_Count; ++i) {
        at += 3 + 6;  // texts, attributes and textures
        for (int32_t id : Project_Line_Points(i)) {
            std::istringstream fields(lines[++at]);
            std::string x, y;
            fields >> x >> y;
            ASSERT_EQ(Point_Table(id).X, std::strtod(x.c_str(), nullptr)) << lines[at];
            ASSERT_EQ(Point_Table(id).Y, std::strtod(y.c_str(), nullptr)) << lines[at];
            ++checked;
        }
    }
    EXPECT_EQ(checked, Point_Count);
}

// Where each line block of a saved project begins, as line numbers of Lines_Of.
std::vector<size_t> Block_Starts(const std::vector<std::string>& lines) {
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind("0100", 0) != 0) ++at;
    std::istringstream head(lines.at(at).substr(4));
    size_t count = 0;
    head >> count;
    std::vector<size_t> starts;
    for (++at; starts.size() < count; ) {
        starts.push_back(at);
        std::istringstream numbers(lines.at(at + 2));
        size_t id = 0, points = 0;
        numbers >> id >> points;
        at += 9 + points;
    }
    return starts;
}

TEST_F(ProjectFileTest, DamageAmongManyLineBlocksIsRefusedAndTheOpenProjectStays) {
    std::mt19937_64 rng(77);
    Make_Random_Project(rng, 240, 25);
    Project_Open = 1;
    Project_File = (dir / "src.LWM").string();
    Pinit_Save_Project(0, "");
    ASSERT_EQ(Project_Save_Failed, 0);
    const std::string saved = Read_File(dir / "src.LWM");
    const std::vector<std::string> lines = Lines_Of(saved);
    const std::vector<size_t> blocks = Block_Starts(lines);
    ASSERT_EQ(blocks.size(), 241u);  // with the placeholder line
    PSais_Init_Arrays();
    Read(dir / "src.LWM");
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string sound = State();
    host().strict = false;

    struct Outcome {
        int16_t failed = 0;
        std::string state, box;
    };
    // Reads `text` over an open project, which a refused file must leave as it was.
    auto read_over_open = [&](const std::string& text) {
        Read(Fixture("all_kinds.LWM"));
        const std::string before = State();
        const std::vector<int64_t> sizes_before = Sizes();
        const size_t shown = host().boxes.size();
        Write_File(dir / "d.LWM", text);
        Read(dir / "d.LWM");
        Outcome out{Project_Read_Failed, State(), host().boxes.size() > shown ? host().boxes.back().prompt : ""};
        if (out.failed == 1) {
            EXPECT_TRUE(out.state == before);
            EXPECT_EQ(Sizes(), sizes_before);
        }
        return out;
    };
    auto changed = [&](size_t line, const std::string& text) {
        std::vector<std::string> l = lines;
        l.at(line) = text;
        return Join(l);
    };
    auto with_ends = [&](const std::string& eol) {
        std::string t;
        for (const std::string& line : lines) t += line + eol;
        return t;
    };

    // Sound files read whole, whatever their line ends.
    for (const auto& [text, what] : std::vector<std::pair<std::string, std::string>>{
             {saved, "as saved"}, {with_ends("\n"), "LF"}, {with_ends("\r"), "CR"}, {with_ends("\r\n\r\n\n"), "blank lines"}}) {
        const Outcome out = read_over_open(text);
        EXPECT_EQ(out.failed, 0) << what;
        EXPECT_TRUE(out.state == sound) << what;
    }
    {
        // The stored point count far below the points there: the table grows as points come.
        std::vector<std::string> l = lines;
        size_t at = 0;
        while (l[at].rfind("0100", 0) != 0) ++at;
        std::istringstream head(l[at].substr(4));
        std::string count, id_counter;
        head >> count >> id_counter;
        l[at] = "0100 " + count + " " + id_counter + " 3";
        const Outcome out = read_over_open(Join(l));
        EXPECT_EQ(out.failed, 0);
        EXPECT_GE(Point_Table.UBound(), Point_Count);
        EXPECT_TRUE(Body(Project_File_Text("x", "")).substr(Body(Project_File_Text("x", "")).find("\r\n")) ==
                    sound.substr(sound.find("\r\n")));
    }

    // Damage anywhere among the blocks is refused, with the message of its kind (a count off by
    // one is met wherever the blocks after it stop reading as blocks).
    const size_t middle = blocks[120], late = blocks[200];
    std::istringstream fields(lines[middle + 2]);
    std::string id, points, rest;
    fields >> id >> points;
    std::getline(fields, rest);
    const int n = std::stoi(points);
    ASSERT_GT(n, 2);
    const std::vector<std::tuple<std::string, std::string, std::string>> damaged = {
        {changed(middle + 9 + 1, "      1E999 2"), "a point too large for a number",
         "Line " + id + ": x (1E999) is a number too large for the program."},
        {changed(middle + 2, "      " + id + " " + std::to_string(n + 1) + rest), "a count one too high", ""},
        {changed(middle + 2, "      " + id + " " + std::to_string(n - 1) + rest), "a count one too low", ""},
        {changed(late + 2, "      " + id + " -4" + rest), "a negative count", "its point count (-4) cannot be negative."},
        {changed(middle + 2, "      " + id + " 99999999" + rest), "a count past the file",
         "Line " + id + ": its point count (99999999) runs past the records that follow it in the file."},
        {changed(late, "      \"" + std::string(40000, 'a') + "\""), "a line too long",
         ": a line of 40008 characters is longer than the 32766 the reader takes."},
        // The count whose records the file ends among is named.
        {saved.substr(0, saved.size() * 2 / 3), "cut among the blocks", "runs past the records that follow it"},
        {saved.substr(0, saved.find("0120")), "cut after the blocks", "runs past the records that follow it"},
    };
    Language = "US";
    for (const auto& [text, what, box] : damaged) {
        const Outcome out = read_over_open(text);
        EXPECT_EQ(out.failed, 1) << what;
        EXPECT_NE(out.box.find(box), std::string::npos) << what << ": " << out.box;
    }

    // A header that counts a block more or less than the file holds.
    for (int delta : {1, -1}) {
        std::vector<std::string> l = lines;
        size_t at = 0;
        while (l[at].rfind("0100", 0) != 0) ++at;
        std::istringstream head(l[at].substr(4));
        int count = 0;
        std::string tail;
        head >> count;
        std::getline(head, tail);
        l[at] = "0100 " + std::to_string(count + delta) + tail;
        EXPECT_EQ(read_over_open(Join(l)).failed, 1) << delta;
    }
}

TEST_F(ProjectFileTest, PointNumbersOfEveryFormReadExactlyAndOthersAsFarAsTheyRead) {
    const std::vector<std::string> good = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    size_t point_line = 0;  // the first point line of the first real line
    for (size_t i = 0; i < good.size() && point_line == 0; ++i)
        if (good[i].rfind("0100", 0) == 0) point_line = i + 9 + 1 + 9;
    ASSERT_GT(point_line, 0u);
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const int32_t id = Line_Table(2).First_Point;
    const double x0 = Point_Table(id).X, y0 = Point_Table(id).Y;
    {
        std::istringstream fields(good[point_line]);
        double x = 0, y = 0;
        fields >> x >> y;
        ASSERT_TRUE(x == x0 && y == y0) << "the fixture's first point is not at line " << point_line;
    }
    auto with_point = [&](const std::string& text) {
        std::vector<std::string> l = good;
        l[point_line] = text;
        Write_File(dir / "p.LWM", Join(l));
        Read(dir / "p.LWM");
    };
    for (const char* token : {"0", "-0", "+5", "5.", ".5", "-.25", "12345678", "123456789", "1234567.89012345",
                              "99999999.9999999", "1234567890123456", "0.00000000000000001234", "12345678901234567890",
                              "1.5E+20", "-2.5e-7", "7E3", "000000000000000000042.5"}) {
        with_point(std::string("      ") + token + "  " + token + " ignored");
        ASSERT_EQ(Project_Read_Failed, 0) << token;
        EXPECT_EQ(Point_Table(id).X, std::strtod(token, nullptr)) << token;
        EXPECT_EQ(Point_Table(id).Y, std::strtod(token, nullptr)) << token;
        EXPECT_EQ(std::signbit(Point_Table(id).X), std::signbit(std::strtod(token, nullptr))) << token;
    }
    for (const auto& [line, x, y] : std::vector<std::tuple<std::string, double, double>>{
             {"      1.5\t 2", 1.5, 2}, {"      1.2.3 4", 1.2, 4}, {"      12a 3", 12, 3}, {"      1E 2", 1, 2},
             {"      - 3", 0, 3}, {"      .  3", 0, 3}, {"      1,5 2", 1, 2}, {"      0x10 2", 0, 2},
             {"      inf 2", 0, 2}, {"      12", 12, 0}, {"1234", 0, 0}, {"      1E-999 2", 0, 2}}) {
        with_point(line);
        ASSERT_EQ(Project_Read_Failed, 0) << line;
        EXPECT_EQ(Point_Table(id).X, x) << line;
        EXPECT_EQ(Point_Table(id).Y, y) << line;
    }
    // A number too large for a double cannot be stored: the file is refused.
    host().strict = false;
    with_point("      1E999 2");
    EXPECT_EQ(Project_Read_Failed, 1);
}

TEST_F(ProjectFileTest, LineEndsOfAnyKindAndBlankLinesReadTheSame) {
    const std::string fixture = Read_File(Fixture("all_kinds.LWM"));
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string expected = State();
    auto replaced = [&](const std::string& eol) {
        std::string s;
        for (const std::string& line : Lines_Of(fixture)) s += line + eol;
        return s;
    };
    const std::string last_without_end = fixture.substr(0, fixture.size() - 2);
    for (const std::string& text : {replaced("\n"), replaced("\r"), replaced("\r\n\r\n\n"), last_without_end}) {
        PSais_Init_Arrays();
        Write_File(dir / "e.LWM", text);
        Read(dir / "e.LWM");
        ASSERT_EQ(Project_Read_Failed, 0);
        EXPECT_EQ(State(), expected);
    }
}

TEST_F(ProjectFileTest, LinesAreMeasuredAndScannedInTheCharactersOfTheFile) {
    const std::vector<std::string> fixture = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    ASSERT_EQ(fixture[4].rfind("0018 ", 0), 0u);
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    host().strict = false;
    auto with_line = [&](size_t i, const std::string& bytes) {
        std::vector<std::string> lines = fixture;
        lines[i] = bytes;
        Write_File(dir / "long.LWM", Join(lines));
        Read(dir / "long.LWM");
    };
    // 32 000 accented letters are 32 000 characters, within the scanner's reach, though twice as
    // many bytes once converted; a line one character longer than the scanner holds is refused.
    const std::string accents(32000, '\xE9');
    with_line(4, "0018 \"" + accents + "\"");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_TRUE(Raw_Dir == plat::Cp1252ToUtf8(accents));
    Read(Fixture("all_kinds.LWM"));
    with_line(4, "0018 \"" + std::string(32760, 'a') + "\"");
    EXPECT_EQ(Project_Read_Failed, 1);
    EXPECT_TRUE(State() == before);
    // An accented letter in a tag is one character: the values start after it as after any tag.
    with_line(3, "001\xE9  1  0");
    ASSERT_EQ(Project_Read_Failed, 0);
    EXPECT_EQ(Lc_Merge, 1);
}

TEST_F(ProjectFileTest, LinesShorterThanTheirTagHoldNoValueButASectionMustBeThere) {
    Read(Fixture("all_kinds.LWM"));
    ASSERT_EQ(Project_Read_Failed, 0);
    const std::string before = State();
    host().strict = false;
    Write_File(dir / "short.LWM", "1\r\n0001\r\n");
    Read(dir / "short.LWM");
    EXPECT_EQ(Project_Read_Failed, 1);
    EXPECT_EQ(host().boxes.back().prompt.rfind("(30) ", 0), 0u);
    const std::vector<std::string> l = Lines_Of(Read_File(Fixture("all_kinds.LWM")));
    // A header line cut to "00" gives zeros (or an empty text); a section line so cut is refused.
    for (size_t i : {size_t{2}, size_t{3}, size_t{4}}) {
        std::vector<std::string> cut = l;
        cut[i] = "00";
        Write_File(dir / "short.LWM", Join(cut));
        Read(dir / "short.LWM");
        EXPECT_EQ(Project_Read_Failed, 0) << i;
    }
    EXPECT_EQ(Raw_Dir, "");
    for (size_t i = 0; i < l.size(); ++i) {
        if (l[i].rfind("0150", 0) != 0) continue;
        std::vector<std::string> cut = l;
        cut[i] = "01";
        Write_File(dir / "short.LWM", Join(cut));
        Read(Fixture("all_kinds.LWM"));
        Read(dir / "short.LWM");
        EXPECT_EQ(Project_Read_Failed, 1);
        EXPECT_EQ(host().boxes.back().prompt.rfind("(31) ", 0), 0u);
        EXPECT_EQ(State(), before);
    }
}

TEST(ProjectFileNumbers, AgreeWithTheReferenceAtExactHalvesAndPowerBoundaries) {
    std::mt19937_64 rng(4242);
    for (int i = 0; i < 200000; ++i) {
        double v = 0;
        if (i % 2) {
            v = std::ldexp(static_cast<double>(rng() >> 11), -static_cast<int>(rng() % 80));
        } else {
            // Neighbours of powers of two and of ten, where the decimal exponent is estimated.
            const double p = i % 4 ? std::ldexp(1.0, static_cast<int>(rng() % 64) - 16)
                                   : std::pow(10.0, static_cast<int>(rng() % 20) - 5);
            v = p;
            for (int k = static_cast<int>(rng() % 3); k > 0; --k) v = std::nextafter(v, rng() % 2 ? 0.0 : 1e300);
        }
        ASSERT_EQ(Project_Num(v), Reference_Num(v)) << std::hexfloat << v;
        ASSERT_EQ(Project_Num(-v), Reference_Num(-v)) << std::hexfloat << v;
    }
}

}  // namespace
