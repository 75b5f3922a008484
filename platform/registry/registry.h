// A file-backed registry: the stand-in for the system registry the library reads its settings from.
//
// The file is INI-like: a "[key path]" line opens a key, "name=value" lines hold its values. Key paths
// and value names compare without regard to case ("HKEY_LOCAL_MACHINE\SOFTWARE\VELMORA" and
// "...\Velmora" are one key). The file comes from QUILLANE_REGISTRY, else "registry.ini" in the library's
// folder. A missing file is an empty registry; a file that exists but cannot be read or parsed raises an
// AutomationError whose description names the file. The syntax is in registry_document.h.
//
// Every call reads the file anew, so a change by another program is seen at once. A write replaces the
// whole file through a temporary file and a rename: a reader never sees it half-written, and a write
// that fails leaves the old file as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillane::registry {

// Errors of the registry file carry VB's "Path/File access error" number and this source; a key path or
// value name that the file cannot carry raises error 5 (invalid procedure call) with the same source.
inline constexpr std::int32_t kRegistryFileError = 75;
inline constexpr const char* kRegistrySource = "Quillane.Registry";

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
