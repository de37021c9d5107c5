#pragma once
// The settings file (section "Tessaline" of App_Dir & "\Resource\Tessaline.Ini"), the registry
// fallback for the simulator's folder, and the resource tables read at start-up: land classes
// ("LC.txt") and texture definitions (the simulator's "Terrain.cfg", the program's
// "OwnLines4.txt").
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Settings read at start-up.
extern int16_t Setup_Done;        // "Fl1Fois": the general parameters were confirmed once
extern std::string Fs_Dir;        // "DirFS": the simulator's folder, ending in "\"
extern std::string Texture_Dir;   // Fs_Dir & "Scenery\world\Texture", or "" without a simulator
extern int16_t Texture_Dir_Found; // 1 when Texture_Dir existed when the resources were read
extern std::string Help_Path;     // App_Dir & "\Tessaline_" & Language & ".Hlp"
extern std::string Ref_Last_Path; // "DerRefLu": the last reference file
// "ShowVTP1L": non-zero draws the polygon generators' diagonals and pieces on the map.
inline int16_t Debug_Draw = 0;

// The registry key that holds the simulator's folder ("EXE Path").
inline constexpr const char* Fs_Registry_Key = "SoftWare\\Microsoft\\Microsoft GAMES\\Flight Simulator\\9.0";

// Writes each (key, value) of `keys` in the settings file. When any cannot be written, one box
// names the file: `what_fr`/`what_us` say what was not kept ("... could not be written"), the
// routine adds where. True when all were written.
bool Settings_Write(const std::vector<std::pair<std::string, std::string>>& keys, const std::string& what_fr,
                    const std::string& what_us);

// Reads every key of the settings file, derives Help_Path and Texture_Dir, and takes the
// simulator's folder from the registry when the settings hold none.
void Pinit_Read_Settings();
// folder := the registry's folder (with its closing backslash) and found := 2 when its
// "Scenery" subfolder exists; else "" and 0.
void Pinit_Get_Fs_Dir_Registry(std::string& folder, int16_t& found);
// The land-class table and the two texture tables.
void Pinit_Load_Resources();

// The class tables' files, each read by one routine with the project's one number rule (a
// number as far as the text reads as one, none giving 0).
struct Land_Class_Rec;
// The classes of App_Dir & "\Resource\LC.txt" in file order: every line whose code columns
// (1-3) hold a number from 0 to 253; a title or blank line is no class. False when the file is
// missing or cannot be read.
bool Read_Land_Class_File(std::vector<Land_Class_Rec>& classes);
// One line of "WC.txt": its code and the whole line, as the water-class list shows it.
struct Water_Class_Line {
    uint8_t Code = 0;
    std::string Text;
};
// Every line of App_Dir & "\Resource\WC.txt" in file order, an empty one included. False when
// the file is missing or cannot be read.
bool Read_Water_Class_File(std::vector<Water_Class_Line>& lines);
// The code of a line of "WC.txt": the number in its first three characters; none, or one that
// is no byte, gives 0.
uint8_t Water_Class_Line_Code(const std::string& line);
// Appends the texture sections of one definition file to Line_Type_Table / Park_Table.
void Pinit_Read_Texture_Cfg(const std::string& path);

// Category of a texture number n: 0 and 3 go to Line_Type_Table, 1 and 2 to Park_Table.
uint8_t Texture_Category(int n);
// The fixed TEXTURES number of the airport/park textures 1182..1200; -1 for any other n.
int Texture_Fixed_Number(int n);

// Start-up values of this module's globals (tests).
void Settings_Reset();
