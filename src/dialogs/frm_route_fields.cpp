// The text boxes of the line/polygon attribute dialog: a value is checked and stored when the
// box is left or Enter is pressed; Escape puts the stored value back.
#include <cmath>

#include "core/erreur.h"
#include "core/number_entry.h"
#include "core/project.h"
#include "core/syst.h"
#include "dialogs/frm_route.h"
#include "dialogs/reference_files.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

enum class Field { None, Alti, Alt_Coast, Largeur, Layer, Layer_Vtp2, LayerScasm, Imbrication, Text_Rt, Text_Ref };

void Refuse(bool& cancel) {
    Msg_Answer = ERREUR_Show_Message(1);
    cancel = true;
}

Field Field_Of(const Frm_Route& w, const plat::TextBox& box) {
    if (&box == &w.Alti) return Field::Alti;
    if (&box == &w.Alt_Coast) return Field::Alt_Coast;
    if (&box == &w.Largeur) return Field::Largeur;
    if (&box == &w.Layer) return Field::Layer;
    if (&box == &w.Layer_Vtp2) return Field::Layer_Vtp2;
    if (&box == &w.LayerScasm) return Field::LayerScasm;
    if (&box == &w.Imbrication) return Field::Imbrication;
    if (&box == &w.Text_Rt) return Field::Text_Rt;
    if (&box == &w.Text_Ref) return Field::Text_Ref;
    return Field::None;
}

}  // namespace

void Frm_Route::Show_Field(plat::TextBox& box) {
    const Route_Attrib& a = Route_Attrib_Cur;
    switch (Field_Of(*this, box)) {
        case Field::Alti: box.SetText(SYST_To_Text(a.Alti)); break;
        case Field::Alt_Coast: box.SetText(SYST_To_Text(a.Alt_Coast)); break;
        case Field::Largeur: box.SetText(SYST_To_Text(a.Largeur)); break;
        case Field::Layer: box.SetText(SYST_To_Text(a.Layer)); break;
        case Field::Layer_Vtp2: box.SetText(SYST_To_Text(a.Layer_Vtp2)); break;
        case Field::LayerScasm: box.SetText(SYST_To_Text(a.LayerScasm)); break;
        case Field::Imbrication: box.SetText(a.Imbrication); break;
        case Field::Text_Rt: box.SetText(a.Text_Rt); break;
        case Field::Text_Ref: box.SetText(Ref_Last_Name); break;
        case Field::None: break;
    }
}

void Frm_Route::Frm_Route_Field_GotFocus(plat::TextBox& box) {
    box.SelStart = 0;
    box.SelLength = static_cast<int>(box.Text().size());
}

void Frm_Route::Frm_Route_Field_KeyDown(plat::TextBox& box, int& key_code, int shift) {
    (void)shift;
    if (key_code == plat::Key_Return) {
        // Only the message shows; the focus stays where it is.
        bool cancel = false;
        Frm_Route_Field_Validate(box, cancel);
    } else if (key_code == plat::Key_Escape) {
        Show_Field(box);
    }
}

void Frm_Route::Frm_Route_Field_Validate(plat::TextBox& box, bool& cancel) {
    Route_Attrib& a = Route_Attrib_Cur;
    const Field field = Field_Of(*this, box);
    const std::string text = plat::Trim(box.Text());

    switch (field) {
        case Field::Text_Rt:
            a.Text_Rt = text;
            return;
        case Field::Text_Ref:
            Ref_Last_Name = text;
            return;
        case Field::Imbrication: {
            box.SetText(text);
            // Counted in characters, as the author sees them.
            const std::string chars = plat::Utf8ToCp1252(text);
            if (!chars.empty() && (chars.size() != 5 || chars[2] != '_')) return Refuse(cancel);
            a.Imbrication = text;
            return;
        }
        case Field::None:
            return;
        default:
            break;
    }

    box.SetText(text);
    double v = 0;
    if (!Number_Entry_Read(text, v)) return Refuse(cancel);
    switch (field) {
        case Field::Alti:
            if (!(v >= -9999 && v < 10000)) return Refuse(cancel);
            a.Alti = v;
            break;
        case Field::Alt_Coast:
            if (!(v > -10000 && v < 10000)) return Refuse(cancel);
            a.Alt_Coast = v;
            break;
        case Field::Largeur:
            if (!(v > 1 && v <= 255) || v != std::floor(v)) return Refuse(cancel);
            a.Largeur = static_cast<int16_t>(v);
            break;
        case Field::Layer:
            if (!(v >= 0 && v <= 63)) return Refuse(cancel);
            a.Layer = static_cast<uint8_t>(SYST_Round(v));
            break;
        case Field::Layer_Vtp2:
            if (!(v >= 0 && v <= 63)) return Refuse(cancel);
            a.Layer_Vtp2 = static_cast<int16_t>(SYST_Round(v));
            break;
        case Field::LayerScasm:
            if (!(v >= 0 && v <= 63)) return Refuse(cancel);
            a.LayerScasm = static_cast<int16_t>(SYST_Round(v));
            break;
        default:
            break;
    }
}

void Frm_Route::Take_Texture_Name(plat::ControlArray<plat::TextBox>& typed,
                                  plat::ControlArray<plat::TextBox>& twin, int index, bool& cancel) {
    if (index < 0 || index > 5) return;
    const std::string text = plat::Trim(typed(index).Text());
    typed(index).SetText(text);
    twin(index).SetText(text);
    if (!text.empty() && !plat::PathExists(text)) return Refuse(cancel);
    Route_Attrib_Cur.Texture_Name[static_cast<size_t>(index)] = text;
}

void Frm_Route::Texture_Name_Key(plat::ControlArray<plat::TextBox>& typed, plat::ControlArray<plat::TextBox>& twin,
                                 int index, int key_code) {
    if (index < 0 || index > 5) return;
    if (key_code == plat::Key_Return) {
        bool cancel = false;
        Take_Texture_Name(typed, twin, index, cancel);
    } else if (key_code == plat::Key_Escape) {
        Show_Texture_Name(index);
    }
}

void Frm_Route::Frm_Route_Texture_Name_Validate(int index, bool& cancel) {
    Take_Texture_Name(Texture_Name, Texture_Name_1, index, cancel);
}

void Frm_Route::Frm_Route_Texture_Name_1_Validate(int index, bool& cancel) {
    Take_Texture_Name(Texture_Name_1, Texture_Name, index, cancel);
}

void Frm_Route::Frm_Route_Texture_Name_KeyDown(int index, int& key_code, int shift) {
    (void)shift;
    Texture_Name_Key(Texture_Name, Texture_Name_1, index, key_code);
}

void Frm_Route::Frm_Route_Texture_Name_1_KeyDown(int index, int& key_code, int shift) {
    (void)shift;
    Texture_Name_Key(Texture_Name_1, Texture_Name, index, key_code);
}

void Frm_Route::Show_Texture_Name(int index) {
    const std::string& stored = Route_Attrib_Cur.Texture_Name[static_cast<size_t>(index)];
    Texture_Name(index).SetText(stored);
    Texture_Name_1(index).SetText(stored);
}
