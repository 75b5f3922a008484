// A file-backed registry: the stand-in for the system registry the library reads its settings from.
//
// The file is INI-like: a "[key path]" line opens a key, "name=value" lines hold its values. Key paths
// and value names compare without regard to case ("HKEY_LOCAL_MACHINE\SOFTWARE\VELMORA" and
// "...\Velmora" are one key). The file comes from QUILLANE_REGISTRY, else "registry.ini" in the library's
// folder. A missing file is an empty registry; a file that exists but cannot be read or parsed raises an
// AutomationError whose description names the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillane::registry {

// The path of the registry file in use.
std::string RegistryFilePath();

// The value, or nullopt when the key or the value is missing.
std::optional<std::string> ReadValue(std::string_view keyPath, std::string_view valueName);
// The value, or fallback when the key or the value is missing.
std::string ReadValue(std::string_view keyPath, std::string_view valueName, std::string_view fallback);
bool KeyExists(std::string_view keyPath);

// Writes a value (creating the key and the file); used by class registration and by tests.
void WriteValue(std::string_view keyPath, std::string_view valueName, std::string_view value);
// Removes a key, its values and every key below it; a missing key is no error.
void DeleteKey(std::string_view keyPath);

}  // namespace quillane::registry
