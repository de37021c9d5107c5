#pragma once
// Windows settings files ("[Section]" / "key=value"), read and written as
// GetPrivateProfileString / WritePrivateProfileString do.
#include <string>

namespace plat {

// The value of `key` in `section` (both case-insensitive; the first section and key of that name
// win), trimmed, with one pair of surrounding double or single quotes removed, at most size - 1
// characters. `default_value` (trailing blanks removed) when the file, section or key is missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_value, const std::string& file,
                                    int size = 256);

// Sets `key` in `section`, creating the file, section or key; an existing key is rewritten in
// place and every other line kept. Lines end in CR LF. False when the file cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file);

}  // namespace plat
