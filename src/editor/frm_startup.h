#pragma once
// Start-up and shutdown of the main window, the start flags, the window titles and the save
// question asked before a project is closed.
#include <cstdint>
#include <string>

// The project file named on the command line, cleaned; "" for none.
extern std::string Command_Line_Project;
// 1 once the start-up has decided that the program ends (second copy, unusable display).
extern int16_t Startup_Ended;

// Starts the program: the program's folder (no closing backslash) and the text after the
// program's name on its command line. Loads and shows the main window, whose load handler runs
// the whole start-up. False when the program is to end at once (the window is then unloaded).
bool Frm_Start(const std::string& program_folder, const std::string& command_line);

// The main window's load and unload events.
void Frm_Form_Load();
void Frm_Form_Unload(bool& cancel);

// The command line's arguments as the start-up keeps them: trimmed, one pair of enclosing
// double quotes removed, "" when shorter than 3 characters, badly quoted or naming nothing.
std::string Startup_Clean_Command_Line(const std::string& arguments);

// Start flags: display switches and object modes off, grid shown, no project open.
void Pinit_Reset_Modes();

// "Tessaline V5.1 dd/mm/yyyy", and with a project: that text, two blanks, the file.
std::string Pinit_No_Project_Title();
std::string Pinit_Project_Title(const std::string& project_file);

// Asks whether to save the open project (only when one is open). Yes saves under its name,
// No does not; after either the project's pictures are released. False when the command must
// be abandoned: Cancel, or a save that failed.
bool Pinit_Ask_Save_Project();

// Start values of this module's globals and the main window's event wiring (tests).
void Startup_Reset();
