// Drawings that broke the coastline stage, as their authors saved them: each project is opened,
// its mask written, and the pieces read back by the geometric check against the lines drawn.
#include <chrono>

#include "core/project_file.h"
#include "generation/mask_writer.h"
#include "support/scenery_check.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;
using scenery::Drawn;

// The project's lines as the check reads a drawing; each line is named as the check names it.
std::vector<Drawn> Drawing() {
    std::vector<Drawn> drawn;
    for (int32_t i = 2; i <= Line_Count; ++i) {
        Route_Attrib& a = Line_Table(i).Attr;
        a.Text_Rt = "shape " + std::to_string(i - 1);
        Drawn d;
        d.Width = a.Largeur;
        d.What = a.SurfShore == 3 ? Drawn::Coastline : a.Attrib == 1 ? Drawn::Land : Drawn::Water;
        d.Land_On_Right = a.LandOnRight == 1;
        for (int32_t id : Project_Line_Points(i)) d.Points.push_back({Point_Table(id).X, Point_Table(id).Y});
        if (d.What == Drawn::Coastline && a.FermerLine == 1) d.Points.push_back(d.Points.front());
        drawn.push_back(std::move(d));
    }
    return drawn;
}

class CoastDrawings : public Area_Writer_Test {};

TEST_F(CoastDrawings, EachGivesTheWaterDrawnWithSoundPiecesAndNoBox) {
    const char* const projects[] = {
        "dense_pinch/dense_pinch.LWM",           // 1 652 points jittered across a grid line
        "dense_pinch/dense_pinch591.LWM",
        "zigzag_cell/zigzag_cell.LWM",           // a 4 x 4 px zigzag beside an area border
        "hook_cell/hook_cell.LWM",               // a hook within 0.6 px of a grid line
        "subpixel_hook/hook_box.LWM",            // a hook 0.3 px wide
        "ria_islets/arousa5.LWM",                // a mainland and four islets
        "ring_border_vertex/island_border.LWM",  // a vertex snapped onto an area border
        "ring_one_cell_then_other/two_islands.LWM",
        "ring_gridline_vertex/island_gridline.LWM",
        "coast_land_between/two_coasts.LWM",
        "coast_smooth_concave/coast7.LWM",
        "coast_south_edge/coast_south.LWM",
        "coast_subsnap_inlet/inlet6.LWM",        // an inlet narrower than a snap step
        "coast_overlap/coast3.LWM",
    };
    for (const char* name : projects) {
        SCOPED_TRACE(name);
        Open_Case(testenv::Fixtures() / "coast_cases" / name);
        if (HasFatalFailure()) return;
        host().boxes.clear();
        Work_Tables_Reset_All();
        fs::remove(app / "Tessaline$_Poly_LWM.asm");
        const std::vector<Drawn> drawn = Drawing();
        const auto start = std::chrono::steady_clock::now();
        API_Write_Lwm_Asm();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::string faults;
        for (const auto& box : host().boxes) faults += "box: " + box.prompt.substr(0, 70) + "\n";
        const scenery::Report r = scenery::Check_Scenery(app, drawn);
        for (const scenery::Finding& f : r.Findings) faults += f.Text + "\n";
        EXPECT_EQ(faults, "");
        EXPECT_GT(r.Areas_Compared, 0);
        // A second under a release build; the sanitizers are some ten times slower.
        EXPECT_LT(seconds, 20.0);
    }
}

}  // namespace
