// The data types the program exchanges, by the name given to --type.
#pragma once

#include <cstdint>
#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// The ItemObject value of the custom item classes ("custom"), which are named by --class: one class for a
// page, several joined by "|" for a bulk file.
inline constexpr std::int32_t kCustomItemClasses = 23;
// The ItemObject value of the auxiliary properties of goods ("aux-prop"), item classes with their items.
inline constexpr std::int32_t kAuxProperties = 20;

// The names given to --class; throws std::runtime_error when the option is missing.
std::string ItemClassNamesOf(const CommandLine& line);

// The facade's ItemObject value of the type named by --type; throws std::runtime_error when the option
// is missing or names no type of the table.
std::int32_t DataTypeOf(const CommandLine& line);

// The names, separated by ", ", in the order of the table.
std::string DataTypeNames();

}  // namespace quillane::cli
