// The registry: an empty table that only tests fill.
#include "platform/registry.h"

#include <map>
#include <tuple>

#include "platform/text.h"

namespace plat {
namespace {

using Key = std::tuple<int64_t, std::string, std::string>;

std::map<Key, std::string>& Values() {
    static std::map<Key, std::string> values;
    return values;
}

Key MakeKey(int64_t root, const std::string& subkey, const std::string& name) {
    return {root, UCase(subkey), UCase(name)};
}

}  // namespace

std::optional<std::string> RegistryRead(int64_t root, const std::string& subkey, const std::string& name) {
    const auto it = Values().find(MakeKey(root, subkey, name));
    if (it == Values().end()) return std::nullopt;
    return it->second;
}

void RegistrySetForTest(int64_t root, const std::string& subkey, const std::string& name, const std::string& value) {
    Values()[MakeKey(root, subkey, name)] = value;
}

void RegistryClearForTest() { Values().clear(); }

}  // namespace plat
