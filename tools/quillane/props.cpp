#include "tools/quillane/props.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "accountset/accountset.h"
#include "exchange/mdlLanguage.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/connection.h"

namespace quillane::cli {
namespace {

using mdlLanguage::LoadLangString;

// Any value but "GY" marks a commercial account set.
std::string AcctTypeOf(const CommandLine& line) { return KindOf(line) == accountset::Kind::Industrial ? "GY" : "QY"; }

// What the account set is and whether it holds the user, each fault said in words of its own before
// the library meets it with a provider's message ("no such table", "unable to open database file").
void CheckAccountSet(const std::string& path, std::int32_t user) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) throw std::runtime_error(LoadLangString("没有这个账套：") + path);
  if (std::filesystem::is_directory(status)) throw std::runtime_error(LoadLangString("这是文件夹，不是账套文件：") + path);
  if (std::ifstream probe(path, std::ios::binary); !probe)
    throw std::runtime_error(LoadLangString("无法读取账套：") + path + " (" + std::strerror(errno) + ")");
  bool isAccountSet = false, hasUser = false;
  try {
    sql::Connection connection;
    connection.setConnString(accountset::ConnectString(path));
    isAccountSet = !connection.GetAnyRecordSet("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                               "lower(name) = 't_systemprofile'")->Eof();
    if (isAccountSet)
      hasUser = !connection.GetAnyRecordSet("SELECT FUserID FROM t_User WHERE FUserID = " + std::to_string(user))->Eof();
    connection.CloseConn();
  } catch (const AutomationError& e) {
    throw std::runtime_error(LoadLangString("这不是账套：") + path + " (" + e.description + ")");
  }
  if (!isAccountSet) throw std::runtime_error(LoadLangString("这不是账套（没有 t_SystemProfile 表）：") + path);
  if (!hasUser) throw std::runtime_error(LoadLangString("账套里没有这个用户：") + std::to_string(user) + " (" + path + ")");
}

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
  const std::int32_t user = NumberOption(line, "user", 16);
  CheckAccountSet(*db, user);
  return "ConnectString={" + accountset::ConnectString(*db) + "};UserID=" + std::to_string(user) +
         ";AcctType=" + AcctTypeOf(line) + ";Setuptype=;Language=" + UCase(mdlLanguage::GetLanguageName());
}

}  // namespace quillane::cli
