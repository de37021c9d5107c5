// Lines and rubber bands toward points beyond int reach, as the window shows them: each keeps its
// direction across the picture.
#include "main_window.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/map_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every pixel of `colour` in the picture lies within a pixel of the line through (x0, y0) of
// slope `slope`, and the columns from x0 to x1 each hold one.
void ExpectOnLine(const QImage& img, QColor colour, double x0, double y0, double slope, int x1) {
    for (int x = 0; x < img.width(); ++x) {
        int hits = 0;
        for (int y = 0; y < img.height(); ++y) {
            if (img.pixelColor(x, y) != colour) continue;
            ++hits;
            EXPECT_LE(std::fabs(y - (y0 + (x - x0) * slope)), 1.0) << x << "," << y;
        }
        if (x > x0 && x < x1) {
            EXPECT_GT(hits, 0) << x;
        }
    }
}

TEST(FarLines, ASegmentAndARubberBandToPointsBeyondIntReachRunTowardThem) {
    qttest::HostScope host;
    Frm& f = qttest::ShowNoProject("US");
    f.Pic.SetVisible(true);
    const int w = f.Pic.Width(), h = f.Pic.Height();
    ASSERT_GT(w, 400);
    ASSERT_GT(h, 250);
    Map_Width_Px = w;
    Map_Px_East = w;
    Map_Height_Px = h;
    Map_Px_South = h;
    Map_Shown = 0;
    PSais_Init_View();
    PSais_Set_Mode(Object_Mode::Lines);
    // Down and right from (20, 30), a third as far down as right; the band from that far point
    // to the mouse at (300, 200) runs the same way.
    const int32_t line = Project_Append_Line(Route_Attrib{});
    Project_Append_Point(line, 20, 30);
    const int32_t far = Project_Append_Point(line, 20 + 3e10, 30 + 1e10);
    PSais_Redraw_Map();
    PSais_Show_Sel_Segment1(far, 300, 200);
    qttest::Settle();

    QWidget* pic = host->WidgetOf(f.Pic);
    ASSERT_TRUE(pic && pic->isVisible());
    const QImage img = qttest::Grab(*host->ClientWidget(f)).copy(pic->geometry());
    ExpectOnLine(img, QColor(0, 0, 255), 20, 30, 1 / 3.0, w);
    ExpectOnLine(img, QColor(255, 0, 0), 300, 200, 1 / 3.0, w);
}

}  // namespace
