#pragma once
// What the cell dialogs and the line/polygon dialog share besides their records: the land-class
// list, the choice of an option or list entry from a stored value, and the preview pictures of a
// texture, converted into a scratch bitmap that lives while the dialog is open.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/gdi/surface.h"
#include "platform/ui/control_array.h"
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
// Selects entry `index` when the list holds it.
void Cell_Select_Item(plat::ComboBox& list, int index);
// Selects option `value` of the array; a value no option stands for (a damaged file) selects none.
void Cell_Select_Option(plat::ControlArray<plat::OptionButton>& options, int value);

// The preview emptied.
void Cell_Clear_Preview(plat::PictureBox& pic);
// Temp_Ima_Bmp := `scratch`, and no file of that name left from before.
void Cell_Start_Preview(const std::string& scratch);
// `source` converted into Temp_Ima_Bmp and shown in every picture; a missing, tiny or unreadable
// texture leaves them empty rather than showing an earlier one.
void Cell_Convert_And_Show(const std::string& source, std::initializer_list<plat::PictureBox*> pictures);
// The preview of land class entry k, when the simulator's texture folder was found: nothing
// for the classes from 252 up (they have no ground texture).
void Cell_Land_Class_Preview(plat::PictureBox& pic, int entry);
// At unload: the preview emptied and its scratch bitmap deleted.
void Cell_Drop_Preview(plat::PictureBox& pic);
// The scratch bitmap deleted, when there is one.
void Cell_Drop_Scratch();
