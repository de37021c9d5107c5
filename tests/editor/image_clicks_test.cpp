// The texture-image clicks on the map: with the new-image tool armed a left click defines an
// image through its dialog and centres it on the click; in the image mode another button on
// the current image edits its bitmap. A bitmap that cannot be converted never shows.
#include "app/window_hooks.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_ima.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/image_clicks.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "support/bmp_files.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include "open_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plat;

namespace {

constexpr Colour kGreen = RGB(0, 200, 0);
constexpr Colour kBlue = RGB(0, 0, 230);

// A 256 x 256 map shown whole in a 256 x 256 picture, so a picture pixel is a map pixel; the
// real image dialog, with a browser that hands back the bitmap the test names.
class ImageClicks : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        App_Dir = testenv::ScratchDir("image_clicks").string();
        ASSERT_TRUE(plat::MakeFolder(App_Dir + "\\Temp"));
        Open_Map_Whole(f, 256, 256, 255, 255);
        Frm_Ima_Connect();
        ASSERT_TRUE(testenv::WriteBmp24(Bitmap("field"), 40, 30, kGreen));
        ASSERT_TRUE(testenv::WriteBmp24(Bitmap("lake"), 20, 10, kBlue));
        ASSERT_TRUE(plat::WriteBinary(Bitmap("broken"), std::vector<uint8_t>(200, 7)));
    }
    void TearDown() override {
        for (const auto& [form, scripts] : host().modal_scripts) EXPECT_TRUE(scripts.empty()) << form;
        testenv::ResetProgramState();
    }

    static HeadlessHost& host() { return DefaultHeadlessHost(); }
    static std::string Bitmap(const std::string& name) { return App_Dir + "\\" + name + ".bmp"; }

    // The next showing of the image dialog chooses `file` (as the browser measured it) and
    // accepts.
    static void Dialog_Chooses(const std::string& file, int32_t w, int32_t h) {
        host().OnModal("Frm_LBmp", [=](Form& b) {
            Bitmap_Browser_Cancelled = 0;
            Bitmap_Browser_Path = file;
            Bitmap_Browser_Width = w;
            Bitmap_Browser_Height = h;
            b.Unload();
        });
        host().OnModal("Frm_Ima", [=](Form& form) {
            auto& d = static_cast<Frm_Ima&>(form);
            d.DirFic.UserDoubleClick(Button_Left, 0, 1, 1);
            d.Cmd_Ok.UserClick();
        });
    }
    void Press(int button, double x, double y) {
        f.Pic.UserMouseMove(0, 0, x, y);
        f.Pic.UserMouseDown(button, 0, x, y);
        f.Pic.UserMouseUp(button, 0, x, y);
    }
    // Only message 124 was shown.
    static bool Shown_124() { return host().boxes.size() == 1 && host().boxes[0].prompt.rfind("(124)", 0) == 0; }
    static bool Temp_Files_Gone() { return !plat::FileExists(App_Dir + "\\Temp\\$BmpIma$.bmp"); }
    // Creates the field image centred on (100, 80).
    void Place_Field() {
        New_Image_Armed = 1;
        Dialog_Chooses(Bitmap("field"), 40, 30);
        Press(Button_Left, 100, 80);
        ASSERT_EQ(Cur_Image, 1);
    }

    Frm& f = Frm_Window();
};

TEST_F(ImageClicks, ANewImageIsCentredOnTheClickAndItsPictureLoaded) {
    Place_Field();
    ASSERT_EQ(Image_Count, 1);
    const Image_Rec& r = Image_Table(1);
    EXPECT_EQ(r.Ima_In_Use, 1);
    EXPECT_EQ(r.Ima_Number, 1);
    EXPECT_EQ(r.Ima_X1, 80);
    EXPECT_EQ(r.Ima_X2, 119);
    EXPECT_EQ(r.Ima_Y1, 65);
    EXPECT_EQ(r.Ima_Y2, 94);
    EXPECT_EQ(New_Image_Armed, 0);
    const Surface& picture = f.WPicIma(0).Picture();
    EXPECT_EQ(picture.Width(), 40);
    EXPECT_EQ(picture.Height(), 30);
    EXPECT_EQ(picture.GetPixel(5, 5), kGreen);
    EXPECT_TRUE(Temp_Files_Gone());

    // An odd size lands half a pixel off; the second image has a picture of its own.
    New_Image_Armed = 1;
    Dialog_Chooses(Bitmap("lake"), 21, 11);
    Press(Button_Left, 10, 200);
    ASSERT_EQ(Cur_Image, 2);
    EXPECT_EQ(Image_Table(2).Ima_X1, -0.5);
    EXPECT_EQ(Image_Table(2).Ima_Y2, 204.5);
    EXPECT_EQ(f.WPicIma(1).Picture().GetPixel(2, 2), kBlue);
}

TEST_F(ImageClicks, ABitmapThatCannotBeConvertedShows124AndLeavesTheRecordUnused) {
    New_Image_Armed = 1;
    Dialog_Chooses(Bitmap("broken"), 0, 0);
    host().QueueAnswer(1);
    Press(Button_Left, 100, 80);
    EXPECT_TRUE(Shown_124());
    ASSERT_EQ(Image_Count, 1);
    EXPECT_EQ(Image_Table(1).Ima_In_Use, 0);
    EXPECT_EQ(Cur_Image, 0);
    EXPECT_EQ(New_Image_Armed, 0);
    EXPECT_TRUE(f.WPicIma(0).Picture().Empty());
    EXPECT_TRUE(Temp_Files_Gone());
}

TEST_F(ImageClicks, OnlyAnArmedLeftClickOrAnotherButtonOnTheCurrentImageInImageModeOpensTheDialog) {
    Place_Field();
    int showings = 0;
    Image_Click_Dialogs.Show_Image = [&] { ++showings; };
    Press(Button_Left, 100, 80);   // no longer armed
    Press(Button_Right, 100, 80);  // not in the image mode
    PSais_Set_Mode(Object_Mode::Images);
    Press(Button_Right, 100, 95);  // just below the image
    EXPECT_EQ(showings, 0);
    Press(Button_Right, 119, 94);  // its corner
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(New_Image_Armed, 2);
}

TEST_F(ImageClicks, AnEditedBitmapThatCannotBeConvertedPutsTheOldOneBack) {
    Place_Field();
    const Image_Rec placed = Image_Table(1);
    PSais_Set_Mode(Object_Mode::Images);
    Dialog_Chooses(Bitmap("broken"), 0, 0);
    host().QueueAnswer(1);
    Press(Button_Right, 100, 80);
    EXPECT_TRUE(Shown_124());
    // File and size go back together, so the record still describes the picture shown.
    EXPECT_EQ(Image_Table(1), placed);
    EXPECT_EQ(Cur_Image, 1);
    EXPECT_EQ(f.WPicIma(0).Picture().GetPixel(5, 5), kGreen);
}

}  // namespace
