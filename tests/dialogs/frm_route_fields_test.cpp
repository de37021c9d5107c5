// The text boxes of the line dialog: which values each accepts when the author leaves it or
// presses Enter, what a refusal looks like, and Escape bringing the stored value back.
#include "dialogs/route_test_env.h"

#include "dialogs/reference_files.h"
#include "platform/number.h"

namespace {

using routetest::RouteTest;

class FrmRouteFieldsTest : public RouteTest {
protected:
    void SetUp() override {
        RouteTest::SetUp();
        Route_Attrib a;
        a.SurfShore = 1;   // every tab but VTP1 and VTP2 usable
        a.LWM_VTP2 = 0;
        a.Largeur = 10;
        a.Layer = 5;
        a.Layer_Vtp2 = 6;
        a.LayerScasm = 7;
        a.Alti = 100;
        a.Alt_Coast = 1;
        Open_Existing(a);
    }

    // The tab a box stands on.
    static void Show_Tab_Of(plat::TextBox& box) {
        for (plat::Control* c = &box; c; c = c->Container())
            if (c->Container() == &w().SSTb) {
                w().SSTb.UserSelectTab(c->ContainerPage());
                return;
            }
    }
    // The author types the text and moves on; true when the box let the focus go.
    static bool Leave_With(plat::TextBox& box, const std::string& text) {
        Show_Tab_Of(box);
        box.UserFocus();
        box.UserType(text);
        Elsewhere().UserFocus();
        return Elsewhere().HasFocus();
    }
    // A control of the shown tab that checks nothing.
    static plat::CommandButton& Elsewhere() {
        plat::CommandButton* help[] = {&w().Cmd_Help, &w().Cmd_Help1, &w().Cmd_Help2, &w().Cmd_Help3, &w().Cmd_Help4};
        return *help[w().SSTb.Tab()];
    }
    // As Leave_With for a text that must be refused: message 1, the focus stays.
    static void Refused(plat::TextBox& box, const std::string& text) {
        const size_t before = host().boxes.size();
        host().QueueAnswer(plat::ID_OK);
        EXPECT_FALSE(Leave_With(box, text)) << box.Name() << " " << text;
        EXPECT_TRUE(box.HasFocus()) << box.Name() << " " << text;
        EXPECT_TRUE(Shown_Message(before, 1)) << box.Name() << " " << text;
        // Escape puts the stored value back and lets the author leave.
        box.UserKeyDown(plat::Key_Escape, 0);
        Elsewhere().UserFocus();
        EXPECT_TRUE(Elsewhere().HasFocus()) << box.Name();
    }
};

TEST_F(FrmRouteFieldsTest, AltitudesKeepToTheirRanges) {
    EXPECT_TRUE(Leave_With(w().Alti, "-9999"));
    EXPECT_EQ(Route_Attrib_Cur.Alti, -9999);
    EXPECT_TRUE(Leave_With(w().Alti, "  9999.5 "));
    EXPECT_EQ(Route_Attrib_Cur.Alti, 9999.5);
    EXPECT_EQ(w().Alti.Text(), "9999.5");
    Refused(w().Alti, "10000");
    Refused(w().Alti, "-10000");
    Refused(w().Alti, "12m");
    Refused(w().Alti, "");
    EXPECT_EQ(Route_Attrib_Cur.Alti, 9999.5);

    EXPECT_TRUE(Leave_With(w().Alt_Coast, "-9999.9"));
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, -9999.9);
    Refused(w().Alt_Coast, "-10000");
    Refused(w().Alt_Coast, "10000");
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, -9999.9);
}

TEST_F(FrmRouteFieldsTest, WidthIsAWholeNumberFrom2To255) {
    for (const char* bad : {"1", "1.5", "256", "20.5", "-3"}) Refused(w().Largeur, bad);
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 10);
    EXPECT_TRUE(Leave_With(w().Largeur, "2"));
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 2);
    EXPECT_TRUE(Leave_With(w().Largeur, "255"));
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 255);
}

TEST_F(FrmRouteFieldsTest, LayersRoundHalvesToEvenWithin0To63) {
    // The VTP2 layer is usable only with VTP output.
    Route_Attrib a = Route_Attrib_Result;
    a.LWM_VTP2 = 1;
    Open_Existing(a);
    struct Box {
        plat::TextBox& box;
        int (*stored)();
    };
    const Box boxes[] = {
        {w().Layer, [] { return int{Route_Attrib_Cur.Layer}; }},
        {w().Layer_Vtp2, [] { return int{Route_Attrib_Cur.Layer_Vtp2}; }},
        {w().LayerScasm, [] { return int{Route_Attrib_Cur.LayerScasm}; }},
    };
    for (const Box& b : boxes) {
        EXPECT_TRUE(Leave_With(b.box, "63")) << b.box.Name();
        EXPECT_EQ(b.stored(), 63) << b.box.Name();
        EXPECT_TRUE(Leave_With(b.box, "2.5")) << b.box.Name();
        EXPECT_EQ(b.stored(), 2) << b.box.Name();
        EXPECT_TRUE(Leave_With(b.box, "3.5")) << b.box.Name();
        EXPECT_EQ(b.stored(), 4) << b.box.Name();
        Refused(b.box, "63.5");
        Refused(b.box, "-1");
        EXPECT_EQ(b.stored(), 4) << b.box.Name();
    }
}

TEST_F(FrmRouteFieldsTest, NumbersUseTheUsersDecimalSeparator) {
    plat::SetDecimalSeparator(',');
    EXPECT_TRUE(Leave_With(w().Alti, "12,25"));
    EXPECT_EQ(Route_Attrib_Cur.Alti, 12.25);
    Refused(w().Alti, "12.25");
    // Escape shows the stored value in the user's form.
    w().Alti.UserFocus();
    w().Alti.UserType("5");
    w().Alti.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(w().Alti.Text(), "12,25");
}

TEST_F(FrmRouteFieldsTest, NestingCodeIsEmptyOrFiveCharactersWithAnUnderscoreThird) {
    EXPECT_TRUE(Leave_With(w().Imbrication, "ab_cd"));
    EXPECT_EQ(Route_Attrib_Cur.Imbrication, "ab_cd");
    EXPECT_TRUE(Leave_With(w().Imbrication, "  é1_x2 "));
    EXPECT_EQ(Route_Attrib_Cur.Imbrication, "é1_x2");
    Refused(w().Imbrication, "abc_d");
    Refused(w().Imbrication, "ab_c");
    Refused(w().Imbrication, "ab_cde");
    EXPECT_EQ(Route_Attrib_Cur.Imbrication, "é1_x2");
    EXPECT_TRUE(Leave_With(w().Imbrication, "    "));
    EXPECT_EQ(Route_Attrib_Cur.Imbrication, "");
    EXPECT_EQ(w().Imbrication.Text(), "");
}

TEST_F(FrmRouteFieldsTest, FreeTextAndReferenceNameAreStoredTrimmed) {
    EXPECT_TRUE(Leave_With(w().Text_Rt, "  north shore  "));
    EXPECT_EQ(Route_Attrib_Cur.Text_Rt, "north shore");
    EXPECT_EQ(w().Text_Rt.Text(), "  north shore  ");
    EXPECT_TRUE(Leave_With(w().Text_Ref, " Main road "));
    EXPECT_EQ(Ref_Last_Name, "Main road");
}

TEST_F(FrmRouteFieldsTest, EnterChecksInPlaceAndEscapeRestores) {
    w().SSTb.UserSelectTab(1);
    w().Largeur.UserFocus();
    w().Largeur.UserType("300");
    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_OK);
    w().Largeur.UserKeyDown(plat::Key_Return, 0);
    EXPECT_TRUE(Shown_Message(before, 1));
    EXPECT_TRUE(w().Largeur.HasFocus());
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 10);
    w().Largeur.UserType("30");
    w().Largeur.UserKeyDown(plat::Key_Return, 0);
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 30);
    w().Largeur.UserType("77");
    w().Largeur.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(w().Largeur.Text(), "30");
    EXPECT_EQ(Route_Attrib_Cur.Largeur, 30);

    w().SSTb.UserSelectTab(2);
    w().Alti.UserFocus();
    EXPECT_EQ(w().Alti.SelStart, 0);
    EXPECT_EQ(w().Alti.SelLength, 3);
    w().Alti.UserType("55");
    w().Alti.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(w().Alti.Text(), "100");
}

TEST_F(FrmRouteFieldsTest, OkIsRefusedWhileABoxHoldsARefusedText) {
    w().SSTb.UserSelectTab(1);
    w().Largeur.UserFocus();
    w().Largeur.UserType("1");
    host().QueueAnswer(plat::ID_OK);
    w().Cmd_OK1.UserClick();
    EXPECT_TRUE(w().Loaded());
    EXPECT_EQ(Route_Dlg_Cancelled, 1);
    w().Largeur.UserType("40");
    w().Cmd_OK1.UserClick();
    EXPECT_EQ(Route_Dlg_Cancelled, 0);
    EXPECT_EQ(Route_Attrib_Result.Largeur, 40);
}

TEST_F(FrmRouteFieldsTest, ARefusedTextKeepsItsTabTheFocusAndWhatWasTyped) {
    w().Alt_Coast.UserFocus();
    w().Alt_Coast.UserType("abc");
    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_OK);
    w().SSTb.UserSelectTab(2);
    EXPECT_TRUE(Shown_Message(before, 1));
    EXPECT_EQ(w().SSTb.Tab(), 0);
    EXPECT_TRUE(w().Alt_Coast.Shown());
    EXPECT_TRUE(w().Alt_Coast.HasFocus());
    EXPECT_EQ(w().Alt_Coast.Text(), "abc");
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, 1);

    w().Alt_Coast.UserType("12");
    w().SSTb.UserSelectTab(2);
    EXPECT_EQ(host().boxes.size(), before + 1);
    EXPECT_EQ(w().SSTb.Tab(), 2);
    EXPECT_EQ(Route_Attrib_Cur.Alt_Coast, 12);
}

TEST_F(FrmRouteFieldsTest, TexturePathsMustExistAndTheTwinBoxesAgree) {
    const std::string tex = testenv::ProgramPath(root_ / "grass.bmp");
    routetest::Write_Bmp(tex, 4, 4, 0, 200, 0);
    Route_Attrib a;
    a.SurfShore = 0;
    a.LWM_VTP2 = 2;   // VTP1 tab
    Open_Existing(a);
    w().SSTb.UserSelectTab(3);
    plat::TextBox& box = w().Texture_Name_1(2);
    box.UserFocus();
    box.UserType("  " + tex + " ");
    w().Cmd_Help3.UserFocus();
    ASSERT_TRUE(w().Cmd_Help3.HasFocus());
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[2], tex);
    EXPECT_EQ(w().Texture_Name(2).Text(), tex);
    EXPECT_EQ(box.Text(), tex);

    const size_t before = host().boxes.size();
    host().QueueAnswer(plat::ID_OK);
    box.UserFocus();
    box.UserType(tex + ".missing");
    w().Cmd_Help3.UserFocus();
    EXPECT_TRUE(box.HasFocus());
    EXPECT_TRUE(Shown_Message(before, 1));
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[2], tex);
    box.UserKeyDown(plat::Key_Escape, 0);
    EXPECT_EQ(box.Text(), tex);
    EXPECT_EQ(w().Texture_Name(2).Text(), tex);

    box.UserType("");
    w().Cmd_Help3.UserFocus();
    EXPECT_EQ(Route_Attrib_Cur.Texture_Name[2], "");
    EXPECT_EQ(w().Texture_Name(2).Text(), "");
}

}  // namespace
