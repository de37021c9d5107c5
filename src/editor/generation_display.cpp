// The main window's side of generation: the two frame captions and the debug-drawing canvas.
#include "editor/generation_display.h"

#include "core/syst.h"
#include "core/syst_draw.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/map_view.h"
#include "generation/debug_draw.h"
#include "generation/writer_base.h"
#include "platform/host.h"

namespace {

class Frame_Captions : public Gen_Caption_Sink {
public:
    void Set_Compile_Name(const std::string& text) override { Frm_Window().LCompileNom.SetCaption(text); }
    void Set_Compile_Step(const std::string& text) override { Frm_Window().LCompile.SetCaption(text); }
    void Repaint() override { plat::CurrentHost().Refresh(Frm_Window()); }
};

class Map_Canvas : public Debug_Draw_Canvas {
public:
    void Draw_Edge(double x1, double y1, double x2, double y2, int32_t colour) override {
        Frm& f = Frm_Window();
        double px1 = 0, py1 = 0, px2 = 0, py2 = 0;
        PSais_Map_To_Picture(x1, y1, px1, py1);
        PSais_Map_To_Picture(x2, y2, px2, py2);
        // An edge to a far point keeps its direction: it is cut at the edge of reach, then rounded.
        plat::Point points[2];
        if (PSais_Round_Segment(px1, py1, px2, py2, points[0], points[1]))
            SYST_Draw_Segment(f.Pic, points, colour, 1, plat::DS_Solid);
        SYST_Rest_Pen(f.Pic);
        f.Pic.Refresh();
    }
};

Frame_Captions captions;
Map_Canvas canvas;

}  // namespace

void Generation_Display_Install() {
    Gen_Set_Caption_Sink(&captions);
    Debug_Draw_Set_Canvas(&canvas);
}

