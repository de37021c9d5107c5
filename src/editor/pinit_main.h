#pragma once
// Layout, no-project state and language texts of the main window and the general-parameters
// window.

// Places the tool bar, the status row, the scroll bars and the map picture from the main
// window's client size, then shows the scroll bars and the picture. Runs once, at start-up.
void Pinit_Layout_Main();
// Empty map picture; project menus, 27 of the 29 tool-bar buttons and the scroll bars disabled.
void Pinit_Set_No_Project();
// Both scroll bars to 0..32000, large step 2000, small step 200, at 0.
void Pinit_Init_Scrollbars();
// Menu captions and tool-bar tool tips in the language of `Language` ("US" English, else French).
void Pinit_Set_Main_Texts();
// Caption and texts of Frm_PGen in the language of `PGen_Language`.
void Pinit_Set_PGen_Texts();
