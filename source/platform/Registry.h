// Reading values of the registry.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

// Reads a string value (REG_SZ or REG_EXPAND_SZ, not expanded). Returns nothing when the key cannot be
// opened or the value is missing; raises ERegistryException when the value has another type.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name);
