// The conversion options window of a version-4 project: its four boxes and OK.
#include "setup/frm_v24.h"

#include "setup/setup_services.h"
#include "platform/ui/modal.h"

Frm_V24::Frm_V24() : Form("Frm_V24") {
    Form_Load = [this] { Frm_V24_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_V24_Form_Unload(cancel); };
    Chk_Adapt_lines.Click = [this] { Frm_V24_Chk_Adapt_lines_Click(); };
    Chk_Change_layer_Line.Click = [this] { Frm_V24_Chk_Change_layer_Line_Click(); };
    Chk_Change_Layer_Poly.Click = [this] { Frm_V24_Chk_Change_Layer_Poly_Click(); };
    Chk_Change_Layer_Exclude.Click = [this] { Frm_V24_Chk_Change_Layer_Exclude_Click(); };
    Cmd_Ok.Click = [this] { Frm_V24_Cmd_Ok_Click(); };
}

void Frm_V24::Design() {
    SetCaption("From V4 to V5");
    BorderStyle = 3;
    Move(0, 0, 260, 170);
    Chk_Adapt_lines.SetCaption("Adapt lines Extremities");
    Chk_Adapt_lines.Move(16, 12, 228, 20);
    Chk_Change_layer_Line.SetCaption("Change line layer values");
    Chk_Change_layer_Line.Move(16, 38, 228, 20);
    Chk_Change_Layer_Poly.SetCaption("Change poly layer values");
    Chk_Change_Layer_Poly.Move(16, 64, 228, 20);
    Chk_Change_Layer_Exclude.SetCaption("Change exclude layers");
    Chk_Change_Layer_Exclude.Move(16, 90, 228, 20);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Default = true;
    Cmd_Ok.Move(90, 124, 80, 26);
}

void Frm_V24::Frm_V24_Form_Load() {
    // Every opening starts from the defaults, whatever an earlier file chose.
    Conv_Adapt_Lines = 1;
    Conv_Line_Layers = 0;
    Conv_Poly_Layers = 0;
    Conv_Excl_Layers = 1;
    Chk_Adapt_lines.SetValue(Conv_Adapt_Lines);
    Chk_Change_layer_Line.SetValue(Conv_Line_Layers);
    Chk_Change_Layer_Poly.SetValue(Conv_Poly_Layers);
    Chk_Change_Layer_Exclude.SetValue(Conv_Excl_Layers);
    Conv_Not_Confirmed = 1;
}

void Frm_V24::Frm_V24_Chk_Adapt_lines_Click() { Conv_Adapt_Lines = static_cast<int16_t>(Chk_Adapt_lines.Value()); }
void Frm_V24::Frm_V24_Chk_Change_layer_Line_Click() {
    Conv_Line_Layers = static_cast<int16_t>(Chk_Change_layer_Line.Value());
}
void Frm_V24::Frm_V24_Chk_Change_Layer_Poly_Click() {
    Conv_Poly_Layers = static_cast<int16_t>(Chk_Change_Layer_Poly.Value());
}
void Frm_V24::Frm_V24_Chk_Change_Layer_Exclude_Click() {
    Conv_Excl_Layers = static_cast<int16_t>(Chk_Change_Layer_Exclude.Value());
}

void Frm_V24::Frm_V24_Cmd_Ok_Click() {
    Conv_Not_Confirmed = 0;
    Unload();
}

void Frm_V24::Frm_V24_Form_Unload(bool& cancel) {
    (void)cancel;
    // Closed by its close box: the file is read as it stands.
    if (Conv_Not_Confirmed == 1) {
        Conv_Adapt_Lines = 0;
        Conv_Line_Layers = 0;
        Conv_Poly_Layers = 0;
        Conv_Excl_Layers = 0;
    }
}

Frm_V24& Frm_V24_Window() {
    static Frm_V24 window;
    return window;
}

void Frm_V24_Show_Modal() {
    plat::Show_Modal(Frm_V24_Window(), plat::Loaded_Copy::Keep);
}
