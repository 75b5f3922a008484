#include <iostream>
#include <string>
#include <vector>

#include "tools/quillane/commands.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/files.h"
#include "tools/quillane/props.h"

namespace quillane::cli {

int Export(const CommandLine& line, bool keys) {
  std::string props = PropsOf(line);
  std::int32_t lIO = DataTypeOf(line);
  std::int32_t perCount = NumberOption(line, "per-count", 100);
  ObjectRef facade = MakeFacade(line);
  std::string since = line.value("since").value_or("");
  if (auto bulk = line.value("bulk"); bulk && !keys) {
    std::vector<Variant> args{props, lIO, *bulk, perCount, since, std::string(), std::string()};
    CallOrFail(facade, "ExportPreIOToFile", args, 6);
    std::cerr << "next stamp: " << CStr(args[4]) << "\nhighest stamp: " << CStr(args[5]) << '\n';
    return 0;
  }
  std::vector<Variant> args{props, lIO, std::string(), perCount, since, std::string(), std::string()};
  CallOrFail(facade, keys ? "ExportXMLDataKey" : "Export", args, 6);
  WriteOut(line, CStr(args[2]));
  std::cerr << "next stamp: " << CStr(args[4]) << "\nhighest stamp: " << CStr(args[5]) << '\n';
  return 0;
}

}  // namespace quillane::cli
