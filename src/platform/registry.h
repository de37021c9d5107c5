#pragma once
// A read-only registry. This system has none: it is empty unless a test puts values in.
#include <cstdint>
#include <optional>
#include <string>

namespace plat {

enum RegistryRoot : int64_t {
    HKEY_CLASSES_ROOT = 0x80000000LL, HKEY_CURRENT_USER = 0x80000001LL,
    HKEY_LOCAL_MACHINE = 0x80000002LL, HKEY_USERS = 0x80000003LL,
};

// The text of a value; nothing when the key or the value is missing. Keys and names compare
// case-insensitively. The text is what the value holds, a final NUL included when stored so.
std::optional<std::string> RegistryRead(int64_t root, const std::string& subkey, const std::string& name);

// For tests.
void RegistrySetForTest(int64_t root, const std::string& subkey, const std::string& name, const std::string& value);
void RegistryClearForTest();

}  // namespace plat
