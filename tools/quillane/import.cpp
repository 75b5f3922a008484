#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/commands.h"
#include "tools/quillane/data_types.h"
#include "tools/quillane/facade.h"
#include "tools/quillane/files.h"
#include "tools/quillane/props.h"

namespace quillane::cli {

int Import(const CommandLine& line, bool keys) {
  std::string props = PropsOf(line);
  std::int32_t lIO = DataTypeOf(line);
  ObjectRef facade = MakeFacade(line);
  if (auto bulk = line.value("bulk"); bulk && !keys) {
    std::vector<Variant> args{props, lIO, *bulk, std::int32_t{100}, std::string()};
    CallOrFail(facade, "ImportPreIOFromFile", args, 4);
  } else {
    auto in = line.value("in");
    if (!in) throw std::runtime_error(mdlLanguage::LoadLangString(keys ? "缺少选项 --in" : "缺少选项 --in 或 --bulk"));
    std::string xml = ReadFile(*in);
    if (keys) {
      std::vector<Variant> args{props, lIO, xml, std::string()};
      CallOrFail(facade, "ImportXMLDataKey", args, 3);
    } else {
      std::vector<Variant> args{props, lIO, xml, std::string(), Variant()};
      CallOrFail(facade, "Import", args, 3);
    }
  }
  std::int32_t failed = CLng(facade->Get("ErrorCount"));
  std::cerr << "failed records: " << failed << '\n';
  return failed == 0 ? 0 : 2;
}

}  // namespace quillane::cli
