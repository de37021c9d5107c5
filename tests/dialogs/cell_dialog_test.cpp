// What every cell dialog does with its table: the clicked place's record is found and edited,
// a new one appended with the table grown by its step, Delete closes the gap, Cancel changes
// nothing; and the map's double-click opens the dialog of its mode.
#include "cell_dialog_fixture.h"

#include "app/window_hooks.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/frm_excl.h"
#include "dialogs/frm_lc.h"
#include "dialogs/frm_lod.h"
#include "dialogs/frm_lod8.h"
#include "dialogs/frm_wc.h"
#include "editor/frm.h"
#include "editor/object_modes.h"

namespace {

using celltest::CellDialogTest;

Excl_Cell_Rec Area(int16_t a, int16_t b, int flag) {
    Excl_Cell_Rec r;
    r.Lod8_Col = 393;
    r.Lod8_Row = 128;
    r.Lod13_Col = a;
    r.Lod13_Row = b;
    r.Excluded[static_cast<size_t>(flag)] = 1;
    return r;
}

class CellProtocol : public CellDialogTest {
protected:
    void Three_Areas() {
        Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(0, 0, 10));
        Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(1, 2, 11));
        Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(3, 3, 12));
    }
};

TEST_F(CellProtocol, TheFirstOfTwoRecordsWithTheClickedKeysIsEditedAndDeleted) {
    Three_Areas();
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(1, 2, 13));
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        EXPECT_EQ(w.L_LCM.Caption(), "Modification");
        EXPECT_TRUE(w.Cmd_Sup.Enabled());
        EXPECT_EQ(w.Chk_Excl(11).Value(), 1);
        EXPECT_EQ(w.Chk_Excl(13).Value(), 0);
        w.Chk_Excl(50).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Excl_Dlg_Cancelled = 1;
    Frm_Excl_Show_Modal();
    EXPECT_EQ(Excl_Dlg_Cancelled, 0);
    ASSERT_EQ(Excl_Cell_Count, 4);
    EXPECT_EQ(Excl_Cell_Table(2).Excluded[50], 1);
    EXPECT_EQ(Excl_Cell_Table(4).Excluded[50], 0);

    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) { w.Cmd_Sup.UserClick(); });
    Frm_Excl_Show_Modal();
    ASSERT_EQ(Excl_Cell_Count, 3);
    EXPECT_EQ(Excl_Cell_Capacity, 5);
    EXPECT_EQ(Excl_Cell_Table(1), Area(0, 0, 10));
    EXPECT_EQ(Excl_Cell_Table(2), Area(3, 3, 12));
    EXPECT_EQ(Excl_Cell_Table(3), Area(1, 2, 13));
}

TEST_F(CellProtocol, DeletingTheOnlyRecordEmptiesTheTable) {
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(1, 2, 10));
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) { w.Cmd_Sup.UserClick(); });
    Excl_Dlg_Cancelled = 1;
    Frm_Excl_Show_Modal();
    EXPECT_EQ(Excl_Cell_Count, 0);
    EXPECT_EQ(Excl_Dlg_Cancelled, 0);
}

TEST_F(CellProtocol, CancelAndTheCloseBoxChangeNothing) {
    Three_Areas();
    const Excl_Cell_Rec before = Excl_Cell_Table(2);
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        w.Chk_Excl(11).UserClick();
        w.Cmd_Cancel.UserClick();
    });
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        w.Chk_Excl(11).UserClick();
        w.UserClose();
    });
    for (int i = 0; i < 2; ++i) {
        Excl_Dlg_Cancelled = 1;
        Frm_Excl_Show_Modal();
        EXPECT_EQ(Excl_Dlg_Cancelled, 1);
        EXPECT_EQ(Excl_Cell_Count, 3);
        EXPECT_EQ(Excl_Cell_Table(2), before);
    }
}

TEST_F(CellProtocol, CreatingInAFullTableGrowsItByTheTablesStepAndKeepsItsRecords) {
    Three_Areas();
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(4, 4, 14));
    Put(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Area(5, 5, 15));
    ASSERT_EQ(Excl_Cell_Capacity, 5);
    Click_Area(9, 9);
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) {
        EXPECT_EQ(w.L_LCM.Caption(), "Creation");
        EXPECT_FALSE(w.Cmd_Sup.Enabled());
        w.Cmd_Ok.UserClick();
    });
    Frm_Excl_Show_Modal();
    EXPECT_EQ(Excl_Cell_Count, 6);
    EXPECT_EQ(Excl_Cell_Capacity, 10);
    EXPECT_EQ(Excl_Cell_Table(5), Area(5, 5, 15));
    EXPECT_EQ(Excl_Cell_Table(6).Lod13_Col, 9);
    EXPECT_EQ(Edit_Mode, "C");

    // Class cells grow one record at a time.
    for (int k = 1; k <= 2; ++k) {
        Click_Area(k, 0, 3, 3);
        On<Frm_LC>("Frm_LC", [](Frm_LC& w) { w.Cmd_Ok.UserClick(); });
        Frm_LC_Show_Modal();
        EXPECT_EQ(Lc_Cell_Count, k);
        EXPECT_EQ(Lc_Cell_Capacity, k);
    }
}

TEST_F(CellProtocol, EnterTakesARefusedValueAsLeavingTheBoxAndEscapePutsTheStoredOneBack) {
    Land_Classes({{1, 102, "Urban"}, {5, 105, "Suburban"}});
    Click_Area(0, 0, 3, 3);
    On<Frm_LC>("Frm_LC", [](Frm_LC& w) {
        w.Num.UserFocus();
        w.Num.UserType(" 5 ");
        w.Num.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(w.Num.Text(), "5");
        EXPECT_EQ(Lc_Cell_Cur.Class_Code, 5);
        w.Num.UserType("300");
        host().QueueAnswer(1);
        w.Num.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(Boxes(), std::vector<std::string>{"(1)"});
        EXPECT_EQ(Lc_Cell_Cur.Class_Code, 5);
        w.Num.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.Num.Text(), "5");
        // A refused value keeps the focus: OK cannot be reached until it is mended.
        w.Num.UserType("x");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Num.HasFocus());
        w.Num.UserType("1");
        w.Cmd_Ok.UserClick();
    });
    Frm_LC_Show_Modal();
    ASSERT_EQ(Lc_Cell_Count, 1);
    EXPECT_EQ(Lc_Cell_Table(1).Class_Code, 1);
}

TEST_F(CellProtocol, FocusOnAValueBoxSelectsItsWholeText) {
    On<Frm_LOD>("Frm_LOD", [](Frm_LOD& w) {
        w.Alti.UserFocus();
        EXPECT_EQ(w.Alti.SelStart, 0);
        EXPECT_EQ(w.Alti.SelLength, 5);   // "-9999"
        w.Cmd_Cancel.UserClick();
    });
    Frm_LOD_Show_Modal();
}

// The main window's double-click, with the dialogs installed.
class CellDoubleClick : public CellDialogTest {
protected:
    void SetUp() override {
        CellDialogTest::SetUp();
        Cell_Dialogs_Connect();
        f.Show();
        Project_Displayed = 1;
        Map_Px_West = Map_Px_North = 0;
        Map_Px_East = Map_Px_South = 1023;
    }
    void TearDown() override {
        f.ForceUnload();
        CellDialogTest::TearDown();
    }
    Frm& f = Frm_Window();
};

TEST_F(CellDoubleClick, EachCellModeOpensItsOwnDialogOnTheClickedPlace) {
    struct Mode {
        Object_Mode mode;
        const char* form;
    };
    const Mode modes[] = {{Object_Mode::Excl_Cells, "Frm_Excl"},
                          {Object_Mode::Lwm_Cells, "Frm_LOD"},
                          {Object_Mode::Lod8_Cells, "Frm_LOD8"},
                          {Object_Mode::Land_Class, "Frm_LC"},
                          {Object_Mode::Water_Class, "Frm_WC"}};
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.form);
        PSais_Set_Mode(m.mode);
        std::string shown;
        host().OnModal(m.form, [&](plat::Form& w) {
            shown = w.Name();
            auto* label = dynamic_cast<plat::Label*>(w.Find("L_Cell_Area"));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->Caption().substr(0, 9), "C: 393-12");
            w.UserClose();
        });
        Click_Area(1, 2);
        Frm_Pic_DblClick();
        EXPECT_EQ(shown, m.form);
    }
    // The excluded area of a new exclusion reaches the table through OK.
    PSais_Set_Mode(Object_Mode::Excl_Cells);
    On<Frm_Excl>("Frm_Excl", [](Frm_Excl& w) { w.Cmd_Ok.UserClick(); });
    Frm_Pic_DblClick();
    ASSERT_EQ(Excl_Cell_Count, 1);
    EXPECT_EQ(Excl_Dlg_Cancelled, 0);
}

}  // namespace
