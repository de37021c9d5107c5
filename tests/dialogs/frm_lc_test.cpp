// The land-class cell dialog: the class comes from the land-class list or is typed, and the
// cell shows the ground texture of its class.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_lc.h"

namespace {

using celltest::CellDialogTest;

const plat::Colour kSuburb = plat::RGB(10, 200, 30);
const plat::Colour kForest = plat::RGB(0, 90, 0);

class FrmLc : public CellDialogTest {
protected:
    void SetUp() override {
        CellDialogTest::SetUp();
        Land_Classes({{1, 102, "Urban"}, {5, 105, "Suburban"}, {40, 140, "Forest"}, {252, 0, "None"}, {253, 0, "Keep"}});
        Write_Bmp(Texture_Dir + "\\105b2su1.bmp", 8, 8, kSuburb);
        Write_Bmp(Texture_Dir + "\\140b2su1.bmp", 8, 8, kForest);
        // The grid point nearest to this pixel is point 3-4 of the cell.
        Click_Area(3, 4, 3, -5);
    }
    static plat::Colour Shown(const Frm_LC& w) {
        return w.Pic.Picture().Empty() ? plat::RGB(255, 255, 255) : w.Pic.Picture().GetPixel(1, 1);
    }
};

TEST_F(FrmLc, ANewCellTakesTheFirstClassOfTheListWhenClassZeroIsNotInIt) {
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        EXPECT_EQ(w.Caption(), "LandClass");
        EXPECT_EQ(w.L_Cell_Area.Caption(), "C: 393-128  A: 3-4");
        ASSERT_EQ(w.Cmbo.ListCount(), 5);
        EXPECT_EQ(w.Cmbo.List(1), "005 Suburban");
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        EXPECT_EQ(w.Num.Text(), "1");
        EXPECT_FALSE(w.LTexture.Visible());
        w.Cmd_Ok.UserClick();
    });
    Frm_LC_Show_Modal();
    ASSERT_EQ(Lc_Cell_Count, 1);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 1);
    EXPECT_EQ(Lc_Cell_Table(1).Lod13_Col, 3);
    EXPECT_EQ(Lc_Cell_Table(1).Lod13_Row, 4);

    Land_Classes({{0, 100, "Default"}, {1, 102, "Urban"}});
    Click_Area(9, 9);
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        EXPECT_EQ(w.Num.Text(), "0");
        w.Cmd_Ok.UserClick();
    });
    Frm_LC_Show_Modal();
    ASSERT_EQ(Lc_Cell_Count, 2);
    EXPECT_EQ(Lc_Cell_Table(2).Class_Code, 0);
}

TEST_F(FrmLc, ATypedCodeSelectsItsClassAndShowsItsTexture) {
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        // The first entry is the one shown already; it still gives the cell its code.
        w.Num.UserFocus();
        w.Num.UserType("200");
        w.Cmd_Ok.UserFocus();
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        EXPECT_EQ(w.Num.Text(), "1");
        EXPECT_EQ(Lc_Cell_Cur.Class_Code, 1);
        w.Num.UserFocus();
        w.Num.UserType("40");
        w.Cmd_Ok.UserFocus();
        EXPECT_EQ(w.Cmbo.ListIndex(), 2);
        EXPECT_EQ(Shown(w), kForest);
        // A code of no class falls back on the first entry.
        w.Num.UserFocus();
        w.Num.UserType("200");
        w.Cmd_Ok.UserFocus();
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        EXPECT_EQ(w.Num.Text(), "1");
        w.Cmbo.UserSelect(1);
        EXPECT_EQ(w.Num.Text(), "5");
        EXPECT_EQ(Shown(w), kSuburb);
        for (const char* refused : {"255", "-1", "12.5", "abc"}) {
            w.Num.UserFocus();
            w.Num.UserType(refused);
            host().QueueAnswer(1);
            w.Cmd_Ok.UserClick();
            EXPECT_TRUE(w.Num.HasFocus()) << refused;
        }
        EXPECT_EQ(Boxes().size(), 4u);
        w.Num.UserType("5");
        w.Cmd_Ok.UserClick();
    });
    Frm_LC_Show_Modal();
    ASSERT_EQ(Lc_Cell_Count, 1);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 5);
}

TEST_F(FrmLc, ClassesWithoutGroundTextureShowNoPreviewAndTheirNote) {
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        w.Cmbo.UserSelect(2);
        EXPECT_EQ(Shown(w), kForest);
        EXPECT_FALSE(w.LTexture.Visible());
        w.Cmbo.UserSelect(3);
        EXPECT_TRUE(w.Pic.Picture().Empty());
        EXPECT_TRUE(w.LTexture.Visible());
        w.Cmbo.UserSelect(4);
        EXPECT_TRUE(w.LTexture.Visible());
        w.Cmbo.UserSelect(1);
        EXPECT_FALSE(w.LTexture.Visible());
        // Class 1 has no texture file: the preview empties rather than keep the last one.
        w.Cmbo.UserSelect(0);
        EXPECT_TRUE(w.Pic.Picture().Empty());
        w.Cmbo.UserSelect(1);
        EXPECT_TRUE(plat::FileExists(App_Dir + "\\Temp\\$BmpLC$.bmp"));
        w.Cmd_Cancel.UserClick();
    });
    Frm_LC_Show_Modal();
    // The preview bitmap lives only while the dialog is open.
    EXPECT_FALSE(plat::FileExists(App_Dir + "\\Temp\\$BmpLC$.bmp"));
}

TEST_F(FrmLc, AStoredCellOpensOnItsClass) {
    Class_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = 3;
    r.Lod13_Row = 4;
    r.Class_Code = 253;
    Put(Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity, r);
    Language = "US";
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        EXPECT_EQ(w.LCreatMod.Caption(), "Modification");
        EXPECT_EQ(w.LAutogen.Caption(), "Y : active Autogen");
        EXPECT_EQ(w.Cmbo.ListIndex(), 4);
        EXPECT_EQ(w.Num.Text(), "253");
        EXPECT_TRUE(w.LTexture.Visible());
        w.Cmd_Sup.UserClick();
    });
    Frm_LC_Show_Modal();
    EXPECT_EQ(Lc_Cell_Count, 0);
    EXPECT_EQ(Lc_Dlg_Cancelled, 0);
}

TEST_F(FrmLc, WithoutAClassListTheTypedCodeStands) {
    Land_Classes({});
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        EXPECT_FALSE(w.Cmbo.Enabled());
        EXPECT_EQ(w.Num.Text(), "0");
        w.Num.UserFocus();
        w.Num.UserType("40");
        w.Cmd_Ok.UserClick();
    });
    Frm_LC_Show_Modal();
    ASSERT_EQ(Lc_Cell_Count, 1);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 40);
}

}  // namespace
