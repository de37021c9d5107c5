// The land-class and water-class cell tables with their dialogs' state, and the steps the two
// dialogs share on them.
#include "dialogs/class_cell_dialog.h"
#include "platform/ui/modal.h"

Class_Cell_Set Land_Class_Cells() {
    return {Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity, Lc_Cell_Growth,
            Lc_Dlg_Index, Lc_Cell_Cur, Lc_Dlg_Cancelled, Lc_Dlg_Loading};
}

Class_Cell_Set Water_Class_Cells() {
    return {Wc_Cell_Table, Wc_Cell_Count, Wc_Cell_Capacity, Wc_Cell_Growth,
            Wc_Dlg_Index, Wc_Cell_Cur, Wc_Dlg_Cancelled, Wc_Dlg_Loading};
}

void Class_Cell_Show_Code(plat::TextBox& num, const Class_Cell_Set& set) {
    set.Loading = 1;
    num.SetText(std::to_string(set.Cur.Class_Code));
    set.Loading = 0;
}

Class_Code_Typed Class_Cell_Take_Code(plat::TextBox& num, const Class_Cell_Set& set, const Class_Code_Rule& rule,
                                      bool& cancel) {
    if (set.Loading == 1) return {};
    const std::string text = Cell_Trim_Box(num);
    const double v = Cell_Is_Whole(text) ? SYST_To_Double(text) : -1;
    if (v < rule.Lowest || v >= rule.Beyond) {
        Cell_Refuse_Entry(cancel);
        return {};
    }
    set.Cur.Class_Code = static_cast<uint8_t>(v);
    if (!rule.Entry_Of) return {true, -1};
    int k = rule.Entry_Of(set.Cur.Class_Code);
    if (k < 0) {
        k = 0;
        set.Cur.Class_Code = rule.Unlisted;
    }
    return {true, k};
}

void Class_Cell_Ok(plat::Form& dialog, const Class_Cell_Set& set) {
    Cell_Store(set.Table, set.Count, set.Capacity, set.Growth, set.Found_Index, set.Cur);
    set.Cancelled = 0;
    dialog.Unload();
}

void Class_Cell_Delete(plat::Form& dialog, const Class_Cell_Set& set) {
    Cell_Delete(set.Table, set.Count, set.Found_Index);
    set.Cancelled = 0;
    dialog.Unload();
}

