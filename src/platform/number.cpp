// The user's decimal separator, the number reader with its overflow check, and float texts.
#include "platform/number.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace plat {
namespace {
char g_separator = '.';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// For a number beyond a double's range (digits, one point, an exponent): whether it is too
// large rather than too small, from the decimal order of its first significant digit.
bool TooLarge(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view text = number.substr(e + 1);
        const bool negative = !text.empty() && text.front() == '-';
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
        if (std::from_chars(text.data(), text.data() + text.size(), exponent).ec != std::errc()) return !negative;
        if (negative) exponent = -exponent;
    }
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;
    const long long order = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return order > -exponent;
}

}  // namespace

char DecimalSeparator() { return g_separator; }
void SetDecimalSeparator(char separator) { g_separator = separator; }

NumberText ReadNumber(std::string_view text) {
    NumberText n;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // from_chars would also take "inf", "nan" and "0x..." after a sign: a number starts with a
    // digit or the point.
    if (i == text.size() || !(IsDigit(text[i]) || text[i] == '.')) return n;
    const char* first = text.data() + i;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), v, std::chars_format::general);
    if (ec == std::errc::invalid_argument) return n;  // a point without digits
    n.length = static_cast<std::size_t>(end - text.data());
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as 0; too large is no value at all.
        n.fits = !TooLarge(std::string_view(first, static_cast<std::size_t>(end - first)));
        return n;
    }
    n.value = negative ? -v : v;
    return n;
}

}  // namespace plat

#include <charconv>

#include "platform/text.h"

namespace plat {

std::string FloatText(float value) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    double typed = value;
    std::from_chars(buf, end, typed);
    std::string text = Trim(CStr(typed));
    const char separator = DecimalSeparator();
    for (char& c : text)
        if (c == '.') c = separator;
    return text;
}

}  // namespace plat
