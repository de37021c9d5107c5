// A map redraw reaches the screen once, whole: the refreshes its layers ask for part-way are
// folded into the one at its end.
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "platform/headless/headless_host.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plat;

namespace {

TEST(RedrawOnce, EveryModeIsShownOnceWholeAndARefreshOutsideARedrawAtOnce) {
    testenv::ResetProgramState();
    Frm& f = Frm_Window();
    f.Load();
    Pinit_Init_Scrollbars();
    f.Pic.Move(0, 21, 41, 31);
    Map_Width_Px = 30;
    Map_Height_Px = 25;
    Map_Px_East = 30;
    Map_Px_South = 25;
    Map_Shown = 0;
    const int32_t line = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(line, 2, 2);
    Project_Append_Point(line, 20, 20);
    HeadlessHost& host = DefaultHeadlessHost();
    const auto picture_changes = [&] {
        std::vector<Change> seen;
        for (const ControlChange& c : host.changes)
            if (c.control == "Pic") seen.push_back(c.change);
        host.changes.clear();
        return seen;
    };
    // Each mode asks for a refresh part-way (after the grid, under the lines).
    for (Object_Mode mode : {Object_Mode::Lines, Object_Mode::Lod8_Cells, Object_Mode::Land_Class,
                             Object_Mode::Grid_Points}) {
        PSais_Set_Mode(mode);
        host.changes.clear();
        host.record_changes = true;
        PSais_Redraw_Map();
        host.record_changes = false;
        EXPECT_EQ(picture_changes(), std::vector<Change>{Change::Refresh});
        EXPECT_FALSE(f.Pic.Redrawing());
    }
    // The progress of long work still paints at once.
    host.record_changes = true;
    f.Pic.Refresh();
    host.record_changes = false;
    EXPECT_EQ(picture_changes(), std::vector<Change>{Change::Refresh});
    testenv::ResetProgramState();
}

}  // namespace
