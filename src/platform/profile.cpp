// One key of a settings file read or written, section and key matched without case.
#include "platform/profile.h"

#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace plat {
namespace {

std::string TrimWhite(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

// The section name of a "[name]" line, or false.
bool SectionOf(const std::string& line, std::string& name) {
    const std::string t = TrimWhite(line);
    if (t.size() < 2 || t[0] != '[') return false;
    const auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = TrimWhite(std::string_view(t).substr(1, close - 1));
    return true;
}

// Key and value of a "key=value" line, or false.
bool KeyOf(const std::string& line, std::string& key, std::string& value) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = TrimWhite(std::string_view(line).substr(0, eq));
    value = TrimWhite(std::string_view(line).substr(eq + 1));
    return true;
}

// The file's lines in their disk bytes (Windows-1252), with any line end.
std::vector<std::string> RawLines(const std::string& file, bool& found) {
    std::vector<uint8_t> bytes;
    found = ReadBinary(file, bytes);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, const std::string& file,
                                    int size) {
    std::string result = RTrim(default_value);
    bool found = false;
    const auto lines = RawLines(file, found);
    const std::string want_section = Utf8ToCp1252(section);
    const std::string want_key = Utf8ToCp1252(key);
    bool inside = false;
    for (const auto& line : lines) {
        std::string name, k, v;
        if (SectionOf(line, name)) {
            if (inside) break;   // only the first section of that name counts
            inside = EqualsNoCase(Cp1252ToUtf8(name), section) || EqualsNoCase(name, want_section);
            continue;
        }
        if (inside && KeyOf(line, k, v) && EqualsNoCase(Cp1252ToUtf8(k), Cp1252ToUtf8(want_key))) {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            result = Cp1252ToUtf8(v);
            found = true;
            inside = true;
            // Cut in the disk encoding, as the caller's buffer holds bytes.
            std::string raw = Utf8ToCp1252(result);
            if (size > 0 && raw.size() > static_cast<std::size_t>(size - 1)) raw.resize(static_cast<std::size_t>(size - 1));
            return Cp1252ToUtf8(raw);
        }
    }
    if (size > 0) {
        std::string raw = Utf8ToCp1252(result);
        if (raw.size() > static_cast<std::size_t>(size - 1)) raw.resize(static_cast<std::size_t>(size - 1));
        result = Cp1252ToUtf8(raw);
    }
    return result;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
    bool found = false;
    auto lines = RawLines(file, found);
    const std::string entry = Utf8ToCp1252(key) + "=" + Utf8ToCp1252(value);
    int section_line = -1, key_line = -1, last_in_section = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        std::string name, k, v;
        if (SectionOf(lines[i], name)) {
            if (section_line >= 0) break;
            if (EqualsNoCase(Cp1252ToUtf8(name), section)) { section_line = i; last_in_section = i; }
            continue;
        }
        if (section_line < 0) continue;
        if (!TrimWhite(lines[i]).empty()) last_in_section = i;
        if (KeyOf(lines[i], k, v) && EqualsNoCase(Cp1252ToUtf8(k), key)) { key_line = i; break; }
    }
    if (key_line >= 0) {
        lines[static_cast<std::size_t>(key_line)] = entry;
    } else if (section_line >= 0) {
        lines.insert(lines.begin() + last_in_section + 1, entry);
    } else {
        lines.push_back("[" + Utf8ToCp1252(section) + "]");
        lines.push_back(entry);
    }
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    return ReplaceFileAtomically(file, bytes);
}

}  // namespace plat
