// The main window closed between test scenarios.
#include "editor/editor_reset.h"

#include "editor/frm.h"

void Editor_Reset_Windows() {
    Frm_Window().ForceUnload();
}
