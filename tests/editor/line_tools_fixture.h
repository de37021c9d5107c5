#pragma once
// The main window in the line mode on a 200 x 160 map shown whole in a 200 x 160 picture, so
// that at zoom 1 picture and map pixels agree. The attribute dialog is a hook that answers OK
// with `next_attr` (or closes without OK when `accept` is false).
#include "core/erreur.h"
#include "core/project.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_route.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/keyboard.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"
#include "platform/headless/headless_host.h"
#include "simlink/simlink_services.h"
#include "support/program_state.h"
#include "support/test_env.h"

#include "open_map.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

class LineToolsTest : public ::testing::Test {
public:
    using XY = std::pair<double, double>;

protected:
    void SetUp() override {
        testenv::ResetProgramState();
        Msg_File_Path = (testenv::SourceDir() / "Resource" / "FicErr.txt").string();
        Open_Map_Whole(f, 200, 160, 200, 160);
        f.Cmd_Saisie_Routes.UserClick();
        Line_Tool_Dialogs.Show_Route_Attributes = [this] {
            ++dialogs;
            shown_attr = Route_Attrib_Result;
            if (!accept) return;
            Route_Attrib_Result = next_attr;
            Route_Dlg_Cancelled = 0;
        };
    }
    void TearDown() override { Line_Tools_Reset(); }

    int32_t Add_Line(const std::vector<XY>& points, int16_t shore = 2) {
        Route_Attrib a;
        a.SurfShore = shore;
        const int32_t line = Project_Append_Line(a);
        for (auto [x, y] : points) Project_Append_Point(line, x, y);
        return line;
    }
    // The line's points from first to last, walked along the next links.
    std::vector<XY> Points(int32_t line) {
        std::vector<XY> out;
        for (int32_t id : Project_Line_Points(line)) out.emplace_back(Point_Table(id).X, Point_Table(id).Y);
        return out;
    }
    // The same walk backwards along the previous links, reversed: equal to Points() when the
    // chain is linked both ways.
    std::vector<XY> Points_Backwards(int32_t line) {
        std::vector<XY> out;
        for (int32_t id = Line_Table(line).Last_Point; id != 0; id = Point_Table(id).Prev_Point)
            out.insert(out.begin(), XY{Point_Table(id).X, Point_Table(id).Y});
        return out;
    }
    void Click(double x, double y, int button = plat::Button_Left) {
        f.Pic.UserMouseDown(button, 0, x, y);
        f.Pic.UserMouseUp(button, 0, x, y);
    }
    void Double_Click(double x, double y) { f.Pic.UserDoubleClick(plat::Button_Left, 0, x, y); }
    void Move(double x, double y) { f.Pic.UserMouseMove(0, 0, x, y); }
    void Key(int code) { f.Pic.UserKeyDown(code, 0); }
    // Selects a line with the select-line tool, picking at (x, y).
    void Select_Line_At(double x, double y) {
        f.Cmd_Sel_Route.UserClick();
        Double_Click(x, y);
    }
    plat::Colour At(int x, int y) const { return f.Pic.Image().GetPixel(x, y); }

    Frm& f = Frm_Window();
    plat::HeadlessHost& host = plat::DefaultHeadlessHost();
    bool accept = true;
    int dialogs = 0;
    Route_Attrib next_attr;
    Route_Attrib shown_attr;

    static constexpr plat::Colour kWhite = plat::RGB(255, 255, 255);
    static constexpr plat::Colour kRed = 255;
    static constexpr plat::Colour kMagenta = 0xFF00FF;
};
