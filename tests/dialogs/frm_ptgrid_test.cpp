// The altitude popup of the grid-point mode: the range it takes, the point it defines, the
// altitude it carries to the next point and where it opens.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/erreur.h"
#include "core/project.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_ptgrid.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"
#include "support/test_env.h"

namespace {

class FrmPtGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        Frm& f = Frm_Window();
        f.Show();
        f.Pic.SetVisible(true);
        f.Pic.Move(0, 40, 400, 300);
        Map_Width_Px = 400;
        Map_Height_Px = 300;
        View_Zoom = 2;
        View_Offset_X = View_Offset_Y = 0;
        Pic_Centre_X = 400;
        Pic_Centre_Y = 300;
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }

    // A new undefined record under the mouse, as the grid-point tool prepares it.
    static void New_Point(double mouse_x, double mouse_y) {
        Table_Grow_If_Full(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, 10);
        Grid_Point_Table(++Grid_Point_Count) = Grid_Point_Rec{};
        Cur_Grid_Point = Grid_Point_Count;
        Mouse_X = mouse_x;
        Mouse_Y = mouse_y;
    }
    // Types `text` and presses Enter; returns what the box showed when it opened.
    static std::string Enter(const std::string& text) {
        std::string shown;
        host().OnModal("Frm_PtGrid", [&shown, text](plat::Form& form) {
            auto& w = static_cast<Frm_PtGrid&>(form);
            shown = w.Alt.Text();
            w.Alt.SetText(text);
            w.Alt.UserKeyDown(plat::Key_Return, 0);
            if (w.Loaded()) w.Alt.UserKeyDown(plat::Key_Escape, 0);
        });
        Grid_Dlg_Cancelled = 1;
        Frm_PtGrid_Show_Modal();
        return shown;
    }
};

TEST_F(FrmPtGridTest, TheRangeExcludesBothBoundsAndARefusalStoresNothing) {
    New_Point(10, 10);
    for (const char* refused : {"-999", "30000", "abc", ""}) {
        host().QueueAnswer(plat::ID_OK);
        Enter(refused);
        EXPECT_EQ(Grid_Dlg_Cancelled, 1) << refused;
        EXPECT_EQ(Grid_Point_Table(1).Defined, 0) << refused;
    }
    ASSERT_EQ(host().boxes.size(), 4u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("(1) ", 0), 0u) << host().boxes[0].prompt;
    Enter("-998");
    EXPECT_EQ(Grid_Dlg_Cancelled, 0);
    EXPECT_FLOAT_EQ(Grid_Point_Table(1).Alt, -998);
    Enter("29999");
    EXPECT_FLOAT_EQ(Grid_Point_Table(1).Alt, 29999);
}

TEST_F(FrmPtGridTest, ANewPointTakesTheMousePositionAndPassesItsAltitudeOn) {
    New_Point(100, 60);
    EXPECT_EQ(Enter("250"), "0");
    const Grid_Point_Rec& p = Grid_Point_Table(1);
    EXPECT_EQ(p.Defined, 1);
    double x = 0, y = 0;
    PSais_Picture_To_Map(100, 60, x, y);
    EXPECT_DOUBLE_EQ(p.X, x);
    EXPECT_DOUBLE_EQ(p.Y, y);
    EXPECT_FLOAT_EQ(Last_Grid_Alt, 250);
    // The next new point starts from 250; an existing one shows its own and keeps its place.
    New_Point(200, 100);
    EXPECT_EQ(Enter("250"), "250");
    Cur_Grid_Point = 1;
    Mouse_X = Mouse_Y = 5;
    EXPECT_EQ(Enter("120.5"), "250");
    EXPECT_DOUBLE_EQ(Grid_Point_Table(1).X, x);
    EXPECT_FLOAT_EQ(Grid_Point_Table(1).Alt, 120.5f);
}

TEST_F(FrmPtGridTest, EscapeLeavesANewPointUndefined) {
    New_Point(10, 10);
    host().OnModal("Frm_PtGrid", [](plat::Form& form) {
        auto& w = static_cast<Frm_PtGrid&>(form);
        w.Alt.SetText("500");
        w.Alt.UserKeyDown(plat::Key_Escape, 0);
    });
    Grid_Dlg_Cancelled = 1;
    Frm_PtGrid_Show_Modal();
    EXPECT_EQ(Grid_Dlg_Cancelled, 1);
    EXPECT_EQ(Grid_Point_Table(1).Defined, 0);
    EXPECT_FLOAT_EQ(Last_Grid_Alt, 0);
}

TEST_F(FrmPtGridTest, NearTheRightOrBottomEdgeItOpensLeftOfAndAboveTheMouse) {
    int left = 0, top = 0, width = 0, height = 0;
    auto where = [&](double mx, double my) {
        New_Point(mx, my);
        host().OnModal("Frm_PtGrid", [&](plat::Form& w) {
            left = w.Left();
            top = w.Top();
            width = w.ScaleWidth();
            height = w.ScaleHeight();
            w.Unload();
        });
        Frm_PtGrid_Show_Modal();
    };
    const plat::PictureBox& pic = Frm_Window().Pic;
    where(50, 50);
    EXPECT_EQ(left, pic.Left() + 55);
    EXPECT_EQ(top, pic.Top() + 55);
    where(395, 295);
    EXPECT_EQ(left, pic.Left() + 395 - (width + 4) - 5);
    EXPECT_EQ(top, pic.Top() + 295 - (height + 4) - 5);
}

}  // namespace
