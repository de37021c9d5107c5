// The re-mesh level dialog: the level advised from the map's scale, the option buttons and OK.
#include "dialogs/frm_mesh.h"

#include <cmath>
#include <string>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "platform/ui/modal.h"

namespace {

constexpr int16_t kFinestLevel = 12;
constexpr int16_t kCoarsestLevel = 8;
constexpr int16_t kOptionCount = 5;
// A LOD13 cell's local positions.
constexpr double kCellPositions = 255;
// Pixels a mesh step must cover at least.
constexpr double kMinPixelsPerStep = 7;

bool Valid_Option(int index) { return index >= 0 && index < kOptionCount; }

}  // namespace

int16_t Frm_Mesh_Advised_Level() {
    const double rows = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_Y) - Proj_Px_NW_Y);
    const double cols = static_cast<double>(static_cast<int64_t>(Proj_Px_SE_X) - Proj_Px_NW_X);
    const double r_lat = std::fabs(rows / (Proj_Lat_SE - Proj_Lat_NW) * Lod13_Height / kCellPositions);
    const double r_lon = std::fabs(cols / (Proj_Lon_SE - Proj_Lon_NW) * Lod13_Width / kCellPositions);
    // Two points on one latitude or longitude give no pixel size in that direction.
    if (!std::isfinite(r_lat) || !std::isfinite(r_lon)) return 0;
    double r = r_lat < r_lon ? r_lat : r_lon;
    int16_t level = kFinestLevel;
    r *= 2;
    while (r < kMinPixelsPerStep) {
        if (level == kCoarsestLevel) return 0;
        r *= 2;
        --level;
    }
    return level;
}

Frm_Mesh::Frm_Mesh() : Form("Frm_Mesh") {
    Form_Load = [this] { Frm_Mesh_Form_Load(); };
    Opt_LodMesh.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Frame1);
        o.Click = [this, i] { Frm_Mesh_Opt_LodMesh_Click(i); };
    });
    Cmd_Ok.Click = [this] { Frm_Mesh_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_Mesh_Cmd_Cancel_Click(); };
}

void Frm_Mesh::Design() {
    SetCaption("Re-Mesh");
    BorderStyle = 3;
    Move(0, 0, 300, 206);
    Frame1.Move(12, 8, 150, 150);
    static const char* const captions[kOptionCount] = {"Lod12 (9.6 m)", "Lod11 (19.1 m)", "Lod10 (38.2 m)",
                                                       "Lod9 (76.4 m)", "Lod8 (152.9 m)"};
    for (int i = 0; i < kOptionCount; ++i) {
        Opt_LodMesh(i).SetCaption(captions[i]);
        Opt_LodMesh(i).Move(12, 18 + 26 * i, 126, 20);
    }
    L_Info.SetCaption("Valeur minimum conseillée");
    L_Info.WordWrap = true;
    L_Info.Move(174, 20, 114, 32);
    L_Info_Cons.Move(174, 56, 114, 18);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Default = true;
    Cmd_Ok.Move(60, 168, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Cancel = true;
    Cmd_Cancel.Move(160, 168, 80, 26);
}

void Frm_Mesh::Frm_Mesh_Form_Load() {
    L_Info.SetCaption(Language == "US" ? "Advised minimum value" : "Valeur minimum conseillée");
    const int16_t level = Frm_Mesh_Advised_Level();
    if (level != 0) L_Info_Cons.SetCaption("Lod" + std::to_string(level));

    // Without advice nothing is ticked, the confirmed level neither: OK then wants a choice.
    Mesh_Lod_Pending = -1;
    if (level == 0) return;
    // The confirmed level comes first; before any, the advice. Mesh_Lod_Index itself changes
    // only by OK, so that a cancelled showing leaves the project as it was.
    const int16_t index = Mesh_Lod_Chosen == 1 && Valid_Option(Mesh_Lod_Index)
                              ? Mesh_Lod_Index
                              : static_cast<int16_t>(kFinestLevel - level);
    Mesh_Dlg_Loading = 1;
    Opt_LodMesh(index).SetValue(true);
    Mesh_Dlg_Loading = 0;
    Mesh_Lod_Pending = index;
}

void Frm_Mesh::Frm_Mesh_Opt_LodMesh_Click(int index) {
    if (Mesh_Dlg_Loading == 1) return;
    Mesh_Lod_Pending = static_cast<int16_t>(index);
}

void Frm_Mesh::Frm_Mesh_Cmd_Ok_Click() {
    // Nothing advised and nothing ticked: there is no level to confirm.
    if (!Valid_Option(Mesh_Lod_Pending)) {
        Msg_Answer = ERREUR_Show_Message(12);
        return;
    }
    Mesh_Lod_Chosen = 1;
    Mesh_Lod_Index = Mesh_Lod_Pending;
    Unload();
}

void Frm_Mesh::Frm_Mesh_Cmd_Cancel_Click() { Unload(); }

Frm_Mesh& Frm_Mesh_Window() {
    static Frm_Mesh window;
    return window;
}

void Frm_Mesh_Show_Modal() {
    plat::Show_Modal(Frm_Mesh_Window(), plat::Loaded_Copy::Unload);
}

void Frm_Mesh_Reset() {
    Frm_Mesh& dialog = Frm_Mesh_Window();
    if (dialog.Loaded()) dialog.ForceUnload();
    Mesh_Lod_Pending = -1;
    Mesh_Dlg_Loading = 0;
}
