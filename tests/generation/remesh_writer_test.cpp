// The re-meshed terrain source: defined grid points as two-point polygons in their LOD13 areas,
// sorted, in data areas of at most 253 points, with their altitudes, and the compiler run.
#include "generation/remesh_writer.h"

#include "polygon_fixture.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class RemeshWriter : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        polytest::Calibrate();
        fs::create_directories(app / "Scenery");
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
    }
    fs::path Source() const { return app / "Tessaline$_Remesh_LWM.asm"; }
    std::string Output() const { return (app / "Scenery" / "Area_2.bgl").string(); }

    static void Add_Point(double x, double y, float alt, uint8_t defined = 1) {
        Grid_Point_Table.ReDim_Preserve(++Grid_Point_Count);
        Grid_Point_Table(Grid_Point_Count) = Grid_Point_Rec{defined, x, y, alt};
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
};

TEST_F(RemeshWriter, OneDefinedPointGivesTheDocumentedSourceAndIsCompiled) {
    Add_Point(500, 500, 99, 0);  // not defined: skipped
    Add_Point(40, 40, 10.5f);
    Add_Point(600, 600, 98, 0);
    API_Write_Remesh_Lwm_Asm();
    EXPECT_EQ(Read_File(Source()), Read_File(testenv::Fixtures() / "golden" / "remesh_one_point.asm"));
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{app.string() + "/bglc.exe  \"" + app.string() + "/Tessaline$_Remesh_LWM.asm\" \"" +
                                        Output() + "\""}));
    EXPECT_TRUE(fs::exists(Output()));
    EXPECT_EQ(Gen_Captions().LCompileNom, Output());
    EXPECT_EQ(Gen_Captions().LCompile, "Re_Mesh : BGLC.exe");
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

// On a disk that fails, the source is named in the session's language and no tool runs.
TEST_F(RemeshWriter, ASourceThatCannotBeWrittenIsNamedInFrench) {
    Add_Point(40, 40, 10.5f);
    plat::SetFileFlush([](int) { return -1; });
    Expect_Boxes(1);
    API_Write_Remesh_Lwm_Asm();
    plat::SetFileFlush(nullptr);
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("Impossible d'écrire " + (app / "Tessaline$_Remesh_LWM.asm").string(), 0), 0u) << Box_Texts()[0];
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(RemeshWriter, PointsAreSortedAndSplitIntoAreasOf253) {
    // 600 points in LOD13 area (1, 1), entered from the south-east corner back.
    for (int y = 55; y >= 32; --y)
        for (int x = 56; x >= 32; --x) Add_Point(x, y, 1);
    API_Write_Remesh_Lwm_Asm();
    const std::string text = Read_File(Source());
    EXPECT_EQ(Count(text, "        LWMDataAreaDrawPolygonsEx 7,3,1,1,1,246\r\n"), 2u);
    EXPECT_EQ(Count(text, "        LWMDataAreaDrawPolygonsEx 7,3,1,1,1,87\r\n"), 1u);
    EXPECT_EQ(Count(text, "          LWMPoly2   2,0,1,1,0\r\n"), 600u);
    // North-west first: the smallest local y, then the smallest local x.
    const size_t first = text.find("            LWMPoint ");
    EXPECT_EQ(text.substr(first, 30), "            LWMPoint 6,6\r\n    ");
}

TEST_F(RemeshWriter, CellsComeInRowOrderAndSmallAreasTakeTheShortForm) {
    for (int i = 0; i < 7; ++i) Add_Point(1500 + i, 1500, 2);  // cell 385/129, one LOD13 area
    Add_Point(40, 40, 2);
    Add_Point(80, 40, 2);                                      // cell 384/128, two areas
    API_Write_Remesh_Lwm_Asm();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygonsEx 7,3,1,16,16,0\r\n"), std::string::npos);
    const size_t a = text.find("        LWMDataAreaDrawPolygons 1,3,1,1,1\r\n");
    const size_t b = text.find("        LWMDataAreaDrawPolygons 1,3,1,2,1\r\n");
    ASSERT_NE(a, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_NE(text.find("        LWMIndexEntry   Cell_384_128,LWMStart,datamark_0,datamark_1\r\n"
                        "        LWMIndexEntry   Cell_385_129,LWMStart,datamark_1,datamark_2\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("    datamark_2  label   word\r\n"), std::string::npos);
}

TEST_F(RemeshWriter, AltitudesInMetresTakeTheOffsetAndFeetAreConverted) {
    Alt_Offset = 0.5f;
    EXPECT_DOUBLE_EQ(Remesh_Altitude_Metres(10), 10.5);
    Alt_Offset = 0;
    Add_Point(40, 40, -0.25f);
    Add_Point(80, 40, 0.25f);
    API_Write_Remesh_Lwm_Asm();
    EXPECT_EQ(Count(Read_File(Source()), "          LWMPoly2   2,0,1,0,32\r\n"), 2u);

    Alt_Unit_Feet = 1;
    Alt_Offset = 7;
    EXPECT_NEAR(Remesh_Altitude_Metres(100), 30.48, 1e-3);
    Grid_Point_Table(1).Alt = 100;
    API_Write_Remesh_Lwm_Asm();
    EXPECT_NE(Read_File(Source()).find("          LWMPoly2   2,0,1,30,61\r\n"), std::string::npos);
}

TEST_F(RemeshWriter, PointsBeyondTheWorldAndAltitudesBeyondIntReachStayWithinTheFields) {
    Add_Point(1e10, 40, 1);
    Add_Point(40, -1e18, 1);
    Add_Point(1e300, 1e300, 1);
    Add_Point(40, 40, 3.4e38f);
    Add_Point(50, 40, -3.4e38f);
    API_Write_Remesh_Lwm_Asm();
    const std::string text = Read_File(Source());
    EXPECT_EQ(Count(text, "LWMCellID"), 1u);
    EXPECT_NE(text.find("    Cell_384_128    EQU    LWMCellID 0,0,3,384,128\r\n"), std::string::npos);
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygons 2,3,1,1,1\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly2   2,0,1,2147483647,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly2   2,0,1,-2147483647,0\r\n"), std::string::npos);
    EXPECT_EQ(Count(text, "LWMPoly2"), 2u);
}

TEST_F(RemeshWriter, NoDefinedPointDoesNothing) {
    Write_File(Source(), "earlier");
    Gen_Show_Stage("before", "step");
    API_Write_Remesh_Lwm_Asm();
    Add_Point(40, 40, 5, 0);
    API_Write_Remesh_Lwm_Asm();
    EXPECT_EQ(Read_File(Source()), "earlier");
    EXPECT_EQ(Gen_Captions().LCompileNom, "before");
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(RemeshWriter, MissingCompilerIsReported) {
    Remove_Tool("bglc.exe");
    Add_Point(40, 40, 5);
    Expect_Boxes(2);
    API_Write_Remesh_Lwm_Asm();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[1], "pb Ground generation Re_meshLWM");
    EXPECT_EQ(host().boxes[1].style, plat::MB_OK);
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
    EXPECT_TRUE(fs::exists(Source()));
}

}  // namespace
