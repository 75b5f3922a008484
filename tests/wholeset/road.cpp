#include "wholeset/road.h"

#include <memory>
#include <vector>

#include "platform/automation/vbconv.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::testing {

std::string CustomItemClassNames(const ObjectRef& facade, const std::string& fromProps) {
  std::vector<Variant> args{fromProps, true, ""};
  const Variant list = facade->Call("GetItemClassNames", args);
  const ObjectRef* names = list.tryAs<ObjectRef>();
  if (!names || !*names) throw std::runtime_error("the custom item classes cannot be listed: " + CStr(args[2]));
  std::string joined;
  for (const Variant& name : *std::dynamic_pointer_cast<TrzRecords>(*names))
    joined += (joined.empty() ? "" : "|") + CStr(name);
  return joined;
}

bool ExportToFile(const ObjectRef& facade, const std::string& fromProps, std::int32_t lIO, const std::string& file,
                  std::int32_t lPerCount, std::string& error, std::string* highest, const std::string& since) {
  const bool custom = lIO == kCustomItemClasses;
  std::vector<Variant> out{fromProps, custom ? Variant(CustomItemClassNames(facade, fromProps)) : Variant(lIO), file,
                           lPerCount, since, "", ""};
  const bool ok = CBool(facade->Call(custom ? "ExportCustIOToFile" : "ExportPreIOToFile", out));
  error = CStr(out[6]);
  if (highest) *highest = CStr(out[5]);
  return ok;
}

bool ImportFromFile(const ObjectRef& facade, const std::string& toProps, std::int32_t lIO, const std::string& file,
                    std::int32_t lPerCount, std::string& error) {
  const bool custom = lIO == kCustomItemClasses;
  // The import of custom item classes adds to ErrorCount without resetting it.
  facade->Let("ErrorCount", Variant(std::int32_t{0}));
  std::vector<Variant> in{toProps, custom ? Variant(std::string()) : Variant(lIO), file, lPerCount, ""};
  const bool ok = CBool(facade->Call(custom ? "ImportCustIOFromFile" : "ImportPreIOFromFile", in));
  error = CStr(in[4]);
  return ok;
}

}  // namespace quillane::testing
