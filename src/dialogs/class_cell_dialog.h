#pragma once
// What the land-class and water-class cell dialogs share: the same controls in the same places,
// wired alike to each dialog's own handlers, the class code in the number box and its check, OK
// and Delete on the dialog's table, and the modal showing. Each dialog's list, preview and range
// of codes are its own.
#include <cstdint>
#include <string>

#include "core/project.h"
#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/dialog_services.h"
#include "platform/ui/ui.h"

// One class-cell table and the working state of its dialog.
struct Class_Cell_Set {
    Vb_Array<Class_Cell_Rec>& Table;
    int32_t& Count;
    int32_t& Capacity;
    int32_t Growth;
    int32_t& Found_Index;
    Class_Cell_Rec& Cur;
    int16_t& Cancelled;
    int16_t& Loading;   // 1 while the dialog writes the number box itself
};
// The land-class and the water-class tables, with their dialogs' state.
Class_Cell_Set Land_Class_Cells();
Class_Cell_Set Water_Class_Cells();

// The dialog's handlers of the events both dialogs have.
template <class Dialog>
struct Class_Cell_Handlers {
    void (Dialog::*Form_Load)();
    void (Dialog::*Form_Unload)(bool& cancel);
    void (Dialog::*Cmbo_Click)();
    void (Dialog::*Num_Validate)(bool& cancel);
    void (Dialog::*Cmd_Ok_Click)();
    void (Dialog::*Cmd_Sup_Click)();
    void (Dialog::*Cmd_Cancel_Click)();
};

// Wires the controls both dialogs have to the dialog's handlers; Escape in the number box
// shows the working class code again.
template <class Dialog>
void Class_Cell_Wire(Dialog& d, const Class_Cell_Handlers<Dialog>& h, const Class_Cell_Set& set) {
    const auto to = [&d](auto handler) { return [&d, handler](auto&... args) { (d.*handler)(args...); }; };
    d.Form_Load = to(h.Form_Load);
    d.Form_Unload = to(h.Form_Unload);
    d.Cmbo.Click = to(h.Cmbo_Click);
    Cell_Wire_Value_Box(d.Num, to(h.Num_Validate), [&cur = set.Cur] { return SYST_To_Text(cur.Class_Code); });
    d.Cmd_Ok.Click = to(h.Cmd_Ok_Click);
    d.Cmd_Sup.Click = to(h.Cmd_Sup_Click);
    d.Cmd_Cancel.Click = to(h.Cmd_Cancel_Click);
}

// The class list on top, the preview under it with the number box beside, the cell below and
// the buttons at the bottom; the right of the preview leaves room for notes.
template <class Dialog>
void Class_Cell_Design(Dialog& d, const std::string& caption) {
    d.SetCaption(caption);
    d.BorderStyle = 3;
    d.Move(0, 0, 300, 256);
    d.Cmbo.SetStyle(plat::Combo_DropDownList);
    d.Cmbo.Move(12, 12, 276, 21);
    d.Pic.Move(12, 42, 128, 128);
    d.LNum.SetCaption("Nr:");
    d.LNum.Move(156, 46, 30, 16);
    d.Num.Move(190, 42, 60, 21);
    d.LCreatMod.Move(12, 186, 120, 18);
    d.L_Cell_Area.Move(140, 186, 150, 18);
    d.Cmd_Sup.SetCaption("Delete");
    d.Cmd_Sup.Move(12, 216, 84, 26);
    d.Cmd_Ok.SetCaption("OK");
    d.Cmd_Ok.Move(106, 216, 84, 26);
    d.Cmd_Cancel.SetCaption("Cancel");
    d.Cmd_Cancel.Move(200, 216, 84, 26);
}

// The working class code in the number box, without taking it as typed.
void Class_Cell_Show_Code(plat::TextBox& num, const Class_Cell_Set& set);
// How a dialog's number box takes a class code: whole codes from `Lowest` to below `Beyond`;
// `Entry_Of` gives a code's entry of the class list (-1 when the list lacks it) and is empty
// when there is no list.
struct Class_Code_Rule {
    int Lowest;
    int Beyond;
    uint8_t Unlisted;  // the code of the first entry, which a code the list lacks falls back on
    std::function<int(int code)> Entry_Of;
};
// A code typed in the number box once checked: not `Taken` when it was refused (or the
// dialog wrote the box itself); `Entry` its class-list entry, -1 without a list.
struct Class_Code_Typed {
    bool Taken = false;
    int Entry = -1;
};
// The code typed in `num` into the working cell, by `rule`; a refused code gets message 1 and
// keeps the focus. Without a list the typed code stands.
Class_Code_Typed Class_Cell_Take_Code(plat::TextBox& num, const Class_Cell_Set& set, const Class_Code_Rule& rule,
                                      bool& cancel);
// OK stores the working cell (appended or written back), Delete removes the found one; either
// closes the dialog as not cancelled.
void Class_Cell_Ok(plat::Form& dialog, const Class_Cell_Set& set);
void Class_Cell_Delete(plat::Form& dialog, const Class_Cell_Set& set);
