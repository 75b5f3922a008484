#include "standalone/standalone_class.h"

#include "exchange/MParse.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_xml.h"
#include "exchange/per_type_interface.h"
#include "platform/automation/vbconv.h"

namespace quillane::standalone {

StandaloneClass::StandaloneClass(const StandaloneType& type) : type_(type) { modFunction::InitSchemaFolder(); }

StandaloneClass::~StandaloneClass() { modFunction::CallMemberQuietly(m_oConn, "CloseConn"); }

std::string StandaloneClass::ErrorSource() const { return std::string("Quillane.") + type_.className; }

void StandaloneClass::RaiseProgress(std::int32_t lCur, std::int32_t lTotal, bool& bCancel) {
  RaiseEventWith("Progress", kProgress, std::as_const(lCur), std::as_const(lTotal), bCancel);
}

ObjectRef StandaloneClass::Query(std::string strSQL) {
  m_strSQL = std::move(strSQL);
  return modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
}

void StandaloneClass::Run(std::string strSQL) {
  m_strSQL = std::move(strSQL);
  modFunction::ExecuteSQL(m_oConn, m_strSQL);
}

std::int32_t StandaloneClass::FirstID(const ObjectRef& rs) const {
  if (modFunction::IsEOF(rs)) return 0;
  Variant id = modFunction::FieldValue(rs, type_.keyColumn);
  return id.isNull() ? 0 : CLng(id);
}

bool StandaloneClass::ServicePackAtLeast(const char* version) {
  return !version || MParse::CompareServicePack(version) >= 0;
}

void StandaloneClass::PackOwnKey(const Field& field, const ObjectRef&, TrzRecord&) {
  throw AutomationError(kLibraryRefusal, ErrorSource(), std::string("No packing of its own for ") + field.key);
}

std::optional<std::string> StandaloneClass::OwnValue(const Field& field, const TrzRecord&) {
  throw AutomationError(kLibraryRefusal, ErrorSource(), std::string("No value of its own for ") + field.key);
}

bool StandaloneClass::BeforeMatch(const TrzRecord&) { return true; }

void StandaloneClass::AfterUpdate(const TrzRecord&, std::int32_t) {}

const DispatchTable& StandaloneClass::dispatchTable() const {
  static const DispatchTable table = PerTypeDispatchTable<StandaloneClass>();
  return table;
}

}  // namespace quillane::standalone
