#pragma once
// Language texts of the main window.

// Menu captions and tool-bar tool tips in the language of `Language` ("US" English, else French).
void Pinit_Set_Main_Texts();
