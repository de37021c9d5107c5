#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "core/tiling.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/project_commands.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "setup/frm_pgen.h"
#include "setup/setup_services.h"
#include "support/bmp_files.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace plat;

namespace {

using testenv::Read_File;
using testenv::Write_File;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root = testenv::ScratchDir("startup");
        app = root / "app";
        sim = root / "sim";
        fs::create_directories(app / "Resource");
        fs::create_directories(app / "Temp");
        for (const char* name : {"FicErr.txt", "LC.txt", "OwnLines4.txt"})
            fs::copy_file(testenv::SourceDir() / "Resource" / name, app / "Resource" / name);
        fs::copy(testenv::Fixtures() / "sim", sim, fs::copy_options::recursive);
        fs::create_directories(root / "empty_sim");
    }

    HeadlessHost& host() { return DefaultHeadlessHost(); }
    std::string Ini() const { return (app / "Resource" / "Tessaline.Ini").string(); }
    void Setting(const std::string& key, const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileString("Tessaline", key, value, Ini()));
    }
    // A later run: the general parameters confirmed with a folder that holds "Terrain.cfg".
    void Confirmed_Setup() {
        Setting("Fl1Fois", "1");
        Setting("DirFS", sim.string());
    }
    bool Start(const std::string& command_line = "") { return Frm_Start(app.string(), command_line); }

    // What the folder picker of the general parameters leaves, then OK (or Cancel).
    void Answer_PGen(const fs::path& folder, bool english = false, bool ok = true) {
        host().OnModal("Frm_PGen", [=](Form& form) {
            auto& w = static_cast<Frm_PGen&>(form);
            if (english) w.Opt_Lang(1).UserClick();
            PGen_Fs_Dir = folder.string();
            PGen_Texture_Dir = PGen_Fs_Dir + "Scenery\\world\\Texture";
            w.DirFS.SetText(PGen_Fs_Dir);
            (ok ? w.Cmd_Ok : w.Cmd_Cancel).UserClick();
        });
    }
    void Cancel_PGen() { Answer_PGen("", false, false); }

    // A saved project in the scratch folder whose map bitmap is there too.
    fs::path Saved_Project(const std::string& name) {
        EXPECT_TRUE(testenv::WriteBmp24((root / "map.bmp").string(), 30, 20, plat::RGB(0, 0, 0)));
        App_Dir = app.string();
        PSais_Init_Arrays();
        Map_File = (root / "map.bmp").string();
        // The names the project-parameters window asks of every project.
        Bgl_Base_Path = "Town.bgl";
        Bgl_Excl_Path = "Town_Excl.bgl";
        Map_Width_Px = 30;
        Map_Height_Px = 20;
        Project_Open = 1;
        Project_File = (root / name).string();
        Pinit_Save_Project(0, "");
        Project_Open = 0;
        Project_File.clear();
        Map_File.clear();
        return root / name;
    }

    // A change the author has not saved yet.
    void Append_A_Cell() {
        Table_Grow_If_Full(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, Lwm_Cell_Growth);
        Lwm_Cell_Table(++Lwm_Cell_Count) = Lwm_Cell_Rec{};
    }

    size_t PGen_Showings() const {
        size_t n = 0;
        for (const std::string& line : DefaultHeadlessHost().log)
            if (line.rfind("Modal Frm_PGen", 0) == 0) ++n;
        return n;
    }

    Frm& f = Frm_Window();
    fs::path root, app, sim;
};

// ---------------------------------------------------------------------------------------------
// Command line

TEST_F(StartupTest, CommandLineKeepsOnlyAnExistingNameTrimmedAndUnquoted) {
    Write_File(root / "My town.LWM", "x");
    const std::string p = (root / "My town.LWM").string();
    EXPECT_EQ(Startup_Clean_Command_Line("  " + p + "  "), p);
    EXPECT_EQ(Startup_Clean_Command_Line("\"" + p + "\""), p);
    EXPECT_EQ(Startup_Clean_Command_Line(" \"" + p + "\" "), p);
    // A folder passes the existence test as well.
    EXPECT_EQ(Startup_Clean_Command_Line(root.string()), root.string());

    EXPECT_EQ(Startup_Clean_Command_Line(""), "");
    EXPECT_EQ(Startup_Clean_Command_Line("ab"), "");
    EXPECT_EQ(Startup_Clean_Command_Line("   ab   "), "");
    EXPECT_EQ(Startup_Clean_Command_Line("\"" + p), "");
    EXPECT_EQ(Startup_Clean_Command_Line("\"\""), "");
    EXPECT_EQ(Startup_Clean_Command_Line("\"\"\""), "");
    EXPECT_EQ(Startup_Clean_Command_Line((root / "Nowhere.LWM").string()), "");
}

// ---------------------------------------------------------------------------------------------
// General parameters at start-up

TEST_F(StartupTest, FirstRunShowsTheDialogWithoutMessageAndKeepsTheChoice) {
    Answer_PGen(sim, /*english=*/true);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(PGen_Showings(), 1u);
    EXPECT_EQ(Setup_Done, 1);
    EXPECT_EQ(Language, "US");
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "DirFS", "", Ini()), sim.string() + "/");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "Language", "", Ini()), "US");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "Fl1Fois", "", Ini()), "1");
    EXPECT_EQ(Help_Path, app.string() + "\\Tessaline_US.Hlp");
    // The main window changed language with the dialog's OK.
    EXPECT_EQ(f.Mnu_File.Caption(), "Files");
    // Resources were read from the chosen folder after the dialog.
    EXPECT_EQ(Line_Type_Loaded, 1);
    EXPECT_EQ(Land_Class_Loaded, 1);
}

TEST_F(StartupTest, CancelBringsTheDialogBackWithoutAMessage) {
    Cancel_PGen();
    Cancel_PGen();
    Answer_PGen(sim);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(PGen_Showings(), 3u);
    EXPECT_EQ(Language, "FR");
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
}

TEST_F(StartupTest, AStoredFolderWithoutTerrainCfgGivesMessage134ThenTheDialog) {
    Setting("Fl1Fois", "1");
    Setting("DirFS", (root / "empty_sim").string());
    host().QueueAnswer(ID_OK);
    Answer_PGen(sim);
    ASSERT_TRUE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(134) ", 0), 0u) << host().boxes[0].prompt;
    EXPECT_EQ(PGen_Showings(), 1u);
    EXPECT_EQ(Setup_Done, 1);
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
}

TEST_F(StartupTest, AChosenFolderThatDoesNotExistGivesMessage134OnceAndTheDialogAgain) {
    Answer_PGen(root / "no_such_folder");
    host().QueueAnswer(ID_OK);
    Answer_PGen(sim);
    ASSERT_TRUE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(134) ", 0), 0u);
    EXPECT_EQ(PGen_Showings(), 2u);
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
}

TEST_F(StartupTest, AnEmptyChosenFolderIsRefusedRatherThanTakenForTheRoot) {
    Answer_PGen("");
    host().QueueAnswer(ID_OK);
    std::string folder_after_first_ok = "unset";
    host().OnModal("Frm_PGen", [&](Form&) { folder_after_first_ok = Fs_Dir; });
    Answer_PGen(sim);
    ASSERT_TRUE(Start());
    EXPECT_EQ(folder_after_first_ok, "");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(134) ", 0), 0u);
    EXPECT_EQ(Fs_Dir, sim.string() + "/");
}

TEST_F(StartupTest, MessageOfALaterRunIsInEnglishWhenTheSettingsSaySo) {
    Setting("Fl1Fois", "1");
    Setting("Language", "US");
    Setting("DirFS", (root / "empty_sim").string());
    host().QueueAnswer(ID_OK);
    Answer_PGen(sim);
    ASSERT_TRUE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(634) ", 0), 0u);
}

// ---------------------------------------------------------------------------------------------
// The window after start-up

TEST_F(StartupTest, ALaterRunStartsWithoutProjectAndAsksNothing) {
    Confirmed_Setup();
    ASSERT_TRUE(Start("x"));
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(PGen_Showings(), 0u);
    EXPECT_TRUE(f.Loaded());
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.WindowState(), Window_Maximized);
    EXPECT_EQ(f.Caption(), std::string("Tessaline V5.1 ") + Tessaline_Release_Date);
    EXPECT_EQ(f.Mnu_File.Caption(), "Fichiers");
    EXPECT_EQ(Command_Line_Project, "");
    EXPECT_EQ(Project_File, "");
    EXPECT_EQ(Project_Open, 0);
    EXPECT_EQ(Project_Displayed, 0);
    EXPECT_FALSE(f.Cmd_Save.Enabled());
    EXPECT_TRUE(f.Cmd_New.Enabled());
    EXPECT_FALSE(f.Mnu_File_Close.Enabled());

    EXPECT_EQ(App_Dir, app.string());
    EXPECT_EQ(Ini_Path, app.string() + "\\Resource\\Tessaline.Ini");
    EXPECT_EQ(Temp_Tex_Bmp, app.string() + "\\Temp\\$Tex$.bmp");
    EXPECT_EQ(Map_Shown, 1);
    EXPECT_EQ(Grid_Shown, 1);
    EXPECT_EQ(Textures_Shown, 0);
    EXPECT_EQ(Mode_Lines + Mode_Lwm_Cells + Mode_Lod8_Cells + Mode_Excl_Cells + Mode_Land_Class +
                  Mode_Water_Class + Mode_Images + Mode_Grid_Points,
              0);
    EXPECT_EQ(View_Zoom, 1);
    EXPECT_EQ(Edit_Draw_Mode, 13);
    EXPECT_EQ(Tile_Size, 2000);
    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(Dir_Pick_Path, "");
}

TEST_F(StartupTest, AQuotedCommandLineOpensTheProjectNamedBetweenTheQuotes) {
    const fs::path p = Saved_Project("My town.LWM");
    testenv::ResetProgramState();
    Confirmed_Setup();
    ASSERT_TRUE(Start("  \"" + p.string() + "\"  "));
    EXPECT_EQ(Command_Line_Project, p.string());
    EXPECT_EQ(Project_File, p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_Displayed, 1);
    EXPECT_EQ(Mode_Lwm_Cells, 1);
    EXPECT_EQ(f.Caption(), std::string("Tessaline V5.1 ") + Tessaline_Release_Date + "  " + p.string());
    EXPECT_EQ(f.Mnu_File_Prec(0).Caption(), p.string());
    EXPECT_TRUE(f.Cmd_Save.Enabled());
    EXPECT_TRUE(f.Mnu_File_Close.Enabled());
    EXPECT_EQ(host().mouse_pointer, Pointer_Default);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(StartupTest, TheCommandLineProjectsTextureImagesBecomePicturesEvenWhenOneIsMissing) {
    ASSERT_TRUE(testenv::WriteBmp24((root / "tex.bmp").string(), 8, 4, plat::RGB(0, 0, 0)));
    ASSERT_TRUE(testenv::WriteBmp24((root / "map.bmp").string(), 30, 20, plat::RGB(0, 0, 0)));
    App_Dir = app.string();
    PSais_Init_Arrays();
    Image_Capacity = 2;
    Image_Table.ReDim(Image_Capacity);
    Image_Count = 2;
    Image_Table(1).Ima_In_Use = 1;
    Image_Table(1).Ima_File = (root / "tex.bmp").string();
    Image_Table(2).Ima_In_Use = 1;
    Image_Table(2).Ima_File = (root / "gone.bmp").string();
    Map_File = (root / "map.bmp").string();
    Bgl_Base_Path = "Images.bgl";
    Bgl_Excl_Path = "Images_Excl.bgl";
    Map_Width_Px = 30;
    Map_Height_Px = 20;
    Project_Open = 1;
    Project_File = (root / "Images.LWM").string();
    Pinit_Save_Project(0, "");

    testenv::ResetProgramState();
    Confirmed_Setup();
    ASSERT_TRUE(Start((root / "Images.LWM").string()));
    ASSERT_EQ(Project_Open, 1);
    ASSERT_TRUE(f.WPicIma.Exists(0));
    EXPECT_EQ(f.WPicIma(0).Picture().Width(), 8);
    EXPECT_EQ(f.WPicIma(0).Picture().Height(), 4);
    ASSERT_TRUE(f.WPicIma.Exists(1));
    EXPECT_TRUE(f.WPicIma(1).Picture().Empty());
}

TEST_F(StartupTest, ABadlyQuotedCommandLineStartsWithoutProject) {
    const fs::path p = Saved_Project("Town.LWM");
    testenv::ResetProgramState();
    Confirmed_Setup();
    ASSERT_TRUE(Start("\"" + p.string()));
    EXPECT_EQ(Project_Open, 0);
    EXPECT_EQ(Project_File, "");
    EXPECT_TRUE(host().boxes.empty());
}

// ---------------------------------------------------------------------------------------------
// Refusals

TEST_F(StartupTest, ASecondCopyIsRefusedBeforeAnythingElse) {
    Confirmed_Setup();
    host().other_instance = true;
    host().QueueAnswer(ID_OK);
    EXPECT_FALSE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "This program is already running");
    EXPECT_EQ(host().boxes[0].style, MB_OK);
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(Setup_Done, 0);
}

TEST_F(StartupTest, AnUnusableDisplayEndsTheProgramWithItsMessage) {
    Confirmed_Setup();
    host().bits_per_pixel = 4;
    host().QueueAnswer(ID_OK);
    EXPECT_FALSE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(23) ", 0), 0u) << host().boxes[0].prompt;
    EXPECT_FALSE(f.Loaded());
    // The settings were never read.
    EXPECT_EQ(Setup_Done, 0);

    testenv::ResetProgramState();
    Confirmed_Setup();
    host().raster_caps = false;
    host().QueueAnswer(ID_OK);
    EXPECT_FALSE(Start());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(24) ", 0), 0u) << host().boxes[0].prompt;
    EXPECT_FALSE(f.Loaded());
}

// ---------------------------------------------------------------------------------------------
// Project-open state

TEST_F(StartupTest, ProjectOpenStateEnablesTheProjectControlsAndKeepsTheImageToolsOff) {
    Confirmed_Setup();
    ASSERT_TRUE(Start());
    f.LPtGrid.SetVisible(true);
    f.Cmd_New_Route.SetEnabled(false);
    f.Cmd_Sup_Route_Ou_Pt.SetEnabled(true);
    Pinit_Set_Project_Open();
    for (Menu* m : {&f.Mnu_File_Close, &f.Mnu_File_Enreg, &f.Mnu_File_Enreg_Sous, &f.Mnu_Reinit, &f.Mnu_Param_File,
                    &f.Mnu_par_Remesh, &f.Mnu_ModCad})
        EXPECT_TRUE(m->Enabled()) << m->Name();
    for (CommandButton* b : {&f.Cmd_Save, &f.Cmd_ZPlus, &f.Cmd_ZMoins, &f.Cmd_AffBmp, &f.Cmd_TrtCell,
                             &f.Cmd_ColourGrid, &f.Cmd_Grid, &f.Cmd_API, &f.Cmd_Excl_Areas, &f.Cmd_Saisie_Routes,
                             &f.Cmd_LandClass, &f.Cmd_WaterClass, &f.Cmd_FSUIPC, &f.Cmd_TrtMesh})
        EXPECT_TRUE(b->Enabled()) << b->Name();
    for (CommandButton* b : {&f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_TrtArea, &f.Cmd_AffTexture, &f.Cmd_New_Ima,
                             &f.Cmd_Sel_Ima, &f.Cmd_Sel_Crb_Ima})
        EXPECT_FALSE(b->Enabled()) << b->Name();
    // The line tools are the mode buttons' business.
    EXPECT_FALSE(f.Cmd_New_Route.Enabled());
    EXPECT_FALSE(f.LPtGrid.Visible());
    EXPECT_TRUE(f.HScroll.Enabled());
    EXPECT_TRUE(f.VScroll.Enabled());
}

// ---------------------------------------------------------------------------------------------
// Shutdown

class ShutdownTest : public StartupTest {
protected:
    // Started, with the project at `name` open.
    fs::path Open_Project(const std::string& name) {
        const fs::path p = Saved_Project(name);
        testenv::ResetProgramState();
        Confirmed_Setup();
        EXPECT_TRUE(Start("\"" + p.string() + "\""));
        EXPECT_EQ(Project_Open, 1);
        return p;
    }
};

TEST_F(ShutdownTest, ClosingWithoutProjectAsksNothingAndErasesTheTables) {
    Confirmed_Setup();
    ASSERT_TRUE(Start());
    ASSERT_FALSE(Line_Type_Table.Empty());
    EXPECT_TRUE(f.UserClose());
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(Line_Type_Table.Empty());
    EXPECT_TRUE(Land_Class_Table.Empty());
    EXPECT_TRUE(Lwm_Cell_Table.Empty());
    EXPECT_EQ(Lwm_Cell_Count, 0);
    EXPECT_TRUE(f.Pic.Picture().Empty());
}

TEST_F(ShutdownTest, CancelInTheSaveQuestionKeepsTheProjectOpenAndUnchanged) {
    const fs::path p = Open_Project("Town.LWM");
    const std::string before = Read_File(p);
    Append_A_Cell();
    host().QueueAnswer(ID_CANCEL);
    EXPECT_FALSE(f.UserClose());
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, "Voulez-vous enregistrer les modifications apportées à " +
                                          UCase(p.string()) + " ?");
    EXPECT_EQ(host().boxes[0].title, "Tessaline");
    EXPECT_EQ(host().boxes[0].style, MB_YESNOCANCEL);
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Read_File(p), before);
}

TEST_F(ShutdownTest, NoClosesWithoutWritingAndYesSavesFirst) {
    const fs::path p = Open_Project("Town.LWM");
    const std::string before = Read_File(p);
    Append_A_Cell();
    host().QueueAnswer(ID_NO);
    EXPECT_TRUE(f.UserClose());
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(Read_File(p), before);
    // The map tiles went with the project.
    EXPECT_FALSE(fs::exists(app / "Temp" / "$$$_00.bmp"));

    const fs::path q = Open_Project("Village.LWM");
    Language = "US";
    Append_A_Cell();
    host().QueueAnswer(ID_YES);
    EXPECT_TRUE(f.UserClose());
    EXPECT_EQ(host().boxes.back().prompt, "Do you want to save " + UCase(q.string()) + " ?");
    EXPECT_FALSE(f.Loaded());
    EXPECT_NE(Read_File(q).find("0120  1\r\n"), std::string::npos);
}

TEST_F(ShutdownTest, ClosingEndsTheRunningToolUnlessCancelled) {
    Open_Project("Town.LWM");
    Frm_Cmd_Saisie_Routes_Click();
    Frm_Cmd_New_Route_Click();
    ASSERT_EQ(New_Line_Armed, 1);
    host().QueueAnswer(ID_CANCEL);
    EXPECT_FALSE(f.UserClose());
    EXPECT_EQ(New_Line_Armed, 1);
    host().QueueAnswer(ID_NO);
    EXPECT_TRUE(f.UserClose());
    EXPECT_EQ(New_Line_Armed, 0);
}

TEST_F(ShutdownTest, ASaveThatFailsKeepsTheWindowOpen) {
    Open_Project("Town.LWM");
    Append_A_Cell();
    // The project's folder has gone meanwhile.
    Project_File = (root / "gone" / "Town.LWM").string();
    host().QueueAnswer(ID_YES);
    host().QueueAnswer(ID_OK);  // the save's own failure message
    EXPECT_FALSE(f.UserClose());
    EXPECT_EQ(host().boxes.size(), 2u);
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Lwm_Cell_Count, 1);
}

}  // namespace
