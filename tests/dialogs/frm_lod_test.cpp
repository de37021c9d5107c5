// The textured area dialog: its defaults, the two checks of OK, the rules of its value boxes
// and the land-class choice of a custom texture.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_lod.h"
#include "support/test_env.h"

namespace {

using celltest::CellDialogTest;

const plat::Colour kCrop = plat::RGB(200, 180, 40);

class FrmLod : public CellDialogTest {
protected:
    void SetUp() override {
        CellDialogTest::SetUp();
        Land_Classes({{1, 102, "Urban"}, {28, 128, "Crops"}, {253, 0, "Keep"}});
        Write_Bmp(Texture_Dir + "\\128b2su1.bmp", 4, 4, kCrop);
    }
    // Types into a box and moves the focus on, as the author does.
    static void Enter(Frm_LOD& w, plat::TextBox& box, const std::string& text) {
        box.UserFocus();
        box.UserType(text);
        w.Cmd_Cancel.UserFocus();
    }
};

TEST_F(FrmLod, ANewAreaStartsFromTheDefaults) {
    Click_Area(2, 3);
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        EXPECT_EQ(w.Caption(), "Creation/modification Area");
        EXPECT_EQ(w.L_Texture.Caption(),
                  Com_Cell_Quad_Key(393, 128, 2, 3) + "xx.bmp");
        EXPECT_EQ(w.Chk_Fill1x1.Value(), 1);
        EXPECT_TRUE(w.Opt_Attrib(0).Value());
        EXPECT_EQ(w.Alti.Text(), "-9999");
        EXPECT_TRUE(w.Opt_InvertMaskValue(2).Value());
        EXPECT_TRUE(w.Opt_LandClass(1).Value());
        EXPECT_EQ(w.Layer.Text(), "7");
        EXPECT_EQ(w.Cmbo.ListCount(), 3);
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD_Show_Modal();
    ASSERT_EQ(Lwm_Cell_Count, 1);
    Lwm_Cell_Rec expected;
    expected.Lod8_Col = 393;
    expected.Lod8_Row = 128;
    expected.Lod13_Col = 2;
    expected.Lod13_Row = 3;
    expected.Fill1x1 = 1;
    expected.Alti = -9999;
    expected.InvertMaskValue = 2;
    expected.Texture_Source = 1;
    expected.LC_Code = 253;
    expected.Layer = 7;
    EXPECT_EQ(Lwm_Cell_Table(1), expected);
}

TEST_F(FrmLod, OkRefusesAnAreaThatAsksForNothingOrForTexturesWithoutTheFirst) {
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        w.Chk_Fill1x1.UserClick();
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(Boxes(), std::vector<std::string>{"(12)"});
        w.Chk_Custom.UserClick();
        for (int i = 1; i < 6; ++i) Enter(w, w.Texture_Name(i), App_Dir);
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_EQ(Boxes(), (std::vector<std::string>{"(12)", "(103)"}));
        EXPECT_TRUE(w.Loaded());
        EXPECT_EQ(Lwm_Cell_Count, 0);
        // The inverted mask alone is enough.
        w.Chk_Custom.UserClick();
        w.Chk_InvertMask.UserClick();
        w.Opt_InvertMaskValue(0).UserClick();
        w.Opt_Attrib(2).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD_Show_Modal();
    ASSERT_EQ(Lwm_Cell_Count, 1);
    const Lwm_Cell_Rec& r = Lwm_Cell_Table(1);
    EXPECT_EQ(r.Fill1x1, 0);
    EXPECT_EQ(r.InvertMask, 1);
    EXPECT_EQ(r.InvertMaskValue, 0);
    EXPECT_EQ(r.Attrib, 2);
    EXPECT_EQ(r.Texture_Name[1], App_Dir);
    EXPECT_EQ(Area_Dlg_Cancelled, 0);
}

TEST_F(FrmLod, LayerAltitudeAndTextureBoxesTakeOnlyWhatTheyAllow) {
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        for (const char* refused : {"16", "-1", "3.5"}) {
            host().QueueAnswer(1);
            Enter(w, w.Layer, refused);
            EXPECT_TRUE(w.Layer.HasFocus()) << refused;
            w.Layer.UserKeyDown(plat::Key_Escape, 0);
            EXPECT_EQ(w.Layer.Text(), "7");
        }
        Enter(w, w.Layer, "15");
        host().QueueAnswer(1);
        Enter(w, w.Alti, "10000");
        w.Alti.UserKeyDown(plat::Key_Escape, 0);
        Enter(w, w.Alti, " 250.5 ");
        EXPECT_EQ(w.Alti.Text(), "250.5");
        host().QueueAnswer(1);
        Enter(w, w.Texture_Name(0), App_Dir + "\\no such.bmp");
        w.Texture_Name(0).UserKeyDown(plat::Key_Escape, 0);
        Enter(w, w.Texte, "  harbour ");
        EXPECT_EQ(Boxes().size(), 5u);
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD_Show_Modal();
    ASSERT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Lwm_Cell_Table(1).Layer, 15);
    EXPECT_EQ(Lwm_Cell_Table(1).Alti, 250.5);
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Name[0], "");
    EXPECT_EQ(Lwm_Cell_Table(1).Texte, "harbour");
}

TEST_F(FrmLod, ALandClassTextureIsPreviewedAndStored) {
    Language = "US";
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        EXPECT_EQ(w.Opt_LandClass(1).Caption(), "Other textures");
        EXPECT_EQ(w.Fram_InvertMask.Caption(), "Invert Mask/LWM");
        w.Chk_Custom.UserClick();
        w.Opt_LandClass(0).UserClick();
        w.Cmbo.UserSelect(1);
        EXPECT_EQ(w.Pic.Picture().GetPixel(0, 0), kCrop);
        w.Cmbo.UserSelect(2);
        EXPECT_TRUE(w.Pic.Picture().Empty());
        w.Cmbo.UserSelect(1);
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD_Show_Modal();
    ASSERT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Lwm_Cell_Table(1).Custom, 1);
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Source, 0);
    EXPECT_EQ(Lwm_Cell_Table(1).LC_Code, 28);
    EXPECT_FALSE(plat::FileExists(App_Dir + "\\Temp\\$BmpLC$.bmp"));
}

TEST_F(FrmLod, AStoredLandClassNotInTheListBecomesTheFirstClass) {
    Lwm_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = 1;
    r.Lod13_Row = 2;
    r.Custom = 1;
    r.Texture_Source = 0;
    r.LC_Code = 77;
    r.Attrib = 1;
    r.Layer = 3;
    Put(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, r);
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        EXPECT_EQ(w.LCreatMod.Caption(), "Modification");
        EXPECT_TRUE(w.Opt_Attrib(1).Value());
        EXPECT_TRUE(w.Opt_LandClass(0).Value());
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD_Show_Modal();
    ASSERT_EQ(Lwm_Cell_Count, 1);
    r.LC_Code = 1;
    EXPECT_EQ(Lwm_Cell_Table(1), r);
}

}  // namespace

namespace {

// What the bitmap browser hands back when the author picks a file of w x h pixels.
void Browser_Picks(const std::string& path, int w, int h, std::string* opened_in = nullptr) {
    plat::DefaultHeadlessHost().OnModal("Frm_LBmp", [=](plat::Form& f) {
        if (opened_in) *opened_in = Last_Bitmap_Folder;
        Bitmap_Browser_Cancelled = 0;
        Bitmap_Browser_Path = path;
        Bitmap_Browser_Width = w;
        Bitmap_Browser_Height = h;
        f.Unload();
    });
}

TEST_F(FrmLod, ADoubleClickedTextureBoxTakesOnlyASquareImageFromTheBrowser) {
    Lwm_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = 1;
    r.Lod13_Row = 2;
    r.Custom = 1;
    r.Texture_Source = 1;
    r.Texture_Name[0] = Texture_Dir + "\\old.bmp";
    Put(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, r);
    Write_Bmp(App_Dir + "\\square.bmp", 4, 4, kCrop);
    std::string start_folder;
    // A file the browser could not read as an image: measured 0 x 0.
    Browser_Picks(App_Dir + "\\notes.txt", 0, 0, &start_folder);
    Browser_Picks(App_Dir + "\\wide.bmp", 64, 32);
    Browser_Picks(App_Dir + "\\square.bmp", 64, 64);
    // The browser cancelled changes nothing.
    host().OnModal("Frm_LBmp", [](plat::Form& f) { f.Unload(); });
    On<Frm_LOD>("Frm_LOD", [&](Frm_LOD& w) {
        host().QueueAnswer(1);
        host().QueueAnswer(1);
        w.Texture_Name(0).UserDoubleClick(plat::Button_Left, 0, 1, 1);
        ASSERT_EQ(host().boxes.size(), 2u);
        EXPECT_EQ(host().boxes[0].prompt, "Ce fichier n'est pas une image lisible : " + App_Dir + "\\notes.txt");
        EXPECT_EQ(Boxes()[1], "(101)");
        EXPECT_EQ(w.Texture_Name(0).Text(), App_Dir + "\\square.bmp");
        w.Texture_Name(1).UserDoubleClick(plat::Button_Left, 0, 1, 1);
        EXPECT_EQ(w.Texture_Name(1).Text(), "");
        w.Cmd_Ok.UserClick();
    });
    Last_Bitmap_Folder.clear();
    Frm_LOD_Show_Modal();
    // The browser opened in the folder of the box's texture.
    EXPECT_EQ(start_folder, plat::NativePath(Texture_Dir));
    ASSERT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Name[0], App_Dir + "\\square.bmp");
    EXPECT_EQ(Lwm_Cell_Table(1).Texture_Name[1], "");
}

}  // namespace
