#pragma once
// The small window that offers the grid's seven greys, opened under the grid-colour button.
#include <cstdint>

#include "platform/ui/ui.h"

// 1 while the window selects the current colour's option, which is no choice.
inline int16_t Colour_Dlg_Loading = 0;

class Frm_ColourGrid : public plat::Form {
public:
    Frm_ColourGrid();

    plat::ControlArray<plat::OptionButton> Opt_ColourGrid{*this, "Opt_ColourGrid", {0, 1, 2, 3, 4, 5, 6}};

    void Frm_ColourGrid_Form_Load();
    void Frm_ColourGrid_Opt_ColourGrid_Click(int index);

protected:
    void Design() override;
};

Frm_ColourGrid& Frm_ColourGrid_Window();

// The colour offered by option `index` (0 white .. 6 black).
int32_t Grid_Colour_Of(int index);
