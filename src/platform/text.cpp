// UTF-8 <-> Windows-1252, case mapping, the 1-based string routines, trimming, lines of a buffer.
#include "platform/text.h"

#include "platform/number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

template <typename F>
std::string MapCase(std::string_view s, F f) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) AppendUtf8(out, f(NextCodePoint(s, i)));
    return out;
}

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(bytes);
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

std::string LTrim(std::string_view s) {
    const auto p = s.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string RTrim(std::string_view s) {
    const auto p = s.find_last_not_of(' ');
    return p == std::string_view::npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

Path_Split Split_Folder(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) return {std::string(), std::string(path), false};
    return {std::string(path.substr(0, cut)), std::string(path.substr(cut + 1)), true};
}

std::string UCase(std::string_view s) { return MapCase(s, UpperOf); }

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

void AppendDigits(std::string& out, double value, int digits, int lowest_fixed) {
    char buf[48];
    const char* const end = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::general, digits).ptr;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) {
        out += text.substr(text.size() > 1 && text[0] == '0' ? 1 : 0);
        return;
    }
    const std::string_view mantissa = text.substr(0, e);
    // The standard form goes to the exponent below 1E-04; a caller may keep 1E-05 fixed.
    if (text.substr(e) == "e-05" && lowest_fixed <= -5) {
        out += ".0000";
        for (char c : mantissa)
            if (c != '.') out += c;
        return;
    }
    out += mantissa;
    out += 'E';
    out += text.substr(e + 1);
}

// CStr: the Str$ text without its blank, with the zero before the point ("0.5").
std::string ShortestNumber(double value) {
    std::string text = Str(value);
    if (text[0] == ' ') text.erase(0, 1);
    const std::size_t at = text[0] == '-' ? 1 : 0;
    if (text.size() > at && text[at] == '.') text.insert(at, 1, '0');
    return text;
}

std::string CStr(double value) { return ShortestNumber(value); }

// Str$: fixed from 1E-05 up, "NaN" and "Inf" for what has no digits.
std::string Str(double value) {
    std::string text(value < 0 ? "-" : " ");
    if (std::isnan(value)) return text + "NaN";
    if (std::isinf(value)) return text + "Inf";
    AppendDigits(text, value, 15, -5);
    return text;
}

TextLines::TextLines(std::string_view text) : text_(text) {
    // Counted first, so that a reader can weigh a count it reads against what is left.
    // Every LF ends a line, and every CR that no LF follows (without branches, so that the
    // compiler takes many bytes at once: the tests are 0/1 numbers, joined bit by bit).
    const std::size_t n = text.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const std::size_t lf = text[i] == '\n', cr = text[i] == '\r', lf_after = text[i + 1] == '\n';
        total_ += lf | (cr & (lf_after ^ 1));
    }
    if (n > 0) total_ += 1;  // the last byte ends a line, or is in the last line, which has no end
}

bool TextLines::Next(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    const char* const from = text_.data() + at_;
    const std::size_t rest = text_.size() - at_;
    const void* lf = std::memchr(from, '\n', rest);
    const std::size_t to_lf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - from) : rest;
    const void* cr = std::memchr(from, '\r', to_lf);
    const std::size_t length = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - from) : to_lf;
    line = std::string_view(from, length);
    // A CR ends the line alone unless a LF follows at once.
    std::size_t step = length;
    if (cr) step += length + 1 == to_lf ? 2 : 1;
    else if (lf) step += 1;
    at_ += step;
    ++taken_;
    return true;
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
