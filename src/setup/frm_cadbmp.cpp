// The two-point calibration window: the tiled map view, its scrolling and point markers.
#include "setup/frm_cadbmp.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/erreur.h"
#include "core/project.h"
#include "core/syst.h"
#include "core/tiling.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/host.h"
#include "setup/map_frame.h"
#include "setup/setup_services.h"
#include "platform/gdi/picture_file.h"
#include "platform/ui/modal.h"

namespace {

constexpr int Scroll_Max = 10000;
constexpr int Marker_Half = 10;

// Width (height) divided by the tile size, rounded up.
int32_t Tiles_For(int32_t pixels) {
    if (pixels == Tile_Size) return 1;
    const int32_t r = pixels % Tile_Size;
    return (pixels - r) / Tile_Size + (r != 0 ? 1 : 0);
}

int32_t Scale_Width() { return Frm_CadBmp_Window().Pic.Width(); }
int32_t Scale_Height() { return Frm_CadBmp_Window().Pic.Height(); }

void Place_Marker(plat::LineControl& across, plat::LineControl& down, plat::Shape& circle, int16_t set,
                  int32_t px, int32_t py, int32_t left, int32_t top) {
    if (set == 0) return;
    // A point far off the view (a huge calibration pixel) is measured in 64 bits and kept far
    // enough inside int that the marker's ends cannot overflow.
    const int64_t w = Scale_Width(), h = Scale_Height();
    const int64_t far_x = static_cast<int64_t>(px) - left, far_y = static_cast<int64_t>(py) - top;
    const bool out_x = far_x < 0 || far_x > w - 1;
    const bool out_y = far_y < 0 || far_y > h - 1;
    if (out_x && out_y) {
        across.SetVisible(false);
        down.SetVisible(false);
        circle.SetVisible(false);
        return;
    }
    constexpr int64_t kFar = int64_t{1} << 30;
    const int x = static_cast<int>(std::clamp(far_x, -kFar, kFar));
    const int y = static_cast<int>(std::clamp(far_y, -kFar, kFar));
    across.SetPoints(x - Marker_Half, y, x + Marker_Half, y);
    circle.Move(x - Marker_Half, y - Marker_Half, 2 * Marker_Half + 1, 2 * Marker_Half + 1);
    down.SetPoints(x, y - Marker_Half, x, y + Marker_Half);
    across.SetVisible(true);
    down.SetVisible(true);
    circle.SetVisible(true);
}

std::string Pixel_Text(int32_t x, int32_t y) { return std::to_string(x) + "x" + std::to_string(y); }

}  // namespace

Frm_CadBmp::Frm_CadBmp() : Form("Frm_CadBmp") {
    Form_Load = [this] { Frm_CadBmp_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_CadBmp_Form_Unload(cancel); };
    Cmd_CadNW.Click = [this] { Frm_CadBmp_Cmd_CadNW_Click(); };
    Cmd_CadSE.Click = [this] { Frm_CadBmp_Cmd_CadSE_Click(); };
    Pic.MouseMove = [this](int b, int s, double x, double y) { Frm_CadBmp_Pic_MouseMove(b, s, x, y); };
    Pic.Click = [this] { Frm_CadBmp_Pic_Click(); };
    HScroll.Change = [this] { Frm_CadBmp_HScroll_Change(); };
    VScroll.Change = [this] { Frm_CadBmp_VScroll_Change(); };
    Cmd_Ok.Click = [this] { Frm_CadBmp_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_CadBmp_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_CadBmp_Cmd_Help_Click(); };
    for (const Coord_Field& f : Coord_Corner_Fields(*this)) f.Wire();
    for (plat::Control* c : std::initializer_list<plat::Control*>{&L1NW, &L2NW, &RdNW, &L1SE, &L2SE, &RDSE})
        c->SetContainer(&Pic);
}

void Frm_CadBmp::Design() {
    BorderStyle = 3;
    Move(0, 0, 906, 512);
    Pic.Move(8, 8, 600, 480);
    Pic.SetBackColor(plat::RGB(128, 128, 128));
    HScroll.SetMax(Scroll_Max);
    HScroll.SetSmallChange(100);
    HScroll.SetLargeChange(1000);
    VScroll.SetMax(Scroll_Max);
    VScroll.SetSmallChange(100);
    VScroll.SetLargeChange(1000);
    WPic(0).SetVisible(false);
    WPic(0).Move(0, 0, 1, 1);
    for (plat::LineControl* l : {&L1NW, &L2NW}) l->SetBorderColor(plat::RGB(255, 0, 0));
    for (plat::LineControl* l : {&L1SE, &L2SE}) l->SetBorderColor(plat::RGB(0, 0, 255));
    RdNW.SetShapeKind(plat::Shape_Circle);
    RdNW.SetBorderColor(plat::RGB(255, 0, 0));
    RDSE.SetShapeKind(plat::Shape_Circle);
    RDSE.SetBorderColor(plat::RGB(0, 0, 255));
    for (plat::Control* c : std::initializer_list<plat::Control*>{&L1NW, &L2NW, &RdNW, &L1SE, &L2SE, &RDSE})
        c->SetVisible(false);

    // One column per point: its button, its pixel, its latitude and longitude.
    Cmd_CadNW.Move(672, 8, 110, 26);
    Cmd_CadSE.Move(788, 8, 110, 26);
    LPoint_NWSE.Move(636, 42, 262, 16);
    LMousePos.Move(636, 62, 262, 16);
    LNWxy.Move(672, 92, 110, 16);
    LSExy.Move(788, 92, 110, 16);
    Label1.SetCaption("Lat:");
    Label1.Move(636, 116, 34, 16);
    NWLatDec.Move(672, 112, 110, 21);
    SELatDec.Move(788, 112, 110, 21);
    LNWLat.Move(672, 136, 110, 16);
    LSELat.Move(788, 136, 110, 16);
    Label2.SetCaption("Lon:");
    Label2.Move(636, 164, 34, 16);
    NWLonDec.Move(672, 160, 110, 21);
    SELonDec.Move(788, 160, 110, 21);
    LNWLon.Move(672, 184, 110, 16);
    LSELon.Move(788, 184, 110, 16);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(672, 420, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(760, 420, 80, 26);
    Cmd_Help.SetCaption("?");
    Cmd_Help.Move(848, 420, 40, 26);
}

void Frm_CadBmp::Frm_CadBmp_Form_Load() {
    const bool us = Language == "US";
    SetCaption(us ? "Fix NW/SE points in the map" : "Déterminer les points NW/SE dans la carte");
    Cmd_CadNW.SetCaption(us ? "NW point" : "Point NW");
    Cmd_CadSE.SetCaption(us ? "SE point" : "Point SE");
    Cad_Pending_Point = 0;

    VScroll.Move(Pic.Left() + Pic.Width(), Pic.Top(), 17, Pic.Height());
    HScroll.Move(Pic.Left(), Pic.Top() + Pic.Height(), Pic.Width(), 17);

    for (const Coord_Field& f : Coord_Corner_Fields(*this)) f.Show_Value();

    const int32_t w = Cad_Map_Width, h = Cad_Map_Height;
    const int32_t pic_w = Pic.Width(), pic_h = Pic.Height();
    Cad_Scroll_Busy = 1;
    Cad_Pic_Half_H = static_cast<double>(static_cast<float>(pic_h) / 2);
    Cad_Pic_Half_W = static_cast<double>(static_cast<float>(pic_w) / 2);
    Cad_Map_Half_H = h / 2.0;
    Cad_Map_Half_W = SYST_Round(w / 2.0);
    Cad_Off_Y = Cad_Map_Half_H - Cad_Pic_Half_H;
    Cad_Off_X = Cad_Map_Half_W - Cad_Pic_Half_W;
    if (!(pic_h >= h && pic_w >= w)) {
        if (pic_h < h) {
            Cad_Scroll_Range_Y = h - pic_h;
            const double v = Scroll_Max / 2.0 - Cad_Off_Y * Scroll_Max / Cad_Scroll_Range_Y;
            VScroll.SetValue(static_cast<int16_t>(std::clamp(SYST_Round(v), 0, Scroll_Max)));
        } else {
            VScroll.SetEnabled(false);
        }
        if (pic_w < w) {
            Cad_Scroll_Range_X = w - pic_w;
            const double v = Scroll_Max / 2.0 - Cad_Off_X * Scroll_Max / Cad_Scroll_Range_X;
            HScroll.SetValue(static_cast<int16_t>(std::clamp(SYST_Round(v), 0, Scroll_Max)));
        } else {
            HScroll.SetEnabled(false);
        }
        Cad_Scroll_Busy = 0;
    }

    const int32_t cols = Tiles_For(w), rows = Tiles_For(h);
    Cad_Tile_Cols = static_cast<int16_t>(cols);
    Cad_Tile_Rows = static_cast<int16_t>(rows);
    Cad_Tile_Count = static_cast<int16_t>(std::clamp(cols * rows, 0, 32767));
    std::string missing;
    for (int32_t k = 0; k < Cad_Tile_Count; ++k) {
        plat::PictureBox& holder = k == 0 ? WPic(0) : WPic.Load(k);
        plat::Surface tile;
        if (plat::LoadPicture(Com_Tile_File(cols, rows, k), tile)) {
            holder.SetPicture(tile);
        } else {
            // A loaded holder starts as a copy of the first one, picture and all.
            holder.ClearPicture();
            if (missing.empty()) missing = Com_Tile_File(cols, rows, k);
        }
    }

    Cad_Last_Mouse_X = 0;
    Cad_Last_Mouse_Y = 0;
    Com_Show_Cad_Coords();
    Com_Paint_Cad_View(Cad_Map_Width, Cad_Map_Height, Cad_Off_X, Cad_Off_Y);
    // A tile that cannot be read leaves its part of the view empty; the points can still be
    // placed where the map shows.
    if (!missing.empty())
        plat::CurrentHost().MsgBox(us ? "Cannot read the map tile " + missing : "Impossible de lire la tuile de carte " + missing,
                                   plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

void Frm_CadBmp::Frm_CadBmp_Form_Unload(bool& cancel) {
    (void)cancel;
    for (int32_t k = 1; k < Cad_Tile_Count; ++k)
        if (WPic.Exists(k)) {
            WPic(k).ClearPicture();
            WPic.Unload(k);
        }
    WPic(0).ClearPicture();
    Pic.Cls();
    if (Cad_Not_Confirmed == 1) Cad_Take_Project_Points();
}

void Frm_CadBmp::Frm_CadBmp_Cmd_CadNW_Click() {
    Cad_Pending_Point = 1;
    LPoint_NWSE.SetCaption(Language == "US" ? "NW searching" : "Cadrage NW en cours");
}

void Frm_CadBmp::Frm_CadBmp_Cmd_CadSE_Click() {
    Cad_Pending_Point = 2;
    LPoint_NWSE.SetCaption(Language == "US" ? "SE searching" : "Cadrage SE en cours");
}

void Frm_CadBmp::Pixel_At(double x, double y, int32_t& column, int32_t& row) const {
    column = SYST_Round(x + Cad_Map_Half_W - Cad_Off_X - Cad_Pic_Half_W);
    row = SYST_Round(y + Cad_Map_Half_H - Cad_Off_Y - Cad_Pic_Half_H);
}

void Frm_CadBmp::Frm_CadBmp_Pic_MouseMove(int, int, double x, double y) {
    int32_t column = 0, row = 0;
    Pixel_At(x, y, column, row);
    if (column < 0 || column > Cad_Map_Width - 1 || row < 0 || row > Cad_Map_Height - 1) return;
    Cad_Last_Mouse_X = x;
    Cad_Last_Mouse_Y = y;
    LMousePos.SetCaption(Pixel_Text(column, row));
}

void Frm_CadBmp::Frm_CadBmp_Pic_Click() {
    if (Cad_Pending_Point == 0) return;
    int32_t column = 0, row = 0;
    Pixel_At(Cad_Last_Mouse_X, Cad_Last_Mouse_Y, column, row);
    if (Cad_Pending_Point == 1) {
        Cad_Px_NW_X = column;
        Cad_Px_NW_Y = row;
        Cad_NW_Set = 1;
    } else {
        Cad_Px_SE_X = column;
        Cad_Px_SE_Y = row;
        Cad_SE_Set = 1;
    }
    Com_Show_Cad_Coords();
    Com_Paint_Cad_View(Cad_Map_Width, Cad_Map_Height, Cad_Off_X, Cad_Off_Y);
}

void Frm_CadBmp::Frm_CadBmp_HScroll_Change() {
    if (Cad_Scroll_Busy == 1 || Pic.Width() >= Cad_Map_Width) return;
    Cad_Off_X = std::clamp((Scroll_Max / 2.0 - HScroll.Value()) * Cad_Scroll_Range_X / Scroll_Max,
                           -static_cast<double>(Cad_Map_Half_W), static_cast<double>(Cad_Map_Half_W));
    Com_Paint_Cad_View(Cad_Map_Width, Cad_Map_Height, Cad_Off_X, Cad_Off_Y);
}

void Frm_CadBmp::Frm_CadBmp_VScroll_Change() {
    if (Cad_Scroll_Busy == 1 || Pic.Height() >= Cad_Map_Height) return;
    Cad_Off_Y = std::clamp((Scroll_Max / 2.0 - VScroll.Value()) * Cad_Scroll_Range_Y / Scroll_Max, -Cad_Map_Half_H,
                           Cad_Map_Half_H);
    Com_Paint_Cad_View(Cad_Map_Width, Cad_Map_Height, Cad_Off_X, Cad_Off_Y);
}

void Frm_CadBmp::Frm_CadBmp_Cmd_Ok_Click() {
    if (Cad_NW_Set == 0 || Cad_SE_Set == 0) {
        Msg_Answer = ERREUR_Show_Message(6);
        return;
    }
    const Cad_Frame_Input in = Cad_Working_Input();
    if (!Cad_Accept(in)) return;
    Cad_Not_Confirmed = 0;
    Cad_Compute_Map_Edges(in);
    Cad_Compute_Map_Frame(in);
    Unload();
}

void Frm_CadBmp::Frm_CadBmp_Cmd_Cancel_Click() { Unload(); }

void Com_Paint_Cad_View(int32_t width, int32_t height, double offset_x, double offset_y) {
    Frm_CadBmp& f = Frm_CadBmp_Window();
    f.Pic.Cls();
    const int32_t top = SYST_Round(Cad_Map_Half_H - offset_y - Cad_Pic_Half_H);
    const int32_t left = SYST_Round(Cad_Map_Half_W - offset_x - Cad_Pic_Half_W);
    // In 64 bits: a map near the int limit less a view origin left of or above it overflows int.
    const int64_t vis_h = std::min({int64_t{height} - top, int64_t{height}, int64_t{SYST_Round(f.Pic.Height())}});
    const int64_t vis_w = std::min({int64_t{width} - left, int64_t{width}, int64_t{SYST_Round(f.Pic.Width())}});
    const int32_t cols = Cad_Tile_Cols, rows = Cad_Tile_Rows;
    for (int32_t tr = 0; tr < rows; ++tr) {
        const int64_t y0 = int64_t{tr} * Tile_Size, y1 = y0 + Tile_Size - 1;
        if (y1 < top || y0 > top + vis_h - 1) continue;
        for (int32_t tc = 0; tc < cols; ++tc) {
            const int64_t x0 = int64_t{tc} * Tile_Size, x1 = x0 + Tile_Size - 1;
            if (x1 < left || x0 > left + vis_w - 1) continue;
            const int32_t k = tr * cols + tc;
            if (!f.WPic.Exists(k)) continue;
            const plat::Surface& tile = f.WPic(k).Picture();
            if (tile.Width() == 0) continue;
            // The part of the tile inside the window, one bitmap pixel per picture pixel.
            const int64_t bx = std::max<int64_t>(x0, left), by = std::max<int64_t>(y0, top);
            const int64_t ex = std::min(x1, left + vis_w - 1), ey = std::min(y1, top + vis_h - 1);
            plat::BitBlt(f.Pic.Image(), static_cast<int>(bx - left), static_cast<int>(by - top),
                         static_cast<int>(ex - bx + 1), static_cast<int>(ey - by + 1), tile, static_cast<int>(bx - x0),
                         static_cast<int>(by - y0));
        }
    }
    f.Pic.Changed();
    Com_Draw_Cad_Markers(left, top);
}

void Com_Draw_Cad_Markers(int32_t left, int32_t top) {
    Frm_CadBmp& f = Frm_CadBmp_Window();
    Place_Marker(f.L1NW, f.L2NW, f.RdNW, Cad_NW_Set, Cad_Px_NW_X, Cad_Px_NW_Y, left, top);
    Place_Marker(f.L1SE, f.L2SE, f.RDSE, Cad_SE_Set, Cad_Px_SE_X, Cad_Px_SE_Y, left, top);
}

void Com_Show_Cad_Coords() {
    Frm_CadBmp& f = Frm_CadBmp_Window();
    for (const Coord_Field& field : Coord_Corner_Fields(f)) field.Show_Dms();
    if (Cad_NW_Set != 0) f.LNWxy.SetCaption(Pixel_Text(Cad_Px_NW_X, Cad_Px_NW_Y));
    if (Cad_SE_Set != 0) f.LSExy.SetCaption(Pixel_Text(Cad_Px_SE_X, Cad_Px_SE_Y));
}

Frm_CadBmp& Frm_CadBmp_Window() {
    static Frm_CadBmp window;
    return window;
}

void Frm_CadBmp_Show_Modal() {
    plat::Show_Modal(Frm_CadBmp_Window(), plat::Loaded_Copy::Keep);
}

void Frm_CadBmp_Reset() {
    Cad_Pending_Point = 0;
    Cad_Pic_Half_W = Cad_Pic_Half_H = 0;
    Cad_Map_Half_W = 0;
    Cad_Map_Half_H = 0;
    Cad_Off_X = Cad_Off_Y = 0;
    Cad_Scroll_Range_X = Cad_Scroll_Range_Y = 0;
    Cad_Scroll_Busy = 0;
    Cad_Last_Mouse_X = Cad_Last_Mouse_Y = 0;
}
