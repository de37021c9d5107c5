// A typed number read: sign, digits, the user's separator, exponent; anything else refused.
#include "core/number_entry.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/number.h"
#include "platform/text.h"

bool Number_Entry_Read(const std::string& raw, double& value) {
    const std::string t = plat::Trim(raw);
    const char sep = plat::DecimalSeparator();
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool digits = false, separator = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') digits = true;
        else if (t[i] == sep && !separator) separator = true;
        else break;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        bool exponent = false;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) exponent = true;
        if (!exponent) return false;
    }
    if (i != t.size()) return false;
    // An exponent too large for a double is no number either.
    std::string c_text = t[0] == '+' ? t.substr(1) : t;
    for (char& ch : c_text)
        if (ch == sep) ch = '.';
    double v = 0;
    const auto [end, ec] = std::from_chars(c_text.data(), c_text.data() + c_text.size(), v);
    if (ec != std::errc() || end != c_text.data() + c_text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool Number_Entry_Is_Number(const std::string& text) {
    double v = 0;
    return Number_Entry_Read(text, v);
}
