// The set-up windows closed and their globals reset, and the folder picker and conversion window
// installed in core.
#include "setup/setup_reset.h"

#include "core/project_file.h"
#include "core/syst_folder.h"
#include "setup/frm_cadbmp.h"
#include "setup/frm_centermap.h"
#include "setup/frm_dir.h"
#include "setup/frm_modcad.h"
#include "setup/frm_pgen.h"
#include "setup/frm_ppro.h"
#include "setup/frm_v24.h"
#include "setup/setup_services.h"

namespace {
template <class F>
void Close(F& window) {
    if (window.Loaded()) window.ForceUnload();
}
}  // namespace

void Setup_Windows_Reset() {
    Close(Frm_PGen_Window());
    Close(Frm_PPro_Window());
    Close(Frm_ModCad_Window());
    Close(Frm_CenterMap_Window());
    Close(Frm_CadBmp_Window());
    Frm_CadBmp_Reset();
}

void Setup_Connect_Core() {
    Ask_Conversion_Options = Frm_V24_Show_Modal;
    SYST_Set_Folder_Picker([](const std::string& title, std::string& folder) {
        Dir_Pick_Title = title;
        int16_t cancelled = 1;
        std::string chosen = folder;
        Frm_Dir_Choose(cancelled, chosen);
        if (cancelled != 0) return false;
        folder = chosen;
        return true;
    });
}
