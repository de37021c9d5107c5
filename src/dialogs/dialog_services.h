#pragma once
// The globals through which the object dialogs exchange their results with the main window.
// A caller sets the dialog's flag to 1 before showing it; the dialog clears it when it changed
// something. Defined here, once, so that callers and dialogs share them.
#include <cstdint>
#include <string>

#include "core/project.h"
#include "editor/editor_services.h"   // the flags of the dialogs the editor shows

// Line/polygon attribute dialog (its records Route_Attrib_Cur / _Result are in project.h).
inline int16_t Route_Dlg_Loading = 0;

// Cell dialogs: working records, flags, the index of the record being edited, loading flags.
inline Lwm_Cell_Rec Lwm_Cell_Cur;
inline Lod8_Cell_Rec Lod8_Cell_Cur;
inline Excl_Cell_Rec Excl_Cell_Cur;
inline Class_Cell_Rec Lc_Cell_Cur;
inline Class_Cell_Rec Wc_Cell_Cur;
inline int32_t Area_Dlg_Index = 0;
inline int32_t Excl_Dlg_Index = 0;
inline int32_t Lc_Dlg_Index = 0;
inline int32_t Wc_Dlg_Index = 0;
inline int16_t Area_Dlg_Loading = 0;
inline int16_t Lc_Dlg_Loading = 0;
inline int16_t Wc_Dlg_Loading = 0;
inline std::string Edit_Mode;        // "C" create or "M" modify

// Texture image dialog: its working record.
inline Image_Rec Image_Cur;

// Bitmap browser (Frm_LBmp): the caller may preset the folder, sets Cancelled := 1, shows the
// browser modally; when the flag is no longer 1 it takes the path and, if needed, the size.
inline int16_t Bitmap_Browser_Cancelled = 0;
inline int16_t Bitmap_Browser_Chosen = 0;
inline std::string Bitmap_Browser_Path;
inline int32_t Bitmap_Browser_Width = 0;
inline int32_t Bitmap_Browser_Height = 0;
inline std::string Last_Bitmap_Folder;

// Start values of every global above (tests).
inline void Dialog_Services_Reset() {
    Route_Dlg_Loading = 0;
    Lwm_Cell_Cur = Lwm_Cell_Rec{};
    Lod8_Cell_Cur = Lod8_Cell_Rec{};
    Excl_Cell_Cur = Excl_Cell_Rec{};
    Lc_Cell_Cur = Class_Cell_Rec{};
    Wc_Cell_Cur = Class_Cell_Rec{};
    Area_Dlg_Index = Excl_Dlg_Index = Lc_Dlg_Index = Wc_Dlg_Index = 0;
    Area_Dlg_Loading = Lc_Dlg_Loading = Wc_Dlg_Loading = 0;
    Edit_Mode.clear();
    Image_Cur = Image_Rec{};
    Bitmap_Browser_Cancelled = Bitmap_Browser_Chosen = 0;
    Bitmap_Browser_Path.clear();
    Bitmap_Browser_Width = Bitmap_Browser_Height = 0;
    Last_Bitmap_Folder.clear();
}
