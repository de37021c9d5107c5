#pragma once
// The generation button: the open project becomes the simulator's scenery files, step by step.
class Frm;

void Frm_Cmd_API_Click();

void Generate_Command_Connect(Frm& f);
