// The wide-line source: entries per LOD8 cell, layer and type, the extra end points, the polygon
// line forms, texture blocks, the texture descriptions and the compiler run.
#include "generation/vtp_lines_writer.h"

#include "generation/line_prep.h"
#include "generation/work_tables.h"
#include "polygon_fixture.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

struct Work_Line {
    std::vector<Work_Point_Rec> Points;
    int16_t Type = 1026;
    uint8_t Layer = 0;
    std::string Text;
};

class VtpLinesWriter : public Area_Writer_Test {
protected:
    fs::path Source() const { return app / "Tessaline$_Lines.ASM"; }
    std::string Output() const { return (app / "Scenery" / "Area_9.bgl").string(); }

    static int32_t Add_Drawn(const std::vector<Plane_Point>& pts, int16_t type, uint8_t layer, int16_t width,
                             const std::string& text, int16_t taper_start = 0, int16_t taper_end = 0) {
        Route_Attrib a;
        a.SurfShore = 2;
        a.Type_Code = type;
        a.Layer = layer;
        a.Largeur = width;
        a.Text_Rt = text;
        a.Effil_Deb = taper_start;
        a.Effil_Fin = taper_end;
        const int32_t line = Project_Append_Line(a);
        for (const Plane_Point& p : pts) Project_Append_Point(line, p.X, p.Y);
        return line;
    }

    // Work lines as the line preparation would leave them.
    static void Load(const std::vector<Work_Line>& lines) {
        int32_t total = 0;
        for (const Work_Line& l : lines) total += static_cast<int32_t>(l.Points.size());
        Work_Tables_Size(static_cast<int32_t>(lines.size()), total);
        for (const Work_Line& l : lines) {
            Work_Poly_Rec& rec = Work_Poly_Table(++Work_Poly_Count);
            rec.Line_Id = Work_Poly_Count + 1;
            Route_Attrib a;
            a.SurfShore = 2;
            a.Type_Code = l.Type;
            a.Layer = l.Layer;
            a.Text_Rt = l.Text;
            rec.Attr = a;
            rec.First_Point = Work_Point_Count + 1;
            for (const Work_Point_Rec& p : l.Points) Work_Point_Table(++Work_Point_Count) = p;
            rec.Last_Point = Work_Point_Count;
            rec.Nb_Points = static_cast<int32_t>(l.Points.size());
        }
    }
    // n points inside the first LOD8 cell, no end markers.
    static Work_Line Wavy(int n, int16_t type) {
        Work_Line l;
        l.Type = type;
        for (int i = 0; i < n; ++i) l.Points.push_back({100.0 + i, i % 2 == 0 ? 100.0 : 110.0, 0});
        return l;
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
};

TEST_F(VtpLinesWriter, PreparedLinesOfTwoCellsGiveTheDocumentedSource) {
    fs::create_directories(app / "Resource");
    Write_File(app / "Resource" / "OwnLines4.txt",
               "[Texture.4100]\r\nType=5\r\nSize=8\r\nTextures=a.bmp,b.bmp\r\nEffect=fx_glow\r\n");
    Add_Drawn({{100, 100}, {300, 200}, {500, 150}}, 1026, 3, 12, "Shore A");
    Add_Drawn({{600, 600}, {700, 650}}, 1213, 3, 9, "Road");
    Add_Drawn({{100, 700}, {200, 700}}, 4100, 3, 6, "Own", 1, 0);
    Add_Drawn({{1200, 1200}, {1400, 1300}}, 1026, 1, 20, "", 1, 1);
    API_Prepare_Lines();
    EXPECT_EQ(Read_File(Source()), Read_File(testenv::Fixtures() / "golden" / "lines_two_cells.asm"));
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{app.string() + "/bglc.exe  \"" + app.string() + "/Tessaline$_Lines.ASM\" \"" +
                                        Output() + "\""}));
    EXPECT_TRUE(fs::exists(Output()));
    EXPECT_EQ(Gen_Captions().LCompileNom, Bgl_Base_Path);
    EXPECT_EQ(Gen_Captions().LCompile, "lines : BGLC.exe");
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Work_Poly_Count, 0);
    EXPECT_EQ(Line_Entry_Count, 0);
}

// On a disk that fails, the source is named in the session's language and no tool runs.
TEST_F(VtpLinesWriter, ASourceThatCannotBeWrittenIsNamedInFrench) {
    Add_Drawn({{600, 600}, {700, 650}}, 1213, 3, 9, "Road");
    plat::SetFileFlush([](int) { return -1; });
    Expect_Boxes(1);
    API_Prepare_Lines();
    plat::SetFileFlush(nullptr);
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("Impossible d'écrire " + (app / "Tessaline$_Lines.ASM").string(), 0), 0u) << Box_Texts()[0];
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(VtpLinesWriter, StepPointsLieOneUnitBesideTheEnds) {
    Line_Entry_Point c;
    // A cut end on the cell's west edge gets a point just outside it.
    API_Step_Beside_Segment({4080, 5000}, c, {4500, 5100}, 0, 2);
    EXPECT_EQ(c, (Line_Entry_Point{4079, 4999}));
    // An untapered end steps into the line.
    API_Step_Beside_Segment({4080, 5000}, c, {4500, 5100}, 0, 1);
    EXPECT_EQ(c, (Line_Entry_Point{4081, 5000}));
    // Vertical and horizontal lines, at the last point.
    API_Step_Beside_Segment({6000, 7000}, c, {6000, 6000}, 1, 1);
    EXPECT_EQ(c, (Line_Entry_Point{6000, 6001}));
    API_Step_Beside_Segment({6000, 7000}, c, {6000, 6000}, 1, 2);
    EXPECT_EQ(c, (Line_Entry_Point{6000, 5999}));
    API_Step_Beside_Segment({5000, 6000}, c, {7000, 6000}, 1, 2);
    EXPECT_EQ(c, (Line_Entry_Point{7001, 6000}));
    // Steeper than diagonal: y is stepped and x read from the line (truncated).
    API_Step_Beside_Segment({5000, 5000}, c, {5003, 5010}, 0, 1);
    EXPECT_EQ(c, (Line_Entry_Point{5000, 5001}));
    API_Step_Beside_Segment({5000, 5000}, c, {5010, 5010}, 1, 1);  // a tie steps y
    EXPECT_EQ(c, (Line_Entry_Point{5009, 5009}));
}

TEST_F(VtpLinesWriter, PolygonLineTakesTheLongFormAboveThirtyPoints) {
    Load({Wavy(29, 1026), Wavy(29, 1213), Wavy(31, 1230), Wavy(28, 1030)});
    API_Write_Lines_Asm();
    const std::string text = Read_File(Source());
    EXPECT_EQ(Count(text, "             VTPPolyMethod2 31, 1, 0\r\n             VTPPolyMethod2Ex 0\r\n"), 2u);
    EXPECT_EQ(Count(text, "             VTPPolyMethod2 29, 1, 0\r\n"), 1u);
    EXPECT_EQ(Count(text, "             VTPPolyMethod2 30, 1, 0\r\n"), 1u);
    EXPECT_EQ(Count(text, "VTPPolyMethod2Ex"), 2u);
    // Four types in one layer: four blocks, numbered in the texture list's order.
    EXPECT_NE(text.find("        VTPNumTexturesInLayer 4, 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("           VTPTextureId  3, 0 \r\n"), std::string::npos);
}

TEST_F(VtpLinesWriter, MoreThan127LinesOfOneTypeMakeSeveralBlocks) {
    std::vector<Work_Line> lines(130, Wavy(3, 1026));
    lines.push_back(Wavy(3, 1020));
    Load(lines);
    API_Write_Lines_Asm();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("        VTPNumTexturesInLayer 3, 0\r\n"), std::string::npos);
    // The lower type code sorts first, so 1020 is texture 1.
    const std::string block127 = "           VTPTextureId  1, 0 \r\n            VTPPolyCount 127, 0\r\n";
    const std::string block3 = "           VTPTextureId  1, 0 \r\n            VTPPolyCount 3, 0\r\n";
    ASSERT_NE(text.find(block127), std::string::npos);
    EXPECT_GT(text.find(block3), text.find(block127));
    EXPECT_NE(text.find("           VTPTextureId  0, 0 \r\n            VTPPolyCount 1, 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("    VTPTextureListHeader 2,"), std::string::npos);
}

TEST_F(VtpLinesWriter, OwnTexturesFallBackToTheirDefaults) {
    fs::create_directories(app / "Resource");
    Write_File(app / "Resource" / "OwnLines4.txt", "[Texture.5000]\r\nType=big\r\nSize=300\r\n");
    Load({Wavy(3, 5000), Wavy(3, 6000)});
    API_Write_Lines_Asm();
    const std::string text = Read_File(Source());
    const std::string defaults = "        VTPTextureName \"ShoreSU.bmp\"\r\n        VTPTextureType 2, 0, 0, 4\r\n";
    EXPECT_EQ(Count(text, defaults), 2u);
    EXPECT_EQ(text.find("BYTE"), std::string::npos);
}

TEST_F(VtpLinesWriter, NoWorkLinesWritesNothing) {
    Write_File(Source(), "earlier");
    API_Write_Lines_Asm();
    EXPECT_EQ(Read_File(Source()), "earlier");
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(VtpLinesWriter, MissingCompilerIsReportedAndKeepsTheSource) {
    Remove_Tool("bglc.exe");
    Write_File(Output(), "old");
    Load({Wavy(3, 1026)});
    Expect_Boxes(2);
    API_Write_Lines_Asm();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[1], "BGLC.exe not found");
    EXPECT_TRUE(fs::exists(Source()));
    EXPECT_FALSE(fs::exists(Output()));  // an old result is never left to pass for this one
}

}  // namespace
