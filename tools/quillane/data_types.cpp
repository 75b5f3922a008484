#include "tools/quillane/data_types.h"

#include <stdexcept>

#include "exchange/mdlLanguage.h"

namespace quillane::cli {
namespace {

struct DataType {
  const char* name;
  std::int32_t lIO;  // the facade's ItemObject value
};

// One row per data type the library exchanges, one a line; a new type needs only its row here.
// clang-format off
constexpr DataType kTypes[] = {
    {"customer", 5},
    {"department", 6},
    {"employee", 7},
    {"material", 8},
    {"stock", 9},
    {"supplier", 11},
    {"sub-company", 12},
    {"work-center", 13},
    {"cost-object", 14},
    {"cost-item", 15},
    {"expense-element", 16},
    {"service", 17},
    {"fee", 18},
    {"cash-flow-item", 21},
    {"settle", 22},
    {"custom", kCustomItemClasses},
    {"vouchergroup", 19},
    {"currency", 3},
    {"account", 1},
};
// clang-format on

}  // namespace

std::int32_t DataTypeOf(const CommandLine& line) {
  auto name = line.value("type");
  if (!name) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --type"));
  for (const auto& type : kTypes)
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
  for (const auto& type : kTypes) names += (names.empty() ? "" : ", ") + std::string(type.name);
  return names;
}

}  // namespace quillane::cli
