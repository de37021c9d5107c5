// NUM(v) of the project and reference files: the number text of the program's own files.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "core/project_file.h"

namespace {

// |value| rounded to `precision` significant digits (by the standard conversion, so ties go as
// it sends them): the digits without trailing zeros into `digits`, their count returned, and the
// decimal exponent of the first.
int Significant_Digits(double magnitude, bool is_float, char* digits, int& exponent) {
    const int precision = is_float ? 7 : 15;
    char buf[48];
    char* const end = buf + sizeof buf;
    // A double's shortest text that reads back is its correctly rounded one whenever it has at
    // most 15 digits (a double holds more than 15), so only longer ones take the slower
    // conversion. A float holds fewer than 7, so floats always take it.
    std::to_chars_result r{};
    if (!is_float) r = std::to_chars(buf, end, magnitude, std::chars_format::scientific);
    if (is_float || std::string_view(buf, static_cast<size_t>(r.ptr - buf)).find('e') > static_cast<size_t>(precision + 1))
        r = is_float ? std::to_chars(buf, end, static_cast<float>(magnitude), std::chars_format::scientific, precision - 1)
                     : std::to_chars(buf, end, magnitude, std::chars_format::scientific, precision - 1);
    // buf: d[.ddd]e±XX
    const char* e = std::find(buf, r.ptr, 'e');
    int n = 0;
    for (const char* c = buf; c < e; ++c)
        if (*c != '.') digits[n++] = *c;
    while (n > 1 && digits[n - 1] == '0') --n;
    const char* power = e + 1;
    if (*power == '+') ++power;
    std::from_chars(power, r.ptr, exponent);
    return n;
}

void Append_Real(std::string& out, double value, bool is_float) {
    if (!std::isfinite(value)) value = 0;  // a NaN or infinity has no text that reads back
    out += value < 0 ? '-' : ' ';
    int exponent = 0;
    char digits[24];
    const int n = Significant_Digits(std::fabs(value), is_float, digits, exponent);
    if (exponent >= -4 && exponent < (is_float ? 7 : 15)) {
        // Fixed: no zero before the point, zeros filling up to the point of a whole number.
        if (exponent < 0) {
            out += '.';
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out.append(digits, static_cast<size_t>(n));
        } else if (n <= exponent + 1) {
            out.append(digits, static_cast<size_t>(n));
            out.append(static_cast<size_t>(exponent + 1 - n), '0');
        } else {
            out.append(digits, static_cast<size_t>(exponent + 1));
            out += '.';
            out.append(digits + exponent + 1, static_cast<size_t>(n - exponent - 1));
        }
        return;
    }
    // Exponent form: d.ddd, "E", a sign and two digits at least.
    out += digits[0];
    if (n > 1) {
        out += '.';
        out.append(digits + 1, static_cast<size_t>(n - 1));
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int a = std::abs(exponent);
    if (a < 10) out += '0';
    out += std::to_string(a);
}

}  // namespace

void Project_Append_Num(std::string& out, double value) { Append_Real(out, value, false); }
void Project_Append_Num_Float(std::string& out, float value) { Append_Real(out, value, true); }
void Project_Append_Num_Int(std::string& out, int64_t value) {
    if (value >= 0) out += ' ';
    out += std::to_string(value);
}

std::string Project_Num(double value) {
    std::string s;
    Project_Append_Num(s, value);
    return s;
}
std::string Project_Num_Float(float value) {
    std::string s;
    Project_Append_Num_Float(s, value);
    return s;
}
std::string Project_Num_Int(int64_t value) {
    std::string s;
    Project_Append_Num_Int(s, value);
    return s;
}
