// The exclusion area dialog: which layers a new area excludes, the box captions in both
// languages, and that what is ticked is what is stored.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_excl.h"

namespace {

using celltest::CellDialogTest;
using FrmExcl = CellDialogTest;

std::vector<int> Ticked(const Excl_Cell_Rec& r) {
    std::vector<int> v;
    for (int i = 0; i < Excl_Flag_Count; ++i)
        if (r.Excluded[static_cast<size_t>(i)] != 0) v.push_back(i);
    return v;
}

TEST_F(FrmExcl, ANewAreaExcludesTheLayersOfRiversRailwaysRoadsPolygonsAndShores) {
    Click_Area(1, 2);
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        for (int i = 0; i <= 100; ++i) EXPECT_EQ(w.Chk_Excl(i).Value(), i >= 4 && i <= 8 ? 1 : 0) << i;
        EXPECT_EQ(w.L_Cell_Area.Caption(), "C: 393-128  A: 1-2");
        w.Cmd_Ok.UserClick();
    });
    Frm_Excl_Show_Modal();
    ASSERT_EQ(Excl_Cell_Count, 1);
    const Excl_Cell_Rec& r = Excl_Cell_Table(1);
    EXPECT_EQ(r.Lod8_Col, 393);
    EXPECT_EQ(r.Lod8_Row, 128);
    EXPECT_EQ(r.Lod13_Col, 1);
    EXPECT_EQ(r.Lod13_Row, 2);
    EXPECT_EQ(Ticked(r), (std::vector<int>{4, 5, 6, 7, 8}));
}

TEST_F(FrmExcl, AnAreaWithNoLayerTickedIsStoredAsItIs) {
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        for (int i = 4; i <= 8; ++i) w.Chk_Excl(i).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_Excl_Show_Modal();
    ASSERT_EQ(Excl_Cell_Count, 1);
    EXPECT_TRUE(Ticked(Excl_Cell_Table(1)).empty());
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(FrmExcl, AStoredAreaOpensWithItsOwnLayersAndKeepsWhatIsChanged) {
    Excl_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = 31;
    r.Lod13_Row = 0;
    r.Excluded[0] = r.Excluded[100] = 1;
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, r);
    Click_Area(31, 0, 15, 0);
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        EXPECT_EQ(w.Chk_Excl.UBound(), 100);
        EXPECT_EQ(w.Chk_Excl(5).Value(), 0);
        w.Chk_Excl(0).UserClick();
        w.Chk_Excl(42).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_Excl_Show_Modal();
    ASSERT_EQ(Excl_Cell_Count, 1);
    EXPECT_EQ(Ticked(Excl_Cell_Table(1)), (std::vector<int>{42, 100}));
}

// The caller redraws on either flag: Delete clears both, OK only the exclusion's own.
TEST_F(FrmExcl, DeleteClearsBothCancelFlagsAndOkOnlyTheExclusionFlag) {
    Excl_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = 1;
    r.Lod13_Row = 2;
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, r);
    Click_Area(1, 2);

    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) { w.Cmd_Ok.UserClick(); });
    Excl_Dlg_Cancelled = 1;
    Area_Dlg_Cancelled = 1;
    Frm_Excl_Show_Modal();
    EXPECT_EQ(Excl_Dlg_Cancelled, 0);
    EXPECT_EQ(Area_Dlg_Cancelled, 1);

    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) { w.Cmd_Sup.UserClick(); });
    Excl_Dlg_Cancelled = 1;
    Frm_Excl_Show_Modal();
    EXPECT_EQ(Excl_Cell_Count, 0);
    EXPECT_EQ(Excl_Dlg_Cancelled, 0);
    EXPECT_EQ(Area_Dlg_Cancelled, 0);
}

TEST_F(FrmExcl, BoxesAreNumberedAndTheKindsOfLinesNamedInTheWorkingLanguage) {
    const auto check = [](const std::vector<std::string>& names) {
        On<Frm_Excl>("Frm_Excl", [names](Frm_Excl& w) {
            EXPECT_EQ(w.Caption(), "Exclude");
            EXPECT_EQ(w.Chk_Excl(0).Caption(), "0 ");
            EXPECT_EQ(w.Chk_Excl(3).Caption(), "3 ");
            EXPECT_EQ(w.Chk_Excl(9).Caption(), "9 ");
            EXPECT_EQ(w.Chk_Excl(100).Caption(), "100 ");
            for (int i = 4; i <= 8; ++i) EXPECT_EQ(w.Chk_Excl(i).Caption(), names[static_cast<size_t>(i - 4)]);
            w.Cmd_Cancel.UserClick();
        });
        Frm_Excl_Show_Modal();
    };
    check({"4 Rivières", "5 Rails", "6 Routes", "7 Polys/Ponts", "8 Rivages"});
    Language = "US";
    check({"4 Rivers", "5 Railways", "6 Roads", "7 Polys/Bridges", "8 Shorelines"});
}

}  // namespace
