#include "editor/generate_command.h"

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_paths.h"
#include "editor/frm.h"
#include "editor/generation_display.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "generation/class_rasters.h"
#include "generation/excl_writer.h"
#include "generation/generation_services.h"
#include "generation/mask_writer.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"

#include <algorithm>

namespace {

// A VTP1 polygon on the first texture choice takes its texture from an image: without one
// there is nothing to write for it.
bool Vtp1_Polygon_Without_Image() {
    const int32_t last = std::min(Line_Count, Line_Table.UBound());
    for (int32_t i = 2; i <= last; ++i) {
        const Route_Attrib& a = Line_Table(i).Attr;
        if (a.SurfShore < 2 && a.LWM_VTP2 == 2 && a.VTP1_SpecNor == 0 && a.Image_Link == 0) return true;
    }
    return false;
}

// Every "<base>_<anything>.bgl" of the base's folder, without case. The base name is the
// author's text, not a pattern: a "?" or "*" in it must not sweep another project's files.
void Delete_Suffixed_Outputs(const std::string& base) {
    const size_t slash = base.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : base.substr(0, slash);
    const std::string prefix = plat::UCase(slash == std::string::npos ? base : base.substr(slash + 1)) + "_";
    const std::string extension = ".BGL";
    for (const std::string& name : plat::ListFolder(folder)) {
        const std::string upper = plat::UCase(name);
        if (upper.size() >= prefix.size() + extension.size() && upper.starts_with(prefix) &&
            upper.ends_with(extension))
            plat::DeleteFile(folder + "\\" + name);
    }
}

void Delete_Previous_Outputs() {
    const std::string excl = Project_Resolve_Path(Bgl_Excl_Path);
    if (!excl.empty() && plat::FileExists(excl)) plat::DeleteFile(excl);
    if (Bgl_Base_Path.size() <= 4) return;
    Delete_Suffixed_Outputs(Project_Resolve_Path(Bgl_Base_Path.substr(0, Bgl_Base_Path.size() - 4)));
}

}  // namespace

void Frm_Cmd_API_Click() {
    Frm& f = Frm_Window();
    PSais_Cancel_Tool();
    if (Edit_Refused == 1) return;
    if (Vtp1_Polygon_Without_Image()) {
        Msg_Answer = ERREUR_Show_Message(131);
        return;
    }
    PSais_Redraw_Map();
    Generation_Display_Install();
    f.LCompileNom.SetCaption("");
    f.Fram_Compile.SetVisible(true);
    plat::CurrentHost().Refresh(f);

    Delete_Previous_Outputs();
    // Each step shows its own failure and the next one runs all the same.
    API_Write_Excl_Asm();
    if (Cfs_Mode == 0) API_Write_Remesh_Lwm_Asm();
    API_Write_Lwm_Asm();
    API_Make_Landclass_Bgl();
    API_Make_Waterclass_Bgl();
    if (Cfs_Mode == 0) API_Write_Vtp2_Asm();
    API_Make_Night_Lines();

    Focus_Map();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
    f.Fram_Compile.SetVisible(false);
    plat::CurrentHost().Refresh(f);
}

void Generate_Command_Connect(Frm& f) { f.Cmd_API.Click = [] { Frm_Cmd_API_Click(); }; }
