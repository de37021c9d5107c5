// The main window laid out at start-up, its scroll-bar ranges, and its no-project state.
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/pinit_layout.h"

void Pinit_Init_Scrollbars() {
    Frm& f = Frm_Window();
    Scroll_Busy = 1;
    for (plat::ScrollBar* s : {static_cast<plat::ScrollBar*>(&f.HScroll), static_cast<plat::ScrollBar*>(&f.VScroll)}) {
        s->SetMin(0);
        s->SetMax(32000);
        s->SetLargeChange(2000);
        s->SetSmallChange(200);
        s->SetValue(0);
    }
    Scroll_Busy = 0;
}

void Pinit_Layout_Main() {
    Frm& f = Frm_Window();
    const int W = f.ScaleWidth();
    const int H = f.ScaleHeight();

    // Each button's left follows the previous one as it stands now, so a changed width moves
    // every later button.
    const auto& bar = f.Tool_Bar();
    for (size_t i = 0; i < bar.size(); ++i) {
        plat::CommandButton& b = *bar[i].button;
        b.SetTop(0);
        if (i == 0) {
            b.SetLeft(2);
        } else {
            const plat::CommandButton& prev = *bar[i - 1].button;
            b.SetLeft(prev.Left() + prev.Width() + bar[i].gap);
        }
    }

    Scroll_Busy = 1;

    auto right = [](const plat::Control& c) { return c.Left() + c.Width(); };
    f.L_MouseBmp.SetLeft(2);
    f.L_MouseBmp.SetTop(H - f.LLat.Height());
    f.LLat.SetLeft(right(f.L_MouseBmp) + 2);
    f.LLon.SetLeft(right(f.LLat) + 2);
    f.LLat.SetTop(H - f.LLat.Height());
    f.LLon.SetTop(f.LLat.Top());
    f.L_LLatDec.SetLeft(right(f.LLon) + 2);
    f.LLatDec.SetLeft(right(f.L_LLatDec) + 2);
    f.L_LLonDec.SetLeft(right(f.LLatDec) + 2);
    f.LLonDec.SetLeft(right(f.L_LLonDec) + 2);
    for (plat::Label* l : {&f.L_LLatDec, &f.LLatDec, &f.L_LLonDec, &f.LLonDec}) l->SetTop(H - l->Height());
    f.L_NumCell_Area.SetLeft(right(f.LLonDec) + 2);
    f.L_NumCell_Area.SetTop(H - f.L_NumCell_Area.Height());
    f.L_CustomBmp.SetLeft(right(f.L_NumCell_Area) + 2);
    f.L_CustomBmp.SetTop(H - f.L_CustomBmp.Height());

    f.HScroll.SetLeft(0);
    f.HScroll.SetTop(H - f.HScroll.Height() - f.LLat.Height() - 1);
    f.HScroll.SetWidth(W - f.VScroll.Width());

    f.VScroll.SetLeft(W - f.VScroll.Width());
    f.VScroll.SetTop(f.Cmd_New.Height());
    f.VScroll.SetHeight(f.HScroll.Top() - f.VScroll.Top());

    Pinit_Init_Scrollbars();
    Scroll_Busy = 0;

    // The picture keeps an odd size in both directions, so it has a centre pixel.
    int height = f.VScroll.Height();
    if (height % 2 == 0) height -= 1;
    int width = f.HScroll.Width();
    if (width % 2 == 0) width -= 1;
    f.Pic.Move(0, f.Cmd_New.Height(), width, height);

    f.HScroll.SetVisible(true);
    f.VScroll.SetVisible(true);
    f.Pic.SetVisible(true);
}

void Pinit_Set_No_Project() {
    Frm& f = Frm_Window();
    f.Pic.ClearPicture();
    for (plat::Menu* m : {&f.Mnu_File_Close, &f.Mnu_File_Enreg, &f.Mnu_File_Enreg_Sous, &f.Mnu_Reinit,
                          &f.Mnu_Param_File, &f.Mnu_par_Remesh, &f.Mnu_ModCad})
        m->SetEnabled(false);
    for (plat::CommandButton* b :
         {&f.Cmd_Save, &f.Cmd_ZPlus, &f.Cmd_ZMoins, &f.Cmd_AffBmp, &f.Cmd_TrtCell, &f.Cmd_ColourGrid, &f.Cmd_Grid,
          &f.Cmd_API, &f.Cmd_Saisie_Routes, &f.Cmd_New_Route, &f.Cmd_Sel_Route, &f.Cmd_Ins_Pt_Route,
          &f.Cmd_Sel_Pt_Route, &f.Cmd_Extr_Pt_Route, &f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_Tabul, &f.Cmd_TrtArea,
          &f.Cmd_Excl_Areas, &f.Cmd_LandClass, &f.Cmd_AffTexture, &f.Cmd_WaterClass, &f.Cmd_TrtIma, &f.Cmd_New_Ima,
          &f.Cmd_Sel_Ima, &f.Cmd_Sel_Crb_Ima, &f.Cmd_FSUIPC, &f.Cmd_TrtMesh})
        b->SetEnabled(false);
    f.HScroll.SetEnabled(false);
    f.VScroll.SetEnabled(false);
}
