// The general parameters window: the simulator folder and the editor program boxes, and what
// OK stores in the settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "platform/headless/headless_host.h"
#include "platform/profile.h"
#include "setup/frm_dir.h"
#include "setup/frm_pgen.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

class FrmPGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        dir = testenv::ScratchDir("pgen");
        App_Dir = testenv::ProgramPath(dir);
        Ini_Path = App_Dir + "\\Tessaline.ini";
        fs::create_directories(dir / "sim");
        fs::create_directories(dir / "other");
        std::ofstream(dir / "edit.exe") << "x";
        std::ofstream(dir / "other.exe") << "x";
        Language = "FR";
    }
    void TearDown() override {
        if (Frm_Dir_Window().Loaded()) Frm_Dir_Window().ForceUnload();
        if (Frm_PGen_Window().Loaded()) Frm_PGen_Window().ForceUnload();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static void Open(std::function<void(Frm_PGen&)> script) {
        host().OnModal("Frm_PGen", [script](plat::Form& f) { script(static_cast<Frm_PGen&>(f)); });
        Frm_PGen_Window().Show(plat::Modal);
    }
    // Types into the box and moves the focus on, which checks it.
    static void Type_And_Leave(plat::TextBox& box, plat::Control& next, const std::string& text) {
        box.UserFocus();
        box.UserType(text);
        next.UserFocus();
    }
    static size_t Boxes_Of(int number) {
        size_t n = 0;
        for (const plat::ShownBox& b : host().boxes)
            if (b.prompt.rfind("(" + std::to_string(number) + ") ", 0) == 0) ++n;
        return n;
    }
    std::string In_Dir(const std::string& name) const { return App_Dir + "\\" + name; }
    fs::path dir;
};

TEST_F(FrmPGenTest, ATypedFolderGetsItsBackslashAndOkStoresIt) {
    Open([this](Frm_PGen& w) {
        EXPECT_EQ(w.Lab_Edit.Caption(), "Editeur :");
        Type_And_Leave(w.DirFS, w.Editeur, "  " + In_Dir("sim") + "  ");
        EXPECT_EQ(w.DirFS.Text(), In_Dir("sim"));
        EXPECT_EQ(PGen_Fs_Dir, In_Dir("sim") + "\\");
        EXPECT_EQ(PGen_Texture_Dir, In_Dir("sim") + "\\Scenery\\world\\Texture");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_TRUE(host().boxes.empty());
    EXPECT_EQ(Fs_Dir, In_Dir("sim") + "\\");
    EXPECT_EQ(Texture_Dir, In_Dir("sim") + "\\Scenery\\world\\Texture");
    EXPECT_EQ(plat::GetPrivateProfileString("Tessaline", "DirFS", "", Ini_Path), In_Dir("sim") + "\\");
    EXPECT_EQ(plat::GetPrivateProfileString("Tessaline", "Fl1Fois", "", Ini_Path), "1");
}

TEST_F(FrmPGenTest, SettingsThatCannotBeWrittenAreToldNamingTheFileAndStillApply) {
    fs::create_directories(dir / "Tessaline.ini");   // no file can take its place
    host().QueueAnswer(plat::ID_OK);
    Open([this](Frm_PGen& w) {
        Type_And_Leave(w.DirFS, w.Editeur, In_Dir("sim"));
        w.Cmd_Ok.UserClick();
    });
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt,
              "Les paramètres généraux n'ont pas pu être écrits dans " + (dir / "Tessaline.ini").string());
    EXPECT_EQ(Fs_Dir, In_Dir("sim") + "\\");
    EXPECT_EQ(Setup_Done, 1);
}

TEST_F(FrmPGenTest, AMissingFolderIsRefusedAndTheLastAcceptedOneIsStored) {
    Fs_Dir = In_Dir("other") + "\\";
    Open([this](Frm_PGen& w) {
        host().QueueAnswer(1);
        Type_And_Leave(w.DirFS, w.Editeur, In_Dir("nowhere"));
        EXPECT_EQ(Boxes_Of(1), 1u);
        // The focus is not held in the box.
        EXPECT_EQ(w.ActiveControl(), &w.Editeur);
        EXPECT_EQ(PGen_Fs_Dir, In_Dir("other") + "\\");
        w.Cmd_Ok.UserClick();
    });
    EXPECT_EQ(Fs_Dir, In_Dir("other") + "\\");
}

TEST_F(FrmPGenTest, EnterInTheFolderBoxDoesNothingAndEscapeRestoresIt) {
    Fs_Dir = In_Dir("other") + "\\";
    Open([this](Frm_PGen& w) {
        w.DirFS.UserFocus();
        w.DirFS.UserType(In_Dir("sim"));
        w.DirFS.UserKeyDown(plat::Key_Return, 0);
        EXPECT_TRUE(w.Loaded());
        EXPECT_EQ(PGen_Fs_Dir, In_Dir("other") + "\\");
        EXPECT_EQ(w.DirFS.Text(), In_Dir("sim"));
        w.DirFS.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.DirFS.Text(), In_Dir("other") + "\\");
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmPGenTest, DoubleClickOnTheFolderBoxPicksAFolder) {
    Open([this](Frm_PGen& w) {
        host().OnModal("Frm_Dir", [this](plat::Form& f) {
            auto& d = static_cast<Frm_Dir&>(f);
            EXPECT_EQ(d.Caption(), "Répertoire FS9");
            d.Dir1.SetPath(In_Dir("sim"));
            d.Cmd_Ok.UserClick();
        });
        w.DirFS.UserDoubleClick(plat::Button_Left, 0, 2, 2);
        // The folder itself, as this system names it, and one separator added at OK.
        EXPECT_EQ(PGen_Fs_Dir, (dir / "sim").string());
        EXPECT_EQ(w.DirFS.Text(), (dir / "sim").string());
        w.Cmd_Ok.UserClick();
    });
    EXPECT_EQ(Fs_Dir, (dir / "sim").string() + "/");
}

TEST_F(FrmPGenTest, TheEditorBoxTakesAnExistingFileOrNothing) {
    Open([this](Frm_PGen& w) {
        w.Editeur.UserFocus();
        w.Editeur.UserType(" " + In_Dir("edit.exe") + " ");
        w.Editeur.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(PGen_Editor_Path, In_Dir("edit.exe"));
        EXPECT_EQ(w.Editeur.Text(), In_Dir("edit.exe"));

        host().QueueAnswer(1);
        w.Editeur.UserType(In_Dir("missing.exe"));
        w.Editeur.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(Boxes_Of(1), 1u);
        EXPECT_EQ(PGen_Editor_Path, In_Dir("edit.exe"));
        w.Editeur.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.Editeur.Text(), In_Dir("edit.exe"));

        w.Editeur.UserType("   ");
        w.Editeur.UserKeyDown(plat::Key_Return, 0);
        EXPECT_EQ(PGen_Editor_Path, "");
        EXPECT_EQ(Boxes_Of(1), 1u);
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmPGenTest, TheEditorChoiceRefusesABadNameAndSurvivesCancel) {
    PGen_Editor_Path = In_Dir("edit.exe");
    Open([this](Frm_PGen& w) {
        EXPECT_EQ(w.Editeur.Text(), In_Dir("edit.exe"));
        host().QueueFile({false, In_Dir("no_extension")});
        host().QueueAnswer(1);
        host().QueueFile({false, In_Dir("other.exe")});
        w.Editeur.UserDoubleClick(plat::Button_Left, 0, 2, 2);
        EXPECT_EQ(Boxes_Of(1), 1u);
        ASSERT_EQ(host().file_requests.size(), 2u);
        EXPECT_EQ(host().file_requests[0].title, "Programme d'édition");
        EXPECT_EQ(host().file_requests[0].filter, "Exe (*.Exe)|*.Exe");
        EXPECT_EQ(host().file_requests[0].initial_dir, App_Dir);
        EXPECT_EQ(host().file_requests[0].file_name, "edit.exe");
        EXPECT_EQ(PGen_Editor_Path, In_Dir("other.exe"));
        EXPECT_EQ(w.Editeur.Text(), In_Dir("other.exe"));

        // A cancelled choice puts the accepted editor back in the box.
        w.Editeur.UserType("typed");
        host().QueueFile({true, ""});
        w.Editeur.UserDoubleClick(plat::Button_Left, 0, 2, 2);
        EXPECT_EQ(w.Editeur.Text(), In_Dir("other.exe"));
        w.Cmd_Cancel.UserClick();
    });
    // The editor has no other copy: it outlives a Cancel.
    EXPECT_EQ(PGen_Editor_Path, In_Dir("other.exe"));
}

}  // namespace
