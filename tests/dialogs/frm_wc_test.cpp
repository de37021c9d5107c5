// The water-class cell dialog: its list is "WC.txt" as it stands at each opening, the class is
// picked or typed, and the cell shows the water texture of its class.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_wc.h"

namespace {

using celltest::CellDialogTest;

const plat::Colour kLake = plat::RGB(20, 60, 200);

class FrmWc : public CellDialogTest {
protected:
    void SetUp() override {
        CellDialogTest::SetUp();
        Write_List({"003 Ocean", "  7 Lake", "001 River", "012 Swamp"});
        Write_Bmp(Texture_Dir + "\\007b2wa1.bmp", 8, 8, kLake);
        Click_Area(5, 6, 0, 0);
    }
    static void Write_List(const std::vector<std::string>& lines) {
        ASSERT_TRUE(plat::WriteTextLines(App_Dir + "\\Resource\\WC.txt", lines));
    }
    static Class_Cell_Rec Cell(int16_t a, int16_t b, uint8_t code) {
        Class_Cell_Rec r;
        r.Lod8_Col = 393;
        r.Lod8_Row = 128;
        r.Lod13_Col = a;
        r.Lod13_Row = b;
        r.Class_Code = code;
        return r;
    }
};

TEST_F(FrmWc, TheListHoldsEveryLineOfTheFileInOrderWithTheCodeOfItsFirstCharacters) {
    // "2 1" is the number 2 followed by more text, as the project's numbers read.
    Write_List({"007 Lake", "  7 Lake again", "", "abc", "-05 Bad", "999 Big", "12", "2 1 Pond"});
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) {
        EXPECT_EQ(w.Caption(), "WaterClass");
        ASSERT_EQ(w.Cmbo.ListCount(), 8);
        EXPECT_EQ(w.Cmbo.List(1), "  7 Lake again");
        EXPECT_EQ(w.Cmbo.List(2), "");
        EXPECT_EQ(Water_Class_Count, 7);
        std::vector<int> codes;
        for (int i = 0; i <= Water_Class_Count; ++i) codes.push_back(Water_Class_Codes(i));
        EXPECT_EQ(codes, (std::vector<int>{7, 7, 0, 0, 0, 0, 12, 2}));
        // Class 1 is no code here: the first entry is taken, and its texture shown.
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        EXPECT_EQ(w.Num.Text(), "7");
        EXPECT_EQ(w.Pic.Picture().GetPixel(2, 2), kLake);
        w.Cmd_Ok.UserClick();
    });
    Frm_WC_Show_Modal();
    ASSERT_EQ(Wc_Cell_Count, 1);
    EXPECT_EQ(Wc_Cell_Table(1).Class_Code, 7);
    EXPECT_TRUE(Water_Class_Codes.Empty());
    EXPECT_FALSE(plat::FileExists(App_Dir + "\\Temp\\$BmpWC$.bmp"));
}

TEST_F(FrmWc, ANewCellIsClassOneWhenTheFileHasIt) {
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) {
        EXPECT_EQ(w.LCreatMod.Caption(), "Creation");
        EXPECT_EQ(w.Cmbo.ListIndex(), 2);
        EXPECT_EQ(w.Num.Text(), "1");
        EXPECT_EQ(w.L_Cell_Area.Caption(), "C: 393-128  A: 5-6");
        w.Cmd_Ok.UserClick();
    });
    Frm_WC_Show_Modal();
    ASSERT_EQ(Wc_Cell_Count, 1);
    EXPECT_EQ(Wc_Cell_Table(1), Cell(5, 6, 1));
    EXPECT_EQ(Wc_Cell_Capacity, 1);
}

TEST_F(FrmWc, TypedNumbersFrom1To59AreTakenAndOthersRefused) {
    Put(Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity, Cell(5, 6, 12));
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) {
        EXPECT_EQ(w.Cmbo.ListIndex(), 3);
        w.Num.UserFocus();
        w.Num.UserType("7");
        w.Cmd_Ok.UserFocus();
        EXPECT_EQ(w.Cmbo.ListIndex(), 1);
        EXPECT_EQ(w.Pic.Picture().GetPixel(0, 0), kLake);
        w.Num.UserFocus();
        w.Num.UserType("59");
        w.Cmd_Ok.UserFocus();
        // 59 is no class of the file: the first entry is taken.
        EXPECT_EQ(w.Cmbo.ListIndex(), 0);
        EXPECT_EQ(w.Num.Text(), "3");
        for (const char* refused : {"60", "0", "2.5"}) {
            w.Num.UserFocus();
            w.Num.UserType(refused);
            host().QueueAnswer(1);
            w.Num.UserKeyDown(plat::Key_Return, 0);
        }
        EXPECT_EQ(Boxes(), (std::vector<std::string>{"(1)", "(1)", "(1)"}));
        EXPECT_EQ(Wc_Cell_Cur.Class_Code, 3);
        w.Num.UserKeyDown(plat::Key_Escape, 0);
        w.Cmd_Ok.UserClick();
    });
    Frm_WC_Show_Modal();
    ASSERT_EQ(Wc_Cell_Count, 1);
    EXPECT_EQ(Wc_Cell_Table(1).Class_Code, 3);
}

TEST_F(FrmWc, WithoutAUsableFileTheClickedCellIsStillTheOneStored) {
    Put(Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity, Cell(5, 6, 12));
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) { w.Cmd_Cancel.UserClick(); });
    Frm_WC_Show_Modal();
    ASSERT_EQ(Edit_Mode, "M");

    // A file of one line is no list; then no file at all.
    Write_List({"003 Ocean"});
    Click_Area(9, 9, 0, 0);
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) {
        EXPECT_FALSE(w.Cmbo.Enabled());
        EXPECT_EQ(w.LCreatMod.Caption(), "Creation");
        EXPECT_EQ(w.Num.Text(), "1");
        w.Cmd_Ok.UserClick();
    });
    Frm_WC_Show_Modal();
    ASSERT_TRUE(plat::DeleteFile(App_Dir + "\\Resource\\WC.txt"));
    Click_Area(10, 10, 0, 0);
    On<Frm_WC>("Frm_WC", [](Frm_WC& w) {
        w.Num.UserFocus();
        w.Num.UserType("9");
        w.Cmd_Ok.UserClick();
    });
    Frm_WC_Show_Modal();
    ASSERT_EQ(Wc_Cell_Count, 3);
    EXPECT_EQ(Wc_Cell_Table(1), Cell(5, 6, 12));
    EXPECT_EQ(Wc_Cell_Table(2), Cell(9, 9, 1));
    EXPECT_EQ(Wc_Cell_Table(3), Cell(10, 10, 9));
}

}  // namespace
