// The re-mesh level dialog: the advised level from the calibration, the preselection before and
// after a confirmed choice, and the grid-point mode that waits for one.
#include <gtest/gtest.h>

#include <functional>

#include "app/window_hooks.h"
#include "core/project.h"
#include "dialogs/frm_mesh.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/object_modes.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"

namespace {

class FrmMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Calibrate(2000);
    }
    void TearDown() override { testenv::ResetProgramState(); }
    // 0.1 degree of latitude and 0.15 of longitude over `pixels` rows and columns.
    static void Calibrate(int pixels) {
        Proj_Lat_NW = 45.1;
        Proj_Lat_SE = 45.0;
        Proj_Lon_NW = 5.0;
        Proj_Lon_SE = 5.15;
        Proj_Px_NW_X = Proj_Px_NW_Y = 100;
        Proj_Px_SE_X = Proj_Px_SE_Y = 100 + pixels;
    }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
    static void On_Dialog(std::function<void(Frm_Mesh&)> script) {
        host().OnModal("Frm_Mesh", [script](plat::Form& f) { script(static_cast<Frm_Mesh&>(f)); });
    }
    static int Selected(Frm_Mesh& w) {
        for (int i = 0; i < 5; ++i)
            if (w.Opt_LodMesh(i).Value()) return i;
        return -1;
    }
};

TEST_F(FrmMeshTest, TheAdviceIsTheFinestLevelWhoseStepCoversSevenPixels) {
    EXPECT_EQ(Frm_Mesh_Advised_Level(), 9);
    Calibrate(20000);
    EXPECT_EQ(Frm_Mesh_Advised_Level(), 12);
    Calibrate(200);
    EXPECT_EQ(Frm_Mesh_Advised_Level(), 0);
    // Two points on one latitude give no finite advice.
    Calibrate(2000);
    Proj_Lat_SE = Proj_Lat_NW;
    EXPECT_EQ(Frm_Mesh_Advised_Level(), 0);
}

TEST_F(FrmMeshTest, BeforeAChoiceTheAdviceIsPreselectedAndCancelChangesNothing) {
    On_Dialog([&](Frm_Mesh& w) {
        EXPECT_EQ(w.Caption(), "Re-Mesh");
        EXPECT_EQ(w.L_Info.Caption(), "Valeur minimum conseillée");
        EXPECT_EQ(w.L_Info_Cons.Caption(), "Lod9");
        EXPECT_EQ(Selected(w), 3);
        w.Opt_LodMesh(0).UserClick();
        w.Cmd_Cancel.UserClick();
    });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(Mesh_Lod_Chosen, 0);
    EXPECT_EQ(Mesh_Lod_Index, 2) << "a cancelled showing leaves the saved level";

    // OK takes the advice, or the option the author ticked.
    On_Dialog([&](Frm_Mesh& w) { w.Cmd_Ok.UserClick(); });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
    EXPECT_EQ(Mesh_Lod_Index, 3);
}

TEST_F(FrmMeshTest, AfterAChoiceTheConfirmedLevelIsPreselectedAndTheAdviceOnlyShown) {
    On_Dialog([&](Frm_Mesh& w) {
        w.Opt_LodMesh(1).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_Mesh_Show_Modal();
    ASSERT_EQ(Mesh_Lod_Index, 1);
    Language = "US";
    On_Dialog([&](Frm_Mesh& w) {
        EXPECT_EQ(w.L_Info.Caption(), "Advised minimum value");
        EXPECT_EQ(w.L_Info_Cons.Caption(), "Lod9");
        EXPECT_EQ(Selected(w), 1);
        w.UserClose();
    });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(Mesh_Lod_Index, 1);
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
}

TEST_F(FrmMeshTest, WithNoAdviceNothingIsTickedAndOkWantsAnOption) {
    Calibrate(200);
    On_Dialog([&](Frm_Mesh& w) {
        EXPECT_EQ(w.L_Info_Cons.Caption(), "");
        EXPECT_EQ(Selected(w), -1);
        host().QueueAnswer(plat::ID_OK);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        ASSERT_EQ(host().boxes.size(), 1u);
        EXPECT_NE(host().boxes[0].prompt.find("(12)"), std::string::npos);
        w.Opt_LodMesh(4).UserClick();
        w.Cmd_Ok.UserClick();
    });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
    EXPECT_EQ(Mesh_Lod_Index, 4);
}

TEST_F(FrmMeshTest, WithNoAdviceTheConfirmedLevelIsNotTickedAndCancelKeepsIt) {
    Mesh_Lod_Chosen = 1;
    Mesh_Lod_Index = 1;
    Calibrate(200);
    On_Dialog([&](Frm_Mesh& w) {
        EXPECT_EQ(w.L_Info_Cons.Caption(), "");
        EXPECT_EQ(Selected(w), -1);
        w.Cmd_Cancel.UserClick();
    });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(Mesh_Lod_Chosen, 1);
    EXPECT_EQ(Mesh_Lod_Index, 1);
    // OK with no option ticked asks for one and leaves the confirmed level.
    On_Dialog([&](Frm_Mesh& w) {
        host().QueueAnswer(plat::ID_OK);
        w.Cmd_Ok.UserClick();
        EXPECT_TRUE(w.Loaded());
        w.Cmd_Cancel.UserClick();
    });
    Frm_Mesh_Show_Modal();
    EXPECT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(Mesh_Lod_Index, 1);
}

TEST_F(FrmMeshTest, TheGridPointButtonEntersItsModeOnlyOnceALevelIsConfirmed) {
    Frm_Window();
    Frm_Mesh_Connect();
    On_Dialog([&](Frm_Mesh& w) { w.Cmd_Cancel.UserClick(); });
    Frm_Cmd_TrtMesh_Click();
    EXPECT_EQ(Mode_Grid_Points, 0);
    On_Dialog([&](Frm_Mesh& w) { w.Cmd_Ok.UserClick(); });
    Frm_Cmd_TrtMesh_Click();
    EXPECT_EQ(Mode_Grid_Points, 1);
    EXPECT_EQ(Mesh_Lod_Index, 3);
    // Confirmed: the button no longer asks (strict host: an unscripted dialog would throw).
    PSais_Set_Mode(Object_Mode::None);
    Frm_Cmd_TrtMesh_Click();
    EXPECT_EQ(Mode_Grid_Points, 1);
}

}  // namespace
