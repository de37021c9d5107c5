#pragma once
// Language texts of the main window and the general-parameters window.

// Menu captions and tool-bar tool tips in the language of `Language` ("US" English, else French).
void Pinit_Set_Main_Texts();
// Caption and texts of Frm_PGen in the language of `PGen_Language`.
void Pinit_Set_PGen_Texts();
