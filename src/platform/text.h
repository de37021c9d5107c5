#pragma once
// Text helpers: UTF-8 inside the program, Windows-1252 on disk, the string routines the
// program's code is written with (1-based positions, as the program counts them), the number
// text of the program's files and texts, the lines of a text held in one buffer, and the folder
// and name parts of a path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// Windows-1252 bytes -> UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, so every byte sequence survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);
// UTF-8 -> Windows-1252 bytes. Characters the code page cannot hold (and malformed UTF-8) become '?'.
std::string Utf8ToCp1252(std::string_view text);

// Mid$(s, start, length): start is 1-based; length < 0 means "to the end".
std::string Mid(std::string_view s, long start, long length = -1);
// The first `count` characters of a UTF-8 text (a character may take several bytes).
std::string Left_Chars(std::string_view s, long count);
std::string Right(std::string_view s, long length);
// InStr: 1-based position of `find` in `s` from `start`, 0 when absent (an empty `find` gives start).
long InStr(std::string_view s, std::string_view find, long start = 1);

// Blanks (spaces) only, as the program's Trim does.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// A path cut at its last separator ("\" or "/"): the folder without its closing separator and
// the name after it. Without a separator the folder is "" and the name the whole path.
struct Path_Split {
    std::string Folder;
    std::string Name;
    bool Separated = false;  // the path holds a separator
};
Path_Split Split_Folder(std::string_view path);

// ASCII letters and the Latin-1 accented letters (UTF-8) change case.
std::string UCase(std::string_view s);
// Case-insensitive comparison in the UCase sense: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Val: the numeric prefix of the text, blanks skipped, "." as separator, "&H" hex; 0 when none.
double Val(std::string_view s);
// Str$: 15 significant digits, "." separator, no zero before the point (" .5"), a leading blank
// when the value is not negative, exponent form outside 1E-05 .. 1E+15 (" 1E-07").
std::string Str(double value);
// CStr: the same digits without the blank and with the zero before the point ("0.5").
std::string CStr(double value);

// Format(value, pattern) for the digit patterns "0", "00", "000", "#0", "##0", "00.0000", "#0.0000":
// '0' is a compulsory digit, '#' an optional one; the fraction is rounded half away from zero.
std::string Format(double value, std::string_view pattern);

// The CStr text of a value: 0.5 -> "0.5", 3 -> "3", -2.25 -> "-2.25", 1e-7 -> "1E-07".
std::string ShortestNumber(double value);

// The one number text of the program: |value| rounded to `digits` significant digits (15 for a
// double, 7 for a float), appended without sign, "." as separator, no trailing zeros and no zero
// before the point (".5"). Fixed from 10^lowest_fixed up to below 10^digits, the exponent form
// outside ("1E-07", "1.5E+20": "E", a sign, two digits at least). `lowest_fixed` is -4 (the
// project and reference files) or -5 (Str$ and CStr). Not for NaN or infinities.
void AppendDigits(std::string& out, double value, int digits, int lowest_fixed);

// The lines of a text held in one buffer, found in place. Lines end in CR LF, LF or CR; a last
// line without its end is a line; an empty text has no lines.
class TextLines {
public:
    explicit TextLines(std::string_view text);
    // The next line without its end; false when none is left.
    bool Next(std::string_view& line);
    // Lines not yet taken, empty ones included.
    std::size_t Left() const { return total_ - taken_; }

private:
    std::string_view text_;
    std::size_t at_ = 0, total_ = 0, taken_ = 0;
};

}  // namespace plat
