#include "tools/quillane/data_types.h"

#include <stdexcept>

#include "exchange/mdlLanguage.h"
#include "tools/quillane/data_type_table.h"

namespace quillane::cli {

std::int32_t DataTypeOf(const CommandLine& line) {
  auto name = line.value("type");
  if (!name) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --type"));
  for (const auto& type : kDataTypes)
    if (*name == type.name) return type.lIO;
  throw std::runtime_error(mdlLanguage::LoadLangString("未知的数据类型：") + *name);
}

std::string ItemClassNamesOf(const CommandLine& line) {
  auto names = line.value("class");
  if (!names) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --class"));
  return *names;
}

std::string DataTypeNames() {
  std::string names;
  for (const auto& type : kDataTypes) names += (names.empty() ? "" : ", ") + std::string(type.name);
  return names;
}

}  // namespace quillane::cli
