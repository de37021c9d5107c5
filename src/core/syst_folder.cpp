#include "core/syst_folder.h"

#include "core/project.h"
#include "setup/frm_dir.h"
#include "setup/setup_services.h"

void SYST_Choose_Folder(int16_t& cancelled, std::string& folder) {
    Dir_Pick_Path = folder;
    cancelled = 0;
    Frm_Dir& picker = Frm_Dir_Window();
    // Every choice starts from the window's load, never from a copy left open.
    if (picker.Loaded()) picker.ForceUnload();
    picker.Show(plat::Modal);
    // A host that returns with the window still loaded (hidden) ends the choice as a cancel.
    if (picker.Loaded()) picker.Unload(plat::Unload_FormCode);
    cancelled = Dir_Pick_Cancelled;
    folder = Dir_Pick_Path;
}

bool SYST_Pick_Folder(const std::string& title_fr, const std::string& title_us, std::string& folder) {
    Dir_Pick_Title = Language == "FR" ? title_fr : title_us;
    int16_t cancelled = 1;
    std::string chosen = folder;
    SYST_Choose_Folder(cancelled, chosen);
    if (cancelled != 0) return false;
    folder = chosen;
    return true;
}
