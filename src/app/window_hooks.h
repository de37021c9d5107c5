#pragma once
// The windows above the editor put into the hooks through which the editor shows them. The
// program wires them once before its main window starts; the tests after each reset of the
// program's state.

// Every hook below, and the set-up windows' own into core (the folder picker, the conversion
// question).
void Window_Hooks_Connect();

// Parts of it, for a test that emptied one module's hooks.
void Cell_Dialogs_Connect();   // the five cell dialogs as the cell modes' double-click
void Frm_Mesh_Connect();       // the re-mesh level dialog of the grid-point mode and its menu
void Frm_PtGrid_Connect();     // the altitude popup of the grid-point tool's clicks
void Frm_Ima_Connect();        // the texture image dialog of the map's image clicks
