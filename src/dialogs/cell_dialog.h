#pragma once
// What the five cell dialogs (textured area, LOD8 cell, exclusion area, land-class and
// water-class cell) share: the keys of the double-clicked place, the look-up of its record,
// OK (append or write back), Delete (close the gap), the cell label and the behaviour of their
// value boxes. Each dialog's fields and checks are in its own frm_*.h.
#include <cstdint>
#include <functional>
#include <string>

#include "core/project.h"
#include "dialogs/dialog_services.h"
#include "platform/ui/controls.h"

// The keys of a cell record: the LOD8 cell, and the LOD13 area inside it.
struct Cell_Keys {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;
    int16_t Lod13_Row = 0;
};

// Keys of the map pixel under the mouse (Mouse_Col, Mouse_Row) on the terrain grid (textured
// areas, LOD8 cells, exclusions) or on the grid shifted by half an LOD13 cell (class cells,
// which are centred on an LOD13 grid point).
Cell_Keys Cell_Keys_Of_Mouse();
Cell_Keys Cell_Keys_Of_Mouse_Centred();

// "C: col-row  A: col-row", or "C: col-row" for an LOD8 cell alone.
std::string Cell_Area_Text(const Cell_Keys& keys);
std::string Cell_Lod8_Text(const Cell_Keys& keys);

template <class Rec>
void Cell_Set_Keys(Rec& record, const Cell_Keys& keys) {
    record.Lod8_Col = keys.Lod8_Col;
    record.Lod8_Row = keys.Lod8_Row;
    if constexpr (requires { record.Lod13_Col; }) {
        record.Lod13_Col = keys.Lod13_Col;
        record.Lod13_Row = keys.Lod13_Row;
    }
}

// Compares the LOD8 keys, and the LOD13 keys too when `compared` is 4.
template <class Rec>
bool Cell_Keys_Match(const Rec& record, const Cell_Keys& keys, int compared) {
    if (record.Lod8_Col != keys.Lod8_Col || record.Lod8_Row != keys.Lod8_Row) return false;
    if constexpr (requires { record.Lod13_Col; }) {
        if (compared == 4 && (record.Lod13_Col != keys.Lod13_Col || record.Lod13_Row != keys.Lod13_Row))
            return false;
    }
    return true;
}

// Records 1..count that the table really holds (a damaged file may claim more).
template <class Rec>
int32_t Cell_Last_Record(const Vb_Array<Rec>& table, int32_t count) {
    return count < table.UBound() ? count : table.UBound();
}

// The first record with the keys, 0 when there is none.
template <class Rec>
int32_t Cell_Find(const Vb_Array<Rec>& table, int32_t count, const Cell_Keys& keys, int compared) {
    const int32_t last = Cell_Last_Record(table, count);
    for (int32_t i = 1; i <= last; ++i)
        if (Cell_Keys_Match(table(i), keys, compared)) return i;
    return 0;
}

// The look-up of every dialog's load: found, the working record is a copy of the record and
// the dialog modifies it ("M"); not found, it starts from `defaults` with the clicked keys and
// creates ("C"), with its delete button disabled. Gives whether a record was found.
template <class Rec>
bool Cell_Look_Up(const Vb_Array<Rec>& table, int32_t count, const Cell_Keys& keys, int compared,
                  const Rec& defaults, Rec& working, int32_t& found_index, plat::Label& creat_mod,
                  plat::CommandButton& cmd_sup) {
    found_index = Cell_Find(table, count, keys, compared);
    if (found_index > 0) {
        creat_mod.SetCaption("Modification");
        working = table(found_index);
        Edit_Mode = "M";
        return true;
    }
    creat_mod.SetCaption("Creation");
    working = defaults;
    Cell_Set_Keys(working, keys);
    Edit_Mode = "C";
    cmd_sup.SetEnabled(false);
    return false;
}

// OK: in creation the working record is appended (the table grown by `step` when full); in
// modification it replaces the record at the found index.
template <class Rec>
void Cell_Store(Vb_Array<Rec>& table, int32_t& count, int32_t& capacity, int32_t step, int32_t found_index,
                const Rec& working) {
    if (Edit_Mode != "M") {
        Table_Grow_If_Full(table, count, capacity, step);
        // Counts read from a damaged file may run ahead of the table.
        if (!table.In_Range(count + 1)) {
            capacity = count + step;
            table.ReDim_Preserve(capacity);
        }
        table(++count) = working;
        return;
    }
    if (found_index >= 1 && found_index <= Cell_Last_Record(table, count)) table(found_index) = working;
}

// Delete: the record at the found index goes, the later ones move down; the capacity stays.
template <class Rec>
void Cell_Delete(Vb_Array<Rec>& table, int32_t& count, int32_t found_index) {
    Table_Delete_Shift(table, count, found_index);
}

// A number (as Number_Entry_Is_Number takes it) without a fraction.
bool Cell_Is_Whole(const std::string& text);
// An altitude box's rule: numeric, from -9999 (no altitude) up to but not including 10000.
bool Cell_Read_Altitude(const std::string& text, double& value);

// The value boxes of the cell dialogs: on focus the whole text is selected; Enter validates
// as if the focus left; Escape puts `stored_text()` back. `validate` trims the text, applies
// the box's rule and sets cancel when it refused (after message 1).
void Cell_Wire_Value_Box(plat::TextBox& box, std::function<void(bool& cancel)> validate,
                         std::function<std::string()> stored_text);
// The first step of every validation: the text trimmed and written back.
std::string Cell_Trim_Box(plat::TextBox& box);
// A refused entry: numbered message 1; the focus stays in the box.
void Cell_Refuse_Entry(bool& cancel);

