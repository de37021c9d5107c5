#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/map_tiles.h"
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

bool Starts_With(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        root = testenv::ScratchDir("projcmds");
        app = root / "app";
        sim = root / "sim";
        fs::create_directories(app / "Resource");
        fs::create_directories(app / "Temp");
        for (const char* name : {"FicErr.txt", "LC.txt", "OwnLines4.txt"})
            fs::copy_file(testenv::SourceDir() / "Resource" / name, app / "Resource" / name);
        fs::copy(testenv::Fixtures() / "sim", sim, fs::copy_options::recursive);
        ASSERT_TRUE(testenv::WriteBmp24((root / "map.bmp").string(), 30, 20, RGB(0x80, 0x80, 0x80)));
        Ini = (app / "Resource" / "Tessaline.Ini").string();
        ASSERT_TRUE(WritePrivateProfileString("Tessaline", "Fl1Fois", "1", Ini));
        ASSERT_TRUE(WritePrivateProfileString("Tessaline", "DirFS", sim.string(), Ini));
        ASSERT_TRUE(Frm_Start(app.string(), ""));
        ASSERT_TRUE(host().boxes.empty());
    }

    HeadlessHost& host() { return DefaultHeadlessHost(); }

    // What the project-parameters window leaves on OK for a new project on map.bmp.
    void Accept_Project_Parameters(const fs::path& project) {
        host().OnModal("Frm_PPro", [this, project](Form& w) {
            ++parameter_showings;
            ASSERT_EQ(Proj_New, 1);
            Project_File = project.string();
            Map_File = (root / "map.bmp").string();
            Bgl_Base_Path = (root / "Town.bgl").string();
            Bgl_Excl_Path = (root / "Town_Excl.bgl").string();
            Map_Width_Px = 30;
            Map_Height_Px = 20;
            Map_Px_West = 0;
            Map_Px_North = 0;
            Map_Px_East = 29;
            Map_Px_South = 19;
            Tiling_No_Progress none;
            int16_t error = 0;
            Com_Split_Map_Bitmap(none, Map_File, error);
            ASSERT_EQ(error, 0);
            Proj_Accepted = 1;
            w.Unload();
        });
    }
    void Cancel_Project_Parameters() {
        host().OnModal("Frm_PPro", [this](Form& w) {
            ++parameter_showings;
            w.Unload();
        });
    }

    // A new project, open and shown, with one unsaved textured area.
    void New_Project(const std::string& name) {
        Accept_Project_Parameters(root / name);
        f.Cmd_New.UserClick();
        ASSERT_EQ(Project_Open, 1);
        Table_Grow_If_Full(Lwm_Cell_Table, Lwm_Cell_Count, Lwm_Cell_Capacity, Lwm_Cell_Growth);
        Lwm_Cell_Table(++Lwm_Cell_Count) = Lwm_Cell_Rec{};
    }

    // A project saved on disk and closed again.
    fs::path Saved_Project(const std::string& name) {
        New_Project(name);
        f.Cmd_Save.UserClick();
        host().QueueAnswer(ID_NO);
        f.Mnu_File_Close.UserClick();
        EXPECT_EQ(Project_Open, 0);
        host().boxes.clear();
        host().file_requests.clear();
        return root / name;
    }

    void Choose_File(const fs::path& p) { host().QueueFile(FileDialogResult{false, p.string()}); }
    void Cancel_File_Dialog() { host().QueueFile(FileDialogResult{true, ""}); }

    void Expect_No_Project() {
        EXPECT_EQ(Project_Open, 0);
        EXPECT_EQ(Project_Displayed, 0);
        EXPECT_EQ(f.Caption(), Pinit_No_Project_Title());
        EXPECT_FALSE(f.Cmd_Save.Enabled());
        EXPECT_FALSE(f.Mnu_File_Close.Enabled());
        EXPECT_FALSE(f.HScroll.Enabled());
    }

    Frm& f = Frm_Window();
    fs::path root, app, sim;
    std::string Ini;
    int parameter_showings = 0;
};

// ---------------------------------------------------------------------------------------------
// New

TEST_F(ProjectCommandsTest, NewWithoutProjectAsksNothingAndOpensTheProjectInTheAreaMode) {
    const fs::path p = root / "Town.LWM";
    Accept_Project_Parameters(p);
    f.Mnu_File_New.UserClick();
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(parameter_showings, 1);
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_Displayed, 1);
    EXPECT_EQ(Proj_New, 0);
    EXPECT_EQ(Mode_Lwm_Cells, 1);
    EXPECT_EQ(Lwm_Cell_Count + Line_Count, 1);
    // The same title as after Open: program, two blanks, project path.
    EXPECT_EQ(f.Caption(), std::string("Tessaline V5.1 ") + Tessaline_Release_Date + "  " + p.string());
    EXPECT_EQ(Recent_Projects[0], p.string());
    EXPECT_EQ(f.Mnu_File_Prec(0).Caption(), p.string());
    EXPECT_TRUE(f.Cmd_Save.Enabled());
    EXPECT_TRUE(f.Mnu_Reinit.Enabled());
    EXPECT_EQ(Map_Tiles_Loaded(), 1);
    EXPECT_EQ(host().mouse_pointer, Pointer_Default);
    // The map is painted: its grey stands at the picture's top left, where the view starts.
    EXPECT_EQ(f.Pic.Image().GetPixel(5, 5), RGB(0x80, 0x80, 0x80));
    // Nothing is written before the first save.
    EXPECT_FALSE(fs::exists(p));
}

TEST_F(ProjectCommandsTest, NewAnsweredYesThenCancelledSavesTheOldProjectAndLeavesNone) {
    New_Project("Old.LWM");
    f.L_NumCell_Area.SetCaption("cell 3");
    f.L_CustomBmp.SetCaption("023132023000011xx.Bmp");
    host().QueueAnswer(ID_YES);
    Cancel_Project_Parameters();
    f.Cmd_New.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].style, MB_YESNOCANCEL);
    EXPECT_NE(host().boxes[0].prompt.find(UCase((root / "Old.LWM").string())), std::string::npos);
    EXPECT_TRUE(fs::exists(root / "Old.LWM"));
    EXPECT_EQ(parameter_showings, 2);  // once for the old project, once cancelled
    Expect_No_Project();
    EXPECT_EQ(f.L_NumCell_Area.Caption(), "");
    EXPECT_EQ(f.L_MouseBmp.Caption(), "");
    EXPECT_EQ(f.L_CustomBmp.Caption(), "");
    EXPECT_EQ(f.Pic.MousePointer(), Pointer_Cross);
    // The old project's tiles were released and their files deleted.
    EXPECT_EQ(Map_Tiles_Loaded(), 0);
    EXPECT_FALSE(fs::exists(app / "Temp" / "$$$_00.bmp"));
}

TEST_F(ProjectCommandsTest, CancelInTheSaveQuestionLeavesTheProjectAsItWas) {
    New_Project("Town.LWM");
    const int shown = parameter_showings;
    host().QueueAnswer(ID_CANCEL);
    f.Cmd_New.UserClick();
    EXPECT_EQ(parameter_showings, shown);
    host().QueueAnswer(ID_CANCEL);
    f.Mnu_File_Close.UserClick();
    host().QueueAnswer(ID_CANCEL);
    f.Mnu_File_Open.UserClick();
    host().QueueAnswer(ID_CANCEL);
    f.Mnu_File_Prec(0).UserClick();
    EXPECT_TRUE(host().file_requests.empty());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_Displayed, 1);
    EXPECT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Map_Tiles_Loaded(), 1);
    EXPECT_TRUE(f.Cmd_Save.Enabled());
    EXPECT_FALSE(fs::exists(root / "Town.LWM"));
}

TEST_F(ProjectCommandsTest, NewOntoAnExistingFileGivesMessage32AndNoProject) {
    Write_File(root / "Taken.LWM", "keep me");
    Accept_Project_Parameters(root / "Taken.LWM");
    host().QueueAnswer(ID_OK);
    f.Cmd_New.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_TRUE(Starts_With(host().boxes[0].prompt, "(32) ")) << host().boxes[0].prompt;
    Expect_No_Project();
    EXPECT_EQ(Read_File(root / "Taken.LWM"), "keep me");
    EXPECT_EQ(Recent_Projects[0], "");
}

// ---------------------------------------------------------------------------------------------
// Save and save as

TEST_F(ProjectCommandsTest, SaveWritesTheProjectUnderItsNameAndTheButtonFocusesTheMap) {
    New_Project("Town.LWM");
    f.Mnu_File_Enreg.UserClick();
    ASSERT_TRUE(fs::exists(root / "Town.LWM"));
    EXPECT_NE(f.ActiveControl(), &f.Pic);
    fs::remove(root / "Town.LWM");
    f.Cmd_Save.UserClick();
    EXPECT_TRUE(fs::exists(root / "Town.LWM"));
    EXPECT_EQ(f.ActiveControl(), &f.Pic);
    EXPECT_EQ(Project_Open, 1);
}

TEST_F(ProjectCommandsTest, SaveAsRefusesABadNameThenWritesTheCopyAndPutsItFirst) {
    New_Project("Town.LWM");
    Choose_File(root / "bad name.LWMX");
    host().QueueAnswer(ID_OK);
    // Typed without an extension: the project's own is added, as New does.
    Choose_File(root / "Copy");
    f.Mnu_File_Enreg_Sous.UserClick();

    ASSERT_EQ(host().file_requests.size(), 2u);
    const FileDialogRequest& r = host().file_requests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, "Projet : Enregistrer sous ...");
    EXPECT_EQ(r.filter, "Tessaline (*.LWM)|*.LWM");
    EXPECT_EQ(r.filter_index, 1);
    EXPECT_EQ(r.initial_dir, root.string());
    EXPECT_EQ(r.file_name, "Town.LWM");
    // The second showing starts afresh from the project's own name.
    EXPECT_EQ(host().file_requests[1].file_name, "Town.LWM");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_TRUE(Starts_With(host().boxes[0].prompt, "(1) ")) << host().boxes[0].prompt;

    ASSERT_TRUE(fs::exists(root / "Copy.LWM"));
    EXPECT_FALSE(fs::exists(root / "Copy"));
    EXPECT_NE(Read_File(root / "Copy.LWM").find(" issu de " + (root / "Town.LWM").string()), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "Town.LWM"));
    EXPECT_EQ(Project_File, (root / "Town.LWM").string());
    EXPECT_EQ(Recent_Projects[0], (root / "Copy.LWM").string());
    EXPECT_EQ(Recent_Projects[1], (root / "Town.LWM").string());
}

TEST_F(ProjectCommandsTest, SaveAsAsksBeforeReplacingAFileAndRefusesOneTheProjectReadsNamingIt) {
    New_Project("Town.LWM");
    Write_File(root / "Town.bak", "backup");
    Write_File(root / "Other.LWM", "another project");
    const fs::path lc = app / "Resource" / "LC.txt";
    const std::vector<std::pair<fs::path, std::string>> refused = {
        {root / "map.bmp", "la carte du projet"},
        {root / "Town.bak", "la copie de sauvegarde du projet"},
        {lc, "un fichier que le programme lit"},
        {app / "Resource" / "Mine.Ref", "un fichier du programme"},
    };
    Write_File(app / "Resource" / "Mine.Ref", "reference");
    std::vector<std::string> before;
    for (const auto& [file, what] : refused) {
        before.push_back(Read_File(file));
        Choose_File(file);
        host().QueueAnswer(ID_OK);
    }
    Choose_File(root / "Other.LWM");
    host().QueueAnswer(ID_NO);
    Cancel_File_Dialog();
    f.Mnu_File_Enreg_Sous.UserClick();

    ASSERT_EQ(host().boxes.size(), refused.size() + 1);
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(host().boxes[i].prompt, "Enregistrer sous : " + refused[i].first.string() + " est " + refused[i].second +
                                              " ; le projet ne peut pas prendre sa place.\r\nChoisissez un autre nom.");
        EXPECT_EQ(Read_File(refused[i].first), before[i]);
    }
    const auto& question = host().boxes.back();
    EXPECT_EQ(question.prompt, (root / "Other.LWM").string() + " existe déjà.\r\nVoulez-vous le remplacer ?");
    EXPECT_EQ(question.style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(Read_File(root / "Other.LWM"), "another project");
    EXPECT_EQ(host().file_requests.size(), refused.size() + 2);

    // Yes replaces it, in the session's language.
    Language = "US";
    host().boxes.clear();
    Choose_File(root / "Other.LWM");
    host().QueueAnswer(ID_YES);
    f.Mnu_File_Enreg_Sous.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt, (root / "Other.LWM").string() + " already exists.\r\nDo you want to replace it?");
    EXPECT_TRUE(Starts_With(Read_File(root / "Other.LWM"), "0000 V5.1"));
    EXPECT_EQ(Recent_Projects[0], (root / "Other.LWM").string());
}

TEST_F(ProjectCommandsTest, SaveAsCancelledChangesNothingAndAFailedOneIsNotOfferedAgain) {
    Language = "US";
    New_Project("Town.LWM");
    Cancel_File_Dialog();
    f.Mnu_File_Enreg_Sous.UserClick();
    ASSERT_EQ(host().file_requests.size(), 1u);
    EXPECT_EQ(host().file_requests[0].title, "Project : Save as ...");
    EXPECT_TRUE(host().boxes.empty());

    // A folder that does not exist: the save fails with its message.
    Choose_File(root / "gone" / "Copy.LWM");
    host().QueueAnswer(ID_OK);
    f.Mnu_File_Enreg_Sous.UserClick();
    EXPECT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(Project_Save_Failed, 1);
    EXPECT_EQ(Recent_Projects[0], (root / "Town.LWM").string());
    EXPECT_EQ(Recent_Projects[1], "");
    EXPECT_EQ(Project_Open, 1);
}

// ---------------------------------------------------------------------------------------------
// Open, close and the recent projects

TEST_F(ProjectCommandsTest, OpenCancelledInTheFileDialogLeavesNoProject) {
    const fs::path p = Saved_Project("Town.LWM");
    Choose_File(p);
    f.Mnu_File_Open.UserClick();
    ASSERT_EQ(Project_Open, 1);
    f.LLat.SetCaption("N 45");

    host().QueueAnswer(ID_NO);
    Cancel_File_Dialog();
    f.Mnu_File_Open.UserClick();
    ASSERT_EQ(host().file_requests.size(), 2u);
    const FileDialogRequest& r = host().file_requests[1];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.title, "Chargement d'un Projet");
    EXPECT_EQ(r.initial_dir, root.string());
    EXPECT_EQ(r.file_name, "");
    EXPECT_EQ(r.filter, "Tessaline (*.LWM)|*.LWM");
    Expect_No_Project();
    EXPECT_EQ(host().mouse_pointer, Pointer_Default);
    // The status row told where the mouse stood in the project that is gone.
    EXPECT_EQ(f.LLat.Caption(), "");
}

TEST_F(ProjectCommandsTest, OpenRefusesABadNameShowsTheDialogAgainAndOpensTheChosenProject) {
    const fs::path p = Saved_Project("Town.LWM");
    Language = "US";
    Choose_File(root / "no-dot");
    host().QueueAnswer(ID_OK);
    Choose_File(p);
    f.Mnu_File_Open.UserClick();
    ASSERT_EQ(host().file_requests.size(), 2u);
    EXPECT_EQ(host().file_requests[0].title, "Loading a file");
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_TRUE(Starts_With(host().boxes[0].prompt, "(501) ")) << host().boxes[0].prompt;

    EXPECT_EQ(Project_File, p.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_Displayed, 1);
    EXPECT_EQ(Mode_Lwm_Cells, 1);
    EXPECT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(View_Zoom, 1);
    EXPECT_EQ(Map_Tiles_Loaded(), 1);
    EXPECT_TRUE(f.Mnu_File_Close.Enabled());
    EXPECT_EQ(Recent_Projects[0], p.string());
    EXPECT_EQ(host().mouse_pointer, Pointer_Default);
}

TEST_F(ProjectCommandsTest, CloseLeavesNoProjectButKeepsItsPathForTheOpenDialog) {
    New_Project("Town.LWM");
    f.LLonDec.SetCaption("5.25");
    f.L_CustomBmp.SetCaption("023132023000011xx.Bmp");
    host().QueueAnswer(ID_NO);
    f.Mnu_File_Close.UserClick();
    Expect_No_Project();
    EXPECT_EQ(Project_File, (root / "Town.LWM").string());
    EXPECT_EQ(f.LLonDec.Caption(), "");
    EXPECT_EQ(f.L_CustomBmp.Caption(), "");
    EXPECT_EQ(f.Pic.MousePointer(), Pointer_Cross);
    EXPECT_FALSE(fs::exists(root / "Town.LWM"));
    EXPECT_EQ(Map_Tiles_Loaded(), 0);

    // Closing again asks nothing.
    f.Mnu_File_Close.SetEnabled(true);
    f.Mnu_File_Close.UserClick();
    EXPECT_EQ(host().boxes.size(), 1u);
}

TEST_F(ProjectCommandsTest, RecentEntriesOpenTheirProjectAndAMissingOneLeavesTheList) {
    const fs::path a = Saved_Project("A.LWM");
    const fs::path b = Saved_Project("B.LWM");
    ASSERT_EQ(Recent_Projects[0], b.string());
    ASSERT_EQ(Recent_Projects[1], a.string());

    f.Mnu_File_Prec(1).UserClick();
    EXPECT_EQ(Project_File, a.string());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Recent_Projects[0], a.string());
    EXPECT_TRUE(host().boxes.empty());

    fs::remove(b);
    host().QueueAnswer(ID_NO);
    host().QueueAnswer(ID_OK);
    f.Mnu_File_Prec(1).UserClick();
    ASSERT_EQ(host().boxes.size(), 2u);
    EXPECT_TRUE(Starts_With(host().boxes[1].prompt, "(33) ")) << host().boxes[1].prompt;
    Expect_No_Project();
    EXPECT_EQ(Recent_Projects[0], a.string());
    EXPECT_EQ(Recent_Projects[1], "");
    EXPECT_EQ(f.Mnu_File_Prec(1).Caption(), "");
    EXPECT_EQ(GetPrivateProfileString("Tessaline", "DerApt2", "x", Ini), "");

    // A blank row of the short list does nothing at all, even with a project open.
    Choose_File(a);
    f.Mnu_File_Open.UserClick();
    ASSERT_EQ(Project_Open, 1);
    EXPECT_FALSE(f.Mnu_File_Prec(3).Enabled());
    f.Mnu_File_Prec(3).SetEnabled(true);   // as a window that still let the click through
    f.Mnu_File_Prec(3).UserClick();
    EXPECT_EQ(host().boxes.size(), 2u);
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_File, a.string());
}

// ---------------------------------------------------------------------------------------------
// Re-initialise and quit

TEST_F(ProjectCommandsTest, ReinitialiseAnsweredNoChangesNothingAndYesEmptiesOnlyTheObjects) {
    New_Project("Town.LWM");
    PSais_Set_Mode(Object_Mode::Lines);
    View_Zoom = 2;
    host().QueueAnswer(ID_NO);
    f.Mnu_Reinit.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].style, MB_YESNO);
    EXPECT_EQ(host().boxes[0].title, "Tessaline");
    EXPECT_EQ(host().boxes[0].prompt, "Voulez-vous réllement initialiser " + UCase((root / "Town.LWM").string()) + " ?");
    EXPECT_EQ(Lwm_Cell_Count, 1);
    EXPECT_EQ(Mode_Lines, 1);

    Language = "US";
    host().QueueAnswer(ID_YES);
    f.Mnu_Reinit.UserClick();
    ASSERT_EQ(host().boxes.size(), 2u);
    EXPECT_EQ(host().boxes[1].prompt, "Do you want to really initialize " + UCase((root / "Town.LWM").string()) + " ?");
    EXPECT_EQ(Lwm_Cell_Count, 0);
    EXPECT_EQ(Line_Count, 1);
    EXPECT_EQ(Mode_Lines, 0);
    EXPECT_EQ(Mode_Lwm_Cells, 1);
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Project_File, (root / "Town.LWM").string());
    EXPECT_EQ(Map_File, (root / "map.bmp").string());
    EXPECT_EQ(Map_Px_East, 29);
    EXPECT_EQ(Map_Tiles_Loaded(), 1);
    // The view is kept; only the objects went.
    EXPECT_EQ(View_Zoom, 2);
    EXPECT_TRUE(f.Cmd_Save.Enabled());
}

TEST_F(ProjectCommandsTest, QuitAnsweredCancelKeepsTheProgramRunningAndNoEndsIt) {
    New_Project("Town.LWM");
    host().QueueAnswer(ID_CANCEL);
    f.Mnu_File_Quit.UserClick();
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(Project_Open, 1);
    EXPECT_EQ(Lwm_Cell_Count, 1);

    host().QueueAnswer(ID_NO);
    f.Mnu_File_Quit.UserClick();
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(fs::exists(root / "Town.LWM"));
}

// ---------------------------------------------------------------------------------------------
// Parameter windows

TEST_F(ProjectCommandsTest, GeneralParametersComeBackWithMessage134UntilTheFolderHoldsTerrainCfg) {
    fs::create_directories(root / "empty_sim");
    const fs::path sim2 = root / "sim2";
    fs::copy(sim, sim2, fs::copy_options::recursive);
    auto answer = [](const fs::path& folder) {
        return [folder](Form& form) {
            auto& w = static_cast<Frm_PGen&>(form);
            PGen_Fs_Dir = folder.string();
            w.DirFS.SetText(PGen_Fs_Dir);
            w.Cmd_Ok.UserClick();
        };
    };
    host().OnModal("Frm_PGen", answer(root / "empty_sim"));
    host().QueueAnswer(ID_OK);
    host().OnModal("Frm_PGen", answer(sim2));
    Line_Type_Table.Erase();
    Line_Type_Count = 0;
    Line_Type_Loaded = 0;
    f.Mnu_Param_Gene.UserClick();
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_TRUE(Starts_With(host().boxes[0].prompt, "(134) ")) << host().boxes[0].prompt;
    EXPECT_EQ(Fs_Dir, sim2.string() + "/");
    // The resource tables were read again from the new folder.
    EXPECT_EQ(Line_Type_Loaded, 1);
    EXPECT_GT(Line_Type_Count, 0);
}

TEST_F(ProjectCommandsTest, CalibrationAndRemeshEntriesShowTheirWindowThenRedraw) {
    New_Project("Town.LWM");
    int16_t flag_seen = -1;
    host().OnModal("Frm_ModCad", [&](Form& w) {
        flag_seen = Cad_Not_Confirmed;
        Frm_Window().Pic.Cls();
        w.Unload();
    });
    f.Mnu_ModCad.UserClick();
    EXPECT_EQ(flag_seen, 1);
    const Colour map_grey = RGB(0x80, 0x80, 0x80);
    EXPECT_EQ(f.Pic.Image().GetPixel(5, 5), map_grey);

    int remesh_showings = 0;
    Object_Mode_Dialogs.Show_Remesh_Level = [&] {
        ++remesh_showings;
        Frm_Window().Pic.Cls();
    };
    f.Mnu_par_Remesh.UserClick();
    EXPECT_EQ(remesh_showings, 1);
    EXPECT_EQ(f.Pic.Image().GetPixel(5, 5), map_grey);

    int parameters_showings_before = parameter_showings;
    Cancel_Project_Parameters();
    f.Mnu_Param_File.UserClick();
    EXPECT_EQ(parameter_showings, parameters_showings_before + 1);
    EXPECT_EQ(Project_Open, 1);
}

TEST_F(ProjectCommandsTest, TheConverterOpensFromTheToolsMenuWithoutAProject) {
    bool shown = false;
    host().OnModal("Frm_CvLL1", [&](Form& form) {
        shown = true;
        form.Hide();
    });
    f.Mnu_Tool_CvLL.UserClick();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Project_Open, 0);
}

}  // namespace
