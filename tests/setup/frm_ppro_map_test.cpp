// The map step of a new project: choosing the map bitmap, tiling it, calibrating it by two
// points or by its centre, and what the step shows and lets through.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "platform/headless/headless_host.h"
#include "setup/frm_cadbmp.h"
#include "setup/frm_centermap.h"
#include "setup/frm_ppro.h"
#include "setup/setup_services.h"
#include "setup/test_maps.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

class FrmPProMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        dir = testenv::ScratchDir("ppro_map");
        App_Dir = dir.string();
        fs::create_directories(dir / "Temp");
        Tile_Size = 100;
        testmaps::Write_Map(dir / "map.bmp", 250, 170);
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    std::string In_Dir(const std::string& name) const { return App_Dir + "\\" + name; }
    static void File(const std::string& path) { host().QueueFile({false, path}); }
    static void No_File() { host().QueueFile({true, ""}); }
    static void Double_Click(plat::Control& c) { c.UserDoubleClick(plat::Button_Left, 0, 2, 2); }
    static void Type(plat::TextBox& box, const char* text) {
        box.UserFocus();
        box.UserType(text);
        box.UserKeyDown(plat::Key_Return, 0);
    }
    // A new project's window, past its project step.
    static void Open_Map_Step(std::function<void(Frm_PPro&)> script) {
        host().OnModal("Frm_PPro", [script](plat::Form& f) {
            auto& w = static_cast<Frm_PPro&>(f);
            w.Cmd_Next_Projet.UserClick();
            script(w);
            if (w.Loaded()) w.Cmd_Cancel.UserClick();
        });
        Proj_Accepted = 0;
        Proj_New = 1;
        Frm_PPro_Show_Modal();
    }
    void Choose_Map(Frm_PPro& w, const std::string& name = "map.bmp") {
        File(In_Dir(name));
        Double_Click(w.Carte);
    }
    fs::path dir;
};

TEST_F(FrmPProMapTest, AMissingOrUnusableMapIsRefusedAndTheChoiceAskedAgain) {
    std::ofstream(dir / "text.bmp") << "not a bitmap at all, just text long enough for a header";
    Open_Map_Step([this](Frm_PPro& w) {
        File(In_Dir("missing.bmp"));
        host().QueueAnswer(1);
        File(In_Dir("text.bmp"));
        host().QueueAnswer(1);
        No_File();
        Double_Click(w.Carte);
        EXPECT_EQ(host().file_requests.size(), 3u);
        EXPECT_EQ(host().file_requests[0].title, "Carte");
        EXPECT_EQ(host().file_requests[0].filter, "BMP (*.Bmp)|*.Bmp");
        EXPECT_FALSE(host().file_requests[0].save);
        ASSERT_EQ(host().boxes.size(), 2u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(1) ", 0), 0u);
        EXPECT_EQ(host().boxes[1].prompt.rfind("(10) ", 0), 0u);
        // The refused bitmap's name stays shown; nothing was taken.
        EXPECT_EQ(w.Carte.Caption(), In_Dir("text.bmp"));
        EXPECT_EQ(PPro_Map_File, "");
        EXPECT_EQ(Cad_NW_Set, 0);
        // Without a map the calibration buttons only say so.
        host().QueueAnswer(1);
        w.Cmd_CadCarte.UserClick();
        host().QueueAnswer(1);
        w.Cmd_CenterMap.UserClick();
        ASSERT_EQ(host().boxes.size(), 4u);
        EXPECT_EQ(host().boxes[2].prompt.rfind("(107) ", 0), 0u);
        EXPECT_EQ(host().boxes[3].prompt.rfind("(107) ", 0), 0u);
    });
}

TEST_F(FrmPProMapTest, AMapThatFailsToTileIsReportedAsOpenDoesAndNoCalibrationOpens) {
    // No calibration window is scripted: with the strict host one that opened would fail here.
    Open_Map_Step([this](Frm_PPro& w) {
        Choose_Map(w);
        // Damaged after it was chosen.
        std::ofstream(dir / "map.bmp", std::ios::trunc) << "BM no longer a bitmap";
        host().QueueAnswer(1);
        w.Cmd_CadCarte.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt, "Fail to load bitmap : " + In_Dir("map.bmp"));
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
    });
    testmaps::Write_Map(dir / "map.bmp", 250, 170);
    // A file where the Temp folder should be: no tile can be written.
    fs::remove_all(dir / "Temp");
    std::ofstream(dir / "Temp") << "x";
    const std::string folder = (dir / "Temp").string();
    for (const char* language : {"US", "FR"}) {
        SCOPED_TRACE(language);
        Language = language;
        host().boxes.clear();
        Open_Map_Step([&](Frm_PPro& w) {
            Choose_Map(w);
            host().QueueAnswer(1);
            w.Cmd_CenterMap.UserClick();
            ASSERT_EQ(host().boxes.size(), 1u);
            EXPECT_EQ(host().boxes[0].prompt,
                      Language == "US" ? "Cannot write the map tiles in the folder " + folder + " (full disk or read-only folder?)"
                                       : "Impossible d'écrire les tuiles de la carte dans le dossier " + folder +
                                             " (disque plein ou dossier protégé en écriture ?)");
            EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
        });
    }
}

TEST_F(FrmPProMapTest, AMapStoredTopRowFirstHasItsTrueHeight) {
    testmaps::Write_Map(dir / "down.bmp", 30, 20, true);
    Open_Map_Step([this](Frm_PPro& w) {
        Choose_Map(w, "down.bmp");
        EXPECT_EQ(Cad_Map_Width, 30);
        EXPECT_EQ(Cad_Map_Height, 20);
        EXPECT_EQ(Cad_Px_SE_Y, 19);
    });
}

TEST_F(FrmPProMapTest, CancellingTheCentreCalibrationRightAfterTheMapChoiceKeepsTheStepClosed) {
    Open_Map_Step([this](Frm_PPro& w) {
        Choose_Map(w);
        host().OnModal("Frm_CenterMap", [](plat::Form& f) {
            // The whole bitmap as frame, coordinates 0, the kept sizes shown.
            auto& c = static_cast<Frm_CenterMap&>(f);
            EXPECT_EQ(c.LatDecCenter.Text(), "0");
            EXPECT_EQ(c.NbM_Per_Pixel_Lat.Text(), "4.75");
            c.Cmd_Cancel.UserClick();
        });
        w.Cmd_CenterMap.UserClick();
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
        EXPECT_EQ(w.L_LatNW.Caption(), "");
        EXPECT_EQ(w.DV2Pix.Caption(), "");
        // The tiles were made all the same.
        EXPECT_TRUE(fs::exists(dir / "Temp" / "$$$_00.bmp"));
    });
}

TEST_F(FrmPProMapTest, TwoPointCalibrationOpensTheNextStepAndShowsTheResult) {
    Open_Map_Step([this](Frm_PPro& w) {
        Choose_Map(w);
        host().OnModal("Frm_CadBmp", [](plat::Form& f) {
            auto& c = static_cast<Frm_CadBmp&>(f);
            c.Cmd_CadNW.UserClick();
            c.Pic.UserMouseMove(0, 0, 10, 20);
            c.Pic.UserMouseDown(plat::Button_Left, 0, 10, 20);
            c.Pic.UserMouseUp(plat::Button_Left, 0, 10, 20);
            Type(c.NWLatDec, "46");
            Type(c.NWLonDec, "6");
            Type(c.SELatDec, "45");
            Type(c.SELonDec, "7");
            c.Cmd_Ok.UserClick();
        });
        w.Cmd_CadCarte.UserClick();
        EXPECT_TRUE(w.Cmd_Next_Carte.Enabled());
        EXPECT_EQ(Cad_Tile_Count, 6);
        EXPECT_EQ(w.L_LatNW_Dec.Caption(), "46");
        EXPECT_EQ(w.L_LonNW.Caption(), "E006:00:00.0000");
        EXPECT_EQ(w.L_latSE_Dec.Caption(), "45");
        // One degree over 149 rows; the half-thousandth rounds up.
        EXPECT_EQ(w.DV2Pix.Caption(), SYST_To_Text(std::floor((111164.75 / 149 + 0.0005) * 1000) / 1000));
        // Choosing another map resets the points but leaves the labels.
        Choose_Map(w);
        EXPECT_EQ(Cad_Px_NW_X, 0);
        EXPECT_EQ(Cad_Lat_NW, 0);
        EXPECT_EQ(w.L_LatNW_Dec.Caption(), "46");
        EXPECT_DOUBLE_EQ(Center_M_Per_Px_Lat, 4.75);
    });
}

// Next with another map and the previous frame would finish the project with coordinates 0.
TEST_F(FrmPProMapTest, AnotherMapMustBeCalibratedBeforeTheStepEnds) {
    testmaps::Write_Map(dir / "other.bmp", 120, 90);
    const auto centre_ok = [] {
        host().OnModal("Frm_CenterMap", [](plat::Form& f) {
            auto& c = static_cast<Frm_CenterMap&>(f);
            Type(c.LatDecCenter, "45");
            c.Cmd_Ok.UserClick();
        });
    };
    Open_Map_Step([&](Frm_PPro& w) {
        Choose_Map(w);
        centre_ok();
        w.Cmd_CenterMap.UserClick();
        ASSERT_TRUE(w.Cmd_Next_Carte.Enabled());
        // A cancelled choice changes nothing.
        No_File();
        Double_Click(w.Carte);
        EXPECT_TRUE(w.Cmd_Next_Carte.Enabled());

        Choose_Map(w, "other.bmp");
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
        w.Cmd_Next_Carte.UserClick();
        EXPECT_EQ(Proj_Step_Map_Done, 0);
        host().OnModal("Frm_CenterMap", [](plat::Form& f) { static_cast<Frm_CenterMap&>(f).Cmd_Cancel.UserClick(); });
        w.Cmd_CenterMap.UserClick();
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());

        centre_ok();
        w.Cmd_CenterMap.UserClick();
        ASSERT_TRUE(w.Cmd_Next_Carte.Enabled());
        w.Cmd_Next_Carte.UserClick();
        EXPECT_EQ(Proj_Step_Map_Done, 1);
        EXPECT_EQ(PPro_Map_File, In_Dir("other.bmp"));
        EXPECT_EQ(Cad_Px_SE_X, 119);
    });
}

TEST_F(FrmPProMapTest, AfterACancelledTwoPointCalibrationTheCentreCalibrationStillLetsTheStepEnd) {
    Open_Map_Step([this](Frm_PPro& w) {
        Choose_Map(w);
        host().OnModal("Frm_CadBmp", [](plat::Form& f) { static_cast<Frm_CadBmp&>(f).Cmd_Cancel.UserClick(); });
        w.Cmd_CadCarte.UserClick();
        // The new project had no points: the cancel put those back.
        EXPECT_EQ(Cad_NW_Set, 0);
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
        host().OnModal("Frm_CenterMap", [](plat::Form& f) {
            auto& c = static_cast<Frm_CenterMap&>(f);
            Type(c.LatDecCenter, "45");
            c.Cmd_Ok.UserClick();
        });
        w.Cmd_CenterMap.UserClick();
        ASSERT_TRUE(w.Cmd_Next_Carte.Enabled());
        w.Cmd_Next_Carte.UserClick();
        EXPECT_EQ(Proj_Step_Map_Done, 1);
        EXPECT_TRUE(w.Fram_Bgl.Enabled());
    });
}

TEST_F(FrmPProMapTest, TheCentreCalibrationCountsTilesByRoundingUp) {
    Tile_Size = 2000;
    for (const auto& width_cols : std::vector<std::pair<int, int>>{{2000, 1}, {2001, 2}, {4000, 2}}) {
        const int width = width_cols.first, cols = width_cols.second;
        testmaps::Write_Map(dir / "wide.bmp", width, 2);
        Open_Map_Step([&](Frm_PPro& w) {
            Choose_Map(w, "wide.bmp");
            host().OnModal("Frm_CenterMap", [](plat::Form& f) { static_cast<Frm_CenterMap&>(f).Cmd_Cancel.UserClick(); });
            w.Cmd_CenterMap.UserClick();
            EXPECT_EQ(Cad_Tile_Cols, cols) << width;
            EXPECT_EQ(Cad_Tile_Rows, 1) << width;
            EXPECT_EQ(Cad_Tile_Count, cols) << width;
        });
    }
    // More tiles than a project counts: message 10, before the tiler refuses the map as unreadable.
    Tile_Size = 1;
    testmaps::Write_Map(dir / "many.bmp", 200, 200);
    host().boxes.clear();
    Open_Map_Step([&](Frm_PPro& w) {
        Choose_Map(w, "many.bmp");
        host().QueueAnswer(1);
        w.Cmd_CenterMap.UserClick();
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_EQ(host().boxes[0].prompt.rfind("(10) ", 0), 0u) << host().boxes[0].prompt;
        EXPECT_FALSE(w.Cmd_Next_Carte.Enabled());
    });
}

}  // namespace
