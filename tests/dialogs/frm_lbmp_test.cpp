// The bitmap browser: it opens where the author last looked, previews and measures every file
// clicked, and hands back the last one only on OK.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_lbmp.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/registry.h"
#include "support/bmp_files.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

using plat::RGB;

const plat::Colour kRed = RGB(255, 0, 0);
const plat::Colour kBlue = RGB(0, 0, 255);
const plat::Colour kWhite = RGB(255, 255, 255);

class FrmLBmpTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root_ = testenv::ScratchDir("browser");
        std::filesystem::create_directories(root_ / "app");
        std::filesystem::create_directories(root_ / "textures" / "winter");
        std::filesystem::create_directories(root_ / "empty");
        App_Dir = testenv::ProgramPath(root_ / "app");
    }
    void TearDown() override { testenv::ResetProgramState(); }

    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static void On_Browser(std::function<void(Frm_LBmp&)> script) {
        host().OnModal("Frm_LBmp", [script](plat::Form& f) { script(static_cast<Frm_LBmp&>(f)); });
    }
    // As the program stores a folder it is handed, and as the browser shows and hands back one.
    std::string Stored(const std::string& leaf) const { return testenv::ProgramPath(root_ / leaf); }
    std::string Native(const std::string& leaf) const { return (root_ / leaf).lexically_normal().string(); }
    // The file list's entry of that name, or -1.
    static int Entry(const plat::FileListBox& files, const std::string& name) {
        for (int i = 0; i < files.ListCount(); ++i)
            if (files.List(i) == name) return i;
        return -1;
    }
    static void Click_File(Frm_LBmp& w, const std::string& name) {
        const int i = Entry(w.File1, name);
        ASSERT_GE(i, 0) << name << " not listed in " << w.File1.Path();
        w.File1.UserSelect(i);
    }
    static plat::Colour Preview(Frm_LBmp& w, int x, int y) { return w.Pic.Image().GetPixel(x, y); }

    std::filesystem::path root_;
};

TEST_F(FrmLBmpTest, OpensOnTheLastFolderPreviewsItsFirstFileAndOkHandsItBack) {
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/a_field.bmp"), 100, 50, kRed));
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/b_road.bmp"), 20, 20, kBlue));
    Last_Bitmap_Folder = Stored("textures");
    Bitmap_Browser_Width = 7;
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Caption(), "Rechercher une texture");
        EXPECT_EQ(w.Dir1.Path(), Native("textures"));
        // The first file is chosen and shown at once.
        EXPECT_EQ(Bitmap_Browser_Chosen, 1);
        EXPECT_EQ(Bitmap_Browser_Path, Native("textures/a_field.bmp"));
        EXPECT_EQ(Bitmap_Browser_Width, 100);
        EXPECT_EQ(Bitmap_Browser_Height, 50);
        EXPECT_NE(w.LRes.Caption().find("24"), std::string::npos) << w.LRes.Caption();
        EXPECT_NE(w.LRes.BackColor(), kRed);
        // Unscaled and centred: 100 x 50 at left 78, top 103.
        EXPECT_EQ(Preview(w, 78, 103), kRed);
        EXPECT_EQ(Preview(w, 177, 152), kRed);
        EXPECT_EQ(Preview(w, 77, 103), kWhite);
        EXPECT_EQ(Preview(w, 178, 152), kWhite);
        EXPECT_EQ(Preview(w, 78, 102), kWhite);
        EXPECT_EQ(Preview(w, 78, 153), kWhite);
        // The converted copy sits in the program's folder while the browser is open.
        EXPECT_EQ(Temp_Ima_Bmp, App_Dir + "\\$TBmp$");
        EXPECT_EQ(Temp_Tex_Bmp, App_Dir + "\\$Tex$");
        EXPECT_TRUE(plat::FileExists(Temp_Ima_Bmp));
        w.Cmd_Ok.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 0);
    EXPECT_EQ(Bitmap_Browser_Path, Native("textures/a_field.bmp"));
    EXPECT_EQ(Bitmap_Browser_Width, 100);
    EXPECT_EQ(Bitmap_Browser_Height, 50);
    EXPECT_EQ(Last_Bitmap_Folder, Native("textures"));
    EXPECT_FALSE(Frm_LBmp_Window().Loaded());
    // The scratch files are gone; their names stay.
    EXPECT_EQ(Temp_Ima_Bmp, App_Dir + "\\$TBmp$");
    EXPECT_FALSE(plat::PathExists(Temp_Ima_Bmp));
    EXPECT_FALSE(plat::PathExists(Temp_Tex_Bmp));
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(FrmLBmpTest, EachFileClickedReplacesThePreviewAndTheChoice) {
    // 256 x 256 shown as it is; larger ones scaled so that the longer side is 256.
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/a_exact.bmp"), 256, 256,
                                    [](int x, int y) { return RGB(x, y, (x + y) & 255); }));
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/b_wide.bmp"), 512, 256, kBlue));
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/c_tall.bmp"), 300, 600, kRed));
    Last_Bitmap_Folder = Stored("textures");
    On_Browser([&](Frm_LBmp& w) {
        for (int y = 0; y < 256; y += 5)
            for (int x = 0; x < 256; x += 3) ASSERT_EQ(Preview(w, x, y), RGB(x, y, (x + y) & 255)) << x << "," << y;

        Click_File(w, "b_wide.bmp");
        EXPECT_EQ(Bitmap_Browser_Path, Native("textures/b_wide.bmp"));
        EXPECT_EQ(Bitmap_Browser_Width, 512);
        EXPECT_EQ(Bitmap_Browser_Height, 256);
        // 256 x 128 at left 0, top 64; nothing of the first picture is left.
        EXPECT_EQ(Preview(w, 0, 64), kBlue);
        EXPECT_EQ(Preview(w, 255, 191), kBlue);
        EXPECT_EQ(Preview(w, 0, 63), kWhite);
        EXPECT_EQ(Preview(w, 255, 192), kWhite);

        Click_File(w, "c_tall.bmp");
        EXPECT_EQ(Bitmap_Browser_Width, 300);
        EXPECT_EQ(Bitmap_Browser_Height, 600);
        // 128 x 256 at left 64, top 0.
        EXPECT_EQ(Preview(w, 64, 0), kRed);
        EXPECT_EQ(Preview(w, 191, 255), kRed);
        EXPECT_EQ(Preview(w, 63, 128), kWhite);
        EXPECT_EQ(Preview(w, 192, 128), kWhite);
        w.Cmd_Ok.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 0);
    EXPECT_EQ(Bitmap_Browser_Path, Native("textures/c_tall.bmp"));
    EXPECT_EQ(Bitmap_Browser_Width, 300);
}

TEST_F(FrmLBmpTest, PreviewPlacesRoundHalvesToEven) {
    const Preview_Place odd = Frm_LBmp_Preview_Place(101, 51);
    EXPECT_EQ(odd.left, 78);   // 77.5
    EXPECT_EQ(odd.top, 102);   // 102.5
    EXPECT_EQ(odd.width, 101);
    const Preview_Place wide = Frm_LBmp_Preview_Place(1000, 333);
    EXPECT_EQ(wide.width, 256);
    EXPECT_EQ(wide.height, 85);   // 85.248
    EXPECT_EQ(wide.top, 86);      // 85.5
    const Preview_Place square = Frm_LBmp_Preview_Place(400, 400);
    EXPECT_EQ(square.width, 256);
    EXPECT_EQ(square.height, 256);
    EXPECT_EQ(square.left, 0);
}

TEST_F(FrmLBmpTest, AFileThatIsNoImageIsShownInRedWithNoSizeAndCanStillBeTaken) {
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/a_field.bmp"), 40, 40, kRed));
    std::ofstream(root_ / "textures" / "b_notes.txt") << std::string(200, 'x');
    std::ofstream(root_ / "textures" / "c_tiny.bmp") << "BM";
    Last_Bitmap_Folder = Stored("textures");
    On_Browser([&](Frm_LBmp& w) {
        ASSERT_EQ(Bitmap_Browser_Width, 40);
        for (const char* name : {"b_notes.txt", "c_tiny.bmp"}) {
            Click_File(w, name);
            EXPECT_EQ(w.LRes.Caption(), "Ce n'est pas un fichier image !!!!") << name;
            EXPECT_EQ(w.LRes.BackColor(), kRed);
            EXPECT_EQ(Bitmap_Browser_Chosen, 1);
            EXPECT_EQ(Bitmap_Browser_Path, Native("textures/" + std::string(name)));
            EXPECT_EQ(Bitmap_Browser_Width, 0);
            EXPECT_EQ(Bitmap_Browser_Height, 0);
            // The earlier file's picture is not left to pass for this one.
            EXPECT_EQ(Preview(w, 128, 128), kWhite);
        }
        // Back on an image, the label is a description again.
        Click_File(w, "a_field.bmp");
        EXPECT_NE(w.LRes.BackColor(), kRed);
        EXPECT_EQ(Preview(w, 128, 128), kRed);
        Click_File(w, "b_notes.txt");
        w.Cmd_Ok.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 0);
    EXPECT_EQ(Bitmap_Browser_Path, Native("textures/b_notes.txt"));
    EXPECT_EQ(Bitmap_Browser_Width, 0);
    EXPECT_EQ(Bitmap_Browser_Height, 0);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(FrmLBmpTest, OkBeforeAnyChoiceIsRefusedAndCancelKeepsTheFolderShownLast) {
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/winter/snow.bmp"), 8, 8, kWhite));
    Last_Bitmap_Folder = Stored("empty");
    Bitmap_Browser_Path = "left over";
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.File1.ListCount(), 0);
        EXPECT_EQ(Bitmap_Browser_Chosen, 0);
        EXPECT_EQ(Bitmap_Browser_Path, "");
        host().QueueAnswer(plat::ID_OK);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("(12)"), std::string::npos) << host().boxes[0].prompt;
        // The author looks elsewhere, clicks a file there, then gives up.
        w.Dir1.SetPath(Stored("textures/winter"));
        EXPECT_EQ(Last_Bitmap_Folder, Native("textures/winter"));
        Click_File(w, "snow.bmp");
        w.Cmd_Cancel.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 1);
    EXPECT_EQ(Last_Bitmap_Folder, Native("textures/winter"));
    EXPECT_FALSE(plat::PathExists(Temp_Ima_Bmp));

    // The next showing opens there; closing the window is a cancel too.
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Dir1.Path(), Native("textures/winter"));
        EXPECT_EQ(Bitmap_Browser_Path, Native("textures/winter/snow.bmp"));
        w.UserClose();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 1);
}

TEST_F(FrmLBmpTest, WithoutALastFolderItOpensOnTheSimulatorThenOnTheProgramFolder) {
    std::filesystem::create_directories(root_ / "sim" / "Scenery");
    std::ofstream(root_ / "app" / "readme.txt") << std::string(100, 'r');
    Language = "US";
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Caption(), "Find a texture");
        EXPECT_EQ(w.Dir1.Path(), Native("app"));
        EXPECT_EQ(Bitmap_Browser_Path, Native("app/readme.txt"));
        w.Cmd_Cancel.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Last_Bitmap_Folder, Native("app"));

    Last_Bitmap_Folder.clear();
    plat::RegistrySetForTest(plat::HKEY_LOCAL_MACHINE, Fs_Registry_Key, "EXE Path", Stored("sim"));
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Dir1.Path(), Native("sim"));
        EXPECT_EQ(Bitmap_Browser_Chosen, 0) << "the simulator's folder holds no file";
        w.Cmd_Cancel.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Last_Bitmap_Folder, Native("sim"));
}

TEST_F(FrmLBmpTest, AStartWithADriveLetterOrARemovedFolderStillOpensSomewhereUseful) {
    ASSERT_TRUE(testenv::WriteBmp24(Stored("textures/winter/snow.bmp"), 8, 8, kWhite));
    // Stored with its drive, in capitals.
    Last_Bitmap_Folder = "C:" + Stored("textures/winter");
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Drive1.Drive(), "/");
        EXPECT_EQ(w.Dir1.Path(), Native("textures/winter"));
        EXPECT_EQ(Bitmap_Browser_Path, Native("textures/winter/snow.bmp"));
        EXPECT_EQ(Bitmap_Browser_Width, 8);
        w.Cmd_Ok.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Bitmap_Browser_Cancelled, 0);

    // Removed since: the nearest folder above it that is left.
    Last_Bitmap_Folder = Stored("textures/autumn/old");
    On_Browser([&](Frm_LBmp& w) {
        EXPECT_EQ(w.Dir1.Path(), Native("textures"));
        w.Cmd_Cancel.UserClick();
    });
    Frm_LBmp_Show_Modal();
    EXPECT_EQ(Last_Bitmap_Folder, Native("textures"));
    EXPECT_TRUE(host().ui_errors.empty());
}

TEST_F(FrmLBmpTest, TheRootGetsNoSecondSeparator) {
    EXPECT_EQ(Frm_LBmp_File_Path("/", "a.bmp"), "/a.bmp");
    EXPECT_EQ(Frm_LBmp_File_Path("/Tex", "a.bmp"), "/Tex/a.bmp");
}

}  // namespace
