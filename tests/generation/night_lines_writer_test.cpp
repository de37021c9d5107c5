// Night lights: one SCASM source per LOD8 cell, compiled and copied to numbered BGL files, with
// lanes laid beside the centreline.
#include "generation/night_lines_writer.h"

#include "polygon_fixture.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class NightLines : public Area_Writer_Test {
protected:
    // The light points (x, z) of a source, in the order written.
    static std::vector<std::pair<int64_t, int64_t>> Lights(const std::string& text) {
        std::vector<std::pair<int64_t, int64_t>> lights;
        for (size_t at = text.find("RRStart( "); at != std::string::npos;) {
            std::string point = text.substr(at, text.find(" )\r\n", at) - at);
            point = point.substr(point.find("( ") + 2);
            if (point.rfind("2 2 ", 0) == 0) point = point.substr(4);
            const size_t zero = point.find(" 0 ");
            lights.push_back({std::stoll(point.substr(0, zero)), std::stoll(point.substr(zero + 3))});
            const size_t next = text.find("\r\n", at) + 2;
            const bool more = text.compare(next, 8, "RRStart(") == 0 || text.compare(next, 9, "RoadCont(") == 0;
            at = more ? next : std::string::npos;
        }
        return lights;
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

TEST_F(NightLines, AnOutputThatCannotBeWrittenIsNamedAndItsCompiledCellKept) {
    Add_Road({{1500, 1500}, {1600, 1500}});
    Add_Road({{100, 100}, {200, 100}});
    // A folder where the first cell's file goes: no file can take its place.
    fs::create_directories(app / "Scenery" / "Area_9001.bgl");
    Expect_Boxes(1);
    API_Make_Night_Lines();
    const std::string output = (app / "Scenery" / "Area_9001.bgl").string();
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"Le fichier des lumières de nuit n'a pas pu être écrit : " + output +
                                                     "\r\nLe fichier compilé a été gardé sous " +
                                                     (app / "Area_9001.bgl").string()}));
    // The next cell's run did not take the only good copy of the first.
    EXPECT_TRUE(fs::is_regular_file(app / "Area_9001.bgl"));
    EXPECT_TRUE(fs::is_regular_file(app / "Scenery" / "Area_9002.bgl"));
    EXPECT_FALSE(fs::exists(app / "Tmp.Bgl"));
}

// On a disk that fails, the source is named in the session's language and no tool runs.
TEST_F(NightLines, ASourceThatCannotBeWrittenIsNamedInFrench) {
    Add_Road({{10, 10}, {30, 10}, {50, 10}});
    plat::SetFileFlush([](int) { return -1; });
    Expect_Boxes(1);
    API_Make_Night_Lines();
    plat::SetFileFlush(nullptr);
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("Impossible d'écrire " + (app / "TmpRt.Sca").string(), 0), 0u) << Box_Texts()[0];
    EXPECT_TRUE(Gen_Commands_Run().empty());
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

TEST_F(NightLines, ParallelOrEmptySegmentsJoinAtThePointReached) {
    // Two north-south lines a few millimetres apart, two east-west ones, and segments of no length.
    EXPECT_EQ(API_Join_Offset_Segments({185, -40}, {185, 10}, {185.004, 10}, {185.004, 60}), (Road_Point{185, 10}));
    EXPECT_EQ(API_Join_Offset_Segments({0, 5}, {10, 5}, {10, 5.003}, {20, 5.003}), (Road_Point{10, 5}));
    // A segment under a centimetre has no offset points: the lane goes on at its neighbour's.
    EXPECT_EQ(API_Join_Offset_Segments({3, 4}, {3, 4}, {0, 0}, {10, -10}), (Road_Point{0, 0}));
    EXPECT_EQ(API_Join_Offset_Segments({0, 0}, {3, 4}, {7, 7}, {7, 7}), (Road_Point{3, 4}));
    // Steep lines a centimetre apart and all but parallel would meet 2500 km away.
    EXPECT_EQ(API_Join_Offset_Segments({0, 0}, {0.02, 100}, {0.03, 100}, {0.05, 200.002}), (Road_Point{0.02, 100}));
    // Lines that do meet still meet where they cross.
    const Road_Point j = API_Join_Offset_Segments({0, 0}, {10, 10}, {10, 10.5}, {20, 0.5});
    EXPECT_NEAR(j.X, 10.25, 1e-9);
    EXPECT_NEAR(j.Z, 10.25, 1e-9);
}

TEST_F(NightLines, ACentimetreJogInANorthSouthLineKeepsItsLightOnTheLine) {
    // Each segment's ends are less than 1 cm apart east-west, so each runs due north on its own
    // first end's meridian: two parallel lines a few millimetres apart.
    Add_Road({{100, 130}, {100.0002, 185}, {100, 240}});
    API_Make_Night_Lines();
    ASSERT_EQ(Tool_Calls().size(), 1u);
    const std::string text = Handed(1, "TmpRt.Sca");
    const std::vector<std::pair<int64_t, int64_t>> lights = Lights(text);
    // From the last point to the first; the middle light lies between them, on the meridian.
    ASSERT_EQ(lights.size(), 3u);
    EXPECT_EQ(lights[1].first, lights[0].first);
    EXPECT_EQ(lights[1].first, lights[2].first);
    EXPECT_LT(lights[1].second, lights[2].second);
    EXPECT_GT(lights[1].second, lights[0].second);
    EXPECT_EQ(text.find("2147483647"), std::string::npos);
}

TEST_F(NightLines, ASegmentUnderACentimetreLeavesTheLanesBesideTheLine) {
    // Two lanes; the first segment is shorter than a centimetre both ways, the second runs north.
    Add_Road({{100, 130}, {100.0001, 130.0001}, {100, 240}}, 1134, 10);
    API_Make_Night_Lines();
    ASSERT_EQ(Tool_Calls().size(), 1u);
    const std::vector<std::pair<int64_t, int64_t>> lights = Lights(Handed(1, "TmpRt.Sca"));
    ASSERT_EQ(lights.size(), 6u);
    const auto [west, east] = std::minmax({lights[0].first, lights[1].first, lights[2].first, lights[3].first,
                                           lights[4].first, lights[5].first});
    EXPECT_LE(east - west, 4);   // 1.98 m either side of the line
    // Each string: its light at the short segment stays in its lane, as the north end's does.
    EXPECT_EQ(lights[1].first, lights[0].first);
    EXPECT_EQ(lights[4].first, lights[5].first);
    EXPECT_NE(lights[0].first, lights[5].first);
    for (const auto& light : lights) EXPECT_LT(std::abs(light.second), 10000);
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
