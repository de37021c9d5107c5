#pragma once
// Reference files: one complete set of line/polygon attributes under a name, kept as a text
// file "*.Ref" in App_Dir & "\Resource\". The last one saved or read is remembered under the
// settings key "DerRefLu" (Ref_Last_Path, declared with the settings) so that new lines start
// from it.
#include <cstdint>
#include <string>
#include <vector>

#include "core/project.h"

// Name of the current reference set.
inline std::string Ref_Last_Name;

// The reference files listed by the read command, while it runs: file names (no folder) and
// their reference names, entries 0..Ref_Count-1.
inline std::vector<std::string> Ref_File_Names;
inline std::vector<std::string> Ref_Descriptions;
inline int32_t Ref_Count = 0;
// The chooser's cancel flag: set to 1 before it is shown, cleared by its OK.
inline int16_t Ref_Dlg_Cancelled = 0;

// The whole file text of a reference set (UTF-8, CR LF line ends), as the save writes it.
std::string Ref_File_Text(const Route_Attrib& a, const std::string& name, const std::string& date);
// The same, dated now in the system's general date form.
std::string Ref_File_Text_Now(const Route_Attrib& a, const std::string& name);

// Reads the reference file into Route_Attrib_Cur and Ref_Last_Name, writes the path under
// "DerRefLu" and into Ref_Last_Path. A missing path changes nothing; a file without its
// version tag shows message 30 and a file that ends early message 31, and change nothing.
void Com_Load_Reference(std::string& path);

// Ref_Last_Path := path, written under "DerRefLu"; a write that fails is told naming the file.
void Ref_Remember_Last(const std::string& path);

// Fills Ref_File_Names / Ref_Descriptions / Ref_Count from the ".Ref" files of the Resource
// folder that have a second line; names in folder order.
void Ref_List_Files();
// Erases the list.
void Ref_Clear_List();

// Start values of this module's globals (tests).
void Reference_Files_Reset();
