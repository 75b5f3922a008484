#include "exchange/MParse.h"

#include <array>
#include <map>
#include <optional>

#include "exchange/modFunction_connection.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane::MParse {
namespace {

// Module state, once per apartment.
struct ModuleState {
  std::map<std::string, std::string, NoCaseLess> props;
  bool industry = false;
  std::string servicePack;
};
thread_local ModuleState state;

// Splits the text at the first separator: the part before it is the result, the part after it the
// new text. Without a separator the whole text is the result and the text becomes empty.
std::string NextToken(std::string& text, std::string_view separator) {
  std::size_t at = text.find(separator);
  std::string token = text.substr(0, at);
  text = at == std::string::npos ? std::string() : text.substr(at + separator.size());
  return token;
}

std::string NextKey(std::string& text) { return std::string(Trim(NextToken(text, "="))); }

// A value that starts with "{" runs to the first "}" (";" and "=" may stand in it); whatever stands
// between that brace and the next ";" is dropped.
std::string NextValue(std::string& text) {
  text = std::string(Trim(text));
  std::string value;
  if (!text.empty() && text.front() == '{') {
    text.erase(0, 1);
    value = NextToken(text, "}");
    NextToken(text, ";");
  } else {
    value = NextToken(text, ";");
  }
  return std::string(Trim(value));
}

std::optional<std::array<int, 4>> parseVersion(std::string_view text) {
  std::vector<std::string> parts = Split(text, ".");
  if (parts.empty() || parts.size() > 4) return std::nullopt;
  std::array<int, 4> version{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string_view part = Trim(parts[i]);
    if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    version[i] = std::stoi(std::string(part));
    if (version[i] > 32767) return std::nullopt;
  }
  return version;
}

}  // namespace

bool ParseProps(std::string_view strPropsString) {
  state.props.clear();
  std::string rest(strPropsString);
  while (true) {
    std::string key = NextKey(rest);
    std::string value = NextValue(rest);
    if (key.empty()) break;
    if (!state.props.emplace(key, value).second) throw vbError(VbError::DuplicateKey);
  }
  state.industry = UCase(GetProp("AcctType")) == "GY";
  LoadServicePack();
  return true;
}

std::string GetProp(std::string_view strKey) {
  auto found = state.props.find(strKey);
  if (found == state.props.end()) {
    // VB's own error, with the key a caller must add to the props string.
    AutomationError missing = vbError(VbError::InvalidProcedureCall);
    missing.description += " (the props string has no key " + std::string(strKey) + ")";
    throw missing;
  }
  return found->second;
}

std::string GetConnectString() { return GetProp("ConnectString"); }

std::int16_t GetUserID() { return CInt(Variant(GetProp("UserID"))); }

bool IsIndustry() { return state.industry; }

std::string ClassNameColumn() {
  const std::string language = UCase(GetProp("Language"));
  return language == "EN" ? "FName_EN" : language == "CHT" ? "FName_CHT" : "FName";
}

void LoadServicePack() {
  ObjectRef connection = modFunction::CreateObjectEx(modFunction::kConnectionProgID, "", true);
  connection->Let("ConnString", Variant(GetConnectString()));
  // Read-only, so that within an export's ReadSession the page's reads take this connection up.
  modFunction::HoldReads(connection);
  ObjectRef rs = modFunction::GetAnyRecordSet(
      connection, "SELECT FValue FROM T_SYSTEMPROFILE WHERE FCategory='Base' AND FKey='ServicePack'");
  if (modFunction::IsEOF(rs)) return;
  // An account set whose service pack is Null has none: it compares as older than any version.
  Variant value = modFunction::FieldValue(rs, "FValue");
  state.servicePack = value.isNull() ? std::string() : CStr(value);
}

std::int16_t CompareServicePack(std::string_view strVersion) { return CompareVersions(state.servicePack, strVersion); }

std::int16_t CompareVersions(std::string_view strStored, std::string_view strVersion) {
  if (strStored == strVersion) return 0;
  auto stored = parseVersion(strStored), version = parseVersion(strVersion);
  if (!stored || !version) return -1;
  for (std::size_t i = 0; i < 4; ++i)
    if ((*stored)[i] != (*version)[i]) return (*stored)[i] > (*version)[i] ? 1 : -1;
  return 0;
}

}  // namespace quillane::MParse
