#pragma once
// Choosing a folder through the folder picker. The picker window lives with the set-up windows,
// above this module: start-up installs it here.
#include <functional>
#include <string>

// Shows the picker titled `title` on `folder` (empty: App_Dir); true with the chosen folder in
// `folder` on OK, false with `folder` as it was otherwise.
using Folder_Picker = std::function<bool(const std::string& title, std::string& folder)>;
void SYST_Set_Folder_Picker(Folder_Picker picker);

// The picker with its title, French or English by the window language; without a picker
// installed nothing is chosen.
bool SYST_Pick_Folder(const std::string& title_fr, const std::string& title_us, std::string& folder);
