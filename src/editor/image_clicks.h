#pragma once
// The map's texture-image clicks: with the new-image tool armed a left click defines a new image
// in its dialog and centres it on the click; in the image mode a click with another button on
// the current image edits it. Each accepted bitmap is converted for display into the image's
// picture of WPicIma. The tool bar never arms them, so they stand ready without being reached.
#include <cstdint>
#include <functional>

// The texture image dialog (Frm_Ima). It is shown modally with Ima_Dlg_Cancelled at 1 and
// clears the flag on OK; an empty hook counts as a dialog closed without OK.
struct Image_Click_Windows {
    std::function<void()> Show_Image;
};
extern Image_Click_Windows Image_Click_Dialogs;

// A press on the map (after the common mouse-press steps, Mouse_Down_Map_X / _Y set). Returns
// true when it was a texture-image click, which the other tools then do not see.
bool PSais_Image_Click(int16_t button);

// Empties the dialog hook (tests).
void Image_Clicks_Reset();
