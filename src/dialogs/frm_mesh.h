#pragma once
// The re-mesh level dialog: the level (LOD 12 down to LOD 8) of the grid on which the altitude
// points lie. It advises the finest level whose mesh step still covers 7 map pixels and
// preselects it until the author has confirmed a level once (Mesh_Lod_Chosen, project.h).
#include <cstdint>

#include "platform/ui/ui.h"

// The option selected in the dialog, applied by OK; -1 while none is selected.
inline int16_t Mesh_Lod_Pending = -1;
// 1 while the load selects an option, so that its click is not taken as the author's.
inline int16_t Mesh_Dlg_Loading = 0;

class Frm_Mesh : public plat::Form {
public:
    Frm_Mesh();

    plat::Frame Frame1{*this, "Frame1"};
    plat::ControlArray<plat::OptionButton> Opt_LodMesh{*this, "Opt_LodMesh", {0, 1, 2, 3, 4}};
    plat::Label L_Info{*this, "L_Info"};
    plat::Label L_Info_Cons{*this, "L_Info_Cons"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_Mesh_Form_Load();
    void Frm_Mesh_Opt_LodMesh_Click(int index);
    void Frm_Mesh_Cmd_Ok_Click();
    void Frm_Mesh_Cmd_Cancel_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_Mesh& Frm_Mesh_Window();
// Shows it modally from a fresh load; afterwards Mesh_Lod_Chosen is 1 when a level was confirmed.
void Frm_Mesh_Show_Modal();
// The advised level (8 to 12) from the project's calibration, or 0 when the calibration advises
// none (too few pixels per degree, or two points on one latitude or longitude).
int16_t Frm_Mesh_Advised_Level();
// Start values (tests): the window unloaded, nothing pending.
void Frm_Mesh_Reset();
