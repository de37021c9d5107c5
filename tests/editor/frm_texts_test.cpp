#include "core/project.h"
#include "core/settings.h"
#include "editor/frm.h"
#include "editor/pinit_texts.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_pgen.h"
#include "setup/setup_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace plat;

namespace {

class MainTexts : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
    }
    Frm& f = Frm_Window();
};

TEST_F(MainTexts, UsSelectsTheEnglishColumn) {
    Language = "US";
    Pinit_Set_Main_Texts();
    EXPECT_EQ(f.Mnu_File.Caption(), "Files");
    EXPECT_EQ(f.Mnu_File_Enreg_Sous.Caption(), "Save as ...");
    EXPECT_EQ(f.Mnu_Param_Gene.Caption(), "General parameters");
    EXPECT_EQ(f.Mnu_Reinit.Caption(), "Initialize project");
    EXPECT_EQ(f.Mnu_Tool_CvLL.Caption(), "Lat/Lon conversion");
    EXPECT_EQ(f.Cmd_New.ToolTipText(), "New project");
    EXPECT_EQ(f.Cmd_API.ToolTipText(), "BGL generation");
    EXPECT_EQ(f.Cmd_Sel_Crb_Ima.ToolTipText(), "Link a poly to the selected texture (VTP1)");
    EXPECT_EQ(f.Cmd_Sup_Route_Ou_Pt.ToolTipText(), "Delete selected object");
}

// A newcomer finds Generate and the cell dialogs from what the README says of them.
TEST_F(MainTexts, TheReadmeNamesTheGenerateButtonByItsTipsAndTellsHowACellDialogOpens) {
    std::ifstream in(testenv::SourceDir() / "README.md");
    const std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string section = readme.substr(readme.find("## Generate"));
    for (const char* lang : {"US", "FR"}) {
        Language = lang;
        Pinit_Set_Main_Texts();
        EXPECT_NE(section.find("\"" + f.Cmd_API.ToolTipText() + "\""), std::string::npos) << lang;
    }
    // In the section's first paragraph, where one starts reading.
    const std::string first = section.substr(0, section.find("\n\n", section.find("\n\n") + 2));
    for (const char* words : {"not in the menus", "Alt+G", "double-click"})
        EXPECT_NE(first.find(words), std::string::npos) << words;
}

TEST_F(MainTexts, AnythingButExactUsIsFrench) {
    for (const char* lang : {"FR", "us", "", "USA"}) {
        Language = "US";
        Pinit_Set_Main_Texts();
        Language = lang;
        Pinit_Set_Main_Texts();
        EXPECT_EQ(f.Mnu_File.Caption(), "Fichiers") << lang;
        EXPECT_EQ(f.Mnu_Param.Caption(), "Paramètres") << lang;
        EXPECT_EQ(f.Mnu_Reinit.Caption(), "Initialiser le project") << lang;
        EXPECT_EQ(f.Cmd_New.ToolTipText(), "Nouveau") << lang;
        EXPECT_EQ(f.Cmd_Saisie_Routes.ToolTipText(), "Aller à saisie route/lac/rivère") << lang;
        EXPECT_EQ(f.Cmd_Sup_Route_Ou_Pt.ToolTipText(), "Supprimer l'objet sélectionner") << lang;
    }
}

TEST_F(MainTexts, FixedTextsAndShortcutsDoNotFollowTheLanguage) {
    for (const char* lang : {"US", "FR"}) {
        Language = lang;
        Pinit_Set_Main_Texts();
        EXPECT_EQ(f.Cmd_LandClass.Caption(), "LC");
        EXPECT_EQ(f.Cmd_LandClass.ToolTipText(), "LandClass");
        EXPECT_EQ(f.Cmd_WaterClass.Caption(), "WC");
        EXPECT_EQ(f.Cmd_WaterClass.ToolTipText(), "WaterClass");
        EXPECT_EQ(f.Cmd_TrtArea.Caption(), "F1");
        EXPECT_EQ(f.Cmd_FSUIPC.ToolTipText(), "FSconnect");
        EXPECT_EQ(f.Cmd_TrtMesh.ToolTipText(), "Re-Mesh");
        EXPECT_EQ(f.L_MouseBmp.Caption(), "Mouse");
        EXPECT_EQ(f.L_LLatDec.Caption(), "  Lat:");
        EXPECT_EQ(f.L_LLonDec.Caption(), "Lon:");
        EXPECT_EQ(f.Fram_Compile.Caption(), "Generation");
        EXPECT_EQ(f.Mnu_File_New.Shortcut(), "Ctrl+N");
        EXPECT_EQ(f.Mnu_File_Quit.Shortcut(), "Ctrl+Q");
        EXPECT_EQ(f.Mnu_par_Remesh.Caption(), "Re-Mesh");
    }
}

TEST_F(MainTexts, EveryToolTipOfTheTableChangesWithTheLanguage) {
    Language = "US";
    Pinit_Set_Main_Texts();
    auto english = SnapshotControls(f);
    Language = "FR";
    Pinit_Set_Main_Texts();
    auto french = SnapshotControls(f);
    int changed = 0;
    for (size_t i = 0; i < english.size(); ++i)
        if (english[i].tool_tip != french[i].tool_tip || english[i].caption != french[i].caption) ++changed;
    // 25 tool tips (two of them, Zoom + and Zoom -, are the same in both), 14 menu captions
    // (Re-Mesh is the same in both).
    EXPECT_EQ(changed, 23 + 14);
}

class PGenTexts : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    Frm_PGen& w = Frm_PGen_Window();
};

TEST_F(PGenTexts, LoadFollowsTheLanguageAndPicksItsOption) {
    Language = "US";
    Fs_Dir = "c:\\sim\\";
    w.Load();
    EXPECT_EQ(PGen_Language, "US");
    EXPECT_EQ(w.Caption(), "Main parameters");
    EXPECT_EQ(w.Frame_Lang.Caption(), "Language");
    EXPECT_EQ(w.Lab_FSdir.Caption(), "FS9 Directory :");
    EXPECT_EQ(w.Opt_Lang(0).Caption(), "French");
    EXPECT_EQ(w.Opt_Lang(1).Caption(), "English");
    EXPECT_TRUE(w.Opt_Lang(1).Value());
    EXPECT_FALSE(w.Opt_Lang(0).Value());
    EXPECT_EQ(w.DirFS.Text(), "c:\\sim\\");
    EXPECT_EQ(PGen_Texture_Dir, "c:\\sim\\Scenery\\world\\Texture");
}

TEST_F(PGenTexts, ClickingALanguageChangesTheWindowAtOnceButNotTheMainWindow) {
    Language = "FR";
    Frm& f = Frm_Window();
    f.Load();
    Pinit_Set_Main_Texts();
    w.Show();
    EXPECT_EQ(w.Caption(), "Paramètres généraux");
    w.Opt_Lang(1).UserClick();
    EXPECT_EQ(PGen_Language, "US");
    EXPECT_EQ(w.Caption(), "Main parameters");
    EXPECT_EQ(w.Opt_Lang(1).Caption(), "English");
    EXPECT_EQ(Language, "FR");
    EXPECT_EQ(f.Mnu_File.Caption(), "Fichiers");
    w.Opt_Lang(0).UserClick();
    EXPECT_EQ(PGen_Language, "FR");
    EXPECT_EQ(w.Opt_Lang(0).Caption(), "Français");
    EXPECT_EQ(w.Lab_FSdir.Caption(), "Répertoire FS9 :");
}

TEST_F(PGenTexts, CancelClosesWithoutChangingTheLanguage) {
    Language = "FR";
    DefaultHeadlessHost().OnModal("Frm_PGen", [](Form& form) {
        auto& pgen = static_cast<Frm_PGen&>(form);
        pgen.Opt_Lang(1).UserClick();
        pgen.Cmd_Cancel.UserClick();
    });
    w.Show(Modal);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(Language, "FR");
}

}  // namespace
