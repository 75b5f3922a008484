#include "exchange/modFunction_rights.h"

#include <cstdlib>
#include <string>

#include "exchange/MParse.h"
#include "exchange/modFunction_connection.h"
#include "platform/automation/vbconv.h"

namespace quillane::modFunction {
namespace {

ObjectRef openOwnConnection() {
  ObjectRef conn = CreateObjectEx(kConnectionProgID, "", true);
  conn->Let("ConnString", MParse::GetConnectString());
  return conn;
}

}  // namespace

std::int32_t GetValidUserID(const ObjectRef& oConn) {
  try {
    ObjectRef rs = GetAnyRecordSet(
        oConn, "SELECT FUserID, FName, FForbidden FROM t_User WHERE FUserID=" + std::to_string(MParse::GetUserID()));
    if (IsEOF(rs)) return -1;
    Variant forbidden = FieldValue(rs, "FForbidden");
    if (forbidden.isNull() || CDbl(forbidden) != 0) return -1;
    return CLng(FieldValue(rs, "FUserID"));
  } catch (const AutomationError&) {
    return -1;
  }
}

bool IsAdminUser() {
  try {
    ObjectRef conn = openOwnConnection();
    std::int32_t id = GetValidUserID(conn);
    ObjectRef rs = GetAnyRecordSet(conn, "SELECT t_User.FUserID FROM t_Group, t_User "
                                         "WHERE t_Group.FUserID = t_User.FUserID "
                                         "AND t_User.FUserID = " +
                                             std::to_string(id) + "AND t_Group.FGroupID = 1");
    return !IsEOF(rs);
  } catch (const AutomationError&) {
    return false;
  }
}

ObjectRef GetAccessControl(const ObjectRef& oConn, std::int16_t iObjectType, std::int32_t lObjectID,
                           std::int16_t iUserID) {
  const std::string user = std::to_string(iUserID);
  return GetAnyRecordSet(oConn, "select FUserID, FAccessType, FAccessMask from t_AccessControl "
                                "where FObjectType = " +
                                    std::to_string(iObjectType) + " and (FObjectID = " + std::to_string(lObjectID) +
                                    " Or FObjectID = 0) " + "and (FUserID = " + user + " or FUserID in " +
                                    "(select FGroupID from t_Group where FUserID =" + user + ")) " +
                                    "order by FAccessType");
}

bool HasAccessRight(std::int16_t iObjectType, std::int32_t lObjectID, std::int32_t lMask) {
  if (IsAdminUser()) return true;
  ObjectRef conn = openOwnConnection();
  std::int16_t uid = CInt(GetValidUserID(conn));
  ObjectRef rows = GetAccessControl(conn, iObjectType, lObjectID, uid);
  const std::int64_t wanted = std::llabs(static_cast<std::int64_t>(lMask));
  for (; !IsEOF(rows); MoveNext(rows)) {
    std::int32_t type = CLng(FieldValue(rows, "FAccessType"));
    std::int64_t mask = CLng(FieldValue(rows, "FAccessMask"));
    if (type == 0 && mask < 0) return false;
    if (type == 1 && (mask < 0 || (wanted & mask) == wanted)) return true;
  }
  return false;
}

}  // namespace quillane::modFunction
