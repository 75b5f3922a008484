// Export and Import of a per-type class (an item type or a standalone type), called late-bound by
// name as the facade calls them, with the by-reference results gathered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/automation.h"

namespace quillane::testing {

struct ExportedPage {
  bool ok;
  std::string xml, stamp, maxStamp, error;
};
inline ExportedPage ExportPage(const ObjectRef& object, const std::string& propsString, std::int32_t perCount = 100,
                               const std::string& since = "") {
  std::vector<Variant> args{propsString, "", perCount, since, "", ""};
  bool ok = CBool(object->Call("Export", args));
  return ExportedPage{ok, CStr(args[1]), CStr(args[3]), CStr(args[4]), CStr(args[5])};
}

struct ImportResult {
  bool ok;
  std::string error;
};
// Without systemType the call leaves lSystemType to its default.
inline ImportResult ImportXml(const ObjectRef& object, const std::string& propsString, const std::string& xml,
                              Variant systemType = Variant()) {
  std::vector<Variant> args{propsString, xml, ""};
  if (!systemType.isEmpty()) args.push_back(systemType);
  bool ok = CBool(object->Call("Import", args));
  return ImportResult{ok, CStr(args[2])};
}

}  // namespace quillane::testing
