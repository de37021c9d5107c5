// Night lights: one SCASM source per LOD8 cell, compiled and copied to numbered BGL files, with
// lanes laid beside the centreline.
#include "generation/night_lines_writer.h"

#include "polygon_fixture.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class NightLines : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Work_Tables_Reset_All();
        polytest::Calibrate();
        fs::create_directories(app / "Scenery");
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
    }
    void TearDown() override {
        Work_Tables_Reset_All();
        Writer_Test::TearDown();
    }
    static int32_t Add_Road(const std::vector<Plane_Point>& pts, int16_t type = 1026, int16_t width = 10) {
        Route_Attrib a;
        a.SurfShore = 2;
        a.Line_Night = 1;
        a.Type_Code = type;
        a.Largeur = width;
        const int32_t line = Project_Append_Line(a);
        for (Plane_Point p : pts) Project_Append_Point(line, p.X, p.Y);
        return line;
    }
};

TEST_F(NightLines, OneCellGivesOneSourceCompiledToTheFirstNumber) {
    Add_Road({{10, 10}, {10, 10}, {30, 10}, {50, 10}, {50, 40}});
    API_Make_Night_Lines();
    const auto calls = Tool_Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0][0], "scasm.exe");
    EXPECT_EQ(Gen_Commands_Run()[0], app.string() + "/scasm.exe \"" + app.string() + "/TmpRt.Sca\" \"" + app.string() +
                                         "/Tmp.Bgl\" -l");
    EXPECT_TRUE(fs::exists(app / "Scenery" / "Area_9001.bgl"));
    EXPECT_FALSE(fs::exists(app / "Tmp.Bgl"));
    const std::string text = Handed(1, "TmpRt.Sca");
    EXPECT_EQ(text.substr(0, text.find("Area(")),
              "Header( 1 45.1 44.548438 .56875 -.1 )\r\nLatRange(  44.548438 45.1 )\r\nSet( areamx 128 )\r\n");
    EXPECT_NE(text.find("Area( B 44.956055 .058594 40 )\r\nLayerCall32( :TagLayer 0 )\r\nJump( : )\r\n:TagLayer\r\n"
                        "RefPoint( 7 :TagReturn 1 44.956055 .058594 V1= 30000 V2= 0 )\r\n"
                        "IfVarAnd( :TagRef 028C 1 )\r\nJump( : )\r\n:TagRef\r\nRRStart( 2 2 "),
              std::string::npos);
    // One lane, the doubled and the straight middle points gone: last point first.
    const size_t start = text.find("RRStart");
    const std::string lights = text.substr(start, text.find(":TagReturn\r\n", start) - start);
    size_t n = 0;
    for (size_t at = 0; (at = lights.find("\r\n", at)) != std::string::npos; at += 2) ++n;
    EXPECT_EQ(n, 3u);
    EXPECT_NE(text.find(":TagReturn\r\n    Return\r\nEndA\r\n"), std::string::npos);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(NightLines, TwoCellsAreNumberedInRowOrderAndAFailedRunGoesOn) {
    Add_Road({{1500, 1500}, {1600, 1500}});  // south-east cell
    Add_Road({{100, 100}, {200, 100}});       // north-west cell
    API_Make_Night_Lines();
    ASSERT_EQ(Tool_Calls().size(), 2u);
    EXPECT_NE(Handed(1, "TmpRt.Sca").find("Header( 1 45.1 "), std::string::npos);
    EXPECT_TRUE(fs::exists(app / "Scenery" / "Area_9001.bgl"));
    EXPECT_TRUE(fs::exists(app / "Scenery" / "Area_9002.bgl"));

    fs::remove_all(app / "Scenery");
    fs::create_directories(app / "Scenery");
    Remove_Tool("scasm.exe");
    Expect_Boxes(4);
    API_Make_Night_Lines();
    const std::vector<std::string> boxes = Box_Texts();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[1], "error during Scasm generation");
    EXPECT_EQ(boxes[3], "error during Scasm generation");
    EXPECT_EQ(Scasm_File_Counter, 2);
}

TEST_F(NightLines, LanesLieAtTheirOffsets) {
    EXPECT_EQ(Night_Lane_Count(1134), 2);
    EXPECT_EQ(Night_Gap_Flag(1134), 1);
    EXPECT_DOUBLE_EQ(Night_Pass_Offset(2, 1, 6.6, 1), 1.98);
    EXPECT_DOUBLE_EQ(Night_Pass_Offset(2, 0, 6.6, 1), 1.65);
    EXPECT_EQ(Night_Lane_Count(1170), 6);
    EXPECT_EQ(Night_Lane_Count(1026), 1);
    EXPECT_EQ(API_Format_Road_Point(12.4, -40), "12 0 -40");
    // Two straight segments meeting at a right angle: the join is at the offset from both.
    const Road_Point j = API_Join_Offset_Segments({0, 2}, {10, 2}, {8, 0}, {8, -10});
    EXPECT_EQ(j, (Road_Point{8, 2}));
}

TEST_F(NightLines, UnmarkedOrCollapsedLinesWriteNothing) {
    Route_Attrib a;
    a.SurfShore = 2;
    const int32_t line = Project_Append_Line(a);  // not lit
    Project_Append_Point(line, 100, 100);
    Project_Append_Point(line, 150, 100);
    Add_Road({{300, 300}, {300, 300}});  // one place only
    API_Make_Night_Lines();
    EXPECT_TRUE(Tool_Calls().empty());
    EXPECT_TRUE(host().boxes.empty());
}

}  // namespace
