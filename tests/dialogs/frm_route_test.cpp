// The line/polygon attribute dialog: what a new line and a modified line start with, what OK
// and Cancel hand back to the main window, what each option and list changes in the record.
#include "dialogs/route_test_env.h"

#include "dialogs/reference_files.h"
#include "platform/host.h"

namespace {

using routetest::RouteTest;

Route_Attrib Polygon_On_Vtp2() {
    Route_Attrib a;
    a.Attrib = 1;
    a.Spare_Word = 77;
    a.Alti = 12.5;
    a.SurfShore = 1;
    a.Largeur = 20;
    a.Line_Type() = 1030;
    a.Layer = 40;
    a.Text_Rt = "lake";
    a.LWM_VTP2 = 1;
    a.Texture_Source() = 0;
    a.LC_Code = 135;
    a.Layer_Vtp2 = 9;
    a.Drive_Right = 0;
    a.LayerScasm = 3;
    a.VTP1_SpecNor = 0;
    a.Flip_VTP1Texture = 0;
    return a;
}

class FrmRouteTest : public RouteTest {};

TEST_F(FrmRouteTest, NewLineStartsFromTheDefaultsAndOkHandsThemBack) {
    Route_Attrib_Cur.Spare_Word = 5;
    host().OnModal("Frm_Route", [](plat::Form& f) {
        auto& d = static_cast<Frm_Route&>(f);
        EXPECT_EQ(d.Alti.Text(), "-9999");
        EXPECT_EQ(d.Largeur.Text(), "64");
        EXPECT_EQ(d.Layer.Text(), "32");
        EXPECT_EQ(d.Layer_Vtp2.Text(), "4");
        EXPECT_EQ(d.LayerScasm.Text(), "16");
        EXPECT_EQ(d.Alt_Coast.Text(), "0");
        EXPECT_TRUE(d.Opt_SurfShore(0).Value());
        EXPECT_TRUE(d.Opt_Attrib(0).Value());
        EXPECT_TRUE(d.Opt_LWM_VTP2(0).Value());
        EXPECT_TRUE(d.Opt_VTP1_SpecNor(1).Value());
        EXPECT_EQ(d.Chk_Drive_Right.Value(), 1);
        EXPECT_EQ(d.Chk_Flip_VTP1Texture.Value(), 1);
        EXPECT_EQ(d.Chk_FermerLine.Value(), 0);
        EXPECT_EQ(d.Text_Ref.Text(), "");
        // Type 1024 is the first type; land class 135 the second entry.
        EXPECT_EQ(d.Cmbo.ListIndex(), 0);
        EXPECT_EQ(d.Cbo_LC.ListIndex(), 1);
        d.Cmd_Ok.UserClick();
    });
    PSais_Set_Line_Tool(Line_Tool::New_Line);
    Route_Dlg_Cancelled = 1;
    Frm_Route_Show_Modal();
    EXPECT_EQ(Route_Dlg_Cancelled, 0);
    EXPECT_FALSE(w().Loaded());
    const Route_Attrib& r = Route_Attrib_Result;
    EXPECT_EQ(r.Attrib, 0);
    EXPECT_EQ(r.Alti, -9999);
    EXPECT_EQ(r.SurfShore, 0);
    EXPECT_EQ(r.Largeur, 64);
    EXPECT_EQ(r.Line_Type(), 1024);
    EXPECT_EQ(r.Layer, 32);
    EXPECT_EQ(r.LC_Code, 135);
    EXPECT_EQ(r.Layer_Vtp2, 4);
    EXPECT_EQ(r.Drive_Right, 1);
    EXPECT_EQ(r.LayerScasm, 16);
    EXPECT_EQ(r.VTP1_SpecNor, 1);
    EXPECT_EQ(r.Flip_VTP1Texture, 1);
    // The word the dialog does not know is carried through untouched.
    EXPECT_EQ(r.Spare_Word, 5);
}

TEST_F(FrmRouteTest, ModifiedLineShowsItsOwnValuesAndIgnoresTheLastReference) {
    // A reference file that a new line would take.
    Route_Attrib other;
    other.Largeur = 99;
    ASSERT_TRUE(plat::ReplaceFileAtomically(App_Dir + "\\Resource\\road.Ref", Ref_File_Text(other, "road", "")));
    Ref_Last_Path = App_Dir + "\\Resource\\road.Ref";

    Open_Existing(Polygon_On_Vtp2());
    EXPECT_EQ(w().Largeur.Text(), "20");
    EXPECT_EQ(w().Alti.Text(), "12.5");
    EXPECT_EQ(w().Text_Rt.Text(), "lake");
    EXPECT_EQ(w().Text_Ref.Text(), "");
    EXPECT_TRUE(w().Opt_SurfShore(1).Value());
    EXPECT_TRUE(w().Opt_LWM_VTP2(1).Value());
    EXPECT_TRUE(w().Opt_Attrib(1).Value());
    EXPECT_EQ(w().Cmbo.ListIndex(), 1);
    EXPECT_EQ(Route_Attrib_Cur, Polygon_On_Vtp2());
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result, Polygon_On_Vtp2());
}

TEST_F(FrmRouteTest, NewLineTakesTheLastReferenceWhileItsFileExists) {
    Route_Attrib road;
    road.SurfShore = 2;
    road.Largeur = 12;
    road.Line_Type() = 4096;
    road.Drive_Right = 1;
    const std::string path = App_Dir + "\\Resource\\road.Ref";
    ASSERT_TRUE(plat::ReplaceFileAtomically(path, Ref_File_Text(road, "Narrow road", "01/01/2026 10:00:00")));
    Ref_Last_Path = path;
    Open_New();
    EXPECT_EQ(w().Text_Ref.Text(), "Narrow road");
    EXPECT_EQ(w().Largeur.Text(), "12");
    EXPECT_TRUE(w().Opt_SurfShore(2).Value());
    EXPECT_EQ(w().Cmbo.ListIndex(), 2);
    w().Cmd_Cancel.UserClick();

    ASSERT_TRUE(plat::DeleteFile(path));
    Open_New();
    EXPECT_EQ(w().Text_Ref.Text(), "");
    EXPECT_EQ(w().Largeur.Text(), "64");
    EXPECT_TRUE(w().Opt_SurfShore(0).Value());
}

TEST_F(FrmRouteTest, CancelAndClosingLeaveTheLineUntouched) {
    const Route_Attrib before = Polygon_On_Vtp2();
    Open_Existing(before);
    w().Opt_SurfShore(2).UserClick();
    w().Chk_Drive_Right.SetValue(1);
    w().Cmd_Cancel.UserClick();
    EXPECT_FALSE(w().Loaded());
    EXPECT_EQ(Route_Dlg_Cancelled, 1);
    EXPECT_EQ(Route_Attrib_Result, before);

    host().OnModal("Frm_Route", [](plat::Form& f) {
        auto& d = static_cast<Frm_Route&>(f);
        d.Opt_Attrib(0).SetValue(true);
        d.UserClose();
    });
    Route_Dlg_Cancelled = 1;
    Frm_Route_Show_Modal();
    EXPECT_EQ(Route_Dlg_Cancelled, 1);
    EXPECT_EQ(Route_Attrib_Result, before);
}

TEST_F(FrmRouteTest, OkOnAnyTabAcceptsTheChangesOfAllTabs) {
    Open_Existing(Polygon_On_Vtp2());
    w().Opt_LWM_VTP2(0).UserClick();      // LWM output: the LWM tab opens
    w().Chk_Drive_Right.SetValue(1);
    w().SSTb.UserSelectTab(2);
    ASSERT_EQ(w().SSTb.Tab(), 2);
    w().Opt_Attrib(0).UserClick();
    w().Opt_Meter_Feet_LWM(1).UserClick();
    w().Cmd_OK2.UserClick();
    EXPECT_EQ(Route_Dlg_Cancelled, 0);
    EXPECT_EQ(Route_Attrib_Result.LWM_VTP2, 0);
    EXPECT_EQ(Route_Attrib_Result.Attrib, 0);
    EXPECT_EQ(Route_Attrib_Result.Meter_Feet, 1);
    EXPECT_EQ(Route_Attrib_Result.Drive_Right, 1);
}

TEST_F(FrmRouteTest, TexturedPolygonWithoutFirstTextureIsRefused) {
    Route_Attrib a = Polygon_On_Vtp2();
    a.Texture_Source() = 1;
    for (int output : {1, 2}) {
        a.LWM_VTP2 = static_cast<int16_t>(output);
        a.VTP1_SpecNor = 1;
        Open_Existing(a);
        const size_t before = host().boxes.size();
        host().QueueAnswer(plat::ID_OK);
        w().Cmd_Ok.UserClick();
        EXPECT_TRUE(Shown_Message(before, 103)) << output;
        EXPECT_TRUE(w().Loaded());
        EXPECT_EQ(Route_Dlg_Cancelled, 1);
        w().Cmd_Cancel.UserClick();
    }
    // VTP1 with its textures linked elsewhere needs none here.
    a.LWM_VTP2 = 2;
    a.VTP1_SpecNor = 0;
    Open_Existing(a);
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Dlg_Cancelled, 0);
}

TEST_F(FrmRouteTest, ShowingTheRecordChangesNoFieldButTheAuthorsClicksDo) {
    Route_Attrib a = Polygon_On_Vtp2();
    a.SurfShore = 2;
    a.Linked_Image() = 4;   // only the image-link tool clears it, not the showing
    Open_Existing(a);
    EXPECT_EQ(Route_Attrib_Cur.Linked_Image(), 4);
    EXPECT_EQ(Route_Dlg_Loading, 0);

    w().Opt_SurfShore(1).UserClick();
    EXPECT_EQ(Route_Attrib_Cur.SurfShore, 1);
    EXPECT_EQ(Route_Attrib_Cur.Linked_Image(), 4);
    w().Opt_SurfShore(3).UserClick();
    EXPECT_EQ(Route_Attrib_Cur.SurfShore, 3);
    EXPECT_EQ(Route_Attrib_Cur.Linked_Image(), 0);

    w().SSTb.UserSelectTab(1);
    w().Chk_Effil_Deb.UserClick();
    w().Chk_LandOnRight.UserClick();
    EXPECT_EQ(Route_Attrib_Cur.Effil_Deb, 1);
    EXPECT_EQ(Route_Attrib_Cur.LandOnRight, 1);
    w().Cmbo.UserSelect(2);
    EXPECT_EQ(Route_Attrib_Cur.Line_Type(), 4096);
    EXPECT_EQ(Line_Type_Index, 2);
}

TEST_F(FrmRouteTest, ListsShowCodesAndNamesAndAnUnknownLandClassBecomesTheFirst) {
    Route_Attrib a = Polygon_On_Vtp2();
    a.LC_Code = 77;
    Open_Existing(a);
    ASSERT_EQ(w().Cbo_LC.ListCount(), 3);
    EXPECT_EQ(w().Cbo_LC.List(0), "126 Grass");
    ASSERT_EQ(w().Cbo_Park.ListCount(), 2);
    EXPECT_EQ(w().Cbo_Park.List(1), "1183 Park");
    ASSERT_EQ(w().Cmbo.ListCount(), 3);
    EXPECT_EQ(w().Cmbo.List(0), "1024 Y Road");
    EXPECT_EQ(w().Cmbo.List(1), "1030   Street");
    EXPECT_EQ(w().Cbo_LC_1.ListCount(), 0);
    EXPECT_EQ(w().Cbo_LC.ListIndex(), 0);
    EXPECT_EQ(Route_Attrib_Cur.LC_Code, 126);

    w().SSTb.UserSelectTab(4);
    w().Cbo_LC.UserSelect(2);
    EXPECT_EQ(Route_Attrib_Cur.LC_Code, 252);
    EXPECT_EQ(Land_Class_Index, 2);
}

TEST_F(FrmRouteTest, WithoutLandClassTableTheListsAreOffAndTheCodeIsKept) {
    Land_Class_Table.Erase();
    Land_Class_Count = -1;
    Land_Class_Loaded = 0;
    Route_Attrib a = Polygon_On_Vtp2();
    a.LC_Code = 77;
    Open_Existing(a);
    EXPECT_FALSE(w().Cbo_LC.Enabled());
    EXPECT_FALSE(w().Cbo_Park.Enabled());
    EXPECT_EQ(w().Cbo_LC.ListCount(), 0);
    EXPECT_EQ(w().Cbo_Park.ListCount(), 0);
    EXPECT_EQ(Route_Attrib_Cur.LC_Code, 77);
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.LC_Code, 77);
}

TEST_F(FrmRouteTest, AirportParkChoiceTakesType1182) {
    Open_Existing(Polygon_On_Vtp2());
    w().SSTb.UserSelectTab(4);
    w().Opt_LandClass(2).UserClick();
    EXPECT_EQ(Route_Attrib_Cur.Texture_Source(), 2);
    EXPECT_EQ(Route_Attrib_Cur.Line_Type(), 1182);
    EXPECT_EQ(w().Cbo_Park.ListIndex(), 0);
    w().Cbo_Park.UserSelect(1);
    EXPECT_EQ(Route_Attrib_Cur.Line_Type(), 1183);
    EXPECT_EQ(Park_Index, 1);
    // The VTP1 tab's choice goes through the VTP2 tab's options.
    w().SSTb.UserSelectTab(0);
    w().Opt_LWM_VTP2(2).UserClick();
    w().SSTb.UserSelectTab(3);
    ASSERT_EQ(w().SSTb.Tab(), 3);
    w().Opt_LandClass_1(1).UserClick();
    EXPECT_EQ(Route_Attrib_Cur.Texture_Source(), 1);
    EXPECT_TRUE(w().Opt_LandClass(1).Value());
}

TEST_F(FrmRouteTest, ParkTypeDisablesTheTypeListForThatShowingOnly) {
    Route_Attrib park = Polygon_On_Vtp2();
    park.Texture_Source() = 2;
    park.Line_Type() = 1183;
    Open_Existing(park);
    EXPECT_FALSE(w().Cmbo.Enabled());
    EXPECT_EQ(w().Cmbo.ListIndex(), -1);
    EXPECT_EQ(w().Cbo_Park.ListIndex(), 1);
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.Line_Type(), 1183);

    // The next line still finds every type in the list.
    Open_Existing(Polygon_On_Vtp2());
    EXPECT_TRUE(w().Cmbo.Enabled());
    EXPECT_EQ(w().Cmbo.ListCount(), 3);
    EXPECT_EQ(w().Cmbo.ListIndex(), 1);
}

TEST_F(FrmRouteTest, ValuesWithoutAnOptionShowNoneSelected) {
    Route_Attrib a = Polygon_On_Vtp2();
    a.SurfShore = 7;
    a.LWM_VTP2 = -1;
    a.Texture_Source() = 9;
    Open_Existing(a);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(w().Opt_SurfShore(i).Value()) << i;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(w().Opt_LWM_VTP2(i).Value()) << i;
    w().Cmd_Ok.UserClick();
    EXPECT_EQ(Route_Attrib_Result.SurfShore, 7);
}

TEST_F(FrmRouteTest, CaptionsFollowTheLanguage) {
    Language = "US";
    Open_New();
    EXPECT_EQ(w().Caption(), "Polygons/Lines");
    EXPECT_EQ(w().Opt_SurfShore(3).Caption(), "Coastline");
    EXPECT_EQ(w().Chk_Effil_Deb.Caption(), "Beg. thinner");
    EXPECT_EQ(w().Cmd_Save.Caption(), "Save ref as ...");
    EXPECT_EQ(w().LAutogen1.Caption(), "Y : active Autogen");
    EXPECT_EQ(w().SSTb.TabCaption(4), "VTP2 Polys");
    w().Cmd_Cancel.UserClick();
    Language = "FR";
    Open_New();
    EXPECT_EQ(w().Caption(), "Polygons/Lignes");
    EXPECT_EQ(w().Opt_SurfShore(3).Caption(), "Côtes (océan)");
    EXPECT_EQ(w().Opt_Meter_Feet_LWM(0).Caption(), "mètres");
    EXPECT_EQ(w().LAutogen1.Caption(), "Y : Autogen actif");
    EXPECT_EQ(w().SSTb.TabCaption(1), "Lines");
}

}  // namespace
