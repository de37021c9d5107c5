// The folder picker start-up installs, and the call that shows it titled in the window language.
#include "core/syst_folder.h"

#include <utility>

#include "core/project.h"

namespace {
Folder_Picker picker;
}

void SYST_Set_Folder_Picker(Folder_Picker p) { picker = std::move(p); }

bool SYST_Pick_Folder(const std::string& title_fr, const std::string& title_us, std::string& folder) {
    if (!picker) return false;
    return picker(Language == "US" ? title_us : title_fr, folder);
}
