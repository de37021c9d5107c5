// The line dialog's reference buttons: save the working record under a name, read one back.
#include "core/erreur.h"
#include "core/project.h"
#include "core/settings.h"
#include "core/syst.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_ref.h"
#include "dialogs/frm_route.h"
#include "dialogs/reference_files.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

void Frm_Route::Frm_Route_Cmd_Save_Click() {
    if (Text_Ref.Text().empty()) {
        Msg_Answer = ERREUR_Show_Message(133);
        return;
    }
    const bool en = Language == "US";
    CM.DialogTitle = en ? "Line/Poly Reference" : "Reférence de ligne/Poly";
    CM.InitDir = App_Dir + "\\Resource";
    CM.FileName.clear();
    CM.Filter = "Ref (*.Ref)|*.Ref";
    // The read command lists only the files that carry the extension.
    CM.DefaultExt = "Ref";
    if (!CM.ShowSave()) return;
    const std::string path = CM.FileName;
    if (path.empty()) return;
    if (plat::FileExists(path)) {
        const int answer = plat::CurrentHost().MsgBox(
            en ? "The file already exists, do you want to replace it ?" : "Le fichier existe déjà, voulez-vous le remplacer ? ",
            plat::MB_YESNO, "Tessaline");
        if (answer != plat::ID_YES) return;
    }
    // Written beside the old file and renamed over it: a failed save keeps the old one whole.
    const std::string text = Ref_File_Text_Now(Route_Attrib_Cur, Text_Ref.Text());
    if (!plat::ReplaceFileAtomically(path, plat::Utf8ToCp1252(text))) {
        plat::CurrentHost().MsgBox(en ? "The reference file could not be written: " + path
                                      : "Le fichier de référence n'a pas pu être écrit : " + path,
                                   plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
        return;
    }
    Ref_Last_Name = Text_Ref.Text();
    Ref_Remember_Last(path);
}

void Frm_Route::Frm_Route_Cmd_Read_Click() {
    Ref_List_Files();
    if (Ref_Count > 0) {
        Ref_Dlg_Cancelled = 1;
        plat::Show_Modal(Frm_Ref_Window(), plat::Loaded_Copy::Force_Unload);
        if (Ref_Dlg_Cancelled != 1) {
            Frm_Route_PrepaDisplay();
            Route_Dlg_Loading = 0;
            Text_Ref.SetText(Ref_Last_Name);
        }
    }
    Ref_Clear_List();
}
