// The project parameters window: a new project in its three steps, the output parameters of
// the open one, and what OK writes back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "setup/frm_centermap.h"
#include "setup/frm_dir.h"
#include "setup/frm_ppro.h"
#include "setup/setup_services.h"
#include "setup/test_maps.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

class FrmPProTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        dir = testenv::ScratchDir("ppro");
        App_Dir = testenv::ProgramPath(dir);
        fs::create_directories(dir / "Temp");
        fs::create_directories(dir / "lcwc");
        fs::create_directories(dir / "raw");
        Tile_Size = 100;
        testmaps::Write_Map(dir / "map.bmp", 250, 170);
    }
    void TearDown() override {
        if (Frm_Dir_Window().Loaded()) Frm_Dir_Window().ForceUnload();
        testenv::ResetProgramState();
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    std::string In_Dir(const std::string& name) const { return App_Dir + "\\" + name; }
    static void File(const std::string& path) { host().QueueFile({false, path}); }
    static void No_File() { host().QueueFile({true, ""}); }

    static void Open_New(std::function<void(Frm_PPro&)> script) {
        host().OnModal("Frm_PPro", [script](plat::Form& f) { script(static_cast<Frm_PPro&>(f)); });
        Proj_Accepted = 0;
        Proj_New = 1;
        Frm_PPro_Show_Modal();
    }
    static void Open_Current(std::function<void(Frm_PPro&)> script) {
        host().OnModal("Frm_PPro", [script](plat::Form& f) { script(static_cast<Frm_PPro&>(f)); });
        Proj_New = 0;
        Frm_PPro_Show_Modal();
    }
    static void Double_Click(plat::Control& c) { c.UserDoubleClick(plat::Button_Left, 0, 2, 2); }
    static void Type(plat::TextBox& box, const char* text) {
        box.UserFocus();
        box.UserType(text);
        box.UserKeyDown(plat::Key_Return, 0);
    }
    // The folder picker answers with `folder`.
    static void Pick_Folder(const std::string& folder) {
        host().OnModal("Frm_Dir", [folder](plat::Form& f) {
            auto& d = static_cast<Frm_Dir&>(f);
            d.Dir1.SetPath(folder);
            d.Cmd_Ok.UserClick();
        });
    }
    // The centre calibration confirmed at 45 N 5 E.
    static void Centre_Ok() {
        host().OnModal("Frm_CenterMap", [](plat::Form& f) {
            auto& c = static_cast<Frm_CenterMap&>(f);
            Type(c.LatDecCenter, "45");
            Type(c.LonDecCenter, "5");
            c.Cmd_Ok.UserClick();
        });
    }
    // Every step of a new project, up to the BGL step, with the output names filled.
    void Fill_New(Frm_PPro& w) {
        File(In_Dir("new.LWM"));
        Double_Click(w.NomProjet);
        w.Cmd_Next_Projet.UserClick();
        File(In_Dir("map.bmp"));
        Double_Click(w.Carte);
        Centre_Ok();
        w.Cmd_CenterMap.UserClick();
        w.Cmd_Next_Carte.UserClick();
        File(In_Dir("out.bgl"));
        Double_Click(w.NameBgl);
        File(In_Dir("excl.bgl"));
        Double_Click(w.NameBglExcl);
        Pick_Folder(In_Dir("lcwc"));
        Double_Click(w.Dir_LCWC);
        Pick_Folder(In_Dir("raw"));
        Double_Click(w.Dir_Raw);
    }
    fs::path dir;
};

TEST_F(FrmPProTest, ANewProjectPassesItsStepsInOrderAndOkWritesEverything) {
    // An open project's values must not leak into the new one.
    Bgl_Base_Path = "old.bgl";
    Alt_Offset = 12;
    Cfs_Mode = 1;
    Open_New([this](Frm_PPro& w) {
        EXPECT_EQ(w.Caption(), "Nouveau Projet");
        EXPECT_TRUE(w.Fram_ParmDeb.Enabled());
        EXPECT_FALSE(w.Fram_Carte.Enabled());
        EXPECT_FALSE(w.Fram_Bgl.Enabled());
        EXPECT_TRUE(w.Fram_LCWC.Enabled());
        EXPECT_EQ(w.NameBgl.Caption(), "");
        EXPECT_EQ(w.Delta_Alt.Text(), "0");
        EXPECT_TRUE(w.OPt_FS_CFS(0).Value());

        File(In_Dir("new.LWM"));
        Double_Click(w.NomProjet);
        EXPECT_EQ(w.NomProjet.Caption(), In_Dir("new.LWM"));
        ASSERT_EQ(host().file_requests.size(), 1u);
        EXPECT_EQ(host().file_requests[0].title, "Nom du projet");
        EXPECT_EQ(host().file_requests[0].filter, "Projet (*.LWM)|*.LWM");
        EXPECT_EQ(host().file_requests[0].initial_dir, App_Dir);
        // A file still to be made is named in a save dialog: an open dialog takes only
        // files that exist.
        EXPECT_TRUE(host().file_requests[0].save);

        w.Cmd_Next_Projet.UserClick();
        EXPECT_EQ(Proj_Step_Project_Done, 1);
        EXPECT_FALSE(w.Fram_ParmDeb.Enabled());
        EXPECT_TRUE(w.Fram_Carte.Enabled());
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());

        File(In_Dir("map.bmp"));
        Double_Click(w.Carte);
        EXPECT_EQ(PPro_Map_File, In_Dir("map.bmp"));
        EXPECT_EQ(Cad_Map_Width, 250);
        EXPECT_EQ(Cad_Map_Height, 170);
        EXPECT_EQ(Cad_Px_SE_X, 249);
        EXPECT_EQ(Cad_Px_SE_Y, 169);
        EXPECT_EQ(Cad_NW_Set, 1);
        EXPECT_EQ(Cad_SE_Set, 1);
        EXPECT_EQ(Cad_Lat_NW, 0);
        // The next button waits for a confirmed calibration.
        w.Cmd_Next_Carte.UserClick();
        EXPECT_EQ(Proj_Step_Map_Done, 0);

        Centre_Ok();
        w.Cmd_CenterMap.UserClick();
        EXPECT_EQ(Cad_Tile_Cols, 3);
        EXPECT_EQ(Cad_Tile_Rows, 2);
        EXPECT_EQ(Cad_Tile_Count, 6);
        EXPECT_TRUE(fs::exists(dir / "Temp" / "$$$_21.bmp"));
        EXPECT_FALSE(w.Fram_Creat_2500.Visible());
        EXPECT_TRUE(w.Cmd_Next_Carte.Enabled());
        EXPECT_EQ(w.L_LatNW_Dec.Caption(), SYST_To_Text(Cad_Lat_NW));
        EXPECT_EQ(w.L_LonSE.Caption(), Com_Format_Lon_Dms(Cad_Lon_SE));
        EXPECT_EQ(w.DV2Pix.Caption(), "4.75");
        EXPECT_EQ(w.DH2Pix.Caption(), "4.75");

        w.Cmd_Next_Carte.UserClick();
        EXPECT_EQ(Proj_Step_Map_Done, 1);
        EXPECT_FALSE(w.Fram_Carte.Enabled());
        EXPECT_TRUE(w.Fram_Bgl.Enabled());

        File(In_Dir("out.bgl"));
        Double_Click(w.NameBgl);
        EXPECT_EQ(w.NameBgl.Caption(), In_Dir("out.bgl"));
        EXPECT_TRUE(host().file_requests.back().save);
        File(In_Dir("excl.bgl"));
        Double_Click(w.NameBglExcl);
        Pick_Folder(In_Dir("lcwc"));
        Double_Click(w.Dir_LCWC);
        EXPECT_EQ(Dir_Pick_Title, "Répertoire des Bgls LC et WC");
        EXPECT_EQ(w.Dir_LCWC.Caption(), (dir / "lcwc").string());
        Pick_Folder(In_Dir("raw"));
        Double_Click(w.Dir_Raw);
        EXPECT_EQ(Dir_Pick_Title, "Répertoire des LC et WC Raw");
        w.Chk_Dir_Raw.UserClick();
        w.Opt_Meter_Feet(1).UserClick();
        w.OPt_FS_CFS(1).UserClick();
        Type(w.Delta_Alt, "-12.5");
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Proj_Accepted, 1);
    EXPECT_EQ(Project_File, In_Dir("new.LWM"));
    EXPECT_EQ(Map_File, In_Dir("map.bmp"));
    EXPECT_EQ(Map_Width_Px, 250);
    EXPECT_EQ(Map_Height_Px, 170);
    EXPECT_EQ(Tile_Cols, 3);
    EXPECT_EQ(Tile_Rows, 2);
    EXPECT_EQ(Tile_Count, 6);
    EXPECT_EQ(Proj_Px_SE_X, 249);
    EXPECT_EQ(Proj_NW_Set, 1);
    EXPECT_EQ(Proj_Lat_NW, Cad_Lat_NW);
    EXPECT_EQ(Proj_Lon_SE, Cad_Lon_SE);
    EXPECT_NEAR((Proj_Lat_NW + Proj_Lat_SE) / 2, 45, 1e-12);
    EXPECT_EQ(Bgl_Base_Path, In_Dir("out.bgl"));
    EXPECT_EQ(Bgl_Excl_Path, In_Dir("excl.bgl"));
    // The picker hands back the folder itself, as this system names it.
    EXPECT_EQ(Scenery_Dir, (dir / "lcwc").string());
    EXPECT_EQ(Raw_Dir, (dir / "raw").string());
    EXPECT_EQ(Lc_Merge, 1);
    EXPECT_EQ(Lc_Keep_Raw, 0);
    EXPECT_EQ(Alt_Unit_Feet, 1);
    EXPECT_FLOAT_EQ(Alt_Offset, -12.5f);
    EXPECT_EQ(Cfs_Mode, 1);
}

TEST_F(FrmPProTest, OkRefusesMissingStepsAndNamesWithMessageNine) {
    Open_New([this](Frm_PPro& w) {
        // Everything named, but neither "next" pressed.
        w.NameBgl.SetCaption("x");
        PPro_Bgl_Base_Path = In_Dir("out.bgl");
        PPro_Bgl_Excl_Path = In_Dir("excl.bgl");
        PPro_Scenery_Dir = In_Dir("lcwc");
        PPro_Raw_Dir = In_Dir("raw");
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(9) ", 0), 0u);
        EXPECT_TRUE(w.Loaded());
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Proj_Accepted, 0);
    EXPECT_EQ(Bgl_Base_Path, "");

    // Every step done, each required name missing in turn.
    for (int missing = 0; missing < 4; ++missing) {
        Open_New([this, missing](Frm_PPro& w) {
            Fill_New(w);
            std::string* fields[] = {&PPro_Raw_Dir, &PPro_Scenery_Dir, &PPro_Bgl_Excl_Path, &PPro_Bgl_Base_Path};
            fields[missing]->clear();
            const size_t before = host().boxes.size();
            host().QueueAnswer(1);
            w.Cmd_Ok.UserClick();
            ASSERT_EQ(host().boxes.size(), before + 1) << missing;
            EXPECT_EQ(host().boxes.back().prompt.rfind("(9) ", 0), 0u) << missing;
            w.Cmd_Cancel.UserClick();
        });
        EXPECT_EQ(Proj_Accepted, 0) << missing;
    }
}

TEST_F(FrmPProTest, ANewProjectWithoutAFileNameIsRefused) {
    Open_New([this](Frm_PPro& w) {
        Fill_New(w);
        PPro_Project_File.clear();
        host().QueueAnswer(1);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(16) ", 0), 0u);
        EXPECT_TRUE(w.Loaded());
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Proj_Accepted, 0);
}

TEST_F(FrmPProTest, AnExistingProjectFileIsRefusedAndTheChoiceAskedAgain) {
    testmaps::Write_Map(dir / "taken.LWM", 1, 1);
    Open_New([this](Frm_PPro& w) {
        File(In_Dir("taken.LWM"));
        host().QueueAnswer(1);
        File(In_Dir("free.LWM"));
        Double_Click(w.NomProjet);
        EXPECT_EQ(host().file_requests.size(), 2u);
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(1) ", 0), 0u);
        EXPECT_EQ(PPro_Project_File, In_Dir("free.LWM"));
        // Cancelling the file dialog ends the choice without a word.
        No_File();
        Double_Click(w.NomProjet);
        EXPECT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(PPro_Project_File, In_Dir("free.LWM"));
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmPProTest, NamesTypedWithoutExtensionGetOneAndANameOpenWouldRefuseIsAskedAgain) {
    Open_New([this](Frm_PPro& w) {
        // "Côte.LWM" and "a.b.LWM" fail the name test that Open makes; "marseille" gets ".LWM".
        for (const char* refused : {"Côte.LWM", "a.b.LWM"}) {
            File(In_Dir(refused));
            host().QueueAnswer(1);
        }
        File(In_Dir("marseille"));
        Double_Click(w.NomProjet);
        ASSERT_EQ(host().boxes.size(), 2u);
        for (const auto& box : host().boxes) EXPECT_EQ(box.prompt.rfind("(1) ", 0), 0u) << box.prompt;
        EXPECT_EQ(PPro_Project_File, In_Dir("marseille") + ".LWM");
        EXPECT_EQ(w.NomProjet.Caption(), PPro_Project_File);
        EXPECT_EQ(Project_Backup_Path(PPro_Project_File), In_Dir("marseille") + ".bak");

        // The BGL chooser adds ".bgl" as a save dialog does, and leaves a name that has one.
        w.Fram_Bgl.SetEnabled(true);
        File(In_Dir("Mars"));
        Double_Click(w.NameBgl);
        EXPECT_EQ(PPro_Bgl_Base_Path, In_Dir("Mars") + ".bgl");
        File(In_Dir("Excl.BGL"));
        Double_Click(w.NameBglExcl);
        EXPECT_EQ(PPro_Bgl_Excl_Path, In_Dir("Excl.BGL"));
        w.Cmd_Cancel.UserClick();
    });
}

TEST_F(FrmPProTest, TheAltitudeOffsetLiesStrictlyWithinAThousand) {
    Open_New([](Frm_PPro& w) {
        for (const char* text : {"1000", "-1000", "abc", "", "1e4"}) {
            host().QueueAnswer(1);
            w.Delta_Alt.UserFocus();
            w.Delta_Alt.UserType(text);
            w.Cmd_Help.SetFocus();
            EXPECT_TRUE(w.Delta_Alt.HasFocus()) << text;
            EXPECT_FLOAT_EQ(PPro_Alt_Offset, 0) << text;
        }
        EXPECT_EQ(host().boxes.size(), 5u);
        Type(w.Delta_Alt, " 999 ");
        EXPECT_EQ(w.Delta_Alt.Text(), "999");
        EXPECT_FLOAT_EQ(PPro_Alt_Offset, 999);
        Type(w.Delta_Alt, "-999");
        EXPECT_FLOAT_EQ(PPro_Alt_Offset, -999);
        // Escape shows the last accepted offset again.
        w.Delta_Alt.UserType("55");
        w.Delta_Alt.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.Delta_Alt.Text(), "-999");
        w.Cmd_Help.SetFocus();
        w.Delta_Alt.UserFocus();
        EXPECT_EQ(w.Delta_Alt.SelStart, 0);
        EXPECT_EQ(w.Delta_Alt.SelLength, 4);
        w.Cmd_Cancel.UserClick();
    });
    // Cancel wrote nothing back.
    EXPECT_FLOAT_EQ(Alt_Offset, 0);
}

// A 32-bit offset shown through its double reads "12.3000001907349": the box shows it as typed.
TEST_F(FrmPProTest, TheAltitudeOffsetIsShownAsItWasTyped) {
    Project_File = In_Dir("open.LWM");
    Alt_Offset = 12.3f;
    Open_Current([](Frm_PPro& w) {
        EXPECT_EQ(w.Delta_Alt.Text(), "12.3");
        Type(w.Delta_Alt, "0.1");
        EXPECT_FLOAT_EQ(PPro_Alt_Offset, 0.1f);
        w.Delta_Alt.UserType("55");
        w.Delta_Alt.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.Delta_Alt.Text(), "0.1");
        Type(w.Delta_Alt, "-999.99");
        w.Delta_Alt.UserType("1");
        w.Delta_Alt.UserKeyDown(plat::Key_Escape, 0);
        EXPECT_EQ(w.Delta_Alt.Text(), "-999.99");
        w.Cmd_Cancel.UserClick();
    });
    // The user's own decimal separator.
    plat::SetDecimalSeparator(',');
    Alt_Offset = -0.7f;
    Open_Current([](Frm_PPro& w) {
        EXPECT_EQ(w.Delta_Alt.Text(), "-0,7");
        w.Cmd_Cancel.UserClick();
    });
    plat::SetDecimalSeparator('.');
}

TEST_F(FrmPProTest, TheOpenProjectsParametersChangeButNotItsFileMapOrCalibration) {
    Language = "US";
    Project_File = In_Dir("open.LWM");
    Map_File = In_Dir("map.bmp");
    Map_Width_Px = 1000;
    Map_Height_Px = 800;
    Proj_Lat_NW = 46;
    Proj_Lon_NW = 6;
    Proj_Lat_SE = 45;
    Proj_Lon_SE = 7;
    Proj_Px_NW_X = Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = 999;
    Proj_Px_SE_Y = 799;
    Proj_NW_Set = Proj_SE_Set = 1;
    Tile_Count = 1;
    Bgl_Base_Path = "a.bgl";
    Bgl_Excl_Path = "b.bgl";
    Scenery_Dir = "c";
    Raw_Dir = "d";
    Lc_Keep_Raw = 1;
    Alt_Unit_Feet = 1;
    Alt_Offset = 3.5f;
    Cfs_Mode = 1;
    Open_Current([this](Frm_PPro& w) {
        EXPECT_EQ(w.Caption(), "Parameters modification for " + In_Dir("open.LWM"));
        EXPECT_FALSE(w.Fram_ParmDeb.Enabled());
        EXPECT_FALSE(w.Fram_Carte.Enabled());
        EXPECT_TRUE(w.Fram_Bgl.Enabled());
        EXPECT_EQ(w.NomProjet.Caption(), In_Dir("open.LWM"));
        EXPECT_EQ(w.NameBglExcl.Caption(), "b.bgl");
        EXPECT_EQ(w.Chk_ReUse_Raw.Value(), 1);
        EXPECT_TRUE(w.Opt_Meter_Feet(1).Value());
        EXPECT_TRUE(w.OPt_FS_CFS(1).Value());
        EXPECT_EQ(w.Delta_Alt.Text(), "3.5");
        EXPECT_EQ(w.L_LatNW.Caption(), "N46:00:00.0000");
        EXPECT_EQ(w.L_LonSE_Dec.Caption(), "7");
        // One degree over 799 rows and 999 columns at 45.5 N.
        EXPECT_EQ(w.DV2Pix.Caption(), SYST_To_Text(std::floor((111164.75 / 799 + 0.0005) * 1000) / 1000));
        EXPECT_EQ(w.DH2Pix.Caption(),
                  SYST_To_Text(std::floor((111319.444 * std::cos(45.5 * 3.14159265358979 / 180) / 999 + 0.0005) * 1000) / 1000));
        EXPECT_EQ(w.Cmd_Next_Projet.Caption(), "Next");
        // The map step's buttons cannot be reached.
        w.Cmd_CenterMap.UserClick();
        // A working copy changed behind the window's back is not written back.
        PPro_Project_File = "other.LWM";
        Cad_Lat_NW = 10;
        PPro_Map_File = "other.bmp";
        w.OPt_FS_CFS(0).UserClick();
        w.Opt_Meter_Feet(0).UserClick();
        w.Chk_ReUse_Raw.UserClick();
        File(In_Dir("new.bgl"));
        Double_Click(w.NameBgl);
        EXPECT_EQ(host().file_requests.back().title, "BGL name");
        Type(w.Delta_Alt, "-7");
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Project_File, In_Dir("open.LWM"));
    EXPECT_EQ(Map_File, In_Dir("map.bmp"));
    EXPECT_EQ(Proj_Lat_NW, 46);
    EXPECT_EQ(Map_Width_Px, 1000);
    EXPECT_EQ(Tile_Count, 1);
    EXPECT_EQ(Bgl_Base_Path, In_Dir("new.bgl"));
    EXPECT_EQ(Cfs_Mode, 0);
    EXPECT_EQ(Alt_Unit_Feet, 0);
    EXPECT_EQ(Lc_Keep_Raw, 0);
    EXPECT_FLOAT_EQ(Alt_Offset, -7);
    EXPECT_EQ(Proj_Accepted, 1);
}

TEST_F(FrmPProTest, AnOutputNameThatWouldReplaceAFileTheProjectReadsIsRefusedNamingTheField) {
    Project_File = In_Dir("open.LWM");
    Map_File = In_Dir("map.bmp");
    std::ofstream(dir / "open.LWM") << "the project";
    Bgl_Base_Path = In_Dir("out.bgl");
    Bgl_Excl_Path = "open.bak";   // as a project file carried it: the backup, beside the project
    Scenery_Dir = In_Dir("lcwc");
    Raw_Dir = In_Dir("raw");
    const std::string project = (dir / "open.LWM").string();
    Open_Current([&](Frm_PPro& w) {
        // Chosen in another letter case through a "." folder: the chooser says so and opens again.
        File(App_Dir + "\\.\\OPEN.lwm");
        No_File();
        host().QueueAnswer(plat::ID_OK);
        Double_Click(w.NameBglExcl);
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt, "Nom bgl (Exclude Bgls) : la génération écrirait ou supprimerait " + project +
                                              ", qui est le fichier du projet.\r\nChoisissez un autre nom.");
        EXPECT_EQ(host().file_requests.size(), 2u);
        EXPECT_EQ(w.NameBglExcl.Caption(), "open.bak");
        // OK refuses the carried name, the map as a base output likewise; nothing is written back.
        host().QueueAnswer(plat::ID_OK);
        w.Cmd_Ok.UserClick();
        ASSERT_EQ(host().boxes.size(), 2u);
        EXPECT_EQ(host().boxes[1].prompt.rfind("Nom bgl (Exclude Bgls) : ", 0), 0u) << host().boxes[1].prompt;
        EXPECT_NE(host().boxes[1].prompt.find((dir / "open.bak").string() + ", qui est la copie de sauvegarde du projet."),
                  std::string::npos) << host().boxes[1].prompt;
        EXPECT_TRUE(w.Loaded());
        File(In_Dir("excl.bgl"));
        Double_Click(w.NameBglExcl);
        w.Cmd_Ok.UserClick();
        EXPECT_FALSE(w.Loaded());
    });
    EXPECT_EQ(Bgl_Excl_Path, In_Dir("excl.bgl"));
    EXPECT_EQ(host().boxes.size(), 2u);
    // In English, the BGL base whose outputs would sweep the map.
    Language = "US";
    std::ofstream(dir / "map_3.bgl") << "a map";
    Map_File = In_Dir("map_3.bgl");
    Open_Current([&](Frm_PPro& w) {
        File(In_Dir("Map.bgl"));
        No_File();
        host().QueueAnswer(plat::ID_OK);
        Double_Click(w.NameBgl);
        ASSERT_EQ(host().boxes.size(), 3u);
        EXPECT_EQ(host().boxes.back().prompt, "Bgl name (Fill/Polys LWM-VTP/Lines Bgls): Generate would write or delete " +
                                                  (dir / "map_3.bgl").string() +
                                                  ", which is the project's map.\r\nChoose another name.");
        EXPECT_EQ(w.NameBgl.Caption(), In_Dir("out.bgl"));
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Bgl_Base_Path, In_Dir("out.bgl"));
}

TEST_F(FrmPProTest, TheChoosersRefuseWhatTheReaderRefusesAndAFileThatIsNoBglNamingTheField) {
    Project_File = In_Dir("open.LWM");
    Map_File = In_Dir("map.bmp");
    Bgl_Base_Path = In_Dir("out.bgl");
    Bgl_Excl_Path = In_Dir("excl.bgl");
    Scenery_Dir = In_Dir("lcwc");
    Raw_Dir = In_Dir("raw");
    std::ofstream(dir / "Other.LWM") << "another project";
    Language = "US";
    Open_Current([&](Frm_PPro& w) {
        File(In_Dir("sub/.bgl"));
        File(In_Dir("\t.bgl"));
        No_File();
        for (int i = 0; i < 2; ++i) host().QueueAnswer(plat::ID_OK);
        Double_Click(w.NameBgl);
        File(In_Dir("Other.LWM"));
        No_File();
        host().QueueAnswer(plat::ID_OK);
        Double_Click(w.NameBglExcl);
        ASSERT_EQ(host().boxes.size(), 3u);
        EXPECT_EQ(host().boxes[0].prompt, "Bgl name (Fill/Polys LWM-VTP/Lines Bgls): (\"" + In_Dir("sub/.bgl") +
                                              "\") holds no file name.\r\nChoose another name.");
        EXPECT_EQ(host().boxes[1].prompt.rfind("Bgl name (Fill/Polys LWM-VTP/Lines Bgls): (\"", 0), 0u);
        EXPECT_EQ(host().boxes[2].prompt, "Bgl name (Exclude Bgls): Generate would write or delete " +
                                              (dir / "Other.LWM").string() +
                                              ", which is a file that is not a BGL.\r\nChoose another name.");
        EXPECT_EQ(w.NameBgl.Caption(), In_Dir("out.bgl"));
        EXPECT_EQ(w.NameBglExcl.Caption(), In_Dir("excl.bgl"));
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Bgl_Base_Path, In_Dir("out.bgl"));
}

TEST_F(FrmPProTest, CancelWritesNothingBack) {
    Project_File = "open.LWM";
    Bgl_Base_Path = "a.bgl";
    Open_Current([this](Frm_PPro& w) {
        File(In_Dir("new.bgl"));
        Double_Click(w.NameBgl);
        w.OPt_FS_CFS(1).UserClick();
        w.UserClose();
    });
    EXPECT_EQ(Bgl_Base_Path, "a.bgl");
    EXPECT_EQ(Cfs_Mode, 0);
    EXPECT_EQ(Proj_Accepted, 0);
    // English folder titles only when the language is not French.
    Language = "US";
    Open_Current([](Frm_PPro& w) {
        host().OnModal("Frm_Dir", [](plat::Form& f) { static_cast<Frm_Dir&>(f).Cmd_Cancel.UserClick(); });
        Double_Click(w.Dir_Raw);
        EXPECT_EQ(Dir_Pick_Title, "LC and WC Raw directory");
        EXPECT_EQ(w.Dir_Raw.Caption(), "");
        w.Cmd_Cancel.UserClick();
    });
    EXPECT_EQ(Raw_Dir, "");
}

}  // namespace
