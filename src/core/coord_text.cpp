// Degree texts written and read in both forms (N45:30:00.0000, N45*30.0000'), and the scanner
// that steps through the lines and tokens of reference and texture-definition files.
#include "core/coord_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/files.h"
#include "platform/number.h"

std::string Scan_Line;
int16_t Scan_Length = 0;
int16_t Scan_Pos = 1;
std::string Scan_Token;

namespace {

char User_Decimal_Separator();

// printf with "." then the user's separator in place of the point.
std::string Fixed(double v, int width, int decimals, char separator) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%0*.*f", width, decimals, v);
    std::string s = buf;
    if (separator != '.')
        for (char& c : s)
            if (c == '.') c = separator;
    return s;
}

std::string Format_Dms(double value, char positive, char negative, int degree_digits) {
    const char letter = value < 0 ? negative : positive;
    const double a = std::fabs(value);
    const double d = std::trunc(a);
    const double t = (a - d) * 3600.0;
    double m = std::trunc(t / 60.0);
    // The text always has "." whatever the user's separator: it is read back by the parsers.
    std::string seconds = Fixed(t - 60.0 * m, 7, 4, '.');
    double degrees = d;
    // Seconds just short of a minute round up to a whole one: 45.3 reads N45:18:00, not N45:17:60.
    if (seconds == "60.0000") {
        seconds = "00.0000";
        if (++m >= 60) {
            m = 0;
            ++degrees;
        }
    }
    return std::string(1, letter) + Fixed(degrees, degree_digits, 0, '.') + ":" +
           Fixed(m, 2, 0, '.') + ":" + seconds;
}

std::string Format_Dm(double value, char positive, char negative) {
    const char letter = value < 0 ? negative : positive;
    const double total = std::fabs(value) * 60.0;
    const double q = std::fmod(std::nearbyint(total), 60.0);
    double d = std::nearbyint((total - q) / 60.0);
    double mins = total - 60.0 * d;
    if (mins < 0) {
        mins += 60.0;
        d -= 1.0;
    }
    const char sep = User_Decimal_Separator();
    // Minutes that round up to 60 at four decimals are a whole degree.
    if (Fixed(mins, 1, 4, '.') == "60.0000") {
        mins = 0;
        d += 1.0;
    }
    return std::string(1, letter) + Fixed(d, 1, 0, sep) + "*" + Fixed(mins, 1, 4, sep) + "'";
}

std::string Trim_Blanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// A field of digits with at most one decimal separator and at least one digit; no sign, no
// letters, no exponent. False when the text is anything else.
bool Read_Unsigned(const std::string& raw, bool allow_comma, double& out) {
    const std::string s = Trim_Blanks(raw);
    std::string c_text;
    bool digit = false, point = false;
    for (char ch : s) {
        if (ch >= '0' && ch <= '9') {
            digit = true;
            c_text += ch;
        } else if ((ch == '.' || (allow_comma && ch == ',')) && !point) {
            point = true;
            c_text += '.';
        } else {
            return false;
        }
    }
    if (!digit) return false;
    out = std::strtod(c_text.c_str(), nullptr);
    return std::isfinite(out);
}

void Parse_Dms(const std::string& text, char positive, char negative, double bound,
               double& value, int16_t& error) {
    error = 0;
    const std::string s = Trim_Blanks(text);
    const size_t n = s.size();
    if (n == 0 || (s[0] != positive && s[0] != negative)) {
        error = 1;
        return;
    }
    const bool negated = s[0] == negative;
    if (n == 1) {
        value = negated ? -0.0 : 0.0;
        return;
    }
    // Positions below are 0-based: the letter at 0, the first colon at 2 or later.
    const size_t c1 = s.find(':', 1);
    if (c1 == std::string::npos || c1 == 1 || c1 == n - 1) {
        error = 1;
        return;
    }
    double degrees = 0;
    if (!Read_Unsigned(s.substr(1, c1 - 1), false, degrees) || degrees > bound) {
        error = 1;
        return;
    }
    const size_t c2 = s.find(':', c1 + 1);
    if (c2 == std::string::npos || c2 == c1 + 1 || c2 == n - 1) {
        error = 1;
        return;
    }
    double minutes = 0;
    if (!Read_Unsigned(s.substr(c1 + 1, c2 - c1 - 1), false, minutes) || minutes > 60) {
        error = 1;
        return;
    }
    // Seconds are written with "." by the program and may be typed with the user's ",".
    double seconds = 0;
    if (!Read_Unsigned(s.substr(c2 + 1), true, seconds) || seconds > 60) {
        error = 1;
        return;
    }
    const double total = minutes / 60.0 + degrees + seconds / 3600.0;
    if (total > bound) {
        error = 1;
        return;
    }
    const double v = std::nearbyint(total * 1000000.0) / 1000000.0;
    value = negated ? -v : v;
}

}  // namespace

std::string Com_Format_Lat_Dms(double latitude) { return Format_Dms(latitude, 'N', 'S', 2); }
std::string Com_Format_Lon_Dms(double longitude) { return Format_Dms(longitude, 'E', 'W', 3); }
std::string Com_Format_Lat_Dm(double latitude) { return Format_Dm(latitude, 'N', 'S'); }
std::string Com_Format_Lon_Dm(double longitude) { return Format_Dm(longitude, 'E', 'W'); }

void SrfBis_Parse_Lat(const std::string& text, double& value, int16_t& error) {
    Parse_Dms(text, 'N', 'S', 90.0, value, error);
}

void SrfBis_Parse_Lon(const std::string& text, double& value, int16_t& error) {
    Parse_Dms(text, 'E', 'W', 180.0, value, error);
}

// ---------------------------------------------------------------------------------------------
// Line scanner. Positions count bytes of the UTF-8 line; blanks and quotes are single bytes.

namespace {

void Set_Scan_Line(const std::string& line) {
    Scan_Line = line;
    Scan_Length = static_cast<int16_t>(line.size() > 32766 ? 32766 : line.size());
}

// Past the text (a Scan_Length set by hand longer than Scan_Line) reads as a blank.
char Scan_Char(int16_t pos) {
    const size_t i = static_cast<size_t>(pos - 1);
    return i < Scan_Line.size() ? Scan_Line[i] : ' ';
}

}  // namespace

bool Com_Read_Line(Text_In_File& file) {
    if (file.Eof()) {
        Set_Scan_Line("");
        return false;
    }
    Set_Scan_Line(file.Lines[file.Next++]);
    return true;
}

bool Pinit_Read_Line(Text_In_File& file) {
    Scan_Pos = 5;
    while (!file.Eof()) {
        Set_Scan_Line(file.Lines[file.Next++]);
        if (Scan_Length > 0) return true;
    }
    Set_Scan_Line("");
    return false;
}

void Pinit_Next_Token() {
    Scan_Token.clear();
    if (Scan_Pos < 1) Scan_Pos = 1;
    if (Scan_Pos > Scan_Length) return;
    while (Scan_Char(Scan_Pos) == ' ') {
        if (Scan_Pos >= Scan_Length) return;
        ++Scan_Pos;
    }
    // The token runs to the next blank; past the text (a Scan_Length set by hand) is a blank.
    const size_t start = static_cast<size_t>(Scan_Pos - 1);
    const size_t limit = std::min(static_cast<size_t>(Scan_Length), Scan_Line.size());
    const size_t end = std::min(Scan_Line.find(' ', start), limit);
    Scan_Token.assign(Scan_Line, start, end - start);
    if (end < static_cast<size_t>(Scan_Length)) {
        Scan_Pos = static_cast<int16_t>(end + 1);  // on the blank that ended it
        return;
    }
    // The token ran to the end of the line: step past it, or the next call would return the
    // line's last character again in place of an empty token.
    Scan_Pos = static_cast<int16_t>(Scan_Length < 32767 ? Scan_Length + 1 : Scan_Length);
}

void Pinit_Next_Quoted() {
    Scan_Token.clear();
    if (Scan_Pos < 1) Scan_Pos = 1;
    if (Scan_Pos > Scan_Length) return;
    while (Scan_Char(Scan_Pos) != '"') {
        if (Scan_Pos >= Scan_Length) return;
        ++Scan_Pos;
    }
    while (Scan_Pos < Scan_Length) {
        ++Scan_Pos;
        const char c = Scan_Char(Scan_Pos);
        if (c == '"') break;
        Scan_Token += c;
    }
}

namespace {
char User_Decimal_Separator() { return plat::DecimalSeparator(); }
}  // namespace

bool Com_Open_Text_File(const std::string& path, Text_In_File& file) {
    file = Text_In_File{};
    return plat::ReadTextLines(path, file.Lines);
}

void Coord_Text_Reset() {
    Scan_Line.clear();
    Scan_Length = 0;
    Scan_Pos = 1;
    Scan_Token.clear();
}
