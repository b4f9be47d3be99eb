#include "Registry.h"

#include "Errors.h"

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name)
{
    std::string path = key;
    if (!path.empty() && path[0] == '\\') path.erase(0, 1);
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, nullptr, &size);
    std::optional<std::string> result;
    if (rc == ERROR_SUCCESS) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            RegCloseKey(h);
            throw ERegistryException("Invalid data type for '" + name + "'");
        }
        std::string value(size + 1, '\0');
        rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size);
        if (rc == ERROR_SUCCESS) {
            value.resize(strnlen(value.c_str(), value.size()));
            result = value;
        }
    }
    RegCloseKey(h);
    return result;
}
