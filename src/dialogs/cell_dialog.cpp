// The cell dialogs' shared steps: the keys under the mouse, the record look-up, OK and Delete on
// a table, the cell label and the checks of their value boxes.
#include "dialogs/cell_dialog.h"

#include "core/erreur.h"
#include "core/grid.h"
#include "core/number_entry.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "platform/text.h"

#include <cmath>

Cell_Keys Cell_Keys_Of_Mouse() {
    Cell_Keys k;
    int16_t lx = 0, ly = 0;
    Com_Pixel_To_Sub_Pos(static_cast<double>(Mouse_Col), static_cast<double>(Mouse_Row), k.Lod8_Col, k.Lod8_Row,
                         k.Lod13_Col, k.Lod13_Row, lx, ly);
    return k;
}

Cell_Keys Cell_Keys_Of_Mouse_Centred() {
    Cell_Keys k;
    Com_Pixel_To_Cell_Centred(static_cast<double>(Mouse_Col), static_cast<double>(Mouse_Row), k.Lod8_Col,
                              k.Lod8_Row, k.Lod13_Col, k.Lod13_Row);
    return k;
}

std::string Cell_Lod8_Text(const Cell_Keys& keys) {
    return "C: " + std::to_string(keys.Lod8_Col) + "-" + std::to_string(keys.Lod8_Row);
}

std::string Cell_Area_Text(const Cell_Keys& keys) {
    return Cell_Lod8_Text(keys) + "  A: " + std::to_string(keys.Lod13_Col) + "-" + std::to_string(keys.Lod13_Row);
}

namespace {

// Characters, not bytes, for the selection of a UTF-8 text.
int Char_Count(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

bool Cell_Is_Whole(const std::string& text) {
    double v = 0;
    return Number_Entry_Read(text, v) && v - std::trunc(v) == 0;
}

bool Cell_Read_Altitude(const std::string& text, double& value) {
    if (!Number_Entry_Is_Number(text)) return false;
    const double v = SYST_To_Double(text);
    if (v < -9999 || v >= 10000) return false;
    value = v;
    return true;
}

std::string Cell_Trim_Box(plat::TextBox& box) {
    const std::string text = plat::Trim(box.Text());
    box.SetText(text);
    return text;
}

void Cell_Refuse_Entry(bool& cancel) {
    Msg_Answer = ERREUR_Show_Message(1);
    cancel = true;
}

void Cell_Wire_Value_Box(plat::TextBox& box, std::function<void(bool& cancel)> validate,
                         std::function<std::string()> stored_text) {
    box.GotFocus = [&box] {
        box.SelStart = 0;
        box.SelLength = Char_Count(box.Text());
    };
    box.Validate = validate;
    box.KeyDown = [&box, validate, stored_text](int& key_code, int shift) {
        (void)shift;
        if (key_code == plat::Key_Return) {
            bool cancel = false;
            if (validate) validate(cancel);
            key_code = 0;
        } else if (key_code == plat::Key_Escape) {
            if (stored_text) box.SetText(stored_text());
            key_code = 0;
        }
    };
}
