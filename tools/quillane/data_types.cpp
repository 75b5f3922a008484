#include "tools/quillane/data_types.h"

#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {
namespace {

struct DataType {
  const char* name;
  std::int32_t lIO;  // the facade's ItemObject value
};

// One row per data type the library exchanges; a new type needs only its row here.
constexpr DataType kTypes[] = {
    {"department", 6}, {"employee", 7},  {"warehouse", 9},   {"supplier", 11},
    {"branch", 12},    {"workcenter", 13}, {"fee", 18},
};

}  // namespace

std::int32_t DataTypeOf(const CommandLine& line) {
  auto name = line.value("type");
  if (!name) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --type"));
  for (const auto& type : kTypes)
    if (*name == type.name) return type.lIO;
  throw std::runtime_error(mdlLanguage::LoadLangString("未知的数据类型：") + *name);
}

std::string DataTypeNames() {
  std::string names;
  for (const auto& type : kTypes) names += (names.empty() ? "" : ", ") + std::string(type.name);
  return names;
}

}  // namespace quillane::cli
