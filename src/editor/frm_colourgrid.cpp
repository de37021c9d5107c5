// The grid-colour window and its seven greys.
#include "editor/frm_colourgrid.h"

#include "core/project.h"
#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"

#include <array>

namespace {

constexpr std::array<int32_t, 7> kGreys = {16777215, 14737632, 12632256, 10526880, 8421504, 4210752, 0};

}  // namespace

int32_t Grid_Colour_Of(int index) {
    if (index < 0 || index >= static_cast<int>(kGreys.size())) return kGreys[2];
    return kGreys[static_cast<size_t>(index)];
}

Frm_ColourGrid::Frm_ColourGrid() : Form("Frm_ColourGrid") {
    Form_Load = [this] { Frm_ColourGrid_Form_Load(); };
    Opt_ColourGrid.SetWire([this](plat::OptionButton& o, int i) {
        o.Click = [this, i] { Frm_ColourGrid_Opt_ColourGrid_Click(i); };
    });
}

void Frm_ColourGrid::Design() {
    BorderStyle = 3;
    Move(0, 0, 150, 7 * 22 + 34);
    for (int i = 0; i < 7; ++i) {
        plat::OptionButton& o = Opt_ColourGrid(i);
        o.Move(8, 6 + 22 * i, 130, 20);
        o.SetBackColor(static_cast<plat::Colour>(Grid_Colour_Of(i)));
    }
}

void Frm_ColourGrid::Frm_ColourGrid_Form_Load() {
    SetCaption(Language == "US" ? "Grid colour" : "Couleur de la grille");
    const plat::CommandButton& button = Frm_Window().Cmd_ColourGrid;
    // Just under the button; the model places forms in pixels, so no twips are involved.
    Move(button.Left(), button.Top() + button.Height() + 10, Width(), Height());
    const int index = Grid_Colour_Index >= 0 && Grid_Colour_Index <= 6 ? Grid_Colour_Index : 2;
    Opt_ColourGrid(index).SetValue(true);
    Colour_Dlg_Loading = 0;
}

void Frm_ColourGrid::Frm_ColourGrid_Opt_ColourGrid_Click(int index) {
    if (Colour_Dlg_Loading == 1) return;
    Grid_Colour_Index = static_cast<int16_t>(index);
    Grid_Colour = static_cast<int32_t>(Opt_ColourGrid(index).BackColor());
    Unload();
}

Frm_ColourGrid& Frm_ColourGrid_Window() {
    static Frm_ColourGrid window;
    return window;
}
