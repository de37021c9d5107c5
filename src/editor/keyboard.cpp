// The main window's keys: Alt shortcuts to tool-bar buttons, arrow moves of the selected line.
#include "editor/keyboard.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/mouse_status.h"

#include <vector>

namespace {

// What an Alt command does after its button's click.
enum class After { Nothing, Select_Then_Pick, Right_Press, Pick };

struct Alt_Command {
    int16_t key;
    plat::CommandButton Frm::*button;
    After after;
};

const Alt_Command kAltCommands[] = {
    {107, &Frm::Cmd_ZPlus, After::Nothing},
    {109, &Frm::Cmd_ZMoins, After::Nothing},
    {67, &Frm::Cmd_ColourGrid, After::Nothing},
    {71, &Frm::Cmd_API, After::Nothing},
    {76, &Frm::Cmd_LandClass, After::Nothing},
    {87, &Frm::Cmd_WaterClass, After::Nothing},
    {69, &Frm::Cmd_Excl_Areas, After::Nothing},
    {68, &Frm::Cmd_TrtArea, After::Nothing},
    {82, &Frm::Cmd_Saisie_Routes, After::Select_Then_Pick},
    {78, &Frm::Cmd_New_Route, After::Right_Press},
    {83, &Frm::Cmd_Sel_Route, After::Pick},
    {84, &Frm::Cmd_Tabul, After::Nothing},
    {79, &Frm::Cmd_Sel_Pt_Route, After::Pick},
    {73, &Frm::Cmd_Ins_Pt_Route, After::Pick},
    {65, &Frm::Cmd_Extr_Pt_Route, After::Pick},
    {85, &Frm::Cmd_FSUIPC, After::Nothing},
    {77, &Frm::Cmd_TrtMesh, After::Nothing},
};

// As if the user had clicked the button: its click handler, called directly.
void Press(plat::CommandButton& b) {
    if (b.Click) b.Click();
}

// The tool just armed picks the object nearest to where the mouse stands.
void Pick_At_Mouse(Frm& f) {
    Mouse_Down_X = Mouse_X;
    Mouse_Down_Y = Mouse_Y;
    if (f.Pic.DblClick) f.Pic.DblClick();
}

// True when the key is one of the Alt commands (run or not).
bool Run_Alt_Command(Frm& f, int16_t key) {
    for (const Alt_Command& c : kAltCommands) {
        if (c.key != key) continue;
        plat::CommandButton& b = f.*c.button;
        if (!b.Enabled()) return true;
        Press(b);
        switch (c.after) {
        case After::Nothing:
            break;
        case After::Select_Then_Pick:
            if (Line_Count != 1) {
                Press(f.Cmd_Sel_Route);
                Pick_At_Mouse(f);
            }
            break;
        case After::Right_Press:
            if (f.Pic.MouseDown) f.Pic.MouseDown(plat::Button_Right, 0, Mouse_X, Mouse_Y);
            break;
        case After::Pick:
            Pick_At_Mouse(f);
            break;
        }
        return true;
    }
    return false;
}

// A polygon textured by a VTP1 image stays inside its image: the move is refused when a
// shifted point would leave it. An image number that no image carries does not hold it back.
bool Move_Keeps_Image(const Line_Rec& line, const std::vector<int32_t>& points, double dx, double dy) {
    const Route_Attrib& a = line.Attr;
    if (!(a.SurfShore < 2 && a.LWM_VTP2 == 2 && a.VTP1_SpecNor == 0 && a.Image_Link != 0)) return true;
    for (int32_t i = 1; Project_Valid_Image(i); ++i) {
        const Image_Rec& ima = Image_Table(i);
        if (ima.Ima_Number != a.Image_Link) continue;
        for (int32_t id : points) {
            const double x = Point_Table(id).X + dx, y = Point_Table(id).Y + dy;
            if (x < ima.Ima_X1 || x > ima.Ima_X2 || y < ima.Ima_Y1 || y > ima.Ima_Y2) return false;
        }
        return true;
    }
    return true;
}

void Move_Selected_Line(int16_t key, int16_t shift) {
    if (Mode_Lines == 0 || Sel_Line_Armed == 1 || Line_Selected == 0) return;
    double pixels = 0;
    switch (shift) {
    case 1: pixels = 1; break;
    case 2: pixels = 5; break;
    case 4: pixels = 20; break;
    default: return;
    }
    // The same number of picture pixels at any zoom.
    const double step = pixels / View_Zoom;
    double dx = 0, dy = 0;
    switch (key) {
    case 38: dy = -step; break;
    case 40: dy = step; break;
    case 37: dx = -step; break;
    case 39: dx = step; break;
    default: return;
    }
    if (!Project_Valid_Line(Cur_Line)) return;

    const std::vector<int32_t> points = Project_Line_Points(Cur_Line);
    if (!Move_Keeps_Image(Line_Table(Cur_Line), points, dx, dy)) return;
    for (int32_t id : points) {
        Point_Table(id).X += dx;
        Point_Table(id).Y += dy;
    }
    PSais_Redraw_Map();
}

}  // namespace

void Frm_Form_KeyDown(int16_t KeyCode, int16_t Shift) {
    Frm& f = Frm_Window();
    if (Shift == 4 && Run_Alt_Command(f, KeyCode)) return;
    Move_Selected_Line(KeyCode, Shift);
}
