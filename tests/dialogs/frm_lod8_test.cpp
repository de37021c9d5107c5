// The LOD8 cell dialog: one record per LOD8 cell, water or land, whatever area was hit.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_lod8.h"

namespace {

using celltest::CellDialogTest;
using FrmLod8 = CellDialogTest;

Lod8_Cell_Rec Cell(int16_t col, int16_t row, uint8_t attrib) {
    Lod8_Cell_Rec r;
    r.Lod8_Col = col;
    r.Lod8_Row = row;
    r.Attrib = attrib;
    r.Alti = 12.5;
    return r;
}

TEST_F(FrmLod8, ANewCellIsWaterWithoutAltitudeAndFlattenCannotBeChosen) {
    Click_Area(30, 30);
    Language = "US";
    On<Frm_LOD8>("Frm_LOD8", [](Frm_LOD8& w) {
        EXPECT_EQ(w.Caption(), "Creation/modification Cell");
        EXPECT_EQ(w.LCreatMod.Caption(), "Creation");
        EXPECT_EQ(w.L_Cell_Area.Caption(), "C: 393-128");
        EXPECT_EQ(w.Opt_Attrib(0).Caption(), "Water");
        EXPECT_TRUE(w.Opt_Attrib(0).Value());
        EXPECT_FALSE(w.Opt_Attrib(2).Enabled());
        EXPECT_FALSE(w.Alti.Visible());
        EXPECT_FALSE(w.L_Height.Visible());
        EXPECT_EQ(w.L_Height.Caption(), "Altitude meters");
        w.Opt_Attrib(2).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD8_Show_Modal();
    ASSERT_EQ(Lod8_Cell_Count, 1);
    EXPECT_EQ(Lod8_Cell_Table(1).Attrib, 0);
    EXPECT_EQ(Lod8_Cell_Table(1).Alti, -9999);
    EXPECT_EQ(Lod8_Cell_Table(1).Lod8_Col, 393);
    EXPECT_EQ(Area_Dlg_Cancelled, 0);
}

TEST_F(FrmLod8, EveryAreaOfAStoredCellOpensItsRecord) {
    Put(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, Cell(394, 128, 0));
    Put(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, Cell(393, 128, 2));
    for (int a : {0, 17, 31}) {
        Click_Area(a, 31 - a);
        On<Frm_LOD8>("Frm_LOD8", [](Frm_LOD8& w) {
            EXPECT_EQ(w.LCreatMod.Caption(), "Modification");
            // A stored flatten cell shows its option, though no one can pick it here.
            EXPECT_TRUE(w.Opt_Attrib(2).Value());
            w.Cmd_Cancel.UserClick();
        });
        Frm_LOD8_Show_Modal();
        EXPECT_EQ(Area_Dlg_Index, 2);
    }
    On<Frm_LOD8>("Frm_LOD8", [](Frm_LOD8& w) {
        w.Opt_Attrib(1).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_LOD8_Show_Modal();
    ASSERT_EQ(Lod8_Cell_Count, 2);
    EXPECT_EQ(Lod8_Cell_Table(2).Attrib, 1);
    EXPECT_EQ(Lod8_Cell_Table(2).Alti, 12.5);
    EXPECT_EQ(Lod8_Cell_Table(1), Cell(394, 128, 0));
}

TEST_F(FrmLod8, AFullTableGrowsByTwo) {
    for (int16_t i = 0; i < 10; ++i) Put(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, Cell(i, 0, 1));
    Lod8_Cell_Capacity = 10;
    Lod8_Cell_Table.ReDim_Preserve(10);
    On<Frm_LOD8>("Frm_LOD8", [](Frm_LOD8& w) { w.Cmd_Ok.UserClick(); });
    Frm_LOD8_Show_Modal();
    EXPECT_EQ(Lod8_Cell_Count, 11);
    EXPECT_EQ(Lod8_Cell_Capacity, 12);
    EXPECT_EQ(Lod8_Cell_Table(10), Cell(9, 0, 1));
    EXPECT_EQ(Lod8_Cell_Table(11).Lod8_Col, 393);
}

}  // namespace
