// VTP2 polygons: texture sets, the order of the pieces, texture entries of long runs, the
// polygon line forms, the texture list and the compiler run.
#include "generation/vtp2_writer.h"

#include <cmath>

#include "generation/vtp2_groups.h"
#include "generation/work_tables.h"
#include "polygon_fixture.h"
#include "platform/files.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;

class Vtp2Writer : public Area_Writer_Test {
protected:
    fs::path Source() const { return app / "Tessaline$_VTP2.ASM"; }
    std::string Output() const { return (app / "Scenery" / "Area_5.bgl").string(); }

    static Route_Attrib Vtp2(int16_t kind, int16_t code, int16_t layer, const std::string& text = "") {
        Route_Attrib a;
        a.SurfShore = 0;
        a.LWM_VTP2 = 1;
        a.LandClass_Source = kind;
        if (kind == 0) a.LC_Code = code;
        if (kind == 2) a.Type_Code = code;
        a.Layer_Vtp2 = layer;
        a.Text_Rt = text;
        return a;
    }
    static int32_t Draw(const Route_Attrib& a, const std::vector<Plane_Point>& pts) {
        const int32_t line = Project_Append_Line(a);
        for (const Plane_Point& p : pts) Project_Append_Point(line, p.X, p.Y);
        return line;
    }
    // n small squares in rows inside the first LOD8 cell.
    static void Draw_Squares(int n, const Route_Attrib& a) {
        for (int i = 0; i < n; ++i) Draw(a, polytest::Square(20 + (i % 30) * 30.0, 20 + (i / 30) * 30.0, 10));
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
};

TEST_F(Vtp2Writer, TwoTextureSetsGiveTheDocumentedSourceAndAreCompiled) {
    Draw(Vtp2(2, 1020, 2, "Park"), polytest::Square(100, 100, 100));
    Route_Attrib own = Vtp2(1, 0, 2, "Lawn");
    own.Texture_Name[0] = "C:\\tex\\grass.bmp";
    own.Texture_Name[3] = "rock.bmp";
    Draw(own, polytest::Square(300, 300, 100));
    Draw(Vtp2(2, 1020, 2), polytest::Square(600, 600, 50));
    Line_Table(Line_Count).Attr.LWM_VTP2 = 0;  // a mask polygon is no VTP2 polygon
    API_Write_Vtp2_Asm();
    EXPECT_EQ(Read_File(Source()), Read_File(testenv::Fixtures() / "golden" / "vtp2_two_sets.asm"));
    EXPECT_EQ(Gen_Commands_Run(),
              (std::vector<std::string>{app.string() + "/bglc.exe  \"" + app.string() + "/Tessaline$_VTP2.ASM\" \"" +
                                        Output() + "\""}));
    EXPECT_TRUE(fs::exists(Output()));
    EXPECT_EQ(Gen_Captions().LCompile, "VTP2 Polys : BGLC.exe");
    EXPECT_EQ(Gen_Captions().LCompileNom, Output());
    EXPECT_EQ(Cut_Piece_Count, 0);
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

// On a disk that fails, the source is named in the session's language and no tool runs.
TEST_F(Vtp2Writer, ASourceThatCannotBeWrittenIsNamedInFrench) {
    Draw(Vtp2(2, 1020, 2, "Park"), polytest::Square(100, 100, 100));
    plat::SetFileFlush([](int) { return -1; });
    Expect_Boxes(1);
    API_Write_Vtp2_Asm();
    plat::SetFileFlush(nullptr);
    ASSERT_EQ(Box_Texts().size(), 1u);
    EXPECT_EQ(Box_Texts()[0].rfind("Impossible d'écrire " + (app / "Tessaline$_VTP2.ASM").string(), 0), 0u) << Box_Texts()[0];
    EXPECT_TRUE(Gen_Commands_Run().empty());
}

TEST_F(Vtp2Writer, LongRunsOfOneSetGetFurtherTextureEntries) {
    Draw_Squares(200, Vtp2(2, 1020, 1));
    API_Write_Vtp2_Asm();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("        VTPNumTexturesInLayer 2, 0\r\n"), std::string::npos);
    const size_t first = text.find("           VTPTextureId  0, 0 \r\n            VTPPolyCount 127, 0\r\n");
    const size_t second = text.find("           VTPTextureId  0, 0 \r\n            VTPPolyCount 73, 0\r\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(text.find("    VTPTextureListHeader 1, "), std::string::npos);
    EXPECT_EQ(Count(text, "VTPTextureName"), 1u);
}

TEST_F(Vtp2Writer, TheHigherOrderOfANamedGroupIsWrittenFirst) {
    Route_Attrib inner = Vtp2(2, 1020, 1, "first drawn");
    inner.Imbrication = "ABC1";
    Route_Attrib outer = Vtp2(2, 1020, 1, "second drawn");
    outer.Imbrication = "ABC2";
    Draw(inner, polytest::Square(100, 100, 50));
    Draw(outer, polytest::Square(300, 100, 50));
    API_Write_Vtp2_Asm();
    const std::string text = Read_File(Source());
    const size_t a = text.find(";first drawn\r\n"), b = text.find(";second drawn\r\n");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    EXPECT_LT(b, a);
}

TEST_F(Vtp2Writer, PolygonLineTakesTheLongFormAboveThirtyPoints) {
    // A bowl closed by an apex: convex, so it stays one piece.
    for (int n : {30, 31}) {
        const double dx = n == 30 ? 0 : 1000;
        std::vector<Plane_Point> ring{{dx + 390, 200}};
        for (int i = 0; i < n - 1; ++i) ring.push_back({dx + 100 + 20.0 * i, 700 - (i - 14.5) * (i - 14.5)});
        Draw(Vtp2(2, 1020, 1), ring);
    }
    API_Write_Vtp2_Asm();
    const std::string text = Read_File(Source());
    EXPECT_NE(text.find("             VTPPolyMethod2 30, 0, 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("             VTPPolyMethod2 31, 0, 1\r\n             VTPPolyMethod2Ex 0\r\n"),
              std::string::npos);
    EXPECT_EQ(Count(text, "               VTPPointXY2 "), 61u);
}

TEST_F(Vtp2Writer, MoreThan127TexturesWriteNothing) {
    for (int i = 0; i < 128; ++i)
        Draw(Vtp2(2, static_cast<int16_t>(1000 + i), 1), polytest::Square(20 + (i % 30) * 30.0, 20 + (i / 30) * 30.0, 10));
    Expect_Boxes(1);
    API_Write_Vtp2_Asm();
    EXPECT_EQ(Box_Texts(), std::vector<std::string>{
                               "More than 127 generated textures in VTP2 polys, please create an other project"});
    EXPECT_FALSE(fs::exists(Source()));
    EXPECT_TRUE(Gen_Commands_Run().empty());
    EXPECT_EQ(Cut_Piece_Count, 0);
}

TEST_F(Vtp2Writer, NoVtp2PolygonWritesNothing) {
    Write_File(Source(), "earlier");
    API_Write_Vtp2_Asm();
    Route_Attrib shore = Vtp2(2, 1020, 1);
    shore.SurfShore = 2;
    Draw(shore, polytest::Square(100, 100, 50));
    API_Write_Vtp2_Asm();
    EXPECT_EQ(Read_File(Source()), "earlier");
    EXPECT_TRUE(Gen_Commands_Run().empty());
    EXPECT_EQ(host().mouse_pointer, plat::Pointer_Default);
}

TEST_F(Vtp2Writer, MissingCompilerIsReported) {
    Remove_Tool("bglc.exe");
    Draw(Vtp2(0, 5, 1), polytest::Square(100, 100, 50));
    Expect_Boxes(2);
    API_Write_Vtp2_Asm();
    ASSERT_EQ(Box_Texts().size(), 2u);
    EXPECT_EQ(Box_Texts()[1], "BGLC.exe not found");
    EXPECT_NE(Read_File(Source()).find("        VTPTextureName \"5\"\r\n        VTPTextureType 0, 0, 0, 0\r\n"),
              std::string::npos);
}

class TextureSets : public ::testing::Test {
protected:
    Vb_Array<Texture_Set_Rec> list;
    int32_t count = 0;
    int32_t capacity = 0;

    int32_t Find(int16_t kind, int16_t code, std::array<std::string, 6> names = {}) {
        int32_t result = 0;
        API_Find_Texture_Set({kind, code, names, 4}, list, count, capacity, result);
        return result;
    }
};

TEST_F(TextureSets, EqualChoicesShareOneSet) {
    capacity = 1;
    list.ReDim(capacity);
    EXPECT_EQ(Find(2, 5), 1);
    EXPECT_EQ(Find(0, 5), 2);  // land class 5 is not type 5
    EXPECT_EQ(Find(2, 5), 1);
    EXPECT_EQ(Find(1, 0, {"a.bmp"}), 3);
    EXPECT_EQ(Find(1, 0, {"a.bmp"}), 3);
    EXPECT_EQ(Find(1, 0, {"A.bmp"}), 4);  // names compare exactly
    EXPECT_EQ(count, 4);
    EXPECT_EQ(capacity, 4);  // grown by 3 once
    EXPECT_EQ(list(3).Names, "a.bmp");
    EXPECT_EQ(list(1).Names, "");
}

TEST_F(TextureSets, NamesAreJoinedRepeatingTheOneBeforeAGap) {
    EXPECT_EQ(API_Join_Texture_Names({"a.bmp", "", "", "b.bmp", "", ""}), "a.bmp;a.bmp;a.bmp;b.bmp");
    EXPECT_EQ(API_Join_Texture_Names({"a.bmp", "b.bmp", "", "", "", "c.bmp"}), "a.bmp;b.bmp;b.bmp;b.bmp;b.bmp;c.bmp");
    EXPECT_EQ(API_Join_Texture_Names({"a.bmp", "", "", "", "", ""}), "a.bmp");
    EXPECT_EQ(API_Join_Texture_Names({"", "b.bmp", "", "", "", ""}), "004b2su1.bmp");
    // Kinds other than 0 and 2 name files; an empty choice takes the default file.
    capacity = 10;
    list.ReDim(capacity);
    EXPECT_EQ(Find(7, 0), 1);
    EXPECT_EQ(list(1).Names, "004b2su1.bmp");
}

}  // namespace
