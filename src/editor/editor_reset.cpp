// The editor's windows closed and its globals put back between test scenarios.
#include "editor/editor_reset.h"

#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"

void Editor_Reset_Windows() {
    Frm_Window().ForceUnload();
    Scroll_Busy = 0;
    Grid_Colour = 12632256;
    Grid_Colour_Index = 2;
}
