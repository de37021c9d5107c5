#pragma once
// The project file "*.LWM": writer, reader with its version rules and the version-4 conversion,
// the open sequence, and the recent-project list.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/tiling.h"

// Version written on the first line; files above it are refused, files below 4 too.
inline constexpr const char* Project_Version_Text = "V5.1";
inline constexpr const char* Tessaline_Version_Caption = "Tessaline V5.1";
inline constexpr const char* Tessaline_Release_Date = "08/12/2026";

// Four recent projects, entry 0 the most recent; a free entry holds "".
extern std::array<std::string, 4> Recent_Projects;
// 1 when the last Pinit_Read_Project failed.
extern int16_t Project_Read_Failed;
// 1 when the last Pinit_Save_Project could not write the file (the old file is then intact).
extern int16_t Project_Save_Failed;

// What the project file needs of the main window. The main window fills these at start-up;
// an empty hook is skipped, so the file routines also run without a window (tests, tools).
struct Project_Window_Hooks {
    // The main window's progress frame Fram_Creat_2500 (LTex2500, LPourCent, LNbTex), used
    // while saving and handed to the tiler; none: no progress is shown.
    Tiling_Progress_Window* Progress_Window = nullptr;
    // Empties the image pictures WPicIma before a project's images are loaded.
    std::function<void()> Clear_Image_Pictures;
    // Loads picture element `element` of WPicIma from a 24-bit bitmap; an empty path gives an
    // empty picture. Returns false when the picture could not be loaded.
    std::function<bool(int32_t element, const std::string& bmp_path)> Load_Image_Picture;
    // View reset and loading of the map tiles for the opened project.
    std::function<void()> Init_View_And_Tiles;
    std::function<void(const std::string& caption)> Set_Caption;
    std::function<void(int index, const std::string& caption)> Set_Recent_Caption;
    // The window's state with a project: Pinit_Set_Project_Open, Proj_New := 0,
    // Project_Displayed := 1, Mode_Lwm_Cells := 1, then the redraw of the map.
    std::function<void()> Enter_Project_State;
};
extern Project_Window_Hooks Project_Window;

// 1 while the project parameters window makes a new project; opening a project ends it.
inline int16_t Proj_New = 0;

// Older-project conversion options (0 or 1). The conversion window lives with the set-up windows,
// above this module: start-up installs it as Ask_Conversion_Options, and it leaves its choices here.
inline int16_t Conv_Adapt_Lines = 0;
inline int16_t Conv_Line_Layers = 0;
inline int16_t Conv_Poly_Layers = 0;
inline int16_t Conv_Excl_Layers = 0;
inline int16_t Conv_Not_Confirmed = 0;
inline std::function<void()> Ask_Conversion_Options;

// mode 1: save as `path` (refused with message 14 onto Project_File itself, in any spelling or
// through a link); any other mode:
// save to Project_File. Nothing happens while Project_Open is 0. The file is written beside the
// target and then replaces it, so a failed save leaves the previous file whole.
void Pinit_Save_Project(int16_t mode, const std::string& path);
// Why a save as onto `path` is refused: the text naming the file the open project or the
// program reads there (its map, images, backup, the settings, the program's own files), in the
// session's language; "" when the project may be written there. Pinit_Save_Project refuses it
// too, with this text in a box.
std::string Project_Save_As_Refusal(const std::string& path);

// Fills every table and parameter from the file. A missing number reads as 0 and the "End" line
// is not needed; a file that ends before its counts are met, or whose counts or numbers do not
// fit, is refused (Project_Read_Failed = 1) and the project in memory is left exactly as it was.
void Pinit_Read_Project(const std::string& path);

// Read, tile the map, back up the file, update the recent list, caption and window state.
void Pinit_Open_Project(const std::string& path);

// mode 2 removes `path`; any other mode puts it at the top. Case-insensitive comparison.
void Pinit_Update_Recent(const std::string& path, int16_t mode);

// The whole file text as Pinit_Save_Project writes it (UTF-8, CR LF line ends). `origin` is the
// previous project for a save as ("" for a plain save).
std::string Project_File_Text(const std::string& target_path, const std::string& origin);

// Now in the system's general date form, as the first line of a project or reference file
// holds it.
std::string Project_Date_Now();

// Copies `from` over `to` through a file beside it: on any failure `to` stays as it was. False
// when the copy could not be read or written.
bool Project_Copy_File(const std::string& from, const std::string& to);

// The backup name of a project file: its last three characters replaced by "bak".
std::string Project_Backup_Path(const std::string& path);

// NUM(v) of the file: shortest decimal form with ".", a leading blank when not negative, no zero
// before the point (0.5 is " .5", -0.25 is "-.25"), exponent form for very large or very small
// magnitudes (" 1E+20", " 1E-05"). Doubles keep 15 significant digits, floats 7.
std::string Project_Num(double value);
// Appends the same texts to `out`, of a double, a float and a whole number.
void Project_Append_Num(std::string& out, double value);
void Project_Append_Num_Float(std::string& out, float value);
void Project_Append_Num_Int(std::string& out, int64_t value);
// A whole-number field of the file read from its token: the number rounded to the nearest whole,
// halves to even, when it fits a double, lies within 32 bits and rounds into [low, high];
// nothing otherwise. An empty token reads as 0.
std::optional<int64_t> Project_Read_Whole(std::string_view token, int64_t low, int64_t high);

// The exclamation box of the project file's own failures, in the user's language.
void Project_File_Box(const std::string& fr, const std::string& us);
// The box for a tiler error flag (not Tiling_Done): the Temp folder named when the tiles could
// not be written, else "Fail to load bitmap : " and the map.
void Project_Report_Tiling_Error(int16_t error, const std::string& map);

// A text made safe for a quoted field: '"' becomes "'", CR and LF become blanks.
std::string Project_Safe_Text(std::string_view text);

// Start-up values of this module's globals (tests).
void Project_File_Reset();
