#pragma once
// The SYST services every subsystem uses: running outside programs, file-name and path rules,
// the registry, number texts, rounding and colour bytes.
// (Segment drawing lives in core/syst_draw.h, the BMP header check in core/syst_bmp.h.)
#include <cstdint>
#include <limits>
#include <string>

#include "platform/process.h"

// The program's own folder, without a closing backslash; set at start-up.
extern std::string App_Dir;
// The settings file: App_Dir & "\Resource\Tessaline.Ini".
extern std::string Ini_Path;

// Starts the command line (program path, quoted when it holds blanks, then its arguments) in
// App_Dir and waits for its end. `show` is the window state (0 hidden). A program that cannot be
// started shows "Erreur générale d'exécution du processus : " + the command line; the result
// says whether it started and how it ended.
plat::ProcessResult SYST_Run_And_Wait(const std::string& command, int16_t show);
// The same, true when the program could be started.
bool SYST_Run_Process(const std::string& command, int16_t show);

// 1 when the name is an acceptable file name (a base, one dot, one to three characters).
int16_t SYST_Valid_File_Name(const std::string& name);
// Splits at the last "\" (or "/"). error := 1 when it cannot, or when the name is not acceptable;
// then folder and name keep their values.
void SYST_Split_Path(const std::string& path, std::string& folder, std::string& name, uint8_t& error);
// Splits at the first dot; the extension upper-cased.
void SYST_Split_Ext(const std::string& name, std::string& base, std::string& ext);

// The Windows and System folders: this system has neither, so both are empty.
std::string SYST_Windows_Dir();
std::string SYST_System_Dir();
// Appends a separator unless the trimmed path ends in "/" or "\" (trailing blanks dropped): "/"
// to a path written with "/" only, "\" to any other, so that one path keeps one style.
void SYST_Add_Backslash(std::string& path);
// The text up to its first NUL.
std::string SYST_Cut_At_Nul(const std::string& text);
// text := the value + "\", or empty when the key or the value is missing.
void SYST_Read_Registry(int64_t root, const std::string& subkey, const std::string& name, std::string& text);

// The text read as a number with the user's decimal separator; 0 for a text that is no number.
double SYST_To_Double(const std::string& text);
// The value as the user reads it (user's separator), without surrounding blanks.
std::string SYST_To_Text(double value);

// x toward zero as an Int, held at Int's limits; NaN gives 0. For every conversion of a
// floating value to an integer that no check before it proves in range.
template <class Int>
Int SYST_Saturate(double x) {
    if (!(x == x)) return 0;
    if (x >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (x <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(x);
}

// Toward zero / to nearest with halves to even. Both saturate at the 32-bit limits; NaN gives 0.
int32_t SYST_Truncate(double x);
int32_t SYST_Round(double x);
// The same rounding for |x| below 2^30, inline for the redraw, which rounds every point: adding
// 1.5 * 2^52 leaves no fraction, and the addition itself rounds halves to even.
inline int32_t SYST_Round_Small(double x) {
    constexpr double kShift = 6755399441055744.0;
    return static_cast<int32_t>((x + kShift) - kShift);
}

// Bits 8..15 and 0..7 of a colour (red in the low byte).
int16_t SYST_Colour_Green(int32_t colour);
int16_t SYST_Colour_Red(int32_t colour);
