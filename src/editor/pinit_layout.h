#pragma once
// Layout, scroll-bar ranges and no-project state of the main window.

// Places the tool bar, the status row, the scroll bars and the map picture from the main
// window's client size, then shows the scroll bars and the picture. Runs once, at start-up.
void Pinit_Layout_Main();
// Empty map picture; project menus, 27 of the 29 tool-bar buttons and the scroll bars disabled.
void Pinit_Set_No_Project();
// Both scroll bars to 0..32000, large step 2000, small step 200, at 0.
void Pinit_Init_Scrollbars();
