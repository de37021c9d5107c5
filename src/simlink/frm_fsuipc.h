#pragma once
// The modeless window that follows the simulator's aircraft over the map: a status light, an
// optional cross on the main window's map, and the recording of its track as new lines.
#include <cstdint>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

inline int16_t Sim_Over_Map = 0;    // 1 while the aircraft is inside the map frame
inline int16_t Sim_Recording = 0;   // 1 while the track is recorded

class Frm_FSUIPC : public plat::Form {
public:
    Frm_FSUIPC();

    plat::CheckBox Chk_Show_Position{*this, "Chk_Show_Position"};
    plat::CommandButton Cmd_start{*this, "Cmd_start"};
    plat::CommandButton Cmd_Stop{*this, "Cmd_Stop"};
    plat::CommandButton Cmd_Quit{*this, "Cmd_Quit"};
    plat::Shape FeuVert{*this, "FeuVert"};
    plat::Timer Timer1{*this, "Timer1"};

    void UnloadFSUIPC();
    // One poll of the simulator; the status is that of its information request.
    void Com_Read_FSconnect(int16_t& status);

    void Frm_FSUIPC_Form_Load();
    void Frm_FSUIPC_Timer1_Timer();
    void Frm_FSUIPC_Chk_Show_Position_Click();
    void Frm_FSUIPC_Cmd_start_Click();
    void Frm_FSUIPC_Cmd_Stop_Click();
    void Frm_FSUIPC_Cmd_Quit_Click();
    void Frm_FSUIPC_Form_Unload(bool& cancel);

protected:
    void Design() override;

private:
    void Set_Light(plat::Colour colour);
    void Append_Point(double px, double py);
};

Frm_FSUIPC& Frm_FSUIPC_Window();
// Closes the window without its unload steps and clears its recording flags (tests).
void Simlink_Reset();
