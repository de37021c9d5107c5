// NUM(v) of the project and reference files: the number text of the program's own files.
#include <charconv>
#include <cmath>
#include <string>

#include "core/project_file.h"

namespace {

// |value| rounded to `precision` significant digits (by the standard conversion, so ties go as
// it sends them): the digits without trailing zeros, and the decimal exponent of the first.
std::string Significant_Digits(double magnitude, bool is_float, int& exponent) {
    const int precision = is_float ? 7 : 15;
    char buf[40];
    const std::to_chars_result r =
        is_float ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(magnitude), std::chars_format::scientific, precision - 1)
                 : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    // buf: d.dddde±XX
    const std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
    const size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string_view power = text.substr(e + 1);
    if (power.front() == '+') power.remove_prefix(1);
    std::from_chars(power.data(), power.data() + power.size(), exponent);
    return digits;
}

void Append_Real(std::string& out, double value, bool is_float) {
    if (!std::isfinite(value)) value = 0;  // a NaN or infinity has no text that reads back
    out += value < 0 ? '-' : ' ';
    int exponent = 0;
    const std::string digits = Significant_Digits(std::fabs(value), is_float, exponent);
    const int n = static_cast<int>(digits.size());
    if (exponent >= -4 && exponent < (is_float ? 7 : 15)) {
        // Fixed: no zero before the point, zeros filling up to the point of a whole number.
        if (exponent < 0) {
            out += '.';
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else if (n <= exponent + 1) {
            out += digits;
            out.append(static_cast<size_t>(exponent + 1 - n), '0');
        } else {
            out.append(digits, 0, static_cast<size_t>(exponent + 1));
            out += '.';
            out.append(digits, static_cast<size_t>(exponent + 1));
        }
        return;
    }
    // Exponent form: d.ddd, "E", a sign and two digits at least.
    out += digits[0];
    if (n > 1) {
        out += '.';
        out.append(digits, 1);
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
