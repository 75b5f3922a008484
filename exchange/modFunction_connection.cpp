#include "exchange/modFunction_connection.h"

#include "exchange/MParse.h"
#include "exchange/modFunction_errors.h"
#include "platform/automation/factory.h"

namespace quillane::modFunction {

ObjectRef CreateObjectEx(std::string_view strProgID, std::string_view strServer, bool bRaise) {
  try {
    if (!strServer.empty())
      throw AutomationError(462, "Quillane", "The remote server machine does not exist or is unavailable");
    return CreateObject(strProgID);
  } catch (const AutomationError& e) {
    if (bRaise) throw AutomationError(e.number, e.source, e.description + " -- " + std::string(strProgID));
    return nullptr;
  }
}

void OpenConnection(ObjectRef& oConn) {
  if (!oConn) oConn = CreateObjectEx(kConnectionProgID, "", true);
  oConn->Let("ConnString", Variant(MParse::GetConnectString()));
}

bool InitProps(std::string_view strPropsString, std::string& strError) {
  try {
    return MParse::ParseProps(strPropsString);
  } catch (const AutomationError& e) {
    strError = FormatErrInfo(e, "");
    return false;
  }
}

Variant FieldValue(const ObjectRef& rs, std::string_view strField) {
  std::vector<Variant> name{Variant(strField)};
  return rs->Invoke("Fields", InvokeKind::Get, name).object()->Get("Value");
}

}  // namespace quillane::modFunction
