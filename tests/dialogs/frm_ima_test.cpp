// The texture image dialog: a new image is numbered after every number in the table, a
// modification writes back only what the author edited, and what cannot be stored is refused.
#include "cell_dialog_fixture.h"

#include "dialogs/frm_ima.h"
#include "editor/object_modes.h"

namespace {

using celltest::CellDialogTest;

class FrmIma : public CellDialogTest {
protected:
    void SetUp() override {
        CellDialogTest::SetUp();
        New_Image_Armed = 1;
        Ima_Dlg_Cancelled = 1;
        // A box may only be left holding a name that exists.
        for (int n = 1; n <= 5; ++n) ASSERT_TRUE(plat::WriteBinary(Tex(n), {1, 2, 3}));
    }
    static std::string Tex(int n) { return App_Dir + "\\tex" + std::to_string(n) + ".bmp"; }
    static Image_Rec Image(int16_t number, int16_t in_use = 1) {
        Image_Rec r;
        r.Ima_In_Use = in_use;
        r.Ima_Number = number;
        r.Ima_File = "c:\\maps\\image" + std::to_string(number) + ".bmp";
        r.Ima_Width = 64;
        r.Ima_Height = 32;
        r.Ima_X1 = 10.5;
        r.Ima_Y1 = 20;
        r.Ima_X2 = 73.5;
        r.Ima_Y2 = 51;
        r.Ima_Texture[1] = Tex(number);
        return r;
    }
    static void Add(const Image_Rec& r) {
        Table_Grow_If_Full(Image_Table, Image_Count, Image_Capacity, 1);
        Image_Table(++Image_Count) = r;
    }
    // The next showing of the bitmap browser hands back a w x h file.
    static void Browser_Picks(const std::string& path, int32_t w, int32_t h) {
        host().OnModal("Frm_LBmp", [=](plat::Form& f) {
            Bitmap_Browser_Cancelled = 0;
            Bitmap_Browser_Path = path;
            Bitmap_Browser_Width = w;
            Bitmap_Browser_Height = h;
            f.Unload();
        });
    }
    static void Create(const std::string& path) {
        Browser_Picks(path, 40, 30);
        On<Frm_Ima>("Frm_Ima", [](Frm_Ima& d) {
            d.DirFic.UserDoubleClick(plat::Button_Left, 0, 1, 1);
            d.Cmd_Ok.UserClick();
        });
        Frm_Ima_Show_Modal();
    }
};

TEST_F(FrmIma, NewImagesAreNumberedAfterTheHighestNumberDeletedOnesIncluded) {
    Create("c:\\maps\\first.bmp");
    ASSERT_EQ(Image_Count, 1);
    EXPECT_EQ(Ima_Dlg_Cancelled, 0);
    EXPECT_EQ(Image_Table(1).Ima_Number, 1);
    EXPECT_EQ(Image_Table(1).Ima_In_Use, 1);
    EXPECT_EQ(Image_Table(1).Ima_Width, 40);

    PSais_Init_Arrays();
    Add(Image(1));
    Add(Image(5, 0));
    Add(Image(2));
    Create("c:\\maps\\next.bmp");
    ASSERT_EQ(Image_Count, 4);
    EXPECT_EQ(Image_Table(4).Ima_Number, 6);
    EXPECT_EQ(Image_Table(2), Image(5, 0));
}

TEST_F(FrmIma, AFullTableGrowsByThreeAndKeepsItsRecords) {
    Add(Image(1));
    Add(Image(2));
    ASSERT_EQ(Image_Count, Image_Capacity);
    Create("c:\\maps\\third.bmp");
    EXPECT_EQ(Image_Capacity, 5);
    EXPECT_EQ(Image_Table.UBound(), 5);
    ASSERT_EQ(Image_Count, 3);
    EXPECT_EQ(Image_Table(1), Image(1));
    EXPECT_EQ(Image_Table(2), Image(2));
    EXPECT_EQ(Image_Table(3).Ima_File, "c:\\maps\\third.bmp");
}

TEST_F(FrmIma, OkWithoutABitmapShowsMessage37AndStaysOpen) {
    On<Frm_Ima>("Frm_Ima", [](Frm_Ima& d) {
        host().QueueAnswer(1);
        d.Cmd_Ok.UserClick();
        EXPECT_EQ(Boxes(), std::vector<std::string>{"(37)"});
        EXPECT_TRUE(d.Loaded());
        d.Cmd_Cancel.UserClick();
    });
    Frm_Ima_Show_Modal();
    EXPECT_EQ(Image_Count, 0);
    EXPECT_EQ(Ima_Dlg_Cancelled, 1);
}

TEST_F(FrmIma, ModificationKeepsNumberAndRectangleAndTakesTheChosenBitmapAndTexture) {
    Add(Image(1));
    Add(Image(4));
    Cur_Image = 2;
    New_Image_Armed = 2;
    Browser_Picks("c:\\maps\\bigger.bmp", 128, 96);
    Browser_Picks(Tex(5), 256, 256);
    host().OnModal("Frm_LBmp", [](plat::Form& f) { f.Unload(); });  // cancelled
    On<Frm_Ima>("Frm_Ima", [](Frm_Ima& d) {
        EXPECT_EQ(d.DirFic.Caption(), "c:\\maps\\image4.bmp");
        d.DirFic.UserDoubleClick(plat::Button_Left, 0, 1, 1);
        EXPECT_EQ(d.DirFic.Caption(), "c:\\maps\\bigger.bmp");
        d.Texture_Name(3).UserDoubleClick(plat::Button_Left, 0, 1, 1);
        EXPECT_EQ(d.Texture_Name(3).Text(), Tex(5));
        d.Texture_Name(1).UserDoubleClick(plat::Button_Left, 0, 1, 1);
        EXPECT_EQ(d.Texture_Name(1).Text(), Tex(4));
        d.Cmd_Ok.UserClick();
    });
    Frm_Ima_Show_Modal();
    EXPECT_EQ(Ima_Dlg_Cancelled, 0);
    Image_Rec expected = Image(4);
    expected.Ima_File = "c:\\maps\\bigger.bmp";
    expected.Ima_Width = 128;
    expected.Ima_Height = 96;
    expected.Ima_Texture[3] = Tex(5);
    EXPECT_EQ(Image_Table(2), expected);
    EXPECT_EQ(Image_Table(1), Image(1));
}

TEST_F(FrmIma, ATextureBoxRefusesAMissingFileAndEscapeRestoresTheStoredName) {
    Add(Image(1));
    Cur_Image = 1;
    New_Image_Armed = 2;
    On<Frm_Ima>("Frm_Ima", [](Frm_Ima& d) {
        plat::TextBox& box = d.Texture_Name(1);
        box.UserFocus();
        box.UserType(App_Dir + "\\missing.bmp");
        host().QueueAnswer(1);
        box.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(Boxes(), std::vector<std::string>{"(1)"});
        host().QueueAnswer(1);
        d.Cmd_Ok.UserFocus();
        EXPECT_TRUE(box.HasFocus());
        EXPECT_EQ(Image_Cur.Ima_Texture[1], Tex(1));
        box.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(box.Text(), Tex(1));
        // A blank name is trimmed and accepted as none.
        box.UserType("  ");
        d.Cmd_Ok.UserFocus();
        EXPECT_EQ(box.Text(), "");
        EXPECT_EQ(Image_Cur.Ima_Texture[1], "");
        d.Cmd_Ok.UserClick();
    });
    Frm_Ima_Show_Modal();
    EXPECT_EQ(Image_Table(1).Ima_Texture[1], "");
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(FrmIma, ABitmapTooLargeForTheRecordIsRefused) {
    Browser_Picks("c:\\maps\\huge.bmp", 100, 32768);
    Browser_Picks("c:\\maps\\edge.bmp", 32767, 32767);
    On<Frm_Ima>("Frm_Ima", [](Frm_Ima& d) {
        host().QueueAnswer(1);
        d.DirFic.UserDoubleClick(plat::Button_Left, 0, 1, 1);
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("32767"), std::string::npos);
        EXPECT_EQ(Image_Cur.Ima_File, "");
        EXPECT_EQ(Image_Cur.Ima_Height, 0);
        d.DirFic.UserDoubleClick(plat::Button_Left, 0, 1, 1);
        d.Cmd_Ok.UserClick();
    });
    Frm_Ima_Show_Modal();
    ASSERT_EQ(Image_Count, 1);
    EXPECT_EQ(Image_Table(1).Ima_Width, 32767);
    EXPECT_EQ(Image_Table(1).Ima_Height, 32767);
}

TEST_F(FrmIma, ModifyingAnImageThatIsNoLongerThereStoresNothingAndReportsNoChange) {
    Add(Image(1));
    Cur_Image = 3;  // left over from a project closed since
    New_Image_Armed = 2;
    Create("c:\\maps\\other.bmp");
    EXPECT_EQ(Image_Count, 1);
    EXPECT_EQ(Image_Table(1), Image(1));
    EXPECT_EQ(Ima_Dlg_Cancelled, 1);
}

}  // namespace
