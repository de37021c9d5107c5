#pragma once
// The class list and the texture previews of the cell dialogs: the land-class list that the
// textured-area and land-class dialogs offer, and the preview pictures of a class's ground or
// water texture, converted into a scratch bitmap that lives while the dialog is open.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/gdi/surface.h"
#include "platform/ui/controls.h"
#include "platform/ui/picture_box.h"

// Entries 0..this of Land_Class_Table that exist; -1 when there is none.
int32_t Cell_Land_Class_Last();
// One item per land class ("005 Name"), or the list disabled when no class table was read.
void Cell_Fill_Land_Class_List(plat::ComboBox& cmbo);
// The first entry whose class code is `code`; -1 when none is.
int16_t Cell_Find_Land_Class(int code);
// The same, or entry 0 when none is.
int16_t Cell_Land_Class_Entry(int code);

// Selects entry `index` of the list so that its click handling runs, also when the entry is
// selected already (then the model raises no Click of its own).
void Cell_Select_Entry(plat::ComboBox& cmbo, int index, const std::function<void()>& click);

// The preview emptied.
void Cell_Clear_Preview(plat::PictureBox& pic);
// Temp_Ima_Bmp := `scratch`, deleted when it exists; then `texture` converted into it and
// shown, or the preview emptied when it cannot be converted or read.
void Cell_Show_Texture(plat::PictureBox& pic, const std::string& scratch, const std::string& texture);
// The preview of land class entry k, when the simulator's texture folder was found: nothing
// for the classes from 252 up (they have no ground texture).
void Cell_Land_Class_Preview(plat::PictureBox& pic, int entry);
// At unload: the preview emptied and its scratch bitmap deleted.
void Cell_Drop_Preview(plat::PictureBox& pic);
