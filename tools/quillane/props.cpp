#include "tools/quillane/props.h"

#include <filesystem>
#include <stdexcept>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "platform/automation/vbtext.h"

namespace quillane::cli {
namespace {

using mdlLanguage::LoadLangString;

// Any value but "GY" marks a commercial account set.
std::string AcctTypeOf(const CommandLine& line) { return KindOf(line) == accountset::Kind::Industrial ? "GY" : "QY"; }

}  // namespace

accountset::Kind KindOf(const CommandLine& line) {
  std::string kind = line.value("acct-type").value_or("industrial");
  if (kind == "industrial") return accountset::Kind::Industrial;
  if (kind == "commercial") return accountset::Kind::Commercial;
  throw std::runtime_error(LoadLangString("账套类型只能是 industrial 或 commercial：") + kind);
}

std::string PropsOf(const CommandLine& line) {
  if (auto props = line.value("props")) return *props;
  auto db = line.value("db");
  if (!db) throw std::runtime_error(LoadLangString("缺少选项 --db 或 --props"));
  // The connection string stands in braces in the props string, and its value ends at the first "}":
  // the rest of such a path would name another file.
  if (db->find('}') != std::string::npos) throw std::runtime_error(LoadLangString("账套文件的路径不能含有“}”：") + *db);
  if (!std::filesystem::is_regular_file(*db)) throw std::runtime_error(LoadLangString("没有这个账套：") + *db);
  return "ConnectString={" + accountset::ConnectString(*db) + "};UserID=" + std::to_string(NumberOption(line, "user", 16)) +
         ";AcctType=" + AcctTypeOf(line) + ";Setuptype=;Language=" + UCase(mdlLanguage::GetLanguageName());
}

}  // namespace quillane::cli
