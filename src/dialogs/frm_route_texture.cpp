// Choosing a texture of the line dialog with the bitmap browser.
#include "core/project.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_lbmp.h"
#include "dialogs/frm_route.h"
#include "platform/files.h"

void Frm_Route::Frm_Route_Texture_Name_DblClick(int index) {
    if (index < 0 || index > 5) return;
    const std::string current = Route_Attrib_Cur.Texture_Name[static_cast<size_t>(index)];
    if (!current.empty()) {
        // The browser opens where the current texture is.
        std::string folder, name;
        uint8_t error = 0;
        SYST_Split_Path(current, folder, name, error);
        if (error == 0 && plat::FolderExists(folder)) Last_Bitmap_Folder = folder;
    }
    Bitmap_Browser_Cancelled = 1;
    Frm_LBmp_Show_Modal();
    if (Bitmap_Browser_Cancelled == 1) return;
    Route_Attrib_Cur.Texture_Name[static_cast<size_t>(index)] = Bitmap_Browser_Path;
    Show_Texture_Name(index);
    // Whichever box was chosen, the preview shows the new texture.
    Preview_File(Pic, Bitmap_Browser_Path);
}

void Frm_Route::Frm_Route_Texture_Name_1_DblClick(int index) { Frm_Route_Texture_Name_DblClick(index); }
