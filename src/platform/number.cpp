#include "platform/number.h"

namespace plat {
namespace {
char g_separator = '.';
}

char DecimalSeparator() { return g_separator; }
void SetDecimalSeparator(char separator) { g_separator = separator; }

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
