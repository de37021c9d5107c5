// NUM(v) of the project and reference files, the number text of the program's own files, and
// the reading of their whole-number fields.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "core/project_file.h"
#include "core/syst.h"
#include "platform/number.h"
#include "platform/text.h"

namespace {

// The file's own rule: the exponent form from 1E-05 down, as from 1E+15 (1E+07 for a float) up.
void Append_Real(std::string& out, double value, int digits) {
    if (!std::isfinite(value)) value = 0;  // a NaN or infinity has no text that reads back
    out += value < 0 ? '-' : ' ';
    // Below the normal range a double holds fewer digits, and the file has its shortest text
    // that reads back when that has at most 15.
    const double magnitude = std::fabs(value);
    if (digits == 15 && magnitude > 0 && magnitude < std::numeric_limits<double>::min()) {
        char buf[32];
        const char* const end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific).ptr;
        const std::string_view text(buf, static_cast<size_t>(end - buf));
        const size_t e = text.find('e');
        if (e <= 16) {  // d.dddddddddddddd
            out += text.substr(0, e);
            out += 'E';
            out += text.substr(e + 1);
            return;
        }
    }
    plat::AppendDigits(out, value, digits, -4);
}

}  // namespace

void Project_Append_Num(std::string& out, double value) { Append_Real(out, value, 15); }
void Project_Append_Num_Float(std::string& out, float value) { Append_Real(out, value, 7); }
void Project_Append_Num_Int(std::string& out, int64_t value) {
    if (value >= 0) out += ' ';
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

std::string Project_Num(double value) {
    std::string s;
    Project_Append_Num(s, value);
    return s;
}

std::optional<int64_t> Project_Read_Whole(std::string_view token, int64_t low, int64_t high) {
    const plat::NumberText n = plat::ReadNumber(token);
    if (!n.fits || !(n.value >= -2147483648.0 && n.value <= 2147483647.0)) return std::nullopt;
    const int64_t r = SYST_Round(n.value);
    if (r < low || r > high) return std::nullopt;
    return r;
}
