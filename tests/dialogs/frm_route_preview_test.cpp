// The line dialog's tabs follow the shore option and the output, and its pictures preview the
// line type and the polygon's texture from the right file, or stay empty.
#include "dialogs/route_test_env.h"

#include "core/texture_convert.h"
#include "platform/gdi/surface.h"

namespace {

using routetest::RouteTest;
using routetest::Write_Bmp;

constexpr plat::Colour Red = plat::RGB(200, 0, 0);
constexpr plat::Colour Green = plat::RGB(0, 200, 0);
constexpr plat::Colour Blue = plat::RGB(0, 0, 200);
constexpr plat::Colour Grey = plat::RGB(90, 90, 90);

// The colour the picture shows, or -1 when it shows none.
plat::Colour Shown(const plat::PictureBox& p) { return p.Picture().Empty() ? plat::Colour(-1) : p.Picture().GetPixel(0, 0); }

void Bmp(const std::string& path, plat::Colour c) {
    Write_Bmp(path, 8, 8, static_cast<uint8_t>(plat::Red(c)), static_cast<uint8_t>(plat::Green(c)),
              static_cast<uint8_t>(plat::Blue(c)));
}

class FrmRoutePreviewTest : public RouteTest {
protected:
    void SetUp() override {
        RouteTest::SetUp();
        // Line types: four textures, two textures, an autogen type that lists textures too.
        Line_Type_Table(0).Has_Textures = 1;
        Line_Type_Table(0).Textures = "r1.bmp,r2.bmp,r3.bmp,r4.bmp,r5.bmp,r6.bmp,r7.bmp";
        Line_Type_Table(1).Has_Textures = 1;
        Line_Type_Table(1).Textures = "s1.bmp,s2.bmp";
        Line_Type_Table(2).Has_Textures = 1;
        Line_Type_Table(2).Textures = "s1.bmp";
        Line_Type_Table(2).Has_Vectorautogen = 1;
        Line_Type_Table(2).Vectorautogen = 3;
        Bmp(Texture_Dir + "\\r1.bmp", Red);
        Bmp(Texture_Dir + "\\r4.bmp", Green);
        Bmp(Texture_Dir + "\\s1.bmp", Blue);
        Bmp(App_Dir + "\\Resource\\Autogen_3.bmp", Grey);
        // Land class 126 (and park 1182 through it) has texture 20, class 135 texture 35.
        Bmp(Texture_Dir + "\\020b2su1.bmp", Green);
        Bmp(Texture_Dir + "\\035b2su1.bmp", Red);
        // Class 252 names texture 0, whose file is there: still no preview for it.
        Bmp(Texture_Dir + "\\000b2su1.bmp", Blue);
    }
    static Route_Attrib Line_Of(int16_t type) {
        Route_Attrib a;
        a.SurfShore = 2;
        a.Line_Type() = type;
        return a;
    }
    static Route_Attrib Polygon(int16_t source) {
        Route_Attrib a;
        a.SurfShore = 0;
        a.LWM_VTP2 = 1;
        a.Texture_Source() = source;
        a.LC_Code = 135;
        a.Line_Type() = 1182;
        return a;
    }
};

TEST_F(FrmRoutePreviewTest, UsableTabsFollowShoreOptionAndOutput) {
    struct Row {
        int surf, output;
        bool tabs[5];
        bool type_poly, vtp_layer;
    };
    const Row rows[] = {
        {0, 0, {true, false, true, false, false}, true, false},
        {0, 1, {true, false, false, false, true}, true, true},
        {0, 2, {true, false, false, true, false}, true, true},
        {1, 0, {true, true, true, false, false}, true, false},
        {1, 1, {true, true, false, false, true}, true, true},
        {1, 2, {true, true, false, true, false}, true, true},
        {2, 0, {true, true, false, false, false}, false, true},
        {2, 2, {true, true, false, false, false}, false, true},
        {3, 1, {true, true, false, false, false}, false, true},
    };
    for (const Row& r : rows) {
        Route_Attrib a;
        a.SurfShore = static_cast<int16_t>(r.surf);
        a.LWM_VTP2 = static_cast<int16_t>(r.output);
        Open_Existing(a);
        for (int t = 0; t < 5; ++t)
            EXPECT_EQ(w().SSTb.TabEnabled(t), r.tabs[t]) << "shore " << r.surf << " output " << r.output << " tab " << t;
        EXPECT_EQ(w().Fram_Type_Poly.Enabled(), r.type_poly) << r.surf << " " << r.output;
        EXPECT_EQ(w().Fram_Layer_VTP12.Enabled(), r.vtp_layer) << r.surf << " " << r.output;
        // A disabled tab cannot be opened.
        for (int t = 1; t < 5; ++t) {
            w().SSTb.UserSelectTab(t);
            EXPECT_EQ(w().SSTb.Tab() == t, r.tabs[t]) << r.surf << " " << r.output << " tab " << t;
            w().SSTb.UserSelectTab(0);
        }
    }
}

TEST_F(FrmRoutePreviewTest, ChangingTheOptionsReopensTheTabsAtOnce) {
    Open_Existing(Polygon(0));
    ASSERT_FALSE(w().SSTb.TabEnabled(1));
    w().Opt_SurfShore(1).UserClick();
    EXPECT_TRUE(w().SSTb.TabEnabled(1));
    w().Opt_LWM_VTP2(0).UserClick();
    EXPECT_TRUE(w().SSTb.TabEnabled(2));
    EXPECT_FALSE(w().SSTb.TabEnabled(4));
    EXPECT_FALSE(w().Fram_Layer_VTP12.Enabled());
}

TEST_F(FrmRoutePreviewTest, CoastlineEndsAreNeverJoined) {
    Route_Attrib a = Line_Of(1030);
    a.FermerLine = 1;
    Open_Existing(a);
    EXPECT_EQ(w().Chk_FermerLine.Value(), 1);
    w().Opt_SurfShore(3).UserClick();
    EXPECT_EQ(w().Chk_FermerLine.Value(), 0);
    EXPECT_FALSE(w().Chk_FermerLine.Enabled());
    EXPECT_EQ(Route_Attrib_Cur.FermerLine, 0);
    w().Opt_SurfShore(2).UserClick();
    EXPECT_TRUE(w().Chk_FermerLine.Enabled());
    EXPECT_EQ(w().Chk_FermerLine.Value(), 0);
    EXPECT_EQ(Route_Attrib_Cur.FermerLine, 0);

    // A coastline opened with joined ends comes back with them apart.
    a.SurfShore = 3;
    Open_Existing(a);
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.FermerLine, 0);
}

TEST_F(FrmRoutePreviewTest, LineTypePreviewTakesTheFourthTextureTheFirstOrTheAutogenImage) {
    Open_Existing(Line_Of(1024));
    EXPECT_EQ(Shown(w().PicLine), Green);
    EXPECT_EQ(Temp_Ima_Bmp, App_Dir + "\\Temp\\$BmpEffet$.bmp");
    Open_Existing(Line_Of(1030));
    EXPECT_EQ(Shown(w().PicLine), Blue);
    Open_Existing(Line_Of(4096));
    EXPECT_EQ(Shown(w().PicLine), Grey);
    // Choosing another type previews it.
    w().SSTb.UserSelectTab(1);
    w().Cmbo.UserSelect(0);
    EXPECT_EQ(Shown(w().PicLine), Green);
}

TEST_F(FrmRoutePreviewTest, LineTypeWithoutPicturesLeavesThePreviewEmpty) {
    Open_Existing(Line_Of(1030));
    ASSERT_EQ(Shown(w().PicLine), Blue);
    // The fourth name empty: the first, which is missing.
    Line_Type_Table(0).Textures = "gone.bmp,,,";
    w().SSTb.UserSelectTab(1);
    w().Cmbo.UserSelect(0);
    EXPECT_EQ(Shown(w().PicLine), plat::Colour(-1));
    // A type number no entry has.
    int16_t unknown = 999;
    w().Frm_Route_Display_Line(w().PicLine, unknown);
    EXPECT_EQ(Shown(w().PicLine), plat::Colour(-1));
    // A file that is no bitmap.
    ASSERT_TRUE(plat::WriteBinary(Texture_Dir + "\\s1.bmp", std::vector<uint8_t>(100, 7)));
    w().Cmbo.UserSelect(1);
    EXPECT_EQ(Shown(w().PicLine), plat::Colour(-1));
}

TEST_F(FrmRoutePreviewTest, PolygonPreviewShowsLandClassParkOrChosenTexture) {
    Open_Existing(Polygon(0));
    EXPECT_EQ(Shown(w().Pic), Red);          // class 135
    EXPECT_EQ(Temp_Ima_Bmp, App_Dir + "\\Temp\\$BmpLC$.bmp");
    w().SSTb.UserSelectTab(4);
    w().Cbo_LC.UserSelect(0);
    EXPECT_EQ(Shown(w().Pic), Green);        // class 126
    w().Cbo_LC.UserSelect(2);
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));   // 252: no ground texture

    w().Opt_LandClass(2).UserClick();        // park 1182 -> class 126
    EXPECT_EQ(Shown(w().Pic), Green);

    Route_Attrib textured = Polygon(1);
    const std::string own = testenv::ProgramPath(root_ / "own.bmp");
    Bmp(own, Blue);
    textured.Texture_Name[0] = own;
    Open_Existing(textured);
    EXPECT_EQ(Shown(w().Pic), Blue);
    Open_Existing(Polygon(1));
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));
}

TEST_F(FrmRoutePreviewTest, WithoutTheSimulatorsTextureFolderNoClassIsPreviewed) {
    Texture_Dir_Found = 0;
    Open_Existing(Polygon(0));
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));
    Open_Existing(Polygon(2));
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));
    // An empty land-class table shows nothing either.
    Texture_Dir_Found = 1;
    Land_Class_Table.Erase();
    Land_Class_Count = -1;
    Land_Class_Loaded = 0;
    Open_Existing(Polygon(0));
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));
}

TEST_F(FrmRoutePreviewTest, ClosingTheDialogRemovesThePreviewFile) {
    Open_Existing(Polygon(0));
    ASSERT_EQ(Shown(w().Pic), Red);
    ASSERT_TRUE(plat::FileExists(App_Dir + "\\Temp\\$BmpLC$.bmp"));
    w().Cmd_Cancel.UserClick();
    EXPECT_FALSE(plat::FileExists(App_Dir + "\\Temp\\$BmpLC$.bmp"));
    EXPECT_EQ(Shown(w().Pic), plat::Colour(-1));
}

}  // namespace

#include "dialogs/frm_lbmp.h"

namespace {

class FrmRouteTextureChoiceTest : public FrmRoutePreviewTest {};

TEST_F(FrmRouteTextureChoiceTest, BrowserOpensWhereTheTextureIsAndTheChoiceIsPreviewed) {
    const std::string folder = testenv::ProgramPath(root_ / "tex");
    ASSERT_TRUE(plat::MakeFolder(folder));
    Bmp(folder + "\\a.bmp", Red);
    Bmp(folder + "\\b.bmp", Blue);
    Route_Attrib a = Polygon(1);
    a.Texture_Name[0] = folder + "\\a.bmp";
    a.Texture_Name[3] = folder + "\\a.bmp";
    Open_Existing(a);
    ASSERT_EQ(Shown(w().Pic), Red);
    w().SSTb.UserSelectTab(4);
    host().OnModal("Frm_LBmp", [&](plat::Form& f) {
        auto& b = static_cast<Frm_LBmp&>(f);
        EXPECT_EQ(b.Dir1.Path(), (root_ / "tex").string());
        int entry = -1;
        for (int i = 0; i < b.File1.ListCount(); ++i)
            if (b.File1.List(i) == "b.bmp") entry = i;
        ASSERT_GE(entry, 0);
        b.File1.UserSelect(entry);
        b.Cmd_Ok.UserClick();
    });
    w().Texture_Name(3).UserDoubleClick(plat::Button_Left, 0, 1, 1);
    // The file as this system names it, as every chooser hands it back.
    const std::string chosen = (root_ / "tex" / "b.bmp").string();
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[3], chosen);
    EXPECT_EQ(w().Texture_Name(3).Text(), chosen);
    EXPECT_EQ(w().Texture_Name_1(3).Text(), chosen);
    // Box 3's texture is shown although box 0 is the one otherwise previewed.
    EXPECT_EQ(Shown(w().Pic), Blue);
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[0], folder + "\\a.bmp");

    // Cancelling the browser changes nothing.
    host().OnModal("Frm_LBmp", [](plat::Form& f) { static_cast<Frm_LBmp&>(f).Cmd_Cancel.UserClick(); });
    w().Texture_Name(0).UserDoubleClick(plat::Button_Left, 0, 1, 1);
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[0], folder + "\\a.bmp");
    EXPECT_EQ(Shown(w().Pic), Blue);
}

}  // namespace
