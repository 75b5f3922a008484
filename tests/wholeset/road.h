// The two halves of a data type's step of the whole-set road through the facade's bulk files, shared by the whole-set
// test and the benchmark.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/automation.h"

namespace quillane::testing {

// The custom item classes ItemObject names: they travel by their class names, not by a data type.
inline constexpr std::int32_t kCustomItemClasses = 23;

// The names of the user-defined item classes of the account set fromProps connects to, joined by "|" as
// the facade's file export of custom item classes takes them; empty when it has none.
std::string CustomItemClassNames(const ObjectRef& facade, const std::string& fromProps);

// Every record of data type lIO of the account set fromProps connects to into file, lPerCount records a
// page; the custom item classes go by the names of that account set's classes. Only the records changed
// after since, when it is given; the highest stamp the export reports into highest, when asked for. False,
// with the text in error, when the export fails.
bool ExportToFile(const ObjectRef& facade, const std::string& fromProps, std::int32_t lIO, const std::string& file,
                  std::int32_t lPerCount, std::string& error, std::string* highest = nullptr,
                  const std::string& since = "");

// Such a file imported into the account set toProps connects to. Afterwards the facade's ErrorCount holds
// the records of this import that failed. False, with the text in error, when the import fails.
bool ImportFromFile(const ObjectRef& facade, const std::string& toProps, std::int32_t lIO, const std::string& file,
                    std::int32_t lPerCount, std::string& error);

}  // namespace quillane::testing
