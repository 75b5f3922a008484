#include "tools/quillane/props.h"

#include <stdexcept>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"

namespace quillane::cli {

std::string PropsOf(const CommandLine& line) {
  if (auto props = line.value("props")) return *props;
  auto db = line.value("db");
  if (!db) throw std::runtime_error(mdlLanguage::LoadLangString("缺少选项 --db 或 --props"));
  return "ConnectString={" + accountset::ConnectString(*db) + "};UserID=" + line.value("user").value_or("16") +
         ";AcctType=GY";
}

}  // namespace quillane::cli
