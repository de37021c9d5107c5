// The land/water mask source: fills of LOD8 cells and textured areas, coastline and polygon
// pieces per LOD13 area, the older-engine forms, the compiler run and the wide-line step after it.
#include "generation/mask_writer.h"

#include "generation/coast_stage.h"
#include "generation/work_tables.h"
#include "polygon_fixture.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class MaskWriter : public Writer_Test {
protected:
    void SetUp() override {
        Writer_Test::SetUp();
        Work_Tables_Reset_All();
        fs::create_directories(app / "Scenery");
        Bgl_Base_Path = (app / "Scenery" / "Area.bgl").string();
        // The frame of the documented example: bounds 46, 43, 8, 3.
        Map_Lat_North = 45.5;
        Map_Lat_South = 44.2;
        Map_Lon_East = 7.3;
        Map_Lon_West = 4.1;
    }
    void TearDown() override {
        Work_Tables_Reset_All();
        Writer_Test::TearDown();
    }
    fs::path Source() const { return app / "Tessaline$_Poly_LWM.asm"; }
    std::string Output() const { return (app / "Scenery" / "Area_3.bgl").string(); }
    std::string Golden(const std::string& name) const { return Read_File(testenv::Fixtures() / "golden" / name); }

    static void Add_Area(int16_t col, int16_t row, int16_t c13, int16_t r13, int16_t fill, uint8_t attrib,
                         double alti) {
        Lwm_Cell_Rec rec;
        rec.Lod8_Col = col;
        rec.Lod8_Row = row;
        rec.Lod13_Col = c13;
        rec.Lod13_Row = r13;
        rec.Fill1x1 = fill;
        rec.Attrib = attrib;
        rec.Alti = alti;
        Lwm_Cell_Table.ReDim_Preserve(++Lwm_Cell_Count);
        Lwm_Cell_Table(Lwm_Cell_Count) = rec;
    }
    static void Add_Lod8(int16_t col, int16_t row, uint8_t attrib) {
        Lod8_Cell_Table.ReDim_Preserve(++Lod8_Cell_Count);
        Lod8_Cell_Table(Lod8_Cell_Count) = Lod8_Cell_Rec{col, row, attrib, -9999};
    }
    // A coastline piece as the coastline stage leaves it (for Lwm_Write_Source).
    static void Add_Coast(int16_t col, int16_t row, int16_t c13, int16_t r13,
                          const std::vector<std::pair<int16_t, int16_t>>& pts, const std::string& text = "",
                          double alt = 0) {
        Cut_Piece_Record p;
        p.Lod8_Col = col;
        p.Lod8_Row = row;
        p.Lod13_Col = c13;
        p.Lod13_Row = r13;
        Route_Attrib a;
        a.SurfShore = 3;
        a.Text_Rt = text;
        a.Alt_Coast = alt;
        p.Attr = a;
        p.Nb_Points = static_cast<int16_t>(pts.size());
        const int32_t first = Coast_Piece_Points.UBound() + 1;
        Coast_Piece_Points.ReDim_Preserve(first + static_cast<int32_t>(pts.size()) - 1);
        for (size_t i = 0; i < pts.size(); ++i)
            Coast_Piece_Points(first + static_cast<int32_t>(i)) = {0, 0, pts[i].first, pts[i].second};
        p.First_Point = first;
        p.Last_Point = first + static_cast<int32_t>(pts.size()) - 1;
        Coast_Piece_Table.ReDim_Preserve(++Coast_Count);
        Coast_Piece_Table(Coast_Count) = p;
    }
    // A drawn coastline, for the coastline stage to make its pieces.
    static void Add_Coastline(const std::vector<Plane_Point>& pts, const std::string& text = "", double alt = 0) {
        Route_Attrib a;
        a.SurfShore = 3;
        a.Text_Rt = text;
        a.Alt_Coast = alt;
        const int32_t line = Project_Append_Line(a);
        for (Plane_Point p : pts) Project_Append_Point(line, p.X, p.Y);
    }
    static std::vector<std::pair<int16_t, int16_t>> Ring(int n) {
        std::vector<std::pair<int16_t, int16_t>> pts;
        for (int i = 0; i < n; ++i) pts.push_back({static_cast<int16_t>(i), static_cast<int16_t>(i % 2)});
        return pts;
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
};

TEST_F(MaskWriter, OneFilledAreaGivesTheDocumentedSourceAndIsCompiled) {
    Add_Area(389, 130, 12, 5, 1, 1, 150.25);
    API_Write_Lwm_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("lwm_one_fill.asm"));
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{app.string() + "/bglc.exe  \"" + app.string() + "/Tessaline$_Poly_LWM.asm\" \"" +
                                        Output() + "\""}));
    EXPECT_TRUE(fs::exists(Output()));
    EXPECT_EQ(Gen_Captions().LCompileNom, Output());
    EXPECT_EQ(Gen_Captions().LCompile, "LWM Polygons : BGLC.exe");
    EXPECT_TRUE(host().boxes.empty());
}

// On a disk that fails, the source is named in the session's language and no tool runs.
TEST_F(MaskWriter, ASourceThatCannotBeWrittenIsNamedInFrench) {
    Add_Area(389, 130, 12, 5, 1, 1, 150.25);
    plat::SetFileFlush([](int) { return -1; });
    Expect_Boxes(1);
    API_Write_Lwm_Asm();
    plat::SetFileFlush(nullptr);
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("Impossible d'écrire " + (app / "Tessaline$_Poly_LWM.asm").string(), 0), 0u) << Box_Texts()[0];
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(MaskWriter, CoastlinePiecesAndAnEmptyCellRecord) {
    polytest::Calibrate();
    Add_Lod8(390, 131, 3);
    // A coastline across LOD13 area (2, 3) of cell 384, 128, drawn west to east: the sea south.
    Add_Coastline({{55, 110}, {78, 120}, {100, 110}}, "Isle", 2.5);
    API_Write_Lwm_Asm();
    EXPECT_EQ(Read_File(Source()), Golden("lwm_coasts.asm"));
    EXPECT_EQ(Coast_Count, 0);  // the coastline pieces are used up
    EXPECT_EQ(Coast_Piece_Table.UBound(), 0);
}

TEST_F(MaskWriter, CellFillsGiveWayToPolygonsButNotToEmptyTexturedAreas) {
    polytest::Calibrate();
    Add_Lod8(384, 128, 1);
    Add_Area(384, 128, 5, 5, 0, 0, -9999);  // neither filled nor holding pieces
    Route_Attrib a;
    a.Attrib = 0;
    a.Alti = 100;
    a.Meter_Feet = 1;
    a.Text_Rt = "Pond";
    const int32_t line = Project_Append_Line(a);
    for (Plane_Point p : polytest::Square(40, 40, 15)) Project_Append_Point(line, p.X, p.Y);
    API_Write_Lwm_Asm();
    const std::string text = Read_File(Source());
    EXPECT_EQ(Count(text, "          LWMPoly2   4,0,1,-9999,0\r\n"), 1023u);
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygons 1,3,1,5,5\r\n          LWMPoly2   4,0,1,-9999,0\r\n"),
              std::string::npos);
    // The polygon's area: its piece only, 100 feet as metres.
    const size_t pond = text.find("        LWMDataAreaDrawPolygons 1,3,1,1,1\r\n; \r\n; Pond\r\n; \r\n"
                                  "          LWMPoly2   4,0,0,30,61\r\n");
    ASSERT_NE(pond, std::string::npos);
    EXPECT_EQ(Count(text, "LWMDataAreaDrawPolygons 1,3,1,1,1\r\n"), 1u);
    EXPECT_EQ(Count(text, "            LWMPoint "), 1024u * 4);
    EXPECT_EQ(Cut_Piece_Count, 0);
}

TEST_F(MaskWriter, ManyPiecesAndLongPiecesTakeTheExtendedForms) {
    Add_Coast(389, 130, 0, 0, Ring(62));
    Add_Coast(389, 130, 0, 0, Ring(63));
    for (int i = 0; i < 5; ++i) Add_Coast(389, 130, 0, 0, Ring(3));
    Add_Coast(389, 130, 1, 0, Ring(3));
    Lwm_Write_Source();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygonsEx 7,3,1,0,0,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygons 1,3,1,1,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly2   62,0,0,0,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly2Ex 63,0,0,0,0,0\r\n"), std::string::npos);
}

TEST_F(MaskWriter, OlderEngineFormsKeepTheFillsAndWarnOfLongPieces) {
    Cfs_Mode = 1;
    Add_Area(389, 130, 0, 0, 1, 0, 12.5);
    Add_Coast(389, 130, 0, 0, Ring(70));
    Add_Coast(389, 130, 0, 0, Ring(63));
    Expect_Boxes(2);
    Lwm_Write_Source();
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>(2, "LWM poly/CFS : more than 62 points")));
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("    LWMFileHeader 256, LWMIndexStart, LWMStart, LWMEnd\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly2   4,0,0,12,64\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly1 70,0,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("          LWMPoly1 63,0,0\r\n"), std::string::npos);
    EXPECT_EQ(Count(text, "            LWMPoint "), 4u + 70 + 63);
}

TEST_F(MaskWriter, NothingToMaskCompilesNothingButTheWideLinesStillRun) {
    polytest::Calibrate();
    Write_File(Output(), "earlier");
    Add_Lod8(384, 128, 3);
    Route_Attrib a;
    a.SurfShore = 2;
    a.Type_Code = 1026;
    const int32_t line = Project_Append_Line(a);
    Project_Append_Point(line, 100, 100);
    Project_Append_Point(line, 200, 150);
    API_Write_Lwm_Asm();
    const std::string text = Read_File(Source());
    EXPECT_EQ(text.find("LWMDataArea"), std::string::npos);
    EXPECT_NE(text.find("         LWMIndexHeader 1,LWMIndexData\r\n"), std::string::npos);
    EXPECT_EQ(Read_File(Output()), "earlier");
    ASSERT_EQ(Gen_Commands_Run().size(), 1u);
    EXPECT_NE(Gen_Commands_Run()[0].find("Tessaline$_Lines.ASM"), std::string::npos);
}

TEST_F(MaskWriter, AnUnstartableCompilerSkipsTheWideLines) {
    polytest::Calibrate();
    Remove_Tool("bglc.exe");
    Add_Area(384, 128, 0, 0, 1, 1, 0);
    Route_Attrib a;
    a.SurfShore = 2;
    const int32_t line = Project_Append_Line(a);
    Project_Append_Point(line, 100, 100);
    Project_Append_Point(line, 200, 150);
    Expect_Boxes(2);
    API_Write_Lwm_Asm();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[1], "pb Ground generation 2");
    EXPECT_EQ(Gen_Commands_Run().size(), 1u);
    EXPECT_FALSE(fs::exists(app / "Tessaline$_Lines.ASM"));
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

TEST_F(MaskWriter, ACompilerThatLeavesNoResultIsReportedAndAnOldOneRemoved) {
    Tool_Makes_Nothing("bglc.exe");
    Write_File(Output(), "earlier");
    Add_Area(389, 130, 12, 5, 1, 1, 0);
    Expect_Boxes(2);
    API_Write_Lwm_Asm();
    EXPECT_EQ(Box_Texts(), (std::vector<std::string>{"bglc.exe a été lancé (code de sortie 0) mais n'a pas écrit " +
                                                         Output() + ".",
                                                     "pb Ground generation 2"}));
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(MaskWriter, RefusedPolygonsLeaveTheFillsAndCoastlines) {
    polytest::Calibrate();
    Add_Area(384, 128, 3, 3, 1, 1, 0);
    Add_Coastline({{120, 140}, {160, 140}});  // the south part of area (4, 4)
    Route_Attrib a;
    const int32_t line = Project_Append_Line(a);  // a bow tie crosses itself
    for (Plane_Point p : std::vector<Plane_Point>{{300, 300}, {320, 320}, {320, 300}, {300, 320}})
        Project_Append_Point(line, p.X, p.Y);
    Expect_Boxes(1);
    API_Write_Lwm_Asm();
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_NE(Box_Texts()[0].find("Bmp pixel X:"), std::string::npos);
    const std::string text = Read_File(Source());
    EXPECT_EQ(Count(text, "LWMDataAreaDrawPolygons "), 2u);
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygons 1,3,1,3,3\r\n"), std::string::npos);
    EXPECT_NE(text.find("        LWMDataAreaDrawPolygons 1,3,1,4,4\r\n"), std::string::npos);
    // Compiled, then the coastline's wide line; the bow tie was no shore line.
    ASSERT_EQ(Gen_Commands_Run().size(), 2u);
    EXPECT_NE(Gen_Commands_Run()[1].find("Tessaline$_Lines.ASM"), std::string::npos);
}

TEST_F(MaskWriter, AltitudePairs) {
    int32_t w = 0, f = 0;
    Gen_Altitude_Pair(12.5, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(12, 64));
    Gen_Altitude_Pair(-12.5, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(-12, 64));
    Gen_Altitude_Pair(-9999, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(-9999, 0));
    Gen_Altitude_Pair(-0.25, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(0, 32));
    // Beyond what the fields hold: the end of the whole part's reach, a fraction of 0..127.
    Gen_Altitude_Pair(3.4e38, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(2147483647, 0));
    Gen_Altitude_Pair(-3.4e38, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(-2147483647, 0));
    Gen_Altitude_Pair(-2147483647.75, w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(-2147483647, 0));
    Gen_Altitude_Pair(std::nan(""), w, f);
    EXPECT_EQ(std::pair(w, f), std::pair(0, 0));
}

}  // namespace
