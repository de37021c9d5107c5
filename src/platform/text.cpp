#include "platform/text.h"

#include "platform/number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace plat {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 character at i (advancing i); malformed input gives U+FFFD and one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) { ++i; return b0; }
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; }
    else { ++i; return 0xFFFD; }
    if (i + extra >= s.size()) { ++i; return 0xFFFD; }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) { ++i; return 0xFFFD; }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

char32_t UpperOf(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
    if (cp == 0xFF) return 0x178;
    if (cp == 0x153) return 0x152;
    if (cp == 0x161) return 0x160;
    if (cp == 0x17E) return 0x17D;
    return cp;
}

char32_t LowerOf(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp == 0x178) return 0xFF;
    if (cp == 0x152) return 0x153;
    if (cp == 0x160) return 0x161;
    if (cp == 0x17D) return 0x17E;
    return cp;
}

template <typename F>
std::string MapCase(std::string_view s, F f) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) AppendUtf8(out, f(NextCodePoint(s, i)));
    return out;
}

// The digits of |value| with 15 significant digits, VB style: fixed between 1E-05 and 1E+15,
// exponent form ("1E-07", "1.5E+20") outside, trailing zeros dropped. Leading "0." kept.
std::string Digits15(double value) {
    const double a = std::fabs(value);
    if (a == 0) return "0";
    if (std::isnan(a)) return "NaN";
    if (std::isinf(a)) return "Inf";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14E", a);
    // buf: d.ddddddddddddddE+xx
    std::string text(buf);
    const auto epos = text.find('E');
    std::string mant = text.substr(0, epos);
    int exp = std::atoi(text.c_str() + epos + 1);
    std::string digits;
    for (char ch : mant) if (ch != '.') digits += ch;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (exp >= 15 || exp < -5) {
        std::string out(1, digits[0]);
        if (digits.size() > 1) { out += '.'; out += digits.substr(1); }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
        return out + e;
    }
    if (exp < 0) return "0." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    const auto int_len = static_cast<std::size_t>(exp + 1);
    if (digits.size() <= int_len) return digits + std::string(int_len - digits.size(), '0');
    return digits.substr(0, int_len) + "." + digits.substr(int_len);
}

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += ch;
        else if (b < 0xA0) AppendUtf8(out, kHigh[b - 0x80]);
        else AppendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = NextCodePoint(text, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) { out += static_cast<char>(cp); continue; }
        char mapped = '?';
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] == cp) { mapped = static_cast<char>(0x80 + k); break; }
        out += mapped;
    }
    return out;
}

std::string Mid(std::string_view s, long start, long length) {
    if (start < 1) start = 1;
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return {};
    if (length < 0) return std::string(s.substr(from));
    return std::string(s.substr(from, static_cast<std::size_t>(length)));
}

std::string Left(std::string_view s, long length) {
    if (length <= 0) return {};
    return std::string(s.substr(0, static_cast<std::size_t>(length)));
}

std::string Left_Chars(std::string_view s, long count) {
    std::size_t end = 0;
    for (long n = 0; n < count && end < s.size(); ++n) {
        ++end;
        // Continuation bytes (10xxxxxx) belong to the character before.
        while (end < s.size() && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(s.substr(0, end));
}

std::string Right(std::string_view s, long length) {
    if (length <= 0) return {};
    const auto n = static_cast<std::size_t>(length);
    if (n >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - n));
}

long InStr(std::string_view s, std::string_view find, long start) {
    if (start < 1) start = 1;
    const auto from = static_cast<std::size_t>(start - 1);
    if (from > s.size()) return 0;
    if (find.empty()) return start;
    const auto pos = s.find(find, from);
    return pos == std::string_view::npos ? 0 : static_cast<long>(pos) + 1;
}

long InStr(long start, std::string_view s, std::string_view find) { return InStr(s, find, start); }

long InStrRev(std::string_view s, std::string_view find) {
    if (find.empty()) return static_cast<long>(s.size());
    const auto pos = s.rfind(find);
    return pos == std::string_view::npos ? 0 : static_cast<long>(pos) + 1;
}

std::string LTrim(std::string_view s) {
    const auto p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string RTrim(std::string_view s) {
    const auto p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string UCase(std::string_view s) { return MapCase(s, UpperOf); }
std::string LCase(std::string_view s) { return MapCase(s, LowerOf); }

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::string ua = UCase(a), ub = UCase(b);
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

double Val(std::string_view s) {
    // Blanks count for nothing anywhere in the number ("1 2" is 12), as Val reads it.
    std::string t;
    for (char c : s) if (!IsValBlank(c)) t += c;
    if (t.size() >= 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        const int base = (t[1] == 'H' || t[1] == 'h') ? 16 : 8;
        unsigned long long v = 0;
        for (std::size_t i = 2; i < t.size() && i < 17; ++i) {
            const char c = t[i];
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0 || d >= base) break;
            v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        }
        return static_cast<double>(v);
    }
    // Val takes "D" for the exponent as well.
    for (char& c : t)
        if (c == 'D' || c == 'd') c = 'E';
    const NumberText n = ReadNumber(t);
    return n.fits ? n.value : 0;
}

std::string ShortestNumber(double value) {
    std::string d = Digits15(value);
    return (value < 0 ? "-" : "") + d;
}

std::string CStr(double value) { return ShortestNumber(value); }
std::string CStr(long long value) { return std::to_string(value); }

std::string Str(double value) {
    std::string d = Digits15(value);
    if (d.size() > 1 && d[0] == '0' && d[1] == '.') d.erase(0, 1);
    return (value < 0 ? "-" : " ") + d;
}

std::string Format(double value, std::string_view pattern) {
    const auto dot = pattern.find('.');
    const std::string_view int_part = pattern.substr(0, dot);
    const std::size_t decimals = dot == std::string_view::npos ? 0 : pattern.size() - dot - 1;
    std::size_t min_int = 0;
    for (char c : int_part) if (c == '0') ++min_int;
    // Round half away from zero at the pattern's decimals.
    const double scale = std::pow(10.0, static_cast<double>(decimals));
    double a = std::fabs(value);
    a = std::round(a * scale) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(decimals), a);
    std::string text(buf);
    const auto p = text.find('.');
    std::string ip = text.substr(0, p);
    const std::string fp = p == std::string::npos ? std::string() : text.substr(p);
    if (ip == "0" && min_int == 0) ip.clear();
    while (ip.size() < min_int) ip.insert(ip.begin(), '0');
    std::string out = ip + fp;
    bool nonzero = false;
    for (char c : out) if (c >= '1' && c <= '9') nonzero = true;
    if (value < 0 && nonzero) out.insert(out.begin(), '-');
    return out;
}

}  // namespace plat
