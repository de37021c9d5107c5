// A numbered message loaded from the message file and shown, alone or with a text added.
#include "core/erreur.h"

#include "core/project.h"
#include "platform/host.h"
#include "platform/profile.h"
#include "platform/text.h"

std::string Msg_File_Path;
int16_t Msg_Icon = 0;
int16_t Msg_Buttons = 0;
std::string Msg_Text;
int16_t Msg_Answer = 0;

void ERREUR_Load_Message(int16_t n, int16_t& shown_number, std::string& title) {
    shown_number = static_cast<int16_t>(Language == "US" ? n + 500 : n);
    const std::string key = plat::Format(shown_number, "00000");
    const std::string value =
        plat::Trim(plat::GetPrivateProfileString("ERR", key, "48 00 ????", Msg_File_Path, 256));
    Msg_Icon = static_cast<int16_t>(plat::Val(plat::Mid(value, 1, 2)));
    Msg_Buttons = static_cast<int16_t>(plat::Val(plat::Mid(value, 4, 2)));
    Msg_Text = plat::Mid(value, 7);
    if (Msg_Icon == 64) title = "Information";
    else if (Msg_Icon == 32) title = "Question ?";
    else title = "Erreur !!";
}

int16_t ERREUR_Show_Message(int16_t n) {
    int16_t shown = 0;
    std::string title;
    ERREUR_Load_Message(n, shown, title);
    const std::string prompt = "(" + std::to_string(shown) + ") " + plat::Trim(Msg_Text);
    return static_cast<int16_t>(plat::CurrentHost().MsgBox(prompt, Msg_Icon + Msg_Buttons, title));
}

void ERREUR_Show_Message_Extra(int16_t n, const std::string& extra) {
    int16_t shown = 0;
    std::string title;
    ERREUR_Load_Message(n, shown, title);
    const std::string prompt = "(" + std::to_string(shown) + ") " + plat::Trim(Msg_Text) + "\r\n" + extra;
    plat::CurrentHost().MsgBox(prompt, Msg_Icon + Msg_Buttons, title);
}

void ERREUR_Reset() {
    Msg_Icon = 0;
    Msg_Buttons = 0;
    Msg_Text.clear();
    Msg_Answer = 0;
}
