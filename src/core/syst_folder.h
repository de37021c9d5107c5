#pragma once
// Choosing a folder through the folder picker.
#include <cstdint>
#include <string>

// The caller sets Dir_Pick_Title first. Shows the picker on `folder` (empty: App_Dir); afterwards
// cancelled is 0 when the author chose OK, 1 otherwise, and folder is the folder last shown
// (callers use it only when cancelled is 0).
void SYST_Choose_Folder(int16_t& cancelled, std::string& folder);

// The same with its title, French or English by the window language: on OK the chosen folder
// goes into `folder` and the result is true; a cancel leaves `folder` as it was.
bool SYST_Pick_Folder(const std::string& title_fr, const std::string& title_us, std::string& folder);
