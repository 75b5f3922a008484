#include "exchange/modFunction_connection.h"

#include "exchange/MParse.h"
#include "exchange/modFunction_errors.h"
#include "platform/automation/factory.h"
#include "platform/sql/compat.h"
#include "platform/sql/connection.h"
#include "platform/sql/recordset.h"
#include "platform/xml/output_file.h"

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

void RefuseAccountSetAsOutput(const std::string& strFile) {
  quillane::RefuseAccountSetAsOutput(strFile, sql::DataSourceOf(MParse::GetConnectString()));
}

bool InitProps(std::string_view strPropsString, std::string& strError) {
  try {
    return MParse::ParseProps(strPropsString);
  } catch (const AutomationError& e) {
    strError = FormatErrInfo(e, "");
    return false;
  }
}

// The component's own recordsets are read directly; the late-bound road (a Field object per value) serves
// whatever class a test puts behind the ProgID.
sql::Recordset* ownRecordset(const ObjectRef& rs) { return dynamic_cast<sql::Recordset*>(rs.get()); }

Variant FieldValue(const ObjectRef& rs, std::string_view strField) {
  if (sql::Recordset* own = ownRecordset(rs)) return own->Value(strField);
  std::vector<Variant> name{Variant(strField)};
  return rs->Invoke("Fields", InvokeKind::Get, name).object()->Get("Value");
}

ObjectRef GetAnyRecordSet(const ObjectRef& oConn, std::string_view strSQL) {
  std::vector<Variant> args{Variant(strSQL)};
  return oConn->Call("GetAnyRecordSet", args).object();
}

ObjectRef GetKnownRecordSet(const ObjectRef& oConn, std::string_view strSQL, const std::string& skeleton,
                            std::span<const sql::Token> literals) {
  if (auto* own = dynamic_cast<sql::Connection*>(oConn.get())) {
    std::optional<sql::Rowset> rows;
    if (sql::RunKnownText(own->database(), skeleton, literals, rows))
      return rows ? std::make_shared<sql::Recordset>(std::move(*rows)) : std::make_shared<sql::Recordset>();
  }
  return GetAnyRecordSet(oConn, strSQL);
}

void ExecuteSQL(const ObjectRef& oConn, std::string_view strSQL) {
  std::vector<Variant> args{Variant(strSQL)};
  oConn->Call("Execute", args);
}

bool IsEOF(const ObjectRef& rs) {
  if (sql::Recordset* own = ownRecordset(rs)) return own->Eof();
  return CBool(rs->Get("EOF"));
}

void MoveNext(const ObjectRef& rs) {
  if (sql::Recordset* own = ownRecordset(rs)) return own->MoveNext();
  CallMember(rs, "MoveNext");
}

void HoldReads(const ObjectRef& oConn) {
  if (auto* own = dynamic_cast<sql::Connection*>(oConn.get())) {
    own->ForbidWrites();
    own->HoldReads();
  }
}

void CallMember(const ObjectRef& object, std::string_view strMember) {
  std::vector<Variant> none;
  object->Call(strMember, none);
}

void CallMemberQuietly(const ObjectRef& object, std::string_view strMember) noexcept {
  if (!object) return;
  try {
    CallMember(object, strMember);
  } catch (const AutomationError&) {
    // Swallowed on purpose: see the header.
  }
}

void InTransaction(const ObjectRef& oConn, const std::function<void()>& work) {
  CallMember(oConn, "BeginTrans");
  try {
    work();
    CallMember(oConn, "CommitTrans");
  } catch (const AutomationError&) {
    CallMemberQuietly(oConn, "RollbackTrans");
    throw;
  }
}

}  // namespace quillane::modFunction
