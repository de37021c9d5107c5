// A line drawn as one chain, in the line mode and as the red overlay of the other modes, against
// the same line drawn segment by segment: the pixels must not differ at any zoom.
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/grid_mode_lines.h"
#include "editor/grid_points.h"
#include "editor/line_display.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "support/program_state.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace plat;

namespace {

constexpr int kW = 200, kH = 160;

class ChainDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        f.Load();
        Pinit_Init_Scrollbars();
        f.Pic.Move(0, 21, kW, kH);
        Map_Width_Px = Map_Px_East = 400;
        Map_Height_Px = Map_Px_South = 320;
        Map_Px_West = Map_Px_North = 0;
        PSais_Init_View();
    }

    // Random walks around the part of the map in view, on half and quarter map pixels so that
    // at zoom 0.5 and 2 many ends fall on a half picture pixel, with runs on one pixel.
    std::vector<int32_t> RandomLines(std::mt19937& rng, int lines, double zoom) {
        std::vector<int32_t> made;
        double left = 0, top = 0, right = 0, bottom = 0;
        PSais_Picture_To_Map(-20, -20, left, top);
        PSais_Picture_To_Map(kW + 20, kH + 20, right, bottom);
        std::uniform_real_distribution<double> x0(left, right), y0(top, bottom);
        std::uniform_int_distribution<int> step(-24, 24), count(1, 40), still(0, 3);
        for (int i = 0; i < lines; ++i) {
            const int32_t line = Project_Append_Line(Route_Attrib{});
            double x = std::round(x0(rng) * 4) / 4, y = std::round(y0(rng) * 4) / 4;
            for (int k = count(rng); k > 0; --k) {
                Project_Append_Point(line, x, y);
                if (still(rng) == 0) continue;   // the next point on the same spot or close by
                x += step(rng) / 4.0 / zoom;
                y += step(rng) / 4.0 / zoom;
            }
            made.push_back(line);
        }
        return made;
    }

    std::vector<Colour> Pixels() const {
        std::vector<Colour> out;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(f.Pic.Image().GetPixel(x, y));
        return out;
    }

    Frm& f = Frm_Window();
};

TEST_F(ChainDisplay, LinesAndTheRedOverlayDrawThePixelsOfTheirSegments) {
    std::mt19937 rng(77);
    for (double zoom : {0.04, 0.5, 1.0, 2.0, 3.7}) {
        View_Zoom = zoom;
        PSais_Init_Arrays();
        const std::vector<int32_t> lines = RandomLines(rng, 60, zoom);

        f.Pic.Cls();
        for (int32_t line : lines) PSais_Draw_Line(line);
        const std::vector<Colour> chained = Pixels();
        f.Pic.Cls();
        for (int32_t line : lines) {
            const std::vector<int32_t> ids = Project_Line_Points(line);
            if (ids.size() == 1) PSais_Draw_Point(ids[0], PSais_Line_Colour(line));
            for (size_t i = 1; i < ids.size(); ++i) PSais_Draw_Segment(line, ids[i - 1], ids[i], PSais_Line_Colour(line));
        }
        EXPECT_EQ(chained, Pixels()) << "line mode, zoom " << zoom;

        // The overlay's 2-pixel pen, first in the copy mode, then with an XOR pen left behind by
        // a tool: only each line's first segment goes through it.
        for (int mode : {DM_CopyPen, DM_XorPen}) {
            f.Pic.Cls();
            for (int32_t line : lines) {
                f.Pic.SetDrawMode(mode);
                PSais_Draw_Line_Grid_Mode(line);
            }
            const std::vector<Colour> overlay = Pixels();
            f.Pic.Cls();
            for (int32_t line : lines) {
                f.Pic.SetDrawMode(mode);
                const std::vector<int32_t> ids = Project_Line_Points(line);
                for (size_t i = 1; i < ids.size(); ++i) PSais_Draw_Segment_Grid_Mode(ids[i - 1], ids[i]);
            }
            EXPECT_EQ(overlay, Pixels()) << "overlay, zoom " << zoom << ", pen mode " << mode;
            EXPECT_EQ(f.Pic.DrawMode(), DM_CopyPen);
            EXPECT_EQ(f.Pic.Image().DrawWidth, 1);
        }
    }
}

}  // namespace
