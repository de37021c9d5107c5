// The generate button: the project checked, old outputs deleted, then every writer in turn.
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
#include "generation/mask_writer.h"
#include "generation/night_lines_writer.h"
#include "generation/remesh_writer.h"
#include "generation/vtp2_writer.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

// The outputs of an earlier Generate: only the names this project's steps write, in the folder
// they write them to, without case, as the check of outputs against inputs finds them. The
// author's own "<base>_mine.bgl" stays.
void Delete_Previous_Outputs() {
    const std::string excl = Project_Resolve_Path(Bgl_Excl_Path);
    if (!excl.empty() && plat::FileExists(excl)) plat::DeleteFile(excl);
    // A base that names no file (empty, a folder, blanks) names no output of its own.
    if (!Project_Bgl_Name_Fault(Bgl_Base_Path, Project_Bgl_Field::Base, true).empty()) return;
    const plat::Path_Split at = plat::Split_Folder(Project_Resolve_Path(Project_Bgl_Stem(Bgl_Base_Path)));
    const std::string folder = !at.Separated ? "." : at.Folder.empty() ? "/" : at.Folder;
    for (const std::string& name : plat::ListFolder(folder)) {
        const std::string file = (std::filesystem::path(folder) / name).string();
        if (Project_Is_Base_Output(file, Bgl_Base_Path, Project_File)) plat::DeleteFile(file);
    }
}

// The folders that this project's outputs go to and that are not there: the tools cannot make
// them, and a tool would only say that it did not write its file. Each named once.
std::vector<std::string> Missing_Output_Folders() {
    std::vector<std::string> folders;
    auto need = [&folders](const std::string& folder) {
        if (folder.empty() || plat::FolderExists(folder)) return;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    };
    const std::string base = Project_Resolve_Path(Bgl_Base_Path);
    if (!base.empty()) need(plat::Split_Folder(base).Folder);
    const std::string excl = Project_Resolve_Path(Bgl_Excl_Path);
    if (Excl_Cell_Count > 0 && !excl.empty()) need(plat::Split_Folder(excl).Folder);
    if (Lc_Cell_Count > 0 || Wc_Cell_Count > 0) need(Project_Resolve_Path(Scenery_Dir));
    return folders;
}

void Show_Missing_Folders(const std::vector<std::string>& folders) {
    const bool english = Language == "US";
    std::string text = english ? "The output folder does not exist:" : "Le dossier de sortie n'existe pas :";
    for (const std::string& folder : folders) text += "\r\n" + folder;
    text += english ? "\r\nCreate it, or choose another one in the project parameters. Nothing was generated."
                    : "\r\nCréez-le, ou choisissez-en un autre dans les paramètres du projet. Rien n'a été généré.";
    plat::CurrentHost().MsgBox(text, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
}

// A project whose outputs would take the place of a file it reads (a file may carry any name):
// the file and the field are named, and nothing is deleted or written.
bool Refuse_Output_Over_Input() {
    const Project_Output_Clash clash =
        Project_Find_Output_Clash(Project_Current_Output_Names(), Project_File, Map_File);
    if (clash.Field == Project_Output_Field::None) return false;
    const bool english = Language == "US";
    std::string text = Project_Output_Clash_Text(clash);
    if (clash.Field != Project_Output_Field::Program)
        text += english ? "\r\nChoose another name in the project parameters."
                        : "\r\nChoisissez un autre nom dans les paramètres du projet.";
    text += english ? "\r\nNothing was generated or deleted." : "\r\nRien n'a été généré ni supprimé.";
    plat::CurrentHost().MsgBox(text, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
    return true;
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
    if (Refuse_Output_Over_Input()) return;
    // Before anything is deleted: a run that cannot put its files anywhere keeps the old ones.
    if (const std::vector<std::string> missing = Missing_Output_Folders(); !missing.empty()) {
        Show_Missing_Folders(missing);
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
